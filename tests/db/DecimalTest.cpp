#include "data/db/Decimal.h"

#include <gtest/gtest.h>

using namespace db::dec;

namespace {

QString shifted(const char *x, int power)
{
    return toText(shift(*parse(QString::fromLatin1(x)), power));
}

QString rounded(const char *x, int decimals)
{
    return toText(round(*parse(QString::fromLatin1(x)), decimals));
}

} // namespace

TEST(DbfDecimal, ParsesNumbersAndRefusesEverythingElse)
{
    const struct {
        const char *text;
        const char *expected; // nullptr: refused
    } cases[] = {
        {"12.50", "12.50"},   {" -0012.5 ", "-12.5"}, {"+3", "3"},       {".5", "0.5"},
        {"1.5e3", "1500"},    {"1.25E-2", "0.0125"},  {"-0", "0"},       {"12,50", nullptr},
        {"", nullptr},        {"abc", nullptr},       {"1e", nullptr},   {"1.2.3", nullptr},
        {"***", nullptr},     {"-", nullptr},         {"1 000", nullptr},
    };
    for (const auto &c : cases) {
        const auto d = parse(QString::fromLatin1(c.text));
        if (!c.expected) {
            EXPECT_FALSE(d.has_value()) << c.text;
            continue;
        }
        ASSERT_TRUE(d.has_value()) << c.text;
        EXPECT_EQ(toText(*d), QString::fromLatin1(c.expected)) << c.text;
    }
}

TEST(DbfDecimal, DividesByTenThousandAndRoundsHalvesAwayFromZero)
{
    const struct {
        const char *old;
        int decimals;
        const char *expected;
    } cases[] = {
        {"14949.50", 2, "1.49"},  {"-14949.50", 2, "-1.49"}, {"14950", 2, "1.50"},     {"15000", 0, "2"},
        {"-15000", 0, "-2"},      {"14999.99", 0, "1"},      {"49.99", 2, "0.00"},     {"50", 2, "0.01"},
        {"-50.00", 2, "-0.01"},   {"149995000", 2, "14999.50"}, {"99999.9999", 4, "10.0000"},
        {"1234567890123.45", 2, "123456789.01"}, {"-922337203685.4775", 4, "-92233720.3685"},
        {"0.0050", 4, "0.0000"},  {"99995", 0, "10"},        {"0", 2, "0.00"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(toText(round(shift(*parse(QString::fromLatin1(c.old)), -4), c.decimals)),
                  QString::fromLatin1(c.expected))
            << c.old << " / 10000 to " << c.decimals;
}

TEST(DbfDecimal, ShiftsAndComparesExactly)
{
    EXPECT_EQ(shifted("1.49", 4), QStringLiteral("14900"));
    EXPECT_EQ(shifted("-0.0001", 4), QStringLiteral("-1"));
    EXPECT_EQ(shifted("12345678901234567.89", -4), QStringLiteral("1234567890123.456789"));
    EXPECT_EQ(rounded("9.995", 2), QStringLiteral("10.00"));
    EXPECT_EQ(rounded("-9.995", 2), QStringLiteral("-10.00"));
    const struct {
        const char *a, *b;
        int expected;
    } cases[] = {
        {"1000000", "999999.99", 1}, {"-0.00", "0", 0},    {"12.5", "12.50", 0}, {"-3", "-20", 1},
        {"-3", "2", -1},             {"0.1", "0.09", 1},   {"100", "99", 1},     {"-100", "-99", -1},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(compare(*parse(QString::fromLatin1(c.a)), *parse(QString::fromLatin1(c.b))), c.expected)
            << c.a << " vs " << c.b;
        EXPECT_EQ(compare(*parse(QString::fromLatin1(c.b)), *parse(QString::fromLatin1(c.a))), -c.expected)
            << c.b << " vs " << c.a;
    }
}
