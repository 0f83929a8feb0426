#include "data/db/dbf/DbfFile.h"

#include "data/db/DbError.h"
#include "data/db/Decimal.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>
#include <cstring>

namespace db {

namespace {

[[noreturn]] void fail(const QString &text, qint32 number = E_FAIL)
{
    throw DbError(number, text);
}

QString notDbf(const QString &path)
{
    return QCoreApplication::translate("DbfFile", "Fisierul %1 nu este un tabel DBF.").arg(QFileInfo(path).fileName());
}

bool knownVersion(quint8 v)
{
    switch (v) {
    case 0x02: case 0x03: case 0x04: case 0x05: case 0x30: case 0x31: case 0x32:
    case 0x43: case 0x63: case 0x83: case 0x8B: case 0x8E: case 0xCB: case 0xF5: case 0xFB:
        return true;
    default:
        return false;
    }
}

// The code page byte of the header, as an encoding name.
const char *codePageName(quint8 mark)
{
    switch (mark) {
    case 0x01: return "IBM437";
    case 0x02: return "IBM850";
    case 0x64: return "IBM852";
    case 0x65: return "IBM866";
    case 0x66: return "IBM865";
    case 0x6A: return "IBM737";
    case 0x6B: return "IBM857";
    case 0x87: return "IBM852"; // Slovenian OEM
    case 0xC8: return "windows-1250";
    case 0xC9: return "windows-1251";
    case 0xCA: return "windows-1254";
    case 0xCB: return "windows-1253";
    case 0x03:
    case 0x57:
    default: return "windows-1252";
    }
}

// Supported column types and the sizes they may have.
bool knownType(char t)
{
    return QByteArray("CNFLDMYIBT0G").contains(t);
}

QString fieldName(const QByteArray &raw)
{
    const int end = raw.indexOf('\0');
    return QString::fromLatin1(end < 0 ? raw : raw.left(end)).trimmed();
}

} // namespace

bool DbfTable::isVisualFoxPro() const
{
    return mVersion == 0x30 || mVersion == 0x31 || mVersion == 0x32;
}

QString DbfTable::decode(const QByteArray &bytes) const
{
    QStringDecoder decoder(codePageName(mCodePage));
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QByteArray DbfTable::encode(const QString &text) const
{
    QStringEncoder encoder(codePageName(mCodePage));
    if (!encoder.isValid())
        return text.toLatin1();
    QByteArray out = encoder.encode(text);
    if (encoder.hasError())
        fail(QCoreApplication::translate("DbfFile", "Textul \"%1\" nu poate fi scris in pagina de cod a tabelului.")
                 .arg(text));
    return out;
}

DbfTable DbfTable::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QCoreApplication::translate("DbfFile", "Tabelul %1 nu poate fi citit: %2")
                 .arg(QFileInfo(path).fileName(), file.errorString()));
    const QByteArray data = file.readAll();
    DbfTable t;
    t.mPath = path;
    t.mStamp = DbfFileStamp::of(file.handle(), data);
    if (data.size() < 33 || !knownVersion(static_cast<quint8>(data.at(0))))
        fail(notDbf(path));
    const auto *u = reinterpret_cast<const uchar *>(data.constData());
    t.mVersion = u[0];
    const quint32 count = qFromLittleEndian<quint32>(u + 4);
    const int headerLength = qFromLittleEndian<quint16>(u + 8);
    const int recordLength = qFromLittleEndian<quint16>(u + 10);
    t.mTableFlags = u[28];
    t.mCodePage = u[29];
    t.mHeaderRest = data.mid(12, 20);
    if (headerLength < 33 || headerLength > data.size() || recordLength < 1)
        fail(notDbf(path));

    int pos = 32;
    int offset = 1;
    int nullBits = 0;
    while (pos < headerLength && u[pos] != 0x0D) {
        if (pos + 32 > headerLength)
            fail(notDbf(path));
        DbfField f;
        f.descriptor = data.mid(pos, 32);
        f.name = fieldName(f.descriptor.left(11));
        f.type = static_cast<char>(QChar::fromLatin1(data.at(pos + 11)).toUpper().toLatin1());
        f.length = u[pos + 16];
        f.decimals = u[pos + 17];
        if (f.type == 'C' && !t.isVisualFoxPro())
            f.length += u[pos + 17] * 256, f.decimals = 0; // Clipper's long character columns
        f.flags = t.isVisualFoxPro() ? u[pos + 18] : 0;
        f.indexed = !t.isVisualFoxPro() && u[pos + 31] != 0;
        f.offset = offset;
        f.id = t.mNextId++;
        offset += f.length;
        if (!knownType(f.type) || f.length == 0 || f.name.isEmpty())
            fail(QCoreApplication::translate("DbfFile",
                                             "Tabelul %1 are coloana %2 de un tip pe care Vamor nu il cunoaste (%3).")
                     .arg(QFileInfo(path).fileName(), f.name, QString(QLatin1Char(f.type))));
        if ((f.flags & 0x02) && f.type != '0')
            f.nullBit = nullBits++;
        t.mFields << f;
        pos += 32;
    }
    if (pos >= headerLength || t.mFields.isEmpty() || offset != recordLength)
        fail(notDbf(path));
    t.mTail = data.mid(pos + 1, headerLength - pos - 1);
    if (static_cast<qint64>(headerLength) + static_cast<qint64>(count) * recordLength > data.size())
        fail(QCoreApplication::translate(
                 "DbfFile", "Tabelul %1 este incomplet: fisierul se termina inaintea ultimei inregistrari.")
                 .arg(QFileInfo(path).fileName()));
    const QByteArray after = data.mid(headerLength + static_cast<qint64>(count) * recordLength, 1);
    t.mTrailer = after == QByteArrayLiteral("\x1A") ? after : QByteArray();
    t.mRecords.reserve(count);
    for (quint32 r = 0; r < count; ++r)
        t.mRecords << data.mid(headerLength + static_cast<qint64>(r) * recordLength, recordLength);

    // The memo file, when a column uses one.
    bool memo = false;
    for (const auto &f : t.mFields)
        memo = memo || f.type == 'M' || f.type == 'G';
    if (memo) {
        const QFileInfo info(path);
        const QString base = info.path() + QLatin1Char('/') + info.completeBaseName();
        for (const QString &ext : {QStringLiteral(".fpt"), QStringLiteral(".FPT"), QStringLiteral(".Fpt"),
                                   QStringLiteral(".dbt"), QStringLiteral(".DBT"), QStringLiteral(".Dbt")}) {
            if (QFileInfo::exists(base + ext)) {
                t.mMemoPath = base + ext;
                break;
            }
        }
        if (t.mMemoPath.isEmpty())
            fail(
                QCoreApplication::translate("DbfFile", "Lipseste fisierul memo al tabelului %1.").arg(info.fileName()));
        QFile memoFile(t.mMemoPath);
        if (!memoFile.open(QIODevice::ReadOnly))
            fail(QCoreApplication::translate("DbfFile", "Fisierul memo %1 nu poate fi citit: %2")
                     .arg(t.mMemoPath, memoFile.errorString()));
        t.mMemo = memoFile.readAll();
        const bool fpt = t.mMemoPath.endsWith(QLatin1String("fpt"), Qt::CaseInsensitive);
        if (fpt && t.mMemo.size() >= 8)
            t.mMemoBlock = qFromBigEndian<quint16>(reinterpret_cast<const uchar *>(t.mMemo.constData()) + 6);
        else if (!fpt && t.mMemo.size() >= 22 && t.mVersion == 0x8B)
            t.mMemoBlock = qFromLittleEndian<quint16>(reinterpret_cast<const uchar *>(t.mMemo.constData()) + 20);
        if (t.mMemoBlock <= 0)
            t.mMemoBlock = 512;
    }
    return t;
}

QString DbfTable::memoText(const QByteArray &pointer) const
{
    qint64 block = 0;
    if (pointer.size() == 4) {
        block = qFromLittleEndian<quint32>(reinterpret_cast<const uchar *>(pointer.constData()));
    } else {
        bool ok = false;
        block = pointer.trimmed().toLongLong(&ok);
        if (!ok)
            block = 0;
    }
    if (block <= 0)
        return QString();
    const qint64 start = block * mMemoBlock;
    if (start >= mMemo.size())
        return QString();
    const auto *u = reinterpret_cast<const uchar *>(mMemo.constData());
    if (mMemoPath.endsWith(QLatin1String("fpt"), Qt::CaseInsensitive)) {
        if (start + 8 > mMemo.size())
            return QString();
        const qint64 length = qFromBigEndian<quint32>(u + start + 4);
        return decode(mMemo.mid(start + 8, qMin<qint64>(length, mMemo.size() - start - 8)));
    }
    if (start + 8 <= mMemo.size() && u[start] == 0xFF && u[start + 1] == 0xFF && u[start + 2] == 0x08
        && u[start + 3] == 0x00) {
        const qint64 length = qFromLittleEndian<quint32>(u + start + 4) - 8;
        return decode(mMemo.mid(start + 8, qMax<qint64>(0, qMin<qint64>(length, mMemo.size() - start - 8))));
    }
    qint64 end = mMemo.indexOf('\x1A', start);
    if (end < 0)
        end = mMemo.size();
    return decode(mMemo.mid(start, end - start));
}

QList<DbfField> DbfTable::columns() const
{
    QList<DbfField> out;
    for (const auto &f : mFields)
        if (f.type != '0')
            out << f;
    return out;
}

int DbfTable::userToField(int column) const
{
    int seen = -1;
    for (int i = 0; i < mFields.size(); ++i)
        if (mFields.at(i).type != '0' && ++seen == column)
            return i;
    fail(QCoreApplication::translate("DbfFile", "Coloana %1 nu exista.").arg(column), DB_E_ERRORSINCOMMAND);
}

int DbfTable::columnIndex(const QString &name) const
{
    const QList<DbfField> cols = columns();
    for (int i = 0; i < cols.size(); ++i)
        if (cols.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int DbfTable::recordLength() const
{
    int length = 1;
    for (const auto &f : mFields)
        length += f.length;
    return length;
}

bool DbfTable::nullFlag(const QByteArray &record, int bit) const
{
    for (const auto &f : mFields) {
        if (f.type != '0')
            continue;
        if (bit / 8 >= f.length)
            return false;
        return (static_cast<uchar>(record.at(f.offset + bit / 8)) >> (bit % 8)) & 1;
    }
    return false;
}

Variant DbfTable::value(int record, int column) const
{
    const DbfField &f = mFields.at(userToField(column));
    const QByteArray &rec = mRecords.at(record);
    if (f.nullBit >= 0 && nullFlag(rec, f.nullBit))
        return Variant::null();
    const QByteArray raw = rec.mid(f.offset, f.length);
    const auto *u = reinterpret_cast<const uchar *>(raw.constData());
    switch (f.type) {
    case 'C': {
        QByteArray text = raw;
        while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\0'))
            text.chop(1);
        return Variant(decode(text));
    }
    case 'N':
    case 'F': {
        const QString text = QString::fromLatin1(raw).trimmed();
        const auto number = dec::parse(text);
        if (!number)
            return text.isEmpty() || text.startsWith(QLatin1Char('*')) ? Variant::null() : Variant(text);
        return Variant::decimal(dec::toText(*number));
    }
    case 'Y': {
        const qint64 scaled = qFromLittleEndian<qint64>(u);
        dec::Decimal d{scaled < 0, QString::number(scaled).remove(QLatin1Char('-')), 4};
        return Variant::decimal(dec::toText(d));
    }
    case 'I': return Variant(static_cast<qint64>(qFromLittleEndian<qint32>(u)));
    case 'B': {
        double v = 0;
        const quint64 bits = qFromLittleEndian<quint64>(u);
        std::memcpy(&v, &bits, sizeof v);
        return Variant(v);
    }
    case 'L': {
        const char c = raw.at(0);
        if (QByteArray("TtYy").contains(c))
            return Variant(qint64(1));
        if (QByteArray("FfNn").contains(c))
            return Variant(qint64(0));
        return Variant::null();
    }
    case 'D': {
        const QDate d = QDate::fromString(QString::fromLatin1(raw), QStringLiteral("yyyyMMdd"));
        return d.isValid() ? Variant(d.toString(Qt::ISODate)) : Variant::null();
    }
    case 'T': {
        const qint32 day = qFromLittleEndian<qint32>(u);
        const qint32 ms = qFromLittleEndian<qint32>(u + 4);
        if (day == 0 && ms == 0)
            return Variant::null();
        const QDate d = QDate::fromJulianDay(day);
        const QTime time = QTime::fromMSecsSinceStartOfDay(ms);
        return Variant(d.toString(Qt::ISODate) + QLatin1Char(' ') + time.toString(QStringLiteral("HH:mm:ss")));
    }
    case 'M': {
        const QString text = memoText(raw);
        return text.isNull() ? Variant::null() : Variant(text);
    }
    default: return Variant::null();
    }
}

void DbfTable::setValue(int record, int column, const Variant &value)
{
    const int index = userToField(column);
    const DbfField &f = mFields.at(index);
    QByteArray &rec = mRecords[record];
    const auto tooWide = [&f](const QString &text) {
        fail(QCoreApplication::translate("DbfFile", "Valoarea %1 nu incape exact in coloana %2 (%3,%4).")
                 .arg(text, f.name, QString(QLatin1Char(f.type)), QString::number(f.length)),
             DB_E_ERRORSOCCURRED);
    };
    QByteArray bytes(f.length, ' ');
    const bool isNull = value.isNull() || value.isEmpty();
    // The Null flag of the column, when it has one.
    const auto setNull = [&](bool on) {
        if (f.nullBit < 0)
            return;
        for (const auto &flags : mFields) {
            if (flags.type != '0')
                continue;
            const int at = flags.offset + f.nullBit / 8;
            const uchar mask = static_cast<uchar>(1u << (f.nullBit % 8));
            rec[at] = static_cast<char>(on ? (static_cast<uchar>(rec.at(at)) | mask)
                                           : (static_cast<uchar>(rec.at(at)) & ~mask));
        }
    };
    if (isNull && f.type != 'N' && f.type != 'F' && f.type != 'C' && f.type != 'D' && f.type != 'L'
        && f.nullBit < 0)
        fail(QCoreApplication::translate("DbfFile", "Coloana %1 nu poate primi valoarea Null.").arg(f.name),
             DB_E_ERRORSOCCURRED);
    const QString text = value.toString();
    switch (f.type) {
    case 'C':
        if (!isNull) {
            const QByteArray encoded = encode(text);
            if (encoded.size() > f.length)
                tooWide(text);
            bytes.replace(0, encoded.size(), encoded);
        }
        break;
    case 'N':
    case 'F':
        if (!isNull) {
            const auto number = dec::parse(text);
            if (!number)
                fail(QCoreApplication::translate("DbfFile", "Valoarea \"%1\" din coloana %2 nu este un numar.")
                         .arg(text, f.name),
                     DB_E_ERRORSOCCURRED);
            const dec::Decimal kept = dec::round(*number, f.decimals);
            if (dec::compare(kept, *number) != 0)
                tooWide(text);
            const QByteArray digits = dec::toText(kept).toLatin1();
            if (digits.size() > f.length)
                tooWide(text);
            bytes.replace(f.length - digits.size(), digits.size(), digits);
        }
        break;
    case 'Y': {
        bytes.fill('\0');
        if (!isNull) {
            const auto number = dec::parse(text);
            if (!number)
                fail(QCoreApplication::translate("DbfFile", "Valoarea \"%1\" din coloana %2 nu este un numar.")
                         .arg(text, f.name),
                     DB_E_ERRORSOCCURRED);
            const dec::Decimal kept = dec::round(*number, 4);
            if (dec::compare(kept, *number) != 0 || kept.digits.size() > 19)
                tooWide(text);
            bool ok = false;
            qint64 scaled = kept.digits.toLongLong(&ok);
            if (!ok)
                tooWide(text);
            if (kept.negative)
                scaled = -scaled;
            qToLittleEndian<qint64>(scaled, bytes.data());
        }
        break;
    }
    case 'I': {
        bytes.fill('\0');
        if (!isNull) {
            const auto number = dec::parse(text);
            if (!number || (number->scale > 0 && dec::compare(dec::round(*number, 0), *number) != 0))
                tooWide(text);
            const qint64 v = dec::toText(dec::round(*number, 0)).toLongLong();
            if (v < INT32_MIN || v > INT32_MAX)
                tooWide(text);
            qToLittleEndian<qint32>(static_cast<qint32>(v), bytes.data());
        }
        break;
    }
    case 'B': {
        bytes.fill('\0');
        if (!isNull) {
            bool ok = value.kind() == Variant::Kind::Double || value.kind() == Variant::Kind::Int;
            const double v = ok ? value.toDouble() : text.trimmed().toDouble(&ok);
            if (!ok)
                fail(QCoreApplication::translate("DbfFile", "Valoarea \"%1\" din coloana %2 nu este un numar.")
                         .arg(text, f.name),
                     DB_E_ERRORSOCCURRED);
            quint64 bits = 0;
            std::memcpy(&bits, &v, sizeof v);
            qToLittleEndian<quint64>(bits, bytes.data());
        }
        break;
    }
    case 'L':
        bytes[0] = isNull ? (isVisualFoxPro() ? ' ' : '?') : (value.toBool() ? 'T' : 'F');
        break;
    case 'D':
        if (!isNull) {
            const QDate d = QDate::fromString(text.left(10), Qt::ISODate);
            if (!d.isValid())
                fail(QCoreApplication::translate("DbfFile", "Valoarea \"%1\" din coloana %2 nu este o data.")
                         .arg(text, f.name),
                     DB_E_ERRORSOCCURRED);
            bytes = d.toString(QStringLiteral("yyyyMMdd")).toLatin1();
        }
        break;
    case 'T': {
        bytes.fill('\0');
        if (!isNull) {
            const QDateTime dt = QDateTime::fromString(text.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            if (!dt.isValid())
                fail(QCoreApplication::translate("DbfFile", "Valoarea \"%1\" din coloana %2 nu este o data.")
                         .arg(text, f.name),
                     DB_E_ERRORSOCCURRED);
            qToLittleEndian<qint32>(static_cast<qint32>(dt.date().toJulianDay()), bytes.data());
            qToLittleEndian<qint32>(dt.time().msecsSinceStartOfDay(), bytes.data() + 4);
        }
        break;
    }
    default:
        fail(QCoreApplication::translate("DbfFile", "Coloana memo %1 nu poate fi modificata de Vamor.").arg(f.name),
             DB_E_ERRORSOCCURRED);
    }
    rec.replace(f.offset, f.length, bytes);
    setNull(isNull);
}

// Moves every record to a new list of columns: bytes of the columns kept
// are copied, new columns start as Null, _NullFlags is rebuilt.
void DbfTable::relayout(const QList<DbfField> &requested)
{
    QList<DbfField> fields;
    int bits = 0;
    for (DbfField f : requested) {
        if (f.type == '0')
            continue;
        f.nullBit = (f.flags & 0x02) ? bits++ : -1;
        fields << f;
    }
    if (bits > 0) {
        DbfField flags;
        flags.name = QStringLiteral("_NullFlags");
        flags.flags = 0x05;
        for (const auto &old : mFields)
            if (old.type == '0')
                flags = old; // its descriptor as the table's program wrote it
        flags.type = '0';
        flags.length = (bits + 7) / 8;
        if (!flags.descriptor.isEmpty())
            flags.descriptor[16] = static_cast<char>(flags.length);
        fields << flags;
    }
    int offset = 1;
    for (auto &f : fields) {
        f.offset = offset;
        offset += f.length;
    }
    for (auto &rec : mRecords) {
        QByteArray out(offset, ' ');
        out[0] = rec.at(0);
        QList<bool> nulls;
        for (auto &f : fields) {
            if (f.type == '0') {
                out.replace(f.offset, f.length, QByteArray(f.length, '\0'));
                continue;
            }
            const DbfField *old = nullptr;
            for (const auto &o : mFields)
                if (o.type != '0' && o.id == f.id)
                    old = &o;
            if (old) {
                out.replace(f.offset, f.length, rec.mid(old->offset, old->length));
                nulls << (old->nullBit >= 0 && nullFlag(rec, old->nullBit));
            } else {
                // A new column: empty, and Null where Null can be told apart.
                QByteArray blank(f.length, QByteArrayView("YIBT").contains(f.type) ? '\0' : ' ');
                out.replace(f.offset, f.length, blank);
                nulls << true;
            }
        }
        int i = 0;
        for (const auto &f : fields) {
            if (f.type == '0')
                continue;
            if (f.nullBit >= 0 && nulls.at(i)) {
                for (const auto &flags : fields)
                    if (flags.type == '0')
                        out[flags.offset + f.nullBit / 8] =
                            static_cast<char>(static_cast<uchar>(out.at(flags.offset + f.nullBit / 8)) | (1u << (f.nullBit % 8)));
            }
            ++i;
        }
        rec = out;
    }
    mFields = fields;
}

void DbfTable::addColumn(const QString &name, char type, int length, int decimals)
{
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const QString upper = name.toUpper();
    bool valid = !upper.isEmpty() && upper.size() <= 10 && letters.contains(upper.at(0));
    for (QChar c : upper)
        valid = valid && (letters.contains(c) || c.isDigit() || c == QLatin1Char('_')) && c.unicode() < 128;
    if (!valid)
        fail(QCoreApplication::translate(
                 "DbfFile", "Numele de coloana \"%1\" nu poate fi folosit intr-un tabel DBF: cel mult 10 litere, "
                            "cifre sau \"_\", incepand cu o litera.")
                 .arg(name));
    if (columnIndex(name) >= 0)
        fail(QCoreApplication::translate("DbfFile", "Coloana %1 exista deja in tabelul %2.")
                 .arg(name, QFileInfo(mPath).fileName()),
             DB_E_ERRORSINCOMMAND);
    const bool vfp = isVisualFoxPro();
    const QByteArray allowed = vfp ? "CNFLDYIBT" : "CNFLD";
    if (!allowed.contains(type))
        fail(QCoreApplication::translate("DbfFile", "Tipul de coloana %1 nu poate fi adaugat acestui tabel DBF.")
                 .arg(QLatin1Char(type)));
    switch (type) {
    case 'Y': case 'B': case 'T': length = 8; break;
    case 'I': length = 4; decimals = 0; break;
    case 'L': length = 1; decimals = 0; break;
    case 'D': length = 8; decimals = 0; break;
    default: break;
    }
    if (type == 'B')
        decimals = qBound(0, decimals, 18);
    const bool numeric = type == 'N' || type == 'F';
    if (length < 1 || length > 254
        || (numeric && (length > 20 || decimals < 0 || decimals > 18 || (decimals > 0 && decimals > length - 2))))
        fail(QCoreApplication::translate("DbfFile",
                                         "Dimensiunea %1,%2 nu este valida pentru o coloana %3 a unui tabel DBF.")
                 .arg(QString::number(length), QString::number(decimals), QString(QLatin1Char(type))));
    if (recordLength() + length + (vfp ? 1 : 0) > 65535)
        fail(QCoreApplication::translate("DbfFile", "Inregistrarile tabelului %1 ar depasi 65535 de octeti.")
                 .arg(QFileInfo(mPath).fileName()));
    DbfField f;
    f.name = upper;
    f.type = type;
    f.length = length;
    f.decimals = decimals;
    f.flags = vfp ? 0x02 : 0;
    f.id = mNextId++;
    QList<DbfField> fields = mFields;
    fields << f;
    relayout(fields);
}

void DbfTable::dropColumn(int column)
{
    QList<DbfField> fields = mFields;
    fields.removeAt(userToField(column));
    bool any = false;
    for (const auto &f : fields)
        any = any || f.type != '0';
    if (!any)
        fail(QCoreApplication::translate("DbfFile", "Ultima coloana a tabelului %1 nu poate fi stearsa.")
                 .arg(QFileInfo(mPath).fileName()));
    relayout(fields);
}

QByteArray DbfTable::bytes() const
{
    QByteArray header(32, '\0');
    header[0] = static_cast<char>(mVersion);
    const QDate today = QDate::currentDate();
    header[1] = static_cast<char>(today.year() % 100);
    header[2] = static_cast<char>(today.month());
    header[3] = static_cast<char>(today.day());
    header.replace(12, 20, mHeaderRest);
    qToLittleEndian<quint32>(static_cast<quint32>(mRecords.size()), header.data() + 4);
    const int headerLength = 32 + 32 * static_cast<int>(mFields.size()) + 1 + static_cast<int>(mTail.size());
    if (headerLength > 65535)
        fail(QCoreApplication::translate("DbfFile", "Tabelul %1 are prea multe coloane.")
                 .arg(QFileInfo(mPath).fileName()));
    qToLittleEndian<quint16>(static_cast<quint16>(headerLength), header.data() + 8);
    qToLittleEndian<quint16>(static_cast<quint16>(recordLength()), header.data() + 10);
    header[28] = static_cast<char>(mTableFlags);
    header[29] = static_cast<char>(mCodePage);
    QByteArray out = header;
    for (const auto &f : mFields) {
        QByteArray d = f.descriptor.isEmpty() ? QByteArray(32, '\0') : f.descriptor;
        if (f.descriptor.isEmpty()) {
            const QByteArray name = f.name.toLatin1().left(10);
            d.replace(0, 11, name + QByteArray(11 - name.size(), '\0'));
            d[11] = f.type;
            d[16] = static_cast<char>(f.length);
            d[17] = static_cast<char>(f.decimals);
            d[18] = static_cast<char>(f.flags);
        }
        if (isVisualFoxPro())
            qToLittleEndian<quint32>(static_cast<quint32>(f.offset), d.data() + 12);
        out += d;
    }
    out += '\x0D';
    out += mTail;
    for (const auto &rec : mRecords)
        out += rec;
    out += mTrailer;
    return out;
}

} // namespace db
