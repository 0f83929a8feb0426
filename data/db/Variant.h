#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

namespace db {

// A database value. Empty (nothing at all, what a lookup that finds no row
// returns) and Null (a column without a value) are different values.
class Variant {
public:
    enum class Kind { Empty, Null, Bool, Int, Double, Decimal, Text, DateTime };

    Variant() = default; // Empty
    Variant(bool v) : mKind(Kind::Bool), mInt(v ? 1 : 0) {}
    Variant(int v) : mKind(Kind::Int), mInt(v) {}
    Variant(qint64 v) : mKind(Kind::Int), mInt(v) {}
    Variant(double v) : mKind(Kind::Double), mDouble(v) {}
    Variant(const QString &v) : mKind(Kind::Text), mText(v) {}
    Variant(const char *v) : mKind(Kind::Text), mText(QString::fromUtf8(v)) {}
    Variant(const QDateTime &v) : mKind(Kind::DateTime), mDateTime(v) {}

    static Variant null() { Variant v; v.mKind = Kind::Null; return v; }
    static Variant empty() { return Variant(); }
    // An exact decimal number kept as its text ("-123.45").
    static Variant decimal(const QString &text) { Variant v; v.mKind = Kind::Decimal; v.mText = text; return v; }

    Kind kind() const { return mKind; }
    bool isEmpty() const { return mKind == Kind::Empty; }
    bool isNull() const { return mKind == Kind::Null; }
    bool isText() const { return mKind == Kind::Text; }
    bool isNumber() const { return mKind == Kind::Int || mKind == Kind::Double || mKind == Kind::Decimal || mKind == Kind::Bool; }

    // The value's text form: Empty and Null give "", booleans "True"/"False",
    // numbers in plain decimal notation.
    QString toString() const;
    qint64 toInt() const;      // Null and Empty give 0; text is parsed
    double toDouble() const;
    bool toBool() const;       // Null and Empty give false; numbers are true when not 0
    QDateTime toDateTime() const;

    // Same kind class and same value; numbers compare by value, text exactly.
    bool operator==(const Variant &other) const;
    bool operator!=(const Variant &other) const { return !(*this == other); }

private:
    Kind mKind = Kind::Empty;
    qint64 mInt = 0;
    double mDouble = 0.0;
    QString mText;
    QDateTime mDateTime;
};

} // namespace db
