#pragma once

#include "data/db/DbError.h"

#include <QString>
#include <QtGlobal>

// What a run does about waits on the user's database: how long its reads
// of catalogs and states may take, and what a field's report row says when a
// wait ended it (a table another program keeps locked, a commit that did not
// answer).
namespace conversion {

// The statement timeout of the reads of catalogs and of the tables' states
// that the confirmation list and a run make, in seconds: 30 unless a test
// asks for less.
int probeTimeout();
void setProbeTimeout(int seconds);

// "Tabelul "plati" este blocat de alt program; timpul de asteptare (30 s) a
// expirat": `lockTimeoutMs` is the wait of the field's connection.
QString tableLockedText(const QString &table, qint64 lockTimeoutMs);

// A wait as the user reads it: "30 s", "0,5 s".
QString waitText(qint64 ms);

// Notes the lock timeouts of the calling thread when a field begins, and
// tells a failure of the field that was one of them by its text (the run's
// steps report failures as text): explained() gives `text` (lines joined by
// "\r\n") with the line that holds the provider's words of such a lock
// timeout replaced by the lock message and `tail`; any other text as it is.
class LockTimeoutWatch {
public:
    LockTimeoutWatch() : mSince(db::lastLockTimeout()) {}
    QString explained(const QString &text, const QString &table, qint64 lockTimeoutMs, const QString &tail) const;

private:
    db::LockTimeoutNote mSince;
};

} // namespace conversion
