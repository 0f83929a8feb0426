#include "data/db/dbf/DbfIndexFiles.h"

#include "data/db/dbf/DbfFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace db {

namespace {

bool isNameByte(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// The identifiers of `text` in upper case: its longest runs of letters, digits and "_".
void addNames(QByteArrayView text, QSet<QByteArray> *names)
{
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool name = i < text.size() && isNameByte(text.at(i));
        if (name && start < 0)
            start = i;
        else if (!name && start >= 0) {
            names->insert(text.sliced(start, i - start).toByteArray().toUpper());
            start = -1;
        }
    }
}

// The expression stored at `offset` in at most `length` bytes, ended by a
// NUL; nothing when the bytes there are not such a text.
std::optional<QByteArray> expression(const QByteArray &header, int offset, int length)
{
    const QByteArray field = header.mid(offset, length);
    const qsizetype end = field.indexOf('\0');
    if (end < 0)
        return std::nullopt;
    const QByteArray text = field.left(end);
    for (char c : text)
        if (static_cast<uchar>(c) < 0x20 || static_cast<uchar>(c) == 0x7F)
            return std::nullopt;
    return text;
}

// Why a header cannot be read, said inside the message of obstacle().
QString incomplete()
{
    return QCoreApplication::translate("DbfIndexFiles", "antetul este incomplet");
}

QString noKey()
{
    return QCoreApplication::translate("DbfIndexFiles", "antetul nu are o expresie de cheie");
}

// Reads the names an index header uses into `names`; returns why the
// header cannot be read ("" when it can).
QString readHeader(const QByteArray &data, const QString &suffix, QSet<QByteArray> *names)
{
    if (suffix == QLatin1String("ntx")) {
        // Clipper: a 1024-byte header page, the key expression at 22 (256
        // bytes); the unique and descending flags, the FOR condition (Clipper
        // 5.2 and later) and the tag name follow from 278 on.
        if (data.size() < 1024)
            return incomplete();
        const auto key = expression(data, 22, 256);
        if (!key || key->trimmed().isEmpty())
            return noKey();
        addNames(*key, names);
        addNames(QByteArrayView(data).sliced(278, 1024 - 278), names);
        return QString();
    }
    if (suffix == QLatin1String("ndx")) {
        // dBase III: a 512-byte header, the key expression at 24. Bytes after
        // its end may be left over from memory, so only the key is read.
        if (data.size() < 512)
            return incomplete();
        const auto key = expression(data, 24, 512 - 24);
        if (!key || key->trimmed().isEmpty())
            return noKey();
        addNames(*key, names);
        return QString();
    }
    if (suffix == QLatin1String("idx")) {
        if (data.size() < 512)
            return incomplete();
        if (static_cast<uchar>(data.at(14)) & 0x20) {
            // FoxPro 2 compact index: the key and FOR expressions in the pool
            // of the second 512 bytes.
            if (data.size() < 1024)
                return incomplete();
            const auto key = expression(data, 512, 512);
            if (!key || key->trimmed().isEmpty())
                return noKey();
            addNames(QByteArrayView(data).sliced(512, 512), names);
            return QString();
        }
        // FoxBase / FoxPro single index: the key at 16 and the FOR
        // expression at 236, 220 bytes each.
        const auto key = expression(data, 16, 220);
        const auto condition = expression(data, 236, 220);
        if (!key || key->trimmed().isEmpty() || !condition)
            return noKey();
        addNames(*key, names);
        addNames(*condition, names);
        return QString();
    }
    // Compound indexes (.cdx, .mdx): every name anywhere in the file.
    if (data.size() < 512)
        return incomplete();
    addNames(data, names);
    return QString();
}

} // namespace

const DbfIndexFiles::Index &DbfIndexFiles::index(const QString &path, const QString &suffix)
{
    const QFileInfo info(path);
    const qint64 modified = info.lastModified().toMSecsSinceEpoch();
    auto it = mIndexes.find(path);
    if (it != mIndexes.end() && it->size == info.size() && it->modified == modified)
        return *it;
    Index read;
    read.size = info.size();
    read.modified = modified;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        read.unreadable =
            QCoreApplication::translate("DbfIndexFiles", "nu poate fi deschis: %1").arg(file.errorString());
    else
        read.unreadable = readHeader(file.readAll(), suffix, &read.names);
    return *mIndexes.insert(path, read);
}

QString DbfIndexFiles::obstacle(const DbfTable &table, const QString &column)
{
    const QFileInfo info(table.path());
    const int c = table.columnIndex(column);
    if (c >= 0 && table.columns().at(c).indexed)
        return QCoreApplication::translate("DbfIndexFiles",
                                           "Coloana %1 a tabelului %2 are o eticheta in indexul de productie (.mdx). "
                                           "Stergeti intai acest index in programul care foloseste tabelul, apoi "
                                           "reluati conversia.")
            .arg(column, info.fileName());
    QDir dir(info.path());
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    const QFileInfoList files = dir.entryInfoList();
    QSet<QString> tables;
    for (const QFileInfo &fi : files)
        if (fi.suffix().compare(QLatin1String("dbf"), Qt::CaseInsensitive) == 0)
            tables.insert(fi.completeBaseName().toLower());
    static const QStringList kinds{QStringLiteral("ntx"), QStringLiteral("ndx"), QStringLiteral("idx"),
                                   QStringLiteral("cdx"), QStringLiteral("mdx")};
    const QByteArray word = column.toLatin1().toUpper();
    bool production = false;
    for (const QFileInfo &fi : files) {
        const QString suffix = fi.suffix().toLower();
        if (!kinds.contains(suffix))
            continue;
        const bool own = fi.completeBaseName().compare(info.completeBaseName(), Qt::CaseInsensitive) == 0;
        const bool compound = suffix == QLatin1String("cdx") || suffix == QLatin1String("mdx");
        if (compound && !own && tables.contains(fi.completeBaseName().toLower()))
            continue; // another table's structural index
        production = production || (own && compound);
        const Index &read = index(fi.filePath(), suffix);
        // An index named otherwise than the table may belong to any table
        // of the folder: the message says so.
        if (read.names.contains(word)) {
            return own ? QCoreApplication::translate("DbfIndexFiles",
                                                     "Fisierul de index %1 poate folosi coloana %2. Stergeti intai "
                                                     "acest index in programul care foloseste tabelul, apoi reluati "
                                                     "conversia.")
                             .arg(fi.fileName(), column)
                       : QCoreApplication::translate("DbfIndexFiles",
                                                     "Fisierul de index %1 poate folosi coloana %2 (un fisier de index "
                                                     "cu alt nume decat al tabelului poate fi al oricarui tabel din "
                                                     "dosar). Stergeti intai acest index in programul care foloseste "
                                                     "tabelul, apoi reluati conversia.")
                             .arg(fi.fileName(), column);
        }
        if (!read.unreadable.isEmpty()) {
            return own ? QCoreApplication::translate("DbfIndexFiles",
                                                     "Fisierul de index %1 nu poate fi citit (%3), deci nu se stie "
                                                     "daca foloseste coloana %2. Stergeti intai acest index in "
                                                     "programul care foloseste tabelul, apoi reluati conversia.")
                             .arg(fi.fileName(), column, read.unreadable)
                       : QCoreApplication::translate("DbfIndexFiles",
                                                     "Fisierul de index %1 nu poate fi citit (%3), deci nu se stie "
                                                     "daca foloseste coloana %2 (un fisier de index cu alt nume decat "
                                                     "al tabelului poate fi al oricarui tabel din dosar). Stergeti "
                                                     "intai acest index in programul care foloseste tabelul, apoi "
                                                     "reluati conversia.")
                             .arg(fi.fileName(), column, read.unreadable);
        }
    }
    if (table.hasProductionIndex() && !production)
        return QCoreApplication::translate("DbfIndexFiles",
                                           "Tabelul %1 are un index de productie care lipseste din dosar, deci nu se "
                                           "stie daca foloseste coloana %2. Stergeti intai acest index in programul "
                                           "care foloseste tabelul, apoi reluati conversia.")
            .arg(info.fileName(), column);
    return QString();
}

} // namespace db
