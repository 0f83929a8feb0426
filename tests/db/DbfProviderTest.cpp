#include "DbTestSupport.h"

#include "data/db/AdoTypes.h"
#include "data/db/dbf/DbfFile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using db::Connection;
using db::Variant;

namespace {

// Runs the python3-dbf helper; "" when it failed (the text of its error otherwise in `error`).
QByteArray python(const QStringList &args, QString *error = nullptr)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral(VAMOR_DBF_SCRIPT)} + args);
    p.waitForFinished(60000);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        if (error)
            *error = QString::fromUtf8(p.readAllStandardError());
        return QByteArray();
    }
    return p.readAllStandardOutput();
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QJsonObject pyDump(const QString &path)
{
    return QJsonDocument::fromJson(python({QStringLiteral("dump"), path})).object();
}

// The records of a python3-dbf dump limited to the given columns.
QJsonArray columnsOf(const QJsonObject &dumped, const QStringList &names)
{
    const QJsonArray fields = dumped.value(QStringLiteral("fields")).toArray();
    QJsonArray out;
    for (const auto &rec : dumped.value(QStringLiteral("records")).toArray()) {
        QJsonObject o;
        o.insert(QStringLiteral("deleted"), rec.toObject().value(QStringLiteral("deleted")));
        const QJsonArray values = rec.toObject().value(QStringLiteral("values")).toArray();
        for (int i = 0; i < fields.size(); ++i)
            if (names.contains(fields.at(i).toString()))
                o.insert(fields.at(i).toString(), values.at(i));
        out.append(o);
    }
    return out;
}

QStringList column(Connection &c, const QString &sql)
{
    db::Recordset rs = c.openRecordset(sql);
    QStringList out;
    while (!rs.eof()) {
        const Variant v = rs.value(0);
        out << (v.isNull() ? QStringLiteral("<null>") : v.toString());
        rs.moveNext();
    }
    return out;
}

class DbfProvider : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = dbtest::makeTempDir();
        QString error;
        if (python({QStringLiteral("make"), dir->path()}, &error).isNull() && !QFile::exists(path("facturi.dbf")))
            GTEST_SKIP() << "python3-dbf is missing: " << error.toStdString();
        conn.open(QStringLiteral("Provider=DBF;Data Source=") + dir->path());
    }
    QString path(const QString &name) const { return dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> dir;
    Connection conn;
};

} // namespace

TEST_F(DbfProvider, ListsTablesAndReportsColumnTypes)
{
    db::Recordset tables = conn.tables();
    EXPECT_EQ(dbtest::dump(tables), (QStringList{QStringLiteral("|facturi.dbf|TABLE"), QStringLiteral("|plati.dbf|TABLE")}));

    const struct {
        const char *table, *column;
        int adoType;
        const char *declaration;
        int scale;
    } cases[] = {
        {"facturi.dbf", "Suma", db::adNumeric, "N(18,2)", 2}, {"FACTURI", "cant", db::adNumeric, "N(10,0)", 0},
        {"facturi", "NUME", db::adChar, "C(20)", -1},         {"facturi", "Data", db::adDate, "D", -1},
        {"facturi", "Platit", db::adBoolean, "L", -1},        {"facturi", "Nota", db::adLongVarChar, "M", -1},
        {"Plati.DBF", "Val", db::adCurrency, "Y", 4},         {"plati", "Nr", db::adInteger, "I", 0},
        {"plati", "Curs", db::adDouble, "B", -1},             {"plati", "Moment", db::adDBTimeStamp, "T", -1},
        {"plati", "Suma", db::adNumeric, "N(12,4)", 4},
    };
    for (const auto &c : cases) {
        const db::ColumnType t = conn.columnType(QString::fromLatin1(c.table), QString::fromLatin1(c.column));
        EXPECT_EQ(t.adoType, c.adoType) << c.table << "." << c.column;
        EXPECT_EQ(t.declaration, QString::fromLatin1(c.declaration)) << c.table << "." << c.column;
        EXPECT_EQ(t.scale, c.scale) << c.table << "." << c.column;
        // The column check reads the type of a query that selects no row.
        db::Recordset rs = conn.openRecordset(QStringLiteral("SELECT %1 FROM %2 WHERE 1<>1").arg(c.column, c.table));
        EXPECT_EQ(rs.fieldType(0), c.adoType) << c.table << "." << c.column;
    }
    const db::DbError e = dbtest::expectDbError([&] { conn.columnType(QStringLiteral("facturi"), QStringLiteral("Lipsa")); });
    EXPECT_EQ(e.number(), db::DB_E_ERRORSINCOMMAND);
}

TEST_F(DbfProvider, ReadsValuesExactlyWithMemosNullsAndDeletedRecords)
{
    EXPECT_EQ(column(conn, QStringLiteral("SELECT Suma FROM facturi.dbf")),
              (QStringList{"14949.50", "-14949.50", "1234567890123.45", "<null>", "50.00"}));
    EXPECT_EQ(column(conn, QStringLiteral("SELECT Nota FROM facturi")),
              (QStringList{"prima nota", "", "o nota\nlunga", "", "nota stearsa"}));
    EXPECT_EQ(column(conn, QStringLiteral("SELECT Val FROM plati")),
              (QStringList{"149495000.1234", "-922337203685.4775", "<null>", "10000.0000"}));
    // Text in the table's code page (1250): the S with cedilla is one byte there.
    EXPECT_EQ(column(conn, QStringLiteral("SELECT Nume FROM plati")),
              (QStringList{QString::fromUtf8("\xC5\x9E" "tefan"), "Doi", "<null>", "Sters"}));
    EXPECT_TRUE(bytesOf(path("plati.dbf")).contains("\xAAtefan"));
    EXPECT_EQ(column(conn, QStringLiteral("SELECT Moment FROM plati")),
              (QStringList{"2005-06-30 12:30:15", "<null>", "<null>", "<null>"}));
    // Numeric columns compare by value, as numbers, in filters.
    EXPECT_EQ(column(conn, QStringLiteral("SELECT Nume FROM facturi WHERE Suma >= 1000 ORDER BY Suma")),
              (QStringList{"Alfa", "Gama"}));
    EXPECT_EQ(column(conn, QStringLiteral("SELECT Nume FROM facturi WHERE Suma = 50")), QStringList{"Stearsa"});
    // The probe's form: a derived table and a one-row limit.
    db::Recordset probe = conn.openRecordset(
        QStringLiteral("SELECT Suma FROM (SELECT * FROM facturi WHERE Cant > 0) VamorRows WHERE Not Suma Is Null"),
        db::CursorType::Static, db::LockType::ReadOnly, 1);
    EXPECT_EQ(probe.recordCount(), 1);
}

TEST_F(DbfProvider, ConvertsAndRestoresEveryAmountExactlyAndPythonReadsTheResult)
{
    const QByteArray before = bytesOf(path("facturi.dbf"));
    const QByteArray beforeVfp = bytesOf(path("plati.dbf"));
    const QByteArray memo = bytesOf(path("plati.fpt"));
    const QJsonObject pyBefore = pyDump(path("plati.dbf"));

    const struct {
        const char *table, *column, *decl;
        int decimals;
        QStringList converted;
    } cases[] = {
        {"facturi", "Suma", "N(18,2)", 2, {"1.49", "-1.49", "123456789.01", "<null>", "0.01"}},
        {"facturi", "Cant", "N(10,0)", 0, {"0", "2", "0", "<null>", "15000"}},
        {"plati", "Val", "Y", 2, {"14949.5000", "-92233720.3700", "<null>", "1.0000"}},
        {"plati", "Suma", "N(12,4)", 4, {"1.4950", "0.0000", "<null>", "10.0000"}},
        {"plati", "Nr", "I", 0, {"2", "-3", "<null>", "0"}},
    };
    for (const auto &c : cases) {
        const QString t = QString::fromLatin1(c.table), f = QString::fromLatin1(c.column);
        const QString rec = f + QStringLiteral("_VM");
        const QStringList original = column(conn, QStringLiteral("SELECT %1 FROM %2").arg(f, t));
        conn.execute(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(t, rec, QString::fromLatin1(c.decl)));
        conn.beginTrans();
        conn.execute(QStringLiteral("UPDATE %1 SET %2 = %3, %3 = DECIMAL_ROUND(DECIMAL_SHIFT(%3, -4), %4) "
                                    "WHERE %3 IS NOT NULL AND %2 IS NULL").arg(t, rec, f).arg(c.decimals));
        conn.commitTrans();
        EXPECT_EQ(column(conn, QStringLiteral("SELECT %1 FROM %2").arg(f, t)), c.converted) << c.table << "." << c.column;
        EXPECT_EQ(column(conn, QStringLiteral("SELECT %1 FROM %2 WHERE %1 IS NOT NULL").arg(rec, t)),
                  original.filter(QRegularExpression(QStringLiteral("^[^<]"))))
            << c.table << "." << c.column;
        conn.beginTrans();
        conn.execute(QStringLiteral("UPDATE %1 SET %3 = %2, %2 = NULL WHERE %2 IS NOT NULL").arg(t, rec, f));
        conn.commitTrans();
        EXPECT_EQ(column(conn, QStringLiteral("SELECT %1 FROM %2").arg(f, t)), original) << c.table << "." << c.column;
        conn.execute(QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(t, rec));
    }
    // Back where it started: every byte but the date of the last change.
    const auto sameButDate = [](QByteArray a, QByteArray b) {
        if (a.size() < 4 || b.size() < 4)
            return false;
        a.replace(1, 3, "xxx");
        b.replace(1, 3, "xxx");
        return a == b;
    };
    EXPECT_TRUE(sameButDate(bytesOf(path("facturi.dbf")), before));
    EXPECT_TRUE(sameButDate(bytesOf(path("plati.dbf")), beforeVfp));
    EXPECT_EQ(bytesOf(path("plati.fpt")), memo);
    EXPECT_EQ(pyDump(path("plati.dbf")), pyBefore);
}

TEST_F(DbfProvider, TablesItWritesReadTheSameInPython)
{
    const QJsonObject before = pyDump(path("facturi.dbf"));
    conn.execute(QStringLiteral("ALTER TABLE facturi ADD COLUMN Suma_VM N(18,2)"));
    conn.execute(QStringLiteral("UPDATE facturi SET Suma_VM = Suma, Suma = DECIMAL_ROUND(DECIMAL_SHIFT(Suma, -4), 2) "
                                "WHERE Suma IS NOT NULL"));
    const QJsonObject after = pyDump(path("facturi.dbf"));
    const QStringList kept{QStringLiteral("NUME"), QStringLiteral("CANT"), QStringLiteral("DATA"),
                           QStringLiteral("PLATIT"), QStringLiteral("NOTA")};
    EXPECT_EQ(columnsOf(after, kept), columnsOf(before, kept));
    QJsonArray moved = columnsOf(before, {QStringLiteral("SUMA")});
    QJsonArray recovered;
    for (const auto &rec : columnsOf(after, {QStringLiteral("SUMA_VM")})) {
        QJsonObject o = rec.toObject();
        o.insert(QStringLiteral("SUMA"), o.take(QStringLiteral("SUMA_VM")));
        recovered.append(o);
    }
    EXPECT_EQ(recovered, moved);
    const QJsonArray sums = columnsOf(after, {QStringLiteral("SUMA")});
    EXPECT_EQ(sums.at(0).toObject().value(QStringLiteral("SUMA")).toString(), QStringLiteral("1.49"));
    EXPECT_EQ(sums.at(4).toObject().value(QStringLiteral("deleted")).toBool(), true);
}

TEST_F(DbfProvider, RollbackWritesNothing)
{
    const QByteArray before = bytesOf(path("facturi.dbf"));
    conn.beginTrans();
    conn.execute(QStringLiteral("ALTER TABLE facturi ADD COLUMN Suma_VM N(18,2)"));
    EXPECT_EQ(conn.execute(QStringLiteral("UPDATE facturi SET Suma_VM = Suma, Suma = 0 WHERE Suma IS NOT NULL")), 4);
    EXPECT_EQ(column(conn, QStringLiteral("SELECT Suma FROM facturi WHERE Suma IS NOT NULL")),
              (QStringList{"0", "0", "0", "0"}));
    conn.rollbackTrans();
    EXPECT_EQ(bytesOf(path("facturi.dbf")), before);
    EXPECT_EQ(column(conn, QStringLiteral("SELECT Suma FROM facturi")).first(), QStringLiteral("14949.50"));
}

TEST_F(DbfProvider, RefusesWhatWouldLoseOrCorruptDataAndChangesNothing)
{
    // A fake index file whose key expression names SUMA.
    QFile cdx(path("facturi.cdx"));
    ASSERT_TRUE(cdx.open(QIODevice::WriteOnly));
    cdx.write(QByteArray(512, '\0') + "UPPER(NUME)+STR(SUMA,18,2)" + QByteArray(100, '\0'));
    cdx.close();
    QFile(path("stricat.dbf")).open(QIODevice::WriteOnly);
    {
        QFile junk(path("stricat.dbf"));
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write("acesta nu este un tabel");
    }
    const QByteArray facturi = bytesOf(path("facturi.dbf"));
    const QByteArray plati = bytesOf(path("plati.dbf"));
    ASSERT_TRUE(QFile::setPermissions(path("plati.dbf"), QFileDevice::ReadOwner));

    const struct {
        const char *sql;
        const char *message;
    } cases[] = {
        {"UPDATE facturi SET Suma = 1", "facturi.cdx poate folosi coloana"},
        {"ALTER TABLE facturi DROP COLUMN Suma", "facturi.cdx poate folosi coloana"},
        {"UPDATE plati SET Val = 1", "plati.dbf poate fi doar citit"},
        {"ALTER TABLE plati ADD COLUMN Val_VM Y", "plati.dbf poate fi doar citit"},
        {"SELECT * FROM stricat", "stricat.dbf nu este un tabel DBF"},
        {"UPDATE facturi SET Cant = 1.5", "nu incape exact in coloana CANT"},
        {"UPDATE facturi SET Cant = 'doi'", "nu este un numar"},
        {"UPDATE facturi SET Suma_VM = 1", "no such column"},
        {"ALTER TABLE facturi ADD COLUMN Suma_Veche_VM N(18,2)", "cel mult 10 litere"},
        {"ALTER TABLE facturi ADD COLUMN Nume N(18,2)", "exista deja"},
        {"ALTER TABLE facturi ADD COLUMN Val Y", "nu poate fi adaugat"},
        {"DELETE FROM facturi", "doar SELECT, UPDATE si ALTER"},
        {"INSERT INTO facturi (Nume) VALUES ('x')", "doar SELECT, UPDATE si ALTER"},
        {"UPDATE facturi SET Cant = 1; DELETE FROM facturi", "mai multe instructiuni"},
    };
    for (const auto &c : cases) {
        const db::DbError e = dbtest::expectDbError([&] { conn.execute(QString::fromLatin1(c.sql)); });
        EXPECT_TRUE(e.description().contains(QString::fromLatin1(c.message))) << c.sql << ": " << e;
    }
    // Columns no index mentions may still change, and the index file stays as it was.
    const QByteArray index = bytesOf(path("facturi.cdx"));
    EXPECT_EQ(conn.execute(QStringLiteral("UPDATE facturi SET Cant = 7 WHERE Nume = 'Alfa'; -- o nota")), 1);
    EXPECT_EQ(bytesOf(path("facturi.cdx")), index);
    db::DbfTable t = db::DbfTable::read(path("facturi.dbf"));
    EXPECT_EQ(t.value(0, 2).toString(), QStringLiteral("7"));
    EXPECT_EQ(t.value(0, 1).toString(), QStringLiteral("14949.50"));
    EXPECT_EQ(bytesOf(path("plati.dbf")), plati);
    QFile::setPermissions(path("plati.dbf"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    Q_UNUSED(facturi);

    const db::DbError missing = dbtest::expectDbError(
        [&] { Connection c; c.open(QStringLiteral("Provider=DBF;Data Source=") + path("lipsa")); });
    EXPECT_TRUE(missing.description().contains(QStringLiteral("nu exista"))) << missing;
}

TEST_F(DbfProvider, ReadOnlyFolderIsReportedAsSuch)
{
    EXPECT_FALSE(conn.isReadOnly());
    Connection readOnly;
    readOnly.open(QStringLiteral("Provider=DBF;Mode=Read;Data Source=") + dir->path());
    EXPECT_TRUE(readOnly.isReadOnly());
    const db::DbError e = dbtest::expectDbError([&] { readOnly.execute(QStringLiteral("UPDATE facturi SET Cant = 1")); });
    EXPECT_TRUE(e.description().contains(QStringLiteral("doar citit"))) << e;
}

// A process killed while it writes leaves the old table or the new one, whole.
TEST_F(DbfProvider, KilledWriterLeavesOldOrNewTable)
{
    // A bigger table, so that a write takes a while.
    {
        Connection c;
        c.open(QStringLiteral("Provider=DBF;Data Source=") + dir->path());
        c.execute(QStringLiteral("ALTER TABLE facturi ADD COLUMN Lung C(250)"));
    }
    db::DbfTable big = db::DbfTable::read(path("facturi.dbf"));
    const QString seedText = QString::number(QRandomGenerator::global()->generate());
    const quint32 seed = seedText.toUInt();
    std::printf("seed %u\n", seed);
    QRandomGenerator random(seed);
    const auto quantities = [](const db::DbfTable &table) {
        QStringList values;
        for (int r = 0; r < table.recordCount(); ++r)
            values.append(table.value(r, 2).toString());
        return values;
    };
    for (int trial = 0; trial < 12; ++trial) {
        // The table as the trial finds it: a kill before the first write
        // completes must leave exactly this.
        const QStringList before = quantities(db::DbfTable::read(path("facturi.dbf")));
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                Connection c;
                c.open(QStringLiteral("Provider=DBF;Data Source=") + dir->path());
                for (int i = 1;; ++i)
                    c.execute(QStringLiteral("UPDATE facturi SET Cant = %1, Lung = '%2'").arg(i % 1000).arg(QString(200, QLatin1Char('a' + i % 26))));
            } catch (...) {
            }
            _exit(1);
        }
        usleep(1000 + random.bounded(40000));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        const db::DbfTable t = db::DbfTable::read(path("facturi.dbf"));
        ASSERT_EQ(t.recordCount(), 5) << "trial " << trial;
        // The old table, or a new one that some UPDATE wrote whole.
        const QStringList after = quantities(t);
        if (after != before) {
            EXPECT_EQ(after, QStringList(5, after.first())) << "trial " << trial;
        }
        for (int r = 0; r < 5; ++r)
            EXPECT_EQ(t.value(r, 0).toString(), big.value(r, 0).toString());
        EXPECT_EQ(t.value(4, 1).toString(), QStringLiteral("50.00"));
        EXPECT_TRUE(t.isDeleted(4));
    }
    // No temporary file is taken for a table.
    db::Recordset tables = conn.tables();
    EXPECT_EQ(tables.recordCount(), 2);
}

namespace {

// Index file headers as dBase III, Clipper and FoxPro write them.
QByteArray ntxHeader(const QByteArray &key, const QByteArray &condition = QByteArray())
{
    QByteArray h(2048, '\0');
    h[0] = condition.isEmpty() ? 0x06 : 0x07; // 7: a conditional index (Clipper 5.2)
    h.replace(22, key.size(), key);
    h.replace(282, condition.size(), condition);
    return h;
}

QByteArray ndxHeader(const QByteArray &key)
{
    QByteArray h(1024, '\0');
    h.replace(24, key.size(), key);
    return h;
}

QByteArray idxHeader(const QByteArray &key, const QByteArray &condition = QByteArray())
{
    QByteArray h(1024, '\0');
    h.replace(16, key.size(), key);
    h.replace(236, condition.size(), condition);
    return h;
}

// FoxPro 2's compact single index: both expressions in the pool at 512.
QByteArray compactIdxHeader(const QByteArray &key, const QByteArray &condition)
{
    QByteArray h(1024, '\0');
    h[14] = static_cast<char>(0x20 | 0x08);
    const QByteArray pool = key + '\0' + condition;
    h.replace(512, pool.size(), pool);
    return h;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace

// Index files named freely, as dBase III, Clipper and FoxPro programs name
// them: their key and FOR expressions are read from the header, and a column
// one of them names (as a whole word) is refused in every table of the
// folder, before anything changes.
TEST_F(DbfProvider, IndexFilesOfAnyNameRefuseTheColumnsTheirExpressionsName)
{
    const struct {
        const char *file;
        QByteArray bytes;
        QStringList refused, allowed; // "table.column"
    } cases[] = {
        {"PLSUMA.NTX", ntxHeader("SUMA"), {"plati.Suma", "facturi.Suma"}, {"plati.Val", "facturi.Cant"}},
        {"plnr.ntx", ntxHeader("STR(SUMA,12,2)+NR"), {"plati.Suma", "plati.Nr", "facturi.Suma"}, {"plati.Val"}},
        {"COND.Ntx", ntxHeader("NR", "VAL<>0"), {"plati.Val", "plati.Nr"}, {"plati.Suma"}},
        {"OBS.NDX", ndxHeader("UPPER(OBS)"), {}, {"plati.Suma", "facturi.Suma"}},
        {"CLIENT.NDX", ndxHeader("DTOS(DATA)+STR(CANT,10)"), {"facturi.Cant"}, {"facturi.Suma"}},
        {"SX.IDX", idxHeader("SUMAX+SUMA_VM"), {}, {"plati.Suma", "facturi.Suma"}},
        {"FOX.idx", idxHeader("NUME", "SUMA > 0 .AND. !DELETED()"), {"plati.Suma", "facturi.Suma"}, {"plati.Val"}},
        {"FOX2.IDX", compactIdxHeader("UPPER(NUME)", "CANT>0"), {"facturi.Cant"}, {"facturi.Suma"}},
        // A compound index named after no table may belong to any of them.
        {"ALTE.CDX", QByteArray(512, '\0') + "STR(VAL,20,4)" + QByteArray(100, '\0'), {"plati.Val"}, {"plati.Suma"}},
        // One named after a table is that table's own: plati.cdx refuses plati.Suma only.
        {"plati.cdx", QByteArray(512, '\0') + "SUMA" + QByteArray(100, '\0'), {"plati.Suma"}, {"facturi.Suma"}},
    };
    const QByteArray plati = bytesOf(path("plati.dbf"));
    for (const auto &c : cases) {
        const QString file = QString::fromLatin1(c.file);
        writeFile(path(file), c.bytes);
        // The column lists the connection keeps are read afresh.
        for (const QString &table : {QStringLiteral("plati"), QStringLiteral("facturi")})
            conn.tableColumns(table, QString(), true);
        for (const QString &refused : c.refused) {
            const QStringList tc = refused.split(QLatin1Char('.'));
            // The type a conversion asks first, and a change itself.
            for (const auto &attempt : {std::function<void()>([&] { conn.columnType(tc.at(0), tc.at(1)); }),
                                        std::function<void()>([&] {
                                            conn.execute(QStringLiteral("UPDATE %1 SET %2 = %2").arg(tc.at(0), tc.at(1)));
                                        })}) {
                const db::DbError e = dbtest::expectDbError(attempt);
                EXPECT_TRUE(e.description().contains(file + QStringLiteral(" poate folosi coloana ") + tc.at(1).toUpper()))
                    << c.file << " " << refused.toStdString() << ": " << e;
                const bool own = QFileInfo(file).completeBaseName().compare(tc.at(0), Qt::CaseInsensitive) == 0;
                EXPECT_EQ(e.description().contains(QStringLiteral("oricarui tabel din dosar")), !own) << c.file << ": " << e;
            }
        }
        for (const QString &allowed : c.allowed) {
            const QStringList tc = allowed.split(QLatin1Char('.'));
            EXPECT_NO_THROW(conn.columnType(tc.at(0), tc.at(1))) << c.file << " " << allowed.toStdString();
        }
        EXPECT_EQ(bytesOf(path("plati.dbf")), plati) << c.file;
        QFile::remove(path(file));
    }
}

// An index file whose header cannot be read may use any column of any
// table: every one is refused, the file named.
TEST_F(DbfProvider, AnIndexFileWhoseHeaderCannotBeReadRefusesEveryTable)
{
    const struct {
        const char *file;
        QByteArray bytes;
        const char *why;
    } cases[] = {
        {"SCURT.NTX", ntxHeader("SUMA").left(600), "antetul este incomplet"},
        {"GOL.NDX", QByteArray(1024, '\0'), "antetul nu are o expresie de cheie"},
        {"BINAR.IDX", QByteArray(1024, '\x01'), "antetul nu are o expresie de cheie"},
        {"FARA.NTX", ntxHeader(QByteArray(256, 'A')), "antetul nu are o expresie de cheie"},
        {"MIC.CDX", QByteArray(100, '\0'), "antetul este incomplet"},
    };
    for (const auto &c : cases) {
        const QString file = QString::fromLatin1(c.file);
        writeFile(path(file), c.bytes);
        for (const auto &[table, column] : {std::pair{"facturi", "Cant"}, std::pair{"plati", "Val"}}) {
            conn.tableColumns(QString::fromLatin1(table), QString(), true);
            const db::DbError e = dbtest::expectDbError(
                [&] { conn.columnType(QString::fromLatin1(table), QString::fromLatin1(column)); });
            EXPECT_TRUE(e.description().startsWith(QStringLiteral("Fisierul de index %1 nu poate fi citit (%2)")
                                                       .arg(file, QString::fromLatin1(c.why))))
                << c.file << " " << table << ": " << e;
        }
        QFile::remove(path(file));
        conn.tableColumns(QStringLiteral("plati"), QString(), true);
        EXPECT_NO_THROW(conn.columnType(QStringLiteral("plati"), QStringLiteral("Val"))) << c.file;
    }
}
