// The rules that tell money columns from the others, one case per rule a
// bookkeeper would name.
#include "data/db/AdoTypes.h"
#include "discovery/MoneyRules.h"

#include <gtest/gtest.h>

namespace {

using discovery::ColumnFacts;

struct RuleCase {
    const char *why;
    const char *table;
    const char *column;
    const char *type;
    int adoType;
    int scale;
    bool primaryKey;
    bool foreignKey;
    QStringList values;
    bool proposed;
    const char *evidence; // a piece of evidence the verdict must name
};

ColumnFacts factsOf(const RuleCase &c)
{
    ColumnFacts f;
    f.table = QLatin1String(c.table);
    f.column = QLatin1String(c.column);
    f.typeName = QLatin1String(c.type);
    f.adoType = c.adoType;
    f.scale = c.scale;
    f.primaryKey = c.primaryKey;
    f.foreignKey = c.foreignKey;
    for (const QString &v : c.values)
        discovery::addSampleValue(f, v);
    return f;
}

const QStringList kOldLei{"1250000", "375000", "15000000", "2500", "980000"};

TEST(MoneyRulesTest, EachRuleTellsMoneyFromWhatIsNot)
{
    const RuleCase cases[] = {
        {"two decimals and a money name", "facturi", "valoare", "DECIMAL(15,2)", db::adNumeric, 2, false, false,
         {"1250000.00", "375000.00", "15000000.00"}, true, "tip DECIMAL(15,2)"},
        {"a money word inside a FoxPro name", "parteneri", "SOLDINIT", "N(15,2)", db::adNumeric, 2, false, false,
         kOldLei, true, "numele contine 'sold'"},
        {"old-lei values alone, under a name that tells nothing", "registru", "x1", "DOUBLE", db::adDouble, -1, false,
         false, kOldLei, true, "valori multiplu de 100"},
        {"a money type", "conturi", "rulaj", "MONEY", db::adCurrency, 4, false, false, kOldLei, true, "tip MONEY"},
        {"English bookkeeping words", "ledger", "AmountDue", "BIGINT", db::adBigInt, 0, false, false, kOldLei, true,
         "numele contine 'amount'"},
        {"a primary key never", "facturi", "suma_id", "INTEGER", db::adInteger, 0, true, false, kOldLei, false,
         "cheie primara"},
        {"a foreign key never", "plati", "valoare_ref", "INTEGER", db::adInteger, 0, false, true, kOldLei, false,
         "cheie straina"},
        {"codes are long and not round", "parteneri", "cod_fiscal", "BIGINT", db::adBigInt, 0, false, false,
         {"14399841", "14407759", "14415677"}, false, "valori lungi, nerotunde (ca niste coduri)"},
        {"document numbers", "facturi", "NrFactura", "INTEGER", db::adInteger, 0, false, false,
         {"1001", "1002", "1003"}, false, "numele contine 'nr'"},
        {"quantities keep three decimals", "articole", "cantitate", "DECIMAL(12,3)", db::adNumeric, 3, false, false,
         {"3.125", "6.125", "9.125"}, false, "valori mici, cu 3 zecimale"},
        {"the VAT rate is a percentage, whatever its name says", "articole", "cota_tva", "DECIMAL(5,2)", db::adNumeric,
         2, false, false, {"19.00", "9.00", "19.00"}, false, "numele contine 'cota'"},
        {"exchange rates are not amounts", "curs_valutar", "curs", "DECIMAL(10,4)", db::adNumeric, 4, false, false,
         {"36123.4567", "36124.4567"}, false, "numele contine 'curs'"},
        {"years", "salarii", "exercitiu", "SMALLINT", db::adSmallInt, 0, false, false, {"2004", "2005", "2004"},
         false, "valori ca anii (1900-2100)"},
        {"small counts", "salarii", "ore_lucrate", "INTEGER", db::adInteger, 0, false, false, {"160", "168", "152"},
         false, "valori mici (sub 1000)"},
        {"a monthly salary is money, not a month", "salarii", "salariu_lunar", "DECIMAL(15,0)", db::adNumeric, 0,
         false, false, {"8500000", "12000000", "9000000"}, true, "numele contine 'salar'"},
        {"an empty column is judged by type and name", "facturi", "penalitati", "DECIMAL(15,2)", db::adNumeric, 2,
         false, false, {QString(), QString()}, true, "nicio valoare in primele randuri"},
    };
    for (const RuleCase &c : cases) {
        const discovery::Verdict v = discovery::judge(factsOf(c));
        EXPECT_EQ(v.proposed, c.proposed) << c.why << ": score " << v.score << ", " << v.evidenceText().toStdString();
        EXPECT_TRUE(v.evidenceText().contains(QLatin1String(c.evidence)))
            << c.why << ": " << v.evidenceText().toStdString();
    }
}

TEST(MoneyRulesTest, NamesSplitIntoPlainWords)
{
    EXPECT_EQ(discovery::nameWords(QStringLiteral("SumaTotala")), (QStringList{"suma", "totala"}));
    EXPECT_EQ(discovery::nameWords(QStringLiteral("VAL_FACT_2")), (QStringList{"val", "fact", "2"}));
    EXPECT_EQ(discovery::nameWords(QStringLiteral("dobândă penalizatoare")), (QStringList{"dobanda", "penalizatoare"}));
}

// The sample's figures come from the decimal texts, exactly: exponents as
// drivers write some floats, signs, trailing zeros.
TEST(MoneyRulesTest, SampleFiguresAreReadFromTheDecimalTexts)
{
    ColumnFacts f;
    for (const char *v : {"1.5e+06", "-250000.00", "0", "123456789012345678901234.5", "12,50"})
        discovery::addSampleValue(f, QLatin1String(v));
    discovery::addSampleValue(f, QString());
    EXPECT_EQ(f.sampled, 6);
    EXPECT_EQ(f.filled, 4); // "12,50" is not a number, the last is Null
    EXPECT_EQ(f.minValue, QStringLiteral("-250000"));
    EXPECT_EQ(f.maxValue, QStringLiteral("123456789012345678901234.5"));
    EXPECT_EQ(f.examples, (QStringList{"1500000", "-250000", "0", "123456789012345678901234.5"}));
    EXPECT_EQ(f.wholeHundreds, 2);
    EXPECT_EQ(f.nonZero, 3);
    EXPECT_EQ(f.maxDecimals, 1);
}

} // namespace
