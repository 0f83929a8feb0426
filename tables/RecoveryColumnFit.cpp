#include "tables/RecoveryColumnFit.h"

#include "data/db/AdoTypes.h"
#include "data/db/Connection.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <optional>

namespace {

enum class Family { Integer, Exact, Money, Float, Other };

// A column's type as the comparison needs it.
struct Shape {
    Family family = Family::Other;
    bool unlimited = false; // an exact decimal without precision (NUMERIC, NUMBER)
    bool isUnsigned = false;
    int digits = -1;        // digits before the point; -1 when unknown
    int scale = -1;         // digits after the point; -1 when unknown
    int width = 0;          // floats: 4 or 8 bytes
};

QString normalized(const QString &declaration)
{
    return declaration.simplified().remove(QLatin1Char(' ')).toLower();
}

bool isMoneyName(const QString &declaration)
{
    const QString d = normalized(declaration);
    return d == QLatin1String("money") || d == QLatin1String("smallmoney") || d == QLatin1String("currency")
           || d == QLatin1String("y");
}

// The digits of the integer types, by their ADO type.
int integerDigits(int adoType)
{
    switch (adoType) {
    case db::adTinyInt:
    case db::adUnsignedTinyInt: return 3;
    case db::adSmallInt:
    case db::adUnsignedSmallInt: return 5;
    case db::adInteger:
    case db::adUnsignedInt: return 10;
    case db::adBigInt: return 19;
    case db::adUnsignedBigInt: return 20;
    default: return -1;
    }
}

Shape shapeOf(const db::ColumnType &type)
{
    Shape s;
    const QString d = normalized(type.declaration);
    if (type.adoType == db::adCurrency || isMoneyName(type.declaration)) {
        s.family = Family::Money;
        return s;
    }
    if (type.adoType == db::adSingle || type.adoType == db::adDouble) {
        s.family = Family::Float;
        s.width = type.adoType == db::adSingle ? 4 : 8;
        return s;
    }
    const int whole = integerDigits(type.adoType);
    if (whole > 0) {
        s.family = Family::Integer;
        s.digits = whole;
        s.scale = 0;
        s.isUnsigned = type.adoType == db::adUnsignedTinyInt || type.adoType == db::adUnsignedSmallInt
                       || type.adoType == db::adUnsignedInt || type.adoType == db::adUnsignedBigInt;
        return s;
    }
    if (type.adoType == db::adNumeric || type.adoType == db::adDecimal || type.adoType == db::adVarNumeric) {
        s.family = Family::Exact;
        static const QRegularExpression params(QStringLiteral("\\((\\d+)(?:,(\\d+))?\\)"));
        const QRegularExpressionMatch m = params.match(d);
        if (!m.hasMatch()) {
            // NUMERIC or NUMBER without a precision keeps any decimal.
            s.unlimited = !d.isEmpty() && !d.contains(QLatin1Char('('));
            return s;
        }
        const int precision = m.captured(1).toInt();
        const int scale = m.captured(2).isEmpty() ? 0 : m.captured(2).toInt();
        s.scale = scale;
        s.digits = precision - scale;
        return s;
    }
    return s;
}

// The SQLite affinity of a declared type, by SQLite's own rules.
enum class Affinity { Integer, Text, Blob, Real, Numeric };

Affinity affinityOf(const QString &declaration)
{
    const QString d = declaration.toUpper();
    if (d.contains(QLatin1String("INT")))
        return Affinity::Integer;
    if (d.contains(QLatin1String("CHAR")) || d.contains(QLatin1String("CLOB")) || d.contains(QLatin1String("TEXT")))
        return Affinity::Text;
    if (d.trimmed().isEmpty() || d.contains(QLatin1String("BLOB")))
        return Affinity::Blob;
    if (d.contains(QLatin1String("REAL")) || d.contains(QLatin1String("FLOA")) || d.contains(QLatin1String("DOUB")))
        return Affinity::Real;
    return Affinity::Numeric;
}

// SQLite keeps a value as it is in a column of INTEGER, NUMERIC or no
// affinity (a REAL that is a whole number may become an INTEGER of the same
// value, which an amount column of REAL affinity makes a REAL again). A
// REAL column turns large integers into doubles, a TEXT column numbers into
// text.
bool sqliteKeepsExactly(const QString &fieldDeclaration, const QString &recDeclaration)
{
    const Affinity field = affinityOf(fieldDeclaration);
    const Affinity rec = affinityOf(recDeclaration);
    if (field == rec)
        return true;
    return rec == Affinity::Integer || rec == Affinity::Numeric || rec == Affinity::Blob;
}

bool holdsEveryValue(const Shape &field, const Shape &rec)
{
    switch (field.family) {
    case Family::Float: return rec.family == Family::Float && rec.width == field.width;
    case Family::Money: return rec.family == Family::Exact && rec.unlimited;
    case Family::Integer:
        if (rec.family == Family::Integer) {
            if (field.isUnsigned && !rec.isUnsigned)
                return rec.digits > field.digits;
            if (!field.isUnsigned && rec.isUnsigned)
                return false; // negative amounts
            return rec.digits >= field.digits;
        }
        if (rec.family == Family::Exact)
            return rec.unlimited || (rec.digits >= field.digits && rec.scale >= 0);
        return false;
    case Family::Exact:
        if (rec.family == Family::Exact) {
            if (rec.unlimited)
                return true;
            if (field.unlimited || field.digits < 0 || rec.digits < 0)
                return false;
            return rec.scale >= field.scale && rec.digits >= field.digits;
        }
        if (rec.family == Family::Integer)
            return !field.unlimited && field.scale == 0 && field.digits >= 0 && rec.digits > field.digits
                   && !rec.isUnsigned;
        return false;
    case Family::Other: return false;
    }
    return false;
}

QString typeText(const db::ColumnType &type)
{
    return type.declaration.isEmpty() ? QCoreApplication::translate("RecoveryColumnFit", "fara tip declarat")
                                      : type.declaration;
}

} // namespace

QString fgRecoveryColumnMisfit(const QString &pstrFieldName, const db::ColumnType &pField,
                               const QString &pstrRecFieldName, const db::ColumnType &pRec, bool pbWeaklyTyped)
{
    bool fits = false;
    if (pbWeaklyTyped)
        fits = sqliteKeepsExactly(pField.declaration, pRec.declaration);
    else
        fits = (!pField.declaration.isEmpty() && normalized(pField.declaration) == normalized(pRec.declaration)
                && pField.adoType == pRec.adoType)
               || holdsEveryValue(shapeOf(pField), shapeOf(pRec));
    if (fits)
        return QString();
    //: %1 the recovery column, %2 its type, %3 the amount column, %4 its type
    return QCoreApplication::translate("RecoveryColumnFit",
                                       "Coloana de restaurare \"%1\" exista deja in tabel, cu tipul %2, care nu "
                                       "poate pastra exact sumele coloanei \"%3\" (%4); campul nu a fost convertit. "
                                       "Stergeti coloana de restaurare sau dati-i tipul coloanei campului, apoi "
                                       "reluati conversia.")
        .arg(pstrRecFieldName, typeText(pRec), pstrFieldName, typeText(pField));
}
