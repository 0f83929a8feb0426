// Finding the money of a small firm's books on every engine: the built-in
// SQLite, PostgreSQL and MariaDB through ODBC, and a folder of FoxPro tables.
// Every money column is proposed and nothing else; adding them fills the
// project once.
#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "discovery/Discovery.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <unistd.h>

namespace {

enum class Engine { Sqlite, PostgreSql, MariaDb, Dbf };

struct EngineCase {
    Engine engine;
    const char *name;
};

// One column of the firm's schema: its type ("ID" the key, "REF t" a key
// of table t), its value in row i (an SQL literal) and whether it is money.
struct Column {
    const char *name;
    const char *type;
    std::function<QString(int)> value;
    bool money;
};
struct Table {
    const char *name;
    std::vector<Column> columns;
};

// Amounts in old lei: whole multiples of `step`.
QString oldLei(int i, int step) { return QString::number(qint64(i * 37 % 50 + 1) * step); }

const std::vector<Table> &firm()
{
    static const std::vector<Table> tables{
        {"parteneri",
         {{"id", "ID", [](int i) { return QString::number(i); }, false},
          {"cod_fiscal", "BIGINT", [](int i) { return QString::number(14399841 + i * 7918); }, false},
          {"telefon", "BIGINT", [](int i) { return QString::number(722123457 + i * 2); }, false},
          {"cod_postal", "INTEGER", [](int i) { return QString::number(400101 + i * 2); }, false},
          {"sold_initial", "DECIMAL(15,2)", [](int i) { return oldLei(i, 60000); }, true}}},
        {"articole",
         {{"id", "ID", [](int i) { return QString::number(i); }, false},
          {"cod_articol", "INTEGER", [](int i) { return QString::number(1000 + i); }, false},
          {"ean", "BIGINT", [](int i) { return QString::number(5941234567891LL + i * 2); }, false},
          {"pret_unitar", "DECIMAL(15,2)", [](int i) { return oldLei(i, 1500); }, true},
          {"cota_tva", "DECIMAL(5,2)", [](int i) { return QString(i % 3 ? "19.00" : "9.00"); }, false},
          {"stoc", "DECIMAL(12,3)", [](int i) { return QStringLiteral("%1.%2").arg(i * 3).arg(i * 7 % 900 + 1, 3, 10, QLatin1Char('0')); }, false}}},
        {"facturi",
         {{"id", "ID", [](int i) { return QString::number(i); }, false},
          {"nr_factura", "INTEGER", [](int i) { return QString::number(1000 + i); }, false},
          {"id_partener", "REF parteneri", [](int i) { return QString::number(i % 5 + 1); }, false},
          {"an", "SMALLINT", [](int) { return QStringLiteral("2004"); }, false},
          {"luna", "SMALLINT", [](int i) { return QString::number(i % 12 + 1); }, false},
          {"valoare", "DECIMAL(15,2)", [](int i) { return oldLei(i, 25000); }, true},
          {"tva", "DECIMAL(15,2)", [](int i) { return oldLei(i, 4750); }, true},
          {"total", "DOUBLE", [](int i) { return oldLei(i, 29750); }, true}}},
        {"linii_factura",
         {{"id", "ID", [](int i) { return QString::number(i); }, false},
          {"id_factura", "REF facturi", [](int i) { return QString::number(i % 7 + 1); }, false},
          {"cantitate", "DECIMAL(12,3)", [](int i) { return QStringLiteral("%1.125").arg(i * 3); }, false},
          {"pret", "DECIMAL(15,2)", [](int i) { return oldLei(i, 1500); }, true},
          {"valoare", "BIGINT", [](int i) { return oldLei(i, 4500); }, true}}},
        {"plati",
         {{"id", "ID", [](int i) { return QString::number(i); }, false},
          {"id_factura", "REF facturi", [](int i) { return QString::number(i % 9 + 1); }, false},
          {"suma", "BIGINT", [](int i) { return oldLei(i, 10000); }, true},
          {"nr_document", "INTEGER", [](int i) { return QString::number(5000 + i * 13); }, false},
          {"zile_intarziere", "INTEGER", [](int i) { return QString::number(i * 3 % 61); }, false}}},
        {"salarii",
         {{"id", "ID", [](int i) { return QString::number(i); }, false},
          {"marca", "INTEGER", [](int i) { return QString::number(100 + i); }, false},
          {"an", "SMALLINT", [](int) { return QStringLiteral("2004"); }, false},
          {"luna", "SMALLINT", [](int i) { return QString::number(i % 12 + 1); }, false},
          {"ore_lucrate", "INTEGER", [](int i) { return QString::number(160 + i % 9); }, false},
          {"salariu_brut", "DECIMAL(15,0)", [](int i) { return oldLei(i, 200000); }, true},
          {"impozit", "INTEGER", [](int i) { return oldLei(i, 30000); }, true},
          {"procent_spor", "DECIMAL(5,2)", [](int i) { return QStringLiteral("%1.50").arg(i % 20); }, false}}},
        {"curs_valutar",
         {{"id", "ID", [](int i) { return QString::number(i); }, false},
          {"an", "SMALLINT", [](int) { return QStringLiteral("2004"); }, false},
          {"curs", "DECIMAL(10,4)", [](int i) { return QStringLiteral("3612%1.4567").arg(i % 10); }, false}}},
        {"registru_casa",
         {{"id", "ID", [](int i) { return QString::number(i); }, false},
          {"nr_crt", "INTEGER", [](int i) { return QString::number(i); }, false},
          {"incasari", "DECIMAL(15,2)", [](int i) { return oldLei(i, 5000); }, true},
          {"plati", "DECIMAL(15,2)", [](int i) { return oldLei(i + 3, 2500); }, true},
          {"sold", "DECIMAL(15,2)", [](int i) { return oldLei(i + 7, 100000); }, true}}},
    };
    return tables;
}

// The money columns of the FoxPro folder (tests/db/dbf_tables.py firm).
const QSet<QString> kDbfMoney{"facturi.valoare",  "facturi.tva",   "plati.suma",      "articole.pret",
                              "salarii.salbrut",  "salarii.impozit", "casa.incasari",   "casa.plati",
                              "casa.sold",        "parteneri.soldinit", "stocuri.pretmediu"};

class DiscoveryEngineTest : public testing::TestWithParam<EngineCase> {
protected:
    void SetUp() override
    {
        const Engine engine = GetParam().engine;
        if (engine == Engine::PostgreSql || engine == Engine::MariaDb) {
            const char *env = engine == Engine::PostgreSql ? "VAMOR_TEST_PG" : "VAMOR_TEST_MARIADB";
            VAMOR_REQUIRE_SERVER(server, env);
            connString = server;
        } else if (engine == Engine::Sqlite) {
            QFile file(dir.filePath(QStringLiteral("firma.db")));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly)); // an empty file is an empty database
            connString = QStringLiteral("Provider=SQLite;Data Source=") + file.fileName();
        } else {
            QProcess p;
            p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(VAMOR_DBF_SCRIPT), QStringLiteral("firm"), dir.path()});
            ASSERT_TRUE(p.waitForFinished(60000) && p.exitCode() == 0) << p.readAllStandardError().toStdString();
            connString = QStringLiteral("Provider=DBF;Data Source=") + dir.path();
            return;
        }
        prefix = QStringLiteral("d%1_").arg(::getpid());
        user.open(connString);
        const bool pg = engine == Engine::PostgreSql;
        // Tables in the order their keys need, dropped in the other.
        for (auto t = firm().rbegin(); t != firm().rend(); ++t)
            user.execute(QStringLiteral("DROP TABLE IF EXISTS ") + prefix + QLatin1String(t->name));
        for (const Table &t : firm()) {
            QStringList defs, keys;
            for (const Column &c : t.columns) {
                QString type = QLatin1String(c.type);
                if (type == QLatin1String("ID"))
                    type = QStringLiteral("INTEGER PRIMARY KEY");
                else if (type.startsWith(QLatin1String("REF "))) {
                    keys.append(QStringLiteral("FOREIGN KEY (%1) REFERENCES %2%3(id)")
                                    .arg(QLatin1String(c.name), prefix, type.mid(4)));
                    type = QStringLiteral("INTEGER");
                } else if (type == QLatin1String("DOUBLE") && pg)
                    type = QStringLiteral("DOUBLE PRECISION");
                defs.append(QLatin1String(c.name) + QLatin1Char(' ') + type);
            }
            user.execute(QStringLiteral("CREATE TABLE %1%2 (%3)").arg(prefix, QLatin1String(t.name), (defs + keys).join(", ")));
            for (int i = 1; i <= 20; ++i) {
                QStringList values;
                for (const Column &c : t.columns)
                    values.append(c.value(i));
                user.execute(QStringLiteral("INSERT INTO %1%2 VALUES (%3)").arg(prefix, QLatin1String(t.name), values.join(", ")));
            }
        }
        // A recovery column left by an earlier conversion.
        user.execute(QStringLiteral("ALTER TABLE %1facturi ADD valoare_vm DECIMAL(15,2)").arg(prefix));
    }

    void TearDown() override
    {
        if (!user.isOpen() || GetParam().engine == Engine::Sqlite)
            return;
        for (auto t = firm().rbegin(); t != firm().rend(); ++t) {
            try {
                user.execute(QStringLiteral("DROP TABLE IF EXISTS ") + prefix + QLatin1String(t->name));
            } catch (const std::exception &) {
            }
        }
    }

    // "table.column" in lower case, without the test's prefix; "" for a
    // table of another test on the same server.
    QString key(const discovery::Finding &f) const
    {
        const QString table = f.facts.table.toLower();
        if (!table.startsWith(prefix.toLower()))
            return QString();
        QString name = table.mid(prefix.size());
        if (name.endsWith(QLatin1String(".dbf")))
            name.chop(4);
        return name + QLatin1Char('.') + f.facts.column.toLower();
    }

    QSet<QString> money() const
    {
        if (GetParam().engine == Engine::Dbf)
            return kDbfMoney;
        QSet<QString> wanted;
        for (const Table &t : firm())
            for (const Column &c : t.columns)
                if (c.money)
                    wanted.insert(QLatin1String(t.name) + QLatin1Char('.') + QLatin1String(c.name));
        return wanted;
    }

    QTemporaryDir dirHolder;
    QDir dir{dirHolder.path()};
    QString connString, prefix;
    db::Connection user;
};

TEST_P(DiscoveryEngineTest, ProposesEveryMoneyColumnAndNothingElseAndAddsThemOnce)
{
    testsupport::ProjectFixture project;
    ASSERT_TRUE(project.ok());
    const int idConn = project.addConn(6, QStringLiteral("Firma"), connString);
    // The invoices' value is a field already.
    const int invoices = project.addTable(
        idConn, GetParam().engine == Engine::Dbf ? QStringLiteral("facturi.dbf") : prefix + QStringLiteral("facturi"));
    project.addField(invoices, GetParam().engine == Engine::Dbf ? QStringLiteral("VALOARE") : QStringLiteral("valoare"));
    const discovery::ProjectSource source{idConn, 6, QStringLiteral("Firma"), false};

    discovery::SourceFindings found = discovery::discoverSource(project.Conn(), source);
    QSet<QString> proposed, listed;
    QList<discovery::Finding> ours;
    for (const discovery::Finding &f : found.columns) {
        const QString k = key(f);
        if (k.isEmpty())
            continue;
        ours.append(f);
        listed.insert(k);
        if (f.proposed())
            proposed.insert(k);
        if (k == QLatin1String("facturi.valoare")) {
            EXPECT_TRUE(f.inProject && !f.proposed());
        }
        if (k == QLatin1String("facturi.valoare_vm")) {
            EXPECT_TRUE(f.recovery && !f.proposed());
        }
    }
    for (const discovery::TableFailure &failure : found.failures)
        EXPECT_FALSE(failure.table.toLower().startsWith(prefix.toLower())) << failure.message.toStdString();
    QSet<QString> wanted = money();
    wanted.remove(QStringLiteral("facturi.valoare"));
    const auto show = [](const QSet<QString> &set) {
        QStringList names = set.values();
        names.sort();
        return names.join(QStringLiteral(", ")).toStdString();
    };
    EXPECT_EQ(show(proposed), show(wanted));
    EXPECT_TRUE(listed.contains(QStringLiteral("facturi.an")) || listed.contains(QStringLiteral("curs.an")));

    // Adding: the tables the project lacks, then the fields, once.
    QList<discovery::Finding> chosen;
    for (const discovery::Finding &f : ours)
        if (f.proposed())
            chosen.append(f);
    const discovery::Added added = discovery::addToProject(project.Conn(), idConn, chosen);
    EXPECT_EQ(added.fields, wanted.size());
    EXPECT_EQ(added.tables, 6);
    EXPECT_EQ(project.scalar(QStringLiteral("SELECT Count(*) FROM tTable WHERE IdConn = %1").arg(idConn)).toInt(), 7);
    EXPECT_EQ(project.scalar(QStringLiteral("SELECT Count(*) FROM tField WHERE IdTable = %1").arg(invoices)).toInt(),
              GetParam().engine == Engine::Dbf ? 2 : 3);
    EXPECT_EQ(project.scalar(QStringLiteral("SELECT Count(*) FROM tField WHERE RecFieldName <> FieldName || '_VM'")).toInt(), 0);

    found = discovery::discoverSource(project.Conn(), source);
    QList<discovery::Finding> again;
    for (const discovery::Finding &f : found.columns)
        if (!key(f).isEmpty() && f.proposed())
            again.append(f);
    EXPECT_TRUE(again.isEmpty());
    const discovery::Added twice = discovery::addToProject(project.Conn(), idConn, chosen);
    EXPECT_EQ(twice.fields + twice.tables, 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, DiscoveryEngineTest,
                         testing::Values(EngineCase{Engine::Sqlite, "Sqlite"}, EngineCase{Engine::PostgreSql, "PostgreSql"},
                                         EngineCase{Engine::MariaDb, "MariaDb"}, EngineCase{Engine::Dbf, "Dbf"}),
                         [](const testing::TestParamInfo<EngineCase> &info) { return std::string(info.param.name); });

} // namespace
