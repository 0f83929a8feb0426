// Connection strings assembled from a data source's values and its type's
// templates.
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "datasources/ConnStrings.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using testsupport::ProjectFixture;

namespace {

int addSource(ProjectFixture &p, int type, const QList<QPair<QString, db::Variant>> &values)
{
    QList<QPair<QString, db::Variant>> row{{QStringLiteral("IdConnType"), type},
                                           {QStringLiteral("Description"), QStringLiteral("Sursa")}};
    row.append(values);
    return p.insertRow(QStringLiteral("tConn"), row);
}

// Gives type 1 tags that show which value went where and in which order.
void markTags(ProjectFixture &p)
{
    p.Conn().execute(QStringLiteral(
        "UPDATE tConnType SET ConnString = 'HEAD;', DataSourceTag = 'ds=[VALUE];', UserNameTag = 'u=[VALUE];', "
        "PasswordTag = 'p=[VALUE];', SecurityFileTag = 'sf=[VALUE];', DBPasswordTag = 'dbp=[VALUE];', "
        "DatabaseTag = 'db=[VALUE];', IntegratedSecurityTag = 'is;' WHERE IdConnType = 1"));
}

} // namespace

TEST(ConnString, TemplatesOfTheShippedTypes)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    testsupport::ScriptedPrompts prompts;
    const int raw = addSource(p, 6, {{QStringLiteral("ConnString"), QStringLiteral("DSN=Contabilitate;")},
                                     {QStringLiteral("DataSource"), QStringLiteral("ignorat")},
                                     {QStringLiteral("IntegratedSecurity"), true}});
    const int access = addSource(p, 0, {{QStringLiteral("DataSource"), QStringLiteral("/date/firma.mdb")}});
    const int sqlServer = addSource(p, 1, {{QStringLiteral("DataSource"), QStringLiteral("srv")},
                                           {QStringLiteral("Database"), QStringLiteral("Conta")},
                                           {QStringLiteral("UserName"), QStringLiteral("ion")},
                                           {QStringLiteral("Password"), QStringLiteral("")},
                                           {QStringLiteral("IntegratedSecurity"), true}});
    const int bare = addSource(p, 1, {});
    const int dbf = addSource(p, 5, {{QStringLiteral("DataSource"), QStringLiteral("/date/dbf")}});

    EXPECT_EQ(fgGetConnString(p.Conn(), raw), QStringLiteral("DSN=Contabilitate;"));
    EXPECT_EQ(fgGetConnString(p.Conn(), access), QStringLiteral("Driver=MDBTools;DBQ=/date/firma.mdb;"));
    EXPECT_EQ(fgGetConnString(p.Conn(), sqlServer),
              QStringLiteral("Driver=FreeTDS;Server=srv;UID=ion;Database=Conta;Trusted_Connection=Yes;"));
    EXPECT_EQ(fgGetConnString(p.Conn(), bare), QStringLiteral("Driver=FreeTDS;"));
    EXPECT_EQ(fgGetConnString(p.Conn(), dbf), QStringLiteral("Provider=DBF;Data Source=/date/dbf;"));
    EXPECT_TRUE(prompts.messages().isEmpty());
}

TEST(ConnString, FragmentsInFixedOrderEachValueInEveryPlaceholder)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    markTags(p);
    const int all = addSource(p, 1, {{QStringLiteral("Database"), QStringLiteral("D")},
                                     {QStringLiteral("IntegratedSecurity"), true},
                                     {QStringLiteral("DBPassword"), QStringLiteral("B")},
                                     {QStringLiteral("SecurityFile"), QStringLiteral("S")},
                                     {QStringLiteral("Password"), QStringLiteral("P")},
                                     {QStringLiteral("UserName"), QStringLiteral("U")},
                                     {QStringLiteral("DataSource"), QStringLiteral("X")}});
    EXPECT_EQ(fgGetConnString(p.Conn(), all), QStringLiteral("HEAD;ds=X;u=U;p=P;sf=S;dbp=B;db=D;is;"));

    // "[VALUE]" twice gets the value twice; another letter case stays as written;
    // the value goes in unquoted.
    p.Conn().execute(QStringLiteral("UPDATE tConnType SET UserNameTag = 'a=[VALUE];b=[VALUE];c=[value];' "
                                    "WHERE IdConnType = 1"));
    const int user = addSource(p, 1, {{QStringLiteral("UserName"), QStringLiteral("x;y")}});
    EXPECT_EQ(fgGetConnString(p.Conn(), user), QStringLiteral("HEAD;a=x;y;b=x;y;c=[value];"));

    // Nothing is cached: a changed value shows at the next call.
    p.Conn().execute(QStringLiteral("UPDATE tConn SET UserName = 'z' WHERE IdConn = ") + QString::number(user));
    EXPECT_EQ(fgGetConnString(p.Conn(), user), QStringLiteral("HEAD;a=z;b=z;c=[value];"));
}

TEST(ConnString, EmptyAndNullValuesLeaveTheirTagOut)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    markTags(p);
    const int empty = addSource(p, 1, {{QStringLiteral("DataSource"), QStringLiteral("")},
                                       {QStringLiteral("UserName"), db::Variant::null()},
                                       {QStringLiteral("IntegratedSecurity"), db::Variant::null()},
                                       {QStringLiteral("Database"), QStringLiteral("D")}});
    EXPECT_EQ(fgGetConnString(p.Conn(), empty), QStringLiteral("HEAD;db=D;"));
}

TEST(ConnString, FailuresShowTheErrorAndGiveEmpty)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    testsupport::ScriptedPrompts prompts;
    const int rawWithoutString = addSource(p, 6, {{QStringLiteral("DataSource"), QStringLiteral("x")}});
    p.Conn().execute(QStringLiteral("UPDATE tConnType SET DatabaseTag = NULL WHERE IdConnType = 1"));
    const int valueWithoutTag = addSource(p, 1, {{QStringLiteral("Database"), QStringLiteral("D")}});

    EXPECT_EQ(fgGetConnString(p.Conn(), 999), QString());
    EXPECT_EQ(fgGetConnString(p.Conn(), rawWithoutString), QString());
    EXPECT_EQ(fgGetConnString(p.Conn(), valueWithoutTag), QString());
    db::Connection closed;
    EXPECT_EQ(fgGetConnString(closed, rawWithoutString), QString());

    ASSERT_EQ(prompts.messages().size(), 4);
    for (const auto &box : prompts.messages()) {
        EXPECT_EQ(box.title, QStringLiteral("basGlobal: fgGetConnString"));
        EXPECT_EQ(box.icon, ui::Icon::Critical);
        EXPECT_TRUE(box.text.contains(QStringLiteral(": "))) << box.text.toStdString();
    }
}

TEST(ConnString, DisplayText)
{
    EXPECT_EQ(fgGetConnText(QStringLiteral("Contabilitate"), true), QStringLiteral("Contabilitate (Deconectat)"));
    EXPECT_EQ(fgGetConnText(QStringLiteral("Contabilitate"), false), QStringLiteral("Contabilitate"));
    EXPECT_EQ(fgGetConnText(QString(), false), QString());
    EXPECT_EQ(fgGetConnText(QString(), true), QStringLiteral(" (Deconectat)"));
}

// The Access template reaches a real Access file through MDB Tools.
TEST(ConnString, AccessTemplateOpensAnAccessFile)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    const QString mdb = testsupport::copyTestData(QStringLiteral("access/nwind.mdb"), p.dir());
    ASSERT_FALSE(mdb.isEmpty());
    const int access = addSource(p, 0, {{QStringLiteral("DataSource"), mdb}});
    db::Connection user;
    user.open(fgGetConnString(p.Conn(), access));
    db::Recordset rs = user.openRecordset(QStringLiteral("SELECT ProductName FROM Products"));
    EXPECT_GT(rs.recordCount(), 0);
}
