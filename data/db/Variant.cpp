#include "data/db/Variant.h"

#include <cmath>

namespace db {

namespace {

QString doubleText(double d)
{
    if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 1e18)
        return QString::number(static_cast<qint64>(d));
    QString text = QString::number(d, 'g', 15);
    if (text.contains(QLatin1Char('e')))
        text = QString::number(d, 'f', 10);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}

} // namespace

QString Variant::toString() const
{
    switch (mKind) {
    case Kind::Empty:
    case Kind::Null: return QString();
    case Kind::Bool: return mInt ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Int: return QString::number(mInt);
    case Kind::Double: return doubleText(mDouble);
    case Kind::Decimal:
    case Kind::Text: return mText;
    case Kind::DateTime: return mDateTime.toString(Qt::ISODate).replace(QLatin1Char('T'), QLatin1Char(' '));
    }
    return QString();
}

qint64 Variant::toInt() const
{
    switch (mKind) {
    case Kind::Bool:
    case Kind::Int: return mInt;
    case Kind::Double: return static_cast<qint64>(std::llround(mDouble));
    case Kind::Decimal:
    case Kind::Text: {
        bool ok = false;
        const qint64 v = mText.trimmed().toLongLong(&ok);
        if (ok)
            return v;
        return static_cast<qint64>(std::llround(mText.trimmed().toDouble()));
    }
    default: return 0;
    }
}

double Variant::toDouble() const
{
    switch (mKind) {
    case Kind::Bool:
    case Kind::Int: return static_cast<double>(mInt);
    case Kind::Double: return mDouble;
    case Kind::Decimal:
    case Kind::Text: return mText.trimmed().toDouble();
    default: return 0.0;
    }
}

bool Variant::toBool() const
{
    switch (mKind) {
    case Kind::Bool:
    case Kind::Int: return mInt != 0;
    case Kind::Double: return mDouble != 0.0;
    case Kind::Decimal: return mText.trimmed().toDouble() != 0.0;
    case Kind::Text: {
        const QString t = mText.trimmed();
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        bool ok = false;
        const double d = t.toDouble(&ok);
        return ok && d != 0.0;
    }
    default: return false;
    }
}

QDateTime Variant::toDateTime() const
{
    if (mKind == Kind::DateTime)
        return mDateTime;
    if (mKind == Kind::Text)
        return QDateTime::fromString(mText, Qt::ISODate);
    return QDateTime();
}

bool Variant::operator==(const Variant &other) const
{
    if (mKind == Kind::Empty || mKind == Kind::Null || other.mKind == Kind::Empty || other.mKind == Kind::Null)
        return mKind == other.mKind;
    if (isNumber() && other.isNumber()) {
        if ((mKind == Kind::Int || mKind == Kind::Bool) && (other.mKind == Kind::Int || other.mKind == Kind::Bool))
            return mInt == other.mInt;
        if (mKind == Kind::Decimal && other.mKind == Kind::Decimal && mText == other.mText)
            return true;
        return toDouble() == other.toDouble();
    }
    if (mKind == Kind::DateTime || other.mKind == Kind::DateTime)
        return toDateTime() == other.toDateTime();
    if (mKind == Kind::Text && other.mKind == Kind::Text)
        return mText == other.mText;
    return false;
}

} // namespace db
