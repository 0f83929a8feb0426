#pragma once

#include "conversion/ConversionInterfaces.h"
#include "conversion/ReportLog.h"
#include "data/db/Connection.h"
#include "data/db/Variant.h"

#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

#include <ostream>

QT_BEGIN_NAMESPACE
// Readable QString values in test failures.
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace convtest {

// A user's SQLite database in a temporary folder, reached by the built-in provider.
class SqliteUserDb {
public:
    SqliteUserDb();
    QString path() const { return mPath; }
    QString connString() const { return QStringLiteral("Provider=SQLite;Data Source=") + mPath; }
    // Runs statements on a connection of its own.
    void exec(const QStringList &statements);
    db::Variant scalar(const QString &sql);
    // Values of one column in the order of Id.
    QList<db::Variant> column(const QString &table, const QString &column);
    QStringList columnNames(const QString &table);

private:
    QTemporaryDir mDir;
    QString mPath;
};

// Records every progress call as one line ("Init3 4 Camp", "P3 0 Camp 1/4 (Suma)");
// the hook runs after each call and may ask to stop.
class RecordingProgress : public IConversionProgress {
public:
    bool Cancel() const override { return stop; }
    void InitProgress1(qint32 max, const QString &caption) override { record("Init1", max, caption); }
    void InitProgress2(qint32 max, const QString &caption) override { record("Init2", max, caption); }
    void InitProgress3(qint32 max, const QString &caption) override { record("Init3", max, caption); }
    void Progress1(qint32 p, const QString &caption) override { record("P1", p, caption); }
    void Progress2(qint32 p, const QString &caption) override { record("P2", p, caption); }
    void Progress3(qint32 p, const QString &caption) override { record("P3", p, caption); }

    QStringList calls;
    bool stop = false;
    std::function<void(RecordingProgress &, const QString &)> hook;
    QStringList callsStartingWith(const QString &prefix) const { return calls.filter(QRegularExpression(QLatin1Char('^') + prefix)); }

private:
    void record(const char *what, qint32 n, const QString &caption)
    {
        const QString line = QString::fromLatin1(what) + QLatin1Char(' ') + QString::number(n) + QLatin1Char(' ') + caption;
        calls.append(line);
        if (hook)
            hook(*this, line);
    }
};

// A command of another program on the user's database `connString`: on a
// connection of its own, which the program's bookkeeping of its own
// commands never sees.
void elsewhere(const QString &connString, const QString &sql);

// Runs the conversion engine over the project; `atField`, when given, runs
// just before the field named `field` is probed. The run must not end on an
// unexpected error.
conversion::ReportLog runEngineAt(db::Connection &project, bool toLeiNoi, const QString &field = QString(),
                                  const std::function<void()> &atField = {});

// The text of a PDF file as poppler's pdftotext lays it out (columns kept
// apart by spaces); "" with a test failure when it cannot be read.
QString pdfText(const QString &path);
// The lines of `text` that hold every one of `pieces`, in their order.
QStringList linesWith(const QString &text, const QStringList &pieces);

} // namespace convtest
