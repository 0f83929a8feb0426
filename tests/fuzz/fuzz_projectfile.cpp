// A project file made of any bytes, opened as the program opens a project:
// copied to a working copy, opened with the built-in SQLite provider, its
// version read, then every table of the project read row by row, and the
// tables and columns lists asked for. Nothing may crash; a file that is not
// a project is refused with a DbError. Also:
//  - the working copy holds exactly the bytes of the file and only its
//    owner may read it (it holds the passwords of the data sources);
//  - the file itself is never changed by opening and reading it;
//  - removing the working copy leaves nothing of it behind (no journal, no
//    lock file).

#include "data/ProjectFile.h"
#include "data/WorkingCopy.h"
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "data/db/Recordset.h"
#include "tests/fuzz/FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const char *const kProjectTables[] = {"tConfig", "tConnType", "tConn", "tTable", "tField"};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot be read>");
}

// Reads every row and every value, as the windows do when they list them.
void readEverything(db::Recordset &rs)
{
    for (int i = 0; i < rs.fieldCount(); ++i) {
        (void)rs.fieldName(i);
        (void)rs.fieldType(i);
    }
    for (; !rs.eof(); rs.moveNext())
        for (int i = 0; i < rs.fieldCount(); ++i) {
            const db::Variant v = rs.value(i);
            (void)v.toString();
            (void)v.toInt();
            (void)v.toBool();
        }
}

void readProject(db::Connection &conn)
{
    const QString version = projectfile::readProjectVersion(conn);
    FUZZ_CHECK(!version.isEmpty(), QStringLiteral("empty version"));
    for (const char *table : kProjectTables) {
        try {
            db::Recordset rs = conn.openRecordset(QStringLiteral("SELECT * FROM ") + QLatin1String(table));
            readEverything(rs);
        } catch (const db::DbError &) {
            // A table missing or unreadable: the windows report it the same way.
        }
    }
    db::Recordset tables = conn.tables();
    QStringList names;
    for (; !tables.eof(); tables.moveNext())
        names << tables.value(QStringLiteral("TABLE_NAME")).toString();
    for (const QString &name : names) {
        try {
            db::Recordset columns = conn.columns(name);
            readEverything(columns);
        } catch (const db::DbError &) {
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    FUZZ_CHECK(folder.isValid(), QStringLiteral("no temporary folder"));
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);
    const QString projectPath = QDir(folder.path()).filePath(QStringLiteral("proiect.vmd"));
    {
        QFile file(projectPath);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
                   QStringLiteral("cannot write ") + projectPath);
    }

    std::unique_ptr<projectfile::WorkingCopy> copy;
    try {
        copy = projectfile::WorkingCopy::create(projectPath, folder.path());
    } catch (const db::DbError &e) {
        FUZZ_CHECK(false, QStringLiteral("working copy refused: ") + e.description());
    }
    const QString workingCopy = copy->path();
    FUZZ_CHECK(readAll(workingCopy) == bytes, QStringLiteral("the working copy differs from the file"));
    FUZZ_CHECK(QFile::permissions(workingCopy) == (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser),
               QStringLiteral("the working copy may be read by others"));

    try {
        db::Connection conn;
        conn.open(projectfile::projectConnectionString(workingCopy));
        readProject(conn);
        conn.close();
    } catch (const db::DbError &e) {
        FUZZ_CHECK(!e.description().isEmpty(), QStringLiteral("refused without a message"));
    }

    FUZZ_CHECK(readAll(projectPath) == bytes, QStringLiteral("opening the project changed its file"));
    copy->remove();
    const QDir dir(folder.path());
    const QStringList left = dir.entryList({QStringLiteral("~*")}, QDir::Files | QDir::Hidden);
    FUZZ_CHECK(left.isEmpty(), QStringLiteral("left behind: ") + left.join(QStringLiteral(", ")));
    return 0;
}
