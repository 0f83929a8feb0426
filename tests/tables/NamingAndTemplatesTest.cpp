// Naming rules, the column-type verdicts and the filling of the conversion
// templates.
#include "data/db/AdoTypes.h"
#include "tables/ConvertSql.h"
#include "tables/RecoveryField.h"

#include <gtest/gtest.h>

TEST(NamingRules, BracketsForAccessAndSqlServerOnlyWithBlank)
{
    for (int type : {0, 1}) {
        EXPECT_EQ(fgGetTableName(type, QString(), QStringLiteral("Vanzari Lunare")), QStringLiteral("[Vanzari Lunare]"));
        EXPECT_EQ(fgGetTableName(type, QStringLiteral("dbo"), QStringLiteral("Vanzari")), QStringLiteral("Vanzari"));
        EXPECT_EQ(fgGetTableName(type, QString(), QStringLiteral("Vanzari\tLunare")), QStringLiteral("Vanzari\tLunare"));
        EXPECT_EQ(fgGetTableName(type, QString(), QStringLiteral("Vanzari-Lunare")), QStringLiteral("Vanzari-Lunare"));
        EXPECT_EQ(fgGetFieldName(type, QStringLiteral("Suma Totala")), QStringLiteral("[Suma Totala]"));
        EXPECT_EQ(fgGetFieldName(type, QStringLiteral("Suma")), QStringLiteral("Suma"));
    }
}

TEST(NamingRules, OracleQuotesAndWritesTheOwner)
{
    EXPECT_EQ(fgGetTableName(2, QStringLiteral("CONTA"), QStringLiteral("FACTURI")), QStringLiteral("CONTA.FACTURI"));
    EXPECT_EQ(fgGetTableName(2, QStringLiteral("MY USER"), QStringLiteral("MY TABLE")),
              QStringLiteral("\"MY USER\".\"MY TABLE\""));
    EXPECT_EQ(fgGetTableName(2, QString(), QStringLiteral("FACTURI")), QStringLiteral("FACTURI"));
    EXPECT_EQ(fgGetFieldName(2, QStringLiteral("SUMA TOTALA")), QStringLiteral("\"SUMA TOTALA\""));
    EXPECT_EQ(fgGetFieldName(2, QStringLiteral("SUMA")), QStringLiteral("SUMA"));
}

TEST(NamingRules, OtherTypesUnchangedUnknownTypeEmpty)
{
    for (int type : {3, 4, 5, 6}) {
        EXPECT_EQ(fgGetTableName(type, QStringLiteral("o"), QStringLiteral("Vanzari Lunare")),
                  QStringLiteral("Vanzari Lunare"));
        EXPECT_EQ(fgGetFieldName(type, QStringLiteral("Suma Totala")), QStringLiteral("Suma Totala"));
    }
    EXPECT_EQ(fgGetTableName(7, QString(), QStringLiteral("T")), QString());
    EXPECT_EQ(fgGetFieldName(-1, QStringLiteral("F")), QString());
    EXPECT_EQ(fgGetRecoveryFieldName(QStringLiteral("Suma")), QStringLiteral("Suma_VM"));
    EXPECT_EQ(fgGetRecoveryFieldName(QStringLiteral("Suma_VM")), QStringLiteral("Suma_VM_VM"));
}

TEST(ColumnTypeVerdict, NumbersPassOthersAreNamed)
{
    for (int type : std::initializer_list<int>{db::adSmallInt, db::adInteger, db::adSingle, db::adDouble, db::adCurrency, db::adDecimal,
                     db::adTinyInt, db::adUnsignedTinyInt, db::adUnsignedSmallInt, db::adUnsignedInt, db::adBigInt,
                     db::adUnsignedBigInt, db::adNumeric, db::adVarNumeric, 1, 999})
        EXPECT_EQ(fgFieldTypeMessage(type), QString()) << type;
    const QList<QPair<int, const char *>> refused{
        {db::adEmpty, "Empty"},       {db::adDate, "Date"},           {db::adBSTR, "BSTR"},
        {db::adIDispatch, "IDispatch"}, {db::adError, "Error"},       {db::adBoolean, "Boolean"},
        {db::adVariant, "Variant"},   {db::adIUnknown, "IUnknown"},   {db::adFileTime, "FileTime"},
        {db::adGUID, "GUID"},         {db::adBinary, "Binary"},       {db::adChar, "Char"},
        {db::adWChar, "WChar"},       {db::adUserDefined, "UserDefined"}, {db::adDBDate, "DBDate"},
        {db::adDBTime, "DBTime"},     {db::adDBTimeStamp, "DBTimeStamp"}, {db::adChapter, "Chapter"},
        {db::adPropVariant, "PropVariant"}, {db::adVarChar, "VarChar"}, {db::adLongVarChar, "LongVarChar"},
        {db::adVarWChar, "VarWChar"}, {db::adLongVarWChar, "LongVarWChar"}, {db::adVarBinary, "VarBinary"},
        {db::adLongVarBinary, "LongVarBinary"}};
    for (const auto &[type, name] : refused)
        EXPECT_EQ(fgFieldTypeMessage(type), QStringLiteral("Nu poate fi folosit tipul ") + QLatin1String(name));
}

TEST(ConvertTemplateFill, ConditionsRowSourceAndPlaceholders)
{
    using namespace convertsql;
    const QString both = joinConditions(QStringLiteral("Anul = 2005"), QStringLiteral("Suma > 0"));
    EXPECT_EQ(both, QStringLiteral("(Anul = 2005) AND (Suma > 0)"));
    EXPECT_EQ(rowSource(QStringLiteral("Facturi"), both),
              QStringLiteral("SELECT * FROM Facturi WHERE (Anul = 2005) AND (Suma > 0)"));
    EXPECT_EQ(joinConditions(QStringLiteral("Anul = 2005"), QString()), QStringLiteral("Anul = 2005"));
    EXPECT_EQ(joinConditions(QString(), QStringLiteral("Suma > 0")), QStringLiteral("Suma > 0"));
    EXPECT_EQ(joinConditions(QString(), QString()), QString());
    EXPECT_EQ(rowSource(QStringLiteral("Facturi"), QString()), QStringLiteral("SELECT * FROM Facturi"));

    const QString tpl = QStringLiteral("A [FIELD_NAME] [REC_FIELD_NAME] [TABLE_NAME][WHERE] | [FIELD_NAME][AND]");
    EXPECT_EQ(fillConvertTemplate(tpl, QStringLiteral("S"), QStringLiteral("S_VM"), QStringLiteral("T"), both),
              QStringLiteral("A S S_VM T WHERE ((Anul = 2005) AND (Suma > 0)) | S AND ((Anul = 2005) AND (Suma > 0))"));
    EXPECT_EQ(fillConvertTemplate(tpl, QStringLiteral("S"), QStringLiteral("S_VM"), QStringLiteral("T"),
                                  QStringLiteral("Anul = 2005")),
              QStringLiteral("A S S_VM T WHERE (Anul = 2005) | S AND (Anul = 2005)"));
    EXPECT_EQ(fillConvertTemplate(tpl, QStringLiteral("S"), QStringLiteral("S_VM"), QStringLiteral("T"), QString()),
              QStringLiteral("A S S_VM T | S"));
    EXPECT_EQ(fillConvertTemplate(QStringLiteral("[Field_Name] [field_name] [where] [go]"), QStringLiteral("S"),
                                  QStringLiteral("R"), QStringLiteral("T"), QStringLiteral("c")),
              QStringLiteral("[Field_Name] [field_name] [where] [go]"));
}

TEST(ConvertTemplateFill, OnlyWholePlaceholdersAreFilled)
{
    // Column scale 2 against the template's rounding; brackets that do not
    // close a known name stay as written.
    const struct {
        const char *tpl;
        const char *filled;
    } cases[] = {
        {"ROUND([AMOUNT] / 10000, [DECIMALS:4])", "ROUND(S / 10000, 2)"},
        {"ROUND([AMOUNT], [DECIMALS:1])", "ROUND(S, 1)"},
        {"[DECIMALS:123] [DECIMALS:] [DECIMALS:x] [DECIMALS:4", "[DECIMALS:123] [DECIMALS:] [DECIMALS:x] [DECIMALS:4"},
        {"[[FIELD_NAME]] [FIELD_NAME [TABLE_NAME", "[S] [FIELD_NAME [TABLE_NAME"},
        {"[FIELD_NAMES] [AND ] [WHERE]", "[FIELD_NAMES] [AND ]  WHERE (c)"},
        {"[", "["},
    };
    for (const auto &c : cases)
        EXPECT_EQ(convertsql::fillConvertTemplate(QString::fromLatin1(c.tpl), QStringLiteral("S"), QStringLiteral("R"),
                                                  QStringLiteral("T"), QStringLiteral("c"), 2),
                  QString::fromLatin1(c.filled))
            << c.tpl;
}

TEST(ConvertTemplateFill, SplitKeepsBlanksAndEmptyPieces)
{
    using convertsql::splitStatements;
    EXPECT_EQ(splitStatements(QStringLiteral("UPDATE T SET A = 1")), QStringList{QStringLiteral("UPDATE T SET A = 1")});
    EXPECT_EQ(splitStatements(QStringLiteral("A [GO]\r\nB[GO]C")),
              (QStringList{QStringLiteral("A "), QStringLiteral("\r\nB"), QStringLiteral("C")}));
    EXPECT_EQ(splitStatements(QStringLiteral("[GO]A[GO][GO]")),
              (QStringList{QString(), QStringLiteral("A"), QString(), QString()}));
    EXPECT_EQ(splitStatements(QStringLiteral("A [go] B")), QStringList{QStringLiteral("A [go] B")});
}

// Names a naming rule writes in brackets may spell a placeholder: they stay
// the names they are, and never split a statement.
TEST(ConvertTemplateFill, NamesThatSpellAPlaceholderStayNames)
{
    const QString tpl = QStringLiteral("UPDATE [TABLE_NAME] SET [REC_FIELD_NAME] = [FIELD_NAME], [FIELD_NAME] = "
                                       "ROUND([AMOUNT] / 10000.0, [DECIMALS:2]) WHERE [FIELD_NAME] IS NOT NULL[AND]"
                                       "[GO]SELECT 1");
    for (const char *spelled : {"[GO]", "[TABLE_NAME]", "[WHERE]", "[AND]", "[REC_FIELD_NAME]", "[DECIMALS:2]"}) {
        const QString field = QString::fromLatin1(spelled);
        const QString rec = QStringLiteral("[X_VM]");
        const QStringList statements =
            convertsql::convertStatements(tpl, field, rec, QStringLiteral("[Facturi]"), QStringLiteral("Anul = 2005"), 0);
        ASSERT_EQ(statements.size(), 2) << spelled;
        EXPECT_EQ(statements.at(0), QStringLiteral("UPDATE [Facturi] SET [X_VM] = %1, %1 = ROUND(%1 / 10000.0, 0) "
                                                   "WHERE %1 IS NOT NULL AND (Anul = 2005)")
                                        .arg(field))
            << spelled;
        EXPECT_EQ(statements.at(1), QStringLiteral("SELECT 1"));
    }
}
