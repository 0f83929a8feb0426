#include "data/ErrorTrap.h"

#include "data/db/DbError.h"
#include "util/core/Prompt.h"

#include <QCoreApplication>

#include <stdexcept>

void pgShowError(const QString &module, const QString &procedure, qint32 number,
                 const QString &description)
{
    ui::msgBox(QString::number(number) + QStringLiteral(": ") + description, ui::Buttons::Ok,
               ui::Icon::Critical, module + QStringLiteral(": ") + procedure);
}

void pgShowError(const QString &module, const QString &procedure, const std::exception &error)
{
    if (const auto *dbError = dynamic_cast<const db::DbError *>(&error)) {
        pgShowError(module, procedure, dbError->number(), dbError->description());
        return;
    }
    pgShowError(module, procedure, db::E_FAIL, QString::fromUtf8(error.what()));
}

void pgShowUnknownError(const QString &module, const QString &procedure)
{
    pgShowError(module, procedure, db::E_FAIL, QCoreApplication::translate("ErrorTrap", "Eroare necunoscuta"));
}
