#include "data/db/Variant.h"

#include <gtest/gtest.h>

using db::Variant;

TEST(VariantTest, EmptyAndNullAreDifferentValues)
{
    const Variant empty;
    const Variant null = Variant::null();
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_FALSE(empty.isNull());
    EXPECT_TRUE(null.isNull());
    EXPECT_FALSE(null.isEmpty());
    EXPECT_NE(empty, null);
    EXPECT_EQ(null, Variant::null());
    EXPECT_EQ(empty, Variant::empty());
    // Neither equals a zero or an empty text.
    EXPECT_NE(null, Variant(0));
    EXPECT_NE(empty, Variant(QString()));
    EXPECT_EQ(null.toString(), QString());
    EXPECT_EQ(empty.toInt(), 0);
}

TEST(VariantTest, DecimalKeepsEveryDigit)
{
    const Variant d = Variant::decimal(QStringLiteral("123456789012345678.1234567891"));
    EXPECT_EQ(d.kind(), Variant::Kind::Decimal);
    EXPECT_TRUE(d.isNumber());
    EXPECT_EQ(d.toString(), QStringLiteral("123456789012345678.1234567891"));
    EXPECT_EQ(Variant::decimal(QStringLiteral("12.50")), Variant(12.5));
    EXPECT_EQ(Variant::decimal(QStringLiteral("-7")).toInt(), -7);
}

TEST(VariantTest, NumbersCompareByValueTextExactly)
{
    EXPECT_EQ(Variant(5), Variant(qint64(5)));
    EXPECT_EQ(Variant(5), Variant(5.0));
    EXPECT_NE(Variant(5), Variant(5.5));
    EXPECT_EQ(Variant("abc"), Variant(QStringLiteral("abc")));
    EXPECT_NE(Variant("abc"), Variant("ABC"));
    EXPECT_NE(Variant("5"), Variant(5));
    EXPECT_EQ(Variant(true).toString(), QStringLiteral("True"));
    EXPECT_EQ(Variant(false).toString(), QStringLiteral("False"));
    EXPECT_EQ(Variant(0.1 + 0.2).toString(), QStringLiteral("0.3"));
    EXPECT_EQ(Variant(1e15).toString(), QStringLiteral("1000000000000000"));
    EXPECT_EQ(Variant(" 42 ").toInt(), 42);
    EXPECT_TRUE(Variant("True").toBool());
    EXPECT_FALSE(Variant("0").toBool());
}
