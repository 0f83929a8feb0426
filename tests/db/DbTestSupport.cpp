#include "tests/db/DbTestSupport.h"

#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <atomic>
#include <clocale>
#include <cstring>
#include <langinfo.h>
#include <unistd.h>

namespace {

// The application runs in a UTF-8 locale (QCoreApplication sets the
// environment's locale and falls back to C.UTF-8). The ODBC driver manager
// converts text for drivers without wide functions (SQLite3, MDBTools) by
// that locale, so the tests run under the same one.
const bool utf8Locale = [] {
    std::setlocale(LC_ALL, "");
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0)
        std::setlocale(LC_CTYPE, "C.UTF-8");
    return true;
}();

} // namespace

namespace dbtest {

std::unique_ptr<QTemporaryDir> makeTempDir()
{
    auto dir = std::make_unique<QTemporaryDir>();
    EXPECT_TRUE(dir->isValid());
    return dir;
}

QString makeEmptySqliteFile(const QTemporaryDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    return path;
}

db::DbError expectDbError(const std::function<void()> &body)
{
    try {
        body();
    } catch (const db::DbError &e) {
        return e;
    }
    ADD_FAILURE() << "expected a DbError, none was thrown";
    return db::DbError(0, QString());
}

QString uniqueName(const QString &prefix)
{
    static std::atomic<int> counter{0};
    return QStringLiteral("%1_%2_%3").arg(prefix).arg(::getpid()).arg(++counter);
}

db::Variant lookup(db::Recordset &rs, const QString &keyColumn, const QString &key, const QString &column)
{
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        if (rs.value(keyColumn).toString() == key)
            return rs.value(column);
    return db::Variant();
}

QStringList dump(db::Recordset &rs)
{
    QStringList lines;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        QStringList cells;
        for (int i = 0; i < rs.fieldCount(); ++i)
            cells << rs.value(i).toString();
        lines << cells.join(QLatin1Char('|'));
    }
    rs.moveFirst();
    return lines;
}

} // namespace dbtest
