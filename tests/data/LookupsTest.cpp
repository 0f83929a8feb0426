// The shared lookups and the keyed collection of open windows.
#include "data/KeyedCollection.h"
#include "data/Lookups.h"
#include "data/db/DbError.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using testsupport::ProjectFixture;

TEST(Lookup, EmptyForNoRowNullForNullColumnValueOtherwise)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    testsupport::ScriptedPrompts prompts;
    const int idConn = p.addConn(6, QStringLiteral("Sursa"), QStringLiteral("Provider=SQLite;Data Source=x"));
    const QString byKey = QStringLiteral("IdConn = ") + QString::number(idConn);

    EXPECT_TRUE(fgLookup(p.Conn(), QStringLiteral("tConn"), QStringLiteral("Description"),
                         QStringLiteral("IdConn = ") + QString::number(idConn + 1)).isEmpty());
    EXPECT_TRUE(fgLookup(p.Conn(), QStringLiteral("tConn"), QStringLiteral("UserName"), byKey).isNull());
    EXPECT_EQ(fgLookup(p.Conn(), QStringLiteral("tConn"), QStringLiteral("Description"), byKey),
              db::Variant(QStringLiteral("Sursa")));
    EXPECT_EQ(fgLookup(p.Conn(), QStringLiteral("tConnType"), QStringLiteral("ConvertBackSQL"),
                       QStringLiteral("IdConnType = 6")).toString(),
              QStringLiteral("UPDATE [TABLE_NAME] SET [FIELD_NAME] = [REC_FIELD_NAME], [REC_FIELD_NAME] = NULL "
                             "WHERE [REC_FIELD_NAME] IS NOT NULL"));
    EXPECT_TRUE(prompts.messages().isEmpty());
}

TEST(Lookup, ErrorShowsStandardBoxAndGivesEmpty)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    testsupport::ScriptedPrompts prompts;
    EXPECT_TRUE(fgLookup(p.Conn(), QStringLiteral("tNimic"), QStringLiteral("X"), QStringLiteral("1=1")).isEmpty());
    ASSERT_EQ(prompts.messages().size(), 1);
    const ui::MessageRequest &box = prompts.messages().first();
    EXPECT_EQ(box.title, QStringLiteral("basADOTools: fgLookup"));
    EXPECT_EQ(box.icon, ui::Icon::Critical);
    EXPECT_TRUE(box.text.startsWith(QString::number(db::DB_E_ERRORSINCOMMAND) + QStringLiteral(": ")))
        << box.text.toStdString();
}

TEST(NullConversions, NZReplacesOnlyNull)
{
    EXPECT_EQ(fgNZ(db::Variant::null(), QString()), db::Variant(QString()));
    EXPECT_EQ(fgNZ(db::Variant::null(), 0), db::Variant(0));
    EXPECT_EQ(fgNZ(QStringLiteral("abc"), QString()), db::Variant(QStringLiteral("abc")));
    EXPECT_EQ(fgNZ(0, 5), db::Variant(0));
    EXPECT_TRUE(fgNZ(db::Variant(), QStringLiteral("x")).isEmpty());
}

// The empty text and the number zero become Null; the text "0" is kept (a
// password "0" or a condition "0" must survive), and so is everything else.
TEST(NullConversions, ZNNullsEmptyTextAndNumberZeroOnly)
{
    EXPECT_TRUE(fgZN(QString()).isNull());
    EXPECT_TRUE(fgZN(QStringLiteral("")).isNull());
    EXPECT_TRUE(fgZN(db::Variant()).isNull());
    EXPECT_TRUE(fgZN(0).isNull());
    EXPECT_TRUE(fgZN(0.0).isNull());
    EXPECT_TRUE(fgZN(db::Variant::decimal(QStringLiteral("0.00"))).isNull());
    EXPECT_TRUE(fgZN(db::Variant::null()).isNull());

    EXPECT_EQ(fgZN(QStringLiteral("0")), db::Variant(QStringLiteral("0")));
    EXPECT_EQ(fgZN(QStringLiteral("00")), db::Variant(QStringLiteral("00")));
    EXPECT_EQ(fgZN(QStringLiteral(" ")), db::Variant(QStringLiteral(" ")));
    EXPECT_EQ(fgZN(7), db::Variant(7));
    EXPECT_EQ(fgZN(false), db::Variant(false));
}

TEST(NullConversions, EmptyTextStoredAsNullReadBackEmpty)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    const int idConn = p.addConn(6, QStringLiteral("S"));
    db::Recordset rs = p.Conn().openRecordset(QStringLiteral("SELECT * FROM tConn WHERE IdConn = ")
                                                  + QString::number(idConn),
                                              db::CursorType::Static, db::LockType::Optimistic);
    rs.setValue(QStringLiteral("Database"), fgZN(QString()));
    rs.setValue(QStringLiteral("Password"), fgZN(QStringLiteral("0")));
    rs.update();
    EXPECT_TRUE(p.scalar(QStringLiteral("SELECT Database FROM tConn")).isNull());
    rs = p.Conn().openRecordset(QStringLiteral("SELECT * FROM tConn"));
    EXPECT_EQ(fgNZ(rs.value(QStringLiteral("Database")), QString()).toString(), QString());
    EXPECT_EQ(fgNZ(rs.value(QStringLiteral("Password")), QString()).toString(), QStringLiteral("0"));
}

TEST(KeyedCollectionMembership, FollowsAddAndRemoveWithoutRegardToCase)
{
    KeyedCollection<int> open;
    EXPECT_FALSE(fgIsObjInCol(open, QStringLiteral("C_1")));
    EXPECT_FALSE(fgIsObjInCol(open, QString()));
    open.add(QStringLiteral("C_1"), 1);
    open.add(QStringLiteral("T_12"), 2);
    EXPECT_TRUE(fgIsObjInCol(open, QStringLiteral("C_1")));
    EXPECT_TRUE(fgIsObjInCol(open, QStringLiteral("t_12")));
    EXPECT_FALSE(fgIsObjInCol(open, QStringLiteral("T_1")));
    open.remove(QStringLiteral("C_1"));
    EXPECT_FALSE(fgIsObjInCol(open, QStringLiteral("C_1")));
    EXPECT_TRUE(fgIsObjInCol(open, QStringLiteral("T_12")));
}
