// One statement per command: the scanner's reading of quotes, comments and
// routine bodies, and the refusal on every engine before anything runs.

#include "data/db/SqlScan.h"
#include "tests/db/EngineFixture.h"

using namespace db;
using dbtest::Engine;
using dbtest::expectDbError;

namespace {

TEST(SqlScanTest, SeparatorsCountOnlyOutsideQuotesCommentsAndBodies)
{
    const struct {
        const char *sql;
        SqlDialect dialect;
        int statements;
    } cases[] = {
        {"", SqlDialect::Generic, 0},
        {" ; -- nimic\n /* nimic */ ;", SqlDialect::Generic, 0},
        {"UPDATE t SET a = 1;  \n-- gata\n", SqlDialect::Generic, 1},
        {"UPDATE t SET a=1 WHERE (1=1); DROP TABLE Victima; --", SqlDialect::Generic, 2},
        {"UPDATE t SET s = 'a;b''c;d', [x;y] = \"p;q\", `m;n` = 1 /* ; */ -- ;", SqlDialect::Generic, 1},
        {"UPDATE t SET [a]]; DROP TABLE v; --] = 1", SqlDialect::Generic, 2}, // "]]" escapes on one engine only
        // A backslash may or may not escape: both readings must agree.
        {"UPDATE t SET s = 'a\\'; DROP TABLE v; -- '", SqlDialect::Generic, 2},
        {"UPDATE t SET s = 'C:\\dir;x'", SqlDialect::Generic, 1},
        // Nested comments end late on one engine, early on another.
        {"/* /* */ ; DROP TABLE v; /* */ SELECT 1", SqlDialect::Generic, 2},
        {"CREATE TABLE trigger (a INT, b INT DEFAULT 1); DROP TABLE v", SqlDialect::Generic, 2},
        {"SELECT 1 -- ; DROP\n", SqlDialect::Sqlite, 1},
        {"SELECT [a;b], `c;d` FROM t", SqlDialect::Sqlite, 1},
        {"SELECT $x$ = 1; DROP TABLE v; SELECT $x$", SqlDialect::Sqlite, 3},
        {"CREATE TRIGGER g AFTER UPDATE ON t BEGIN INSERT INTO l VALUES (1); "
         "UPDATE l SET a = CASE WHEN 1 THEN 2 END WHERE 1; END;",
         SqlDialect::Sqlite, 1},
        // "END;" ends a trigger, as SQLite's own sqlite3_complete reads it.
        {"CREATE TRIGGER g AFTER UPDATE ON t BEGIN UPDATE l SET a = CASE WHEN 1 THEN 2 END; END;", SqlDialect::Sqlite, 2},
        {"CREATE VIEW v AS SELECT trigger, begin FROM t; DROP TABLE x", SqlDialect::Sqlite, 2},
        {"CREATE TRIGGER g AFTER UPDATE ON t BEGIN SELECT 1; END; DROP TABLE v", SqlDialect::Sqlite, 2},
        {"UPDATE t SET a = 1 WHERE b = 'BEGIN'; DROP TABLE v", SqlDialect::Sqlite, 2},
        {"SELECT $$a;b$$, $tag$ ; $$ ; $tag$, E'x\\';y', 'p;q'", SqlDialect::PostgreSql, 1},
        {"SELECT a$b$c; SELECT $1", SqlDialect::PostgreSql, 2},
        {"SELECT 1 /* a /* b */ ; */", SqlDialect::PostgreSql, 2},
        {"SELECT 'a\\';b'", SqlDialect::MySql, 2},
        {"SELECT 1 # ; DROP\n", SqlDialect::MySql, 1},
        {"SELECT 1--1; DROP TABLE v", SqlDialect::MySql, 2},
        {"SELECT 1; --", SqlDialect::MySql, 2}, // "--" without a blank after it is no comment
        {"SELECT 1 /*! ; DROP TABLE v */", SqlDialect::MySql, 2},
        {"CREATE PROCEDURE p() BEGIN IF 1 THEN SELECT 1; END IF; SELECT 2; END", SqlDialect::MySql, 1},
        {"UPDATE t SET a = 1 WHERE (1=1 OR 'x' = '\xc8\x9b;'); ", SqlDialect::MySql, 1},
        // A "--" comment with no line break after it runs to the end of the
        // text, ";" and all, whatever bytes came before it.
        {"SELECT 1; -- a; SELECT 2", SqlDialect::Sqlite, 1},
        {"CREATE TABLE tri\xc2\xc2gger (begin INT);--ROP TE TAB\xac\xba\xdf\x8briAB\\E Victima; END", SqlDialect::Sqlite, 1},
        {"CREATE TABLE tri\xc2\xc2gger (begin INT);--\nDROP TABLE Victima; END", SqlDialect::Sqlite, 3},
    };
    for (const auto &c : cases)
        EXPECT_EQ(countStatements(QString::fromUtf8(c.sql), c.dialect), c.statements) << c.sql;
}

// (Bytes against Qt's decoder are the sqlscan fuzz target's; halves of
// surrogate pairs come from UTF-16 text only.)
TEST(SqlScanTest, OnlyTextDecodedFromValidUtf8IsWellFormed)
{
    const QChar high(0xD83D), low(0xDE00);
    const struct {
        QString text;
        bool wellFormed;
    } cases[] = {
        {QString::fromUtf8("Nume = '\xc8\x98tefan \xf0\x9f\x98\x80'"), true}, // a letter with comma, an emoji
        {QString::fromUtf8("a\xc0\xbb"), false},                                 // ";" in an overlong form
        {QString::fromUtf8("a\xef\xbf\xbd"), false},                            // U+FFFD itself
        {QStringLiteral("a") + high, false},
        {QString(low) + QStringLiteral("a"), false},
        {QString(high) + QStringLiteral("a") + low, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(isWellFormedText(c.text), c.wellFormed) << c.text.toStdString();
}

class SingleStatementTest : public dbtest::EngineFixture {};

TEST_P(SingleStatementTest, SecondStatementIsRefusedBeforeAnythingRuns)
{
    const QString victim = createTable(QStringLiteral("id INTEGER"));
    const QString t = createTable(QStringLiteral("a INTEGER, s VARCHAR(40)"));
    conn.execute(QStringLiteral("INSERT INTO %1 VALUES (0, 'x')").arg(t));
    const QStringList hostile{
        QStringLiteral("UPDATE %1 SET a=1 WHERE (1=1); DROP TABLE %2; --").arg(t, victim),
        QStringLiteral("ALTER TABLE %1 ADD Nou DECIMAL; DROP TABLE %2; --").arg(t, victim),
        QStringLiteral("UPDATE %1 SET a=1; DROP TABLE %2").arg(t, victim),
    };
    for (const QString &sql : hostile) {
        const DbError e = expectDbError([&] { conn.execute(sql); });
        EXPECT_EQ(e.number(), E_FAIL) << e;
        EXPECT_EQ(e.description(), QStringLiteral("Comanda contine mai multe instructiuni SQL; este permisa una singura."));
    }
    EXPECT_THROW(conn.openRecordset(QStringLiteral("SELECT a FROM %1; DROP TABLE %2").arg(t, victim)), DbError);
    EXPECT_EQ(rowCount(conn, victim), 0) << "the victim table is still there";
    EXPECT_EQ(scalar(conn, QStringLiteral("SELECT a FROM ") + t).toInt(), 0) << "the first statement did not run";
    EXPECT_EQ(conn.columns(t).recordCount(), 2) << "no column was added";

    // ";" in strings and comments, and one final ";", are one statement.
    // (The SQLite3 driver itself refuses a ";" inside a comment.)
    const bool comments = engine() != Engine::SqliteOdbc;
    EXPECT_EQ(conn.execute(QStringLiteral("UPDATE %1 SET s = 'a;b' %2 WHERE a = 0; %3")
                               .arg(t, comments ? QStringLiteral("/* c;d */") : QString(),
                                    comments ? QStringLiteral("-- e;f") : QString())),
              1);
    EXPECT_EQ(conn.openRecordset(QStringLiteral("SELECT s FROM %1 WHERE s = 'a;b';").arg(t)).recordCount(), 1);
    if (engine() == Engine::PostgreSql) {
        EXPECT_EQ(conn.execute(QStringLiteral("UPDATE %1 SET s = $$c;d$$").arg(t)), 1);
    }
}

// A condition or name read from bytes that are not UTF-8 reaches no engine:
// the scanner would read other text than the engine is sent.
TEST_P(SingleStatementTest, TextThatIsNotUtf8IsRefusedBeforeAnythingRuns)
{
    const QString t = createTable(QStringLiteral("a INTEGER, s VARCHAR(40)"));
    conn.execute(QStringLiteral("INSERT INTO %1 VALUES (0, 'x')").arg(t));
    const QString malformed[] = {
        QString::fromUtf8("s <> 'tri\xc2\xc2gger'"),
        QString::fromUtf8("s <> 'a\xc0\xbb'"),
        QStringLiteral("s <> '") + QChar(0xD800) + QStringLiteral("'"),
    };
    for (const QString &condition : malformed) {
        const DbError e = expectDbError([&] { conn.execute(QStringLiteral("UPDATE %1 SET a = 1 WHERE ").arg(t) + condition); });
        EXPECT_EQ(e.number(), E_FAIL) << e;
        EXPECT_EQ(e.description(), QString::fromUtf8("Comanda contine caractere care nu sunt text UTF-8 valid (afisate "
                                                     "ca \"\xef\xbf\xbd\"); corectati textul."));
        EXPECT_THROW(conn.openRecordset(QStringLiteral("SELECT a FROM %1 WHERE ").arg(t) + condition), DbError);
    }
    EXPECT_EQ(scalar(conn, QStringLiteral("SELECT a FROM ") + t).toInt(), 0) << "no update ran";
    // Letters beyond ASCII are text like any other.
    EXPECT_EQ(conn.execute(QStringLiteral("UPDATE %1 SET a = 1 WHERE s <> ").arg(t) + QString::fromUtf8("'\xc8\x98'")), 1);
}

VAMOR_INSTANTIATE_ENGINES(SingleStatementTest);

} // namespace
