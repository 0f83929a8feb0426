#pragma once

#include <QString>
#include <QtGlobal>
#include <exception>
#include <utility>

// The standard error box: a critical message "number: description" titled
// "module: procedure".
void pgShowError(const QString &module, const QString &procedure, qint32 number,
                 const QString &description);
// The same for a caught exception: a DbError gives its own number and text,
// anything else E_FAIL and its message.
void pgShowError(const QString &module, const QString &procedure, const std::exception &error);
// The same for something thrown that is no exception: "Eroare necunoscuta".
void pgShowUnknownError(const QString &module, const QString &procedure);

// Runs `body` under the standard error trap: any exception it throws is shown
// with the standard error box and the call returns false.
template <class Body>
bool fgTrap(const QString &module, const QString &procedure, Body &&body)
{
    try {
        std::forward<Body>(body)();
        return true;
    } catch (const std::exception &e) {
        pgShowError(module, procedure, e);
    } catch (...) {
        pgShowUnknownError(module, procedure);
    }
    return false;
}
