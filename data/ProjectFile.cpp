#include "data/ProjectFile.h"

#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "data/db/Recordset.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace projectfile {

namespace {

constexpr qint64 kChunk = 1 << 16;

[[noreturn]] void fail(const QString &description)
{
    throw db::DbError(db::E_FAIL, description);
}

bool pathTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Copies everything `from` holds into `to`; false on a read or write error.
bool copyContents(QFile &from, QFileDevice &to, QString &error)
{
    QByteArray buffer;
    while (true) {
        buffer = from.read(kChunk);
        if (buffer.isEmpty()) {
            if (from.error() != QFileDevice::NoError) {
                error = from.errorString();
                return false;
            }
            return true;
        }
        if (to.write(buffer) != buffer.size()) {
            error = to.errorString();
            return false;
        }
    }
}

} // namespace

QString workingCopyName(int counter)
{
    return QStringLiteral("~") + QStringLiteral("%1").arg(counter, 5, 10, QLatin1Char('0'))
           + QStringLiteral(".tmp");
}

QString nextWorkingCopyPath(const QString &folder)
{
    const QDir dir(folder);
    for (int counter = 1;; ++counter) {
        const QString candidate = dir.filePath(workingCopyName(counter));
        if (!pathTaken(candidate))
            return candidate;
    }
}

QString createWorkingCopy(const QString &source, const QString &folder)
{
    QFile in(source);
    if (QFileInfo(source).isDir() || !in.open(QIODevice::ReadOnly))
        fail(QStringLiteral("Fisierul \"%1\" nu poate fi citit: %2")
                 .arg(QDir::toNativeSeparators(source),
                      QFileInfo(source).isDir() ? QStringLiteral("este un director") : in.errorString()));

    // The working copy holds the passwords of the data sources: it is made
    // readable and writable by the user alone, and never over an existing
    // file (a name taken in the meantime moves on to the next counter).
    const QDir dir(folder);
    QFile out;
    QString path;
    for (int counter = 1;; ++counter) {
        path = dir.filePath(workingCopyName(counter));
        if (pathTaken(path))
            continue;
        out.setFileName(path);
        if (out.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
            break;
        if (!pathTaken(path))
            fail(QStringLiteral("Copia de lucru \"%1\" nu poate fi creata: %2")
                     .arg(QDir::toNativeSeparators(path), out.errorString()));
    }

    QString error;
    const bool copied = copyContents(in, out, error) && out.flush();
    if (!copied && error.isEmpty())
        error = out.errorString();
    out.close();
    if (!copied || out.error() != QFileDevice::NoError) {
        QFile::remove(path);
        fail(QStringLiteral("Fisierul \"%1\" nu poate fi copiat in \"%2\": %3")
                 .arg(QDir::toNativeSeparators(source), QDir::toNativeSeparators(path), error));
    }
    return path;
}

void saveWorkingCopy(const QString &workingCopy, const QString &target)
{
    QFile in(workingCopy);
    if (!in.open(QIODevice::ReadOnly))
        fail(QStringLiteral("Copia de lucru \"%1\" nu poate fi citita: %2")
                 .arg(QDir::toNativeSeparators(workingCopy), in.errorString()));
    if (QFileInfo(target).isDir())
        fail(QStringLiteral("\"%1\" este un director.").arg(QDir::toNativeSeparators(target)));

    // Written beside the target and renamed over it only when complete.
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        fail(QStringLiteral("Fisierul \"%1\" nu poate fi scris: %2")
                 .arg(QDir::toNativeSeparators(target), out.errorString()));
    QString error;
    if (!copyContents(in, out, error)) {
        out.cancelWriting();
        fail(QStringLiteral("Fisierul \"%1\" nu poate fi scris: %2").arg(QDir::toNativeSeparators(target), error));
    }
    if (!out.commit())
        fail(QStringLiteral("Fisierul \"%1\" nu poate fi scris: %2")
                 .arg(QDir::toNativeSeparators(target), out.errorString()));
}

QString projectConnectionString(const QString &workingCopy)
{
    return QStringLiteral("Provider=SQLite;Data Source=") + workingCopy;
}

QString readProjectVersion(db::Connection &conn)
{
    db::Recordset rs = conn.openRecordset(QStringLiteral("SELECT TOP 1 * FROM tConfig"), db::CursorType::Static,
                                          db::LockType::ReadOnly);
    if (rs.eof())
        throw db::DbError(db::ADO_E_NOCURRENTRECORD,
                          QStringLiteral("Tabelul tConfig al proiectului nu are niciun rand."));
    const db::Variant version = rs.value(QStringLiteral("Version"));
    rs.close();
    return version.isNull() || version.isEmpty() ? QStringLiteral("1.0") : version.toString();
}

} // namespace projectfile
