// Tables another program holds, or changes while Vamor works on them: the
// DBF provider refuses to replace them and writes nothing. The other program
// is a real process (dbf_holder.py) holding the file the ways FoxPro, dBase
// and Clipper programs do.
#include "DbTestSupport.h"

#include "data/db/dbf/DbfTableGuard.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

using db::Connection;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QStringList column(Connection &c, const QString &sql)
{
    db::Recordset rs = c.openRecordset(sql);
    QStringList out;
    for (; !rs.eof(); rs.moveNext())
        out << (rs.value(0).isNull() ? QStringLiteral("<null>") : rs.value(0).toString());
    return out;
}

// Another program holding a table until it is destroyed (or for the seconds given).
class Holder {
public:
    Holder(const QString &path, const QString &how, const QString &seconds = QString())
    {
        QStringList args{QStringLiteral(VAMOR_DBF_HOLDER), path, how};
        if (!seconds.isEmpty())
            args << seconds;
        mProcess.start(QStringLiteral("/usr/bin/python3"), args);
        QByteArray seen;
        while (!seen.contains("gata") && mProcess.waitForReadyRead(10000))
            seen += mProcess.readAllStandardOutput();
        mReady = seen.contains("gata");
        if (!mReady)
            mError = QString::fromUtf8(mProcess.readAllStandardError()).toStdString();
    }
    ~Holder()
    {
        mProcess.closeWriteChannel();
        if (!mProcess.waitForFinished(10000))
            mProcess.kill();
        mProcess.waitForFinished();
    }
    bool ready() const { return mReady; }
    const std::string &error() const { return mError; }
    qint64 pid() const { return mProcess.processId(); }

private:
    QProcess mProcess;
    bool mReady = false;
    std::string mError;
};

QString heldBy(const QString &how, qint64 pid)
{
    return QStringLiteral("Tabelul \"plati.dbf\" este %1 alt program (procesul %2, python3); inchideti programul si "
                          "reluati conversia.")
        .arg(how)
        .arg(pid);
}

const QString kChanged =
    QStringLiteral("Tabelul \"plati.dbf\" a fost schimbat de alt program in timpul conversiei; nu a fost scris nimic.");
const QString kToNewLei =
    QStringLiteral("UPDATE plati SET Suma = DECIMAL_ROUND(DECIMAL_SHIFT(Suma, -4), 4) WHERE Suma IS NOT NULL");
const QStringList kConverted{"1.4950", "0.0000", "<null>", "10.0000"};

// Sets the file's time of change, to the nanosecond, and keeps its last access.
void setModified(const QString &path, const timespec &modified)
{
    struct stat st;
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &st), 0);
    const timespec times[2] = {st.st_atim, modified};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

timespec modifiedOf(const QString &path)
{
    struct stat st {};
    stat(QFile::encodeName(path).constData(), &st);
    return st.st_mtim;
}

class DbfHeldTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = dbtest::makeTempDir();
        QProcess p;
        p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(VAMOR_DBF_SCRIPT), QStringLiteral("make"), dir->path()});
        p.waitForFinished(60000);
        if (!QFile::exists(path("plati.dbf")))
            GTEST_SKIP() << "python3-dbf is missing: " << p.readAllStandardError().toStdString();
        conn.open(QStringLiteral("Provider=DBF;LockTimeout=0.2;Data Source=") + dir->path());
    }
    void TearDown() override { db::dbf::setBeforeReplaceHook({}); }

    QString path(const QString &name) const { return dir->filePath(name); }
    // New files a failed replace left beside the tables.
    QStringList leftovers() const
    {
        return QDir(dir->path()).entryList({QStringLiteral("*.vamor-*")}, QDir::Files | QDir::Hidden);
    }

    std::unique_ptr<QTemporaryDir> dir;
    Connection conn;
};

} // namespace

// Every way another program holds a table stops both changes a conversion
// makes (the recovery column, the amounts): the message names the table, the
// process and why, and the file stays byte for byte as it was.
TEST_F(DbfHeldTable, ATableAnotherProgramLocksOrHasOpenIsNotReplaced)
{
    const QByteArray before = bytesOf(path("plati.dbf"));
    const QByteArray memo = bytesOf(path("plati.fpt"));
    const struct {
        const char *how;
        const char *verb;
    } cases[] = {
        {"clipper", "blocat de"}, {"foxpro", "blocat de"}, {"record", "blocat de"}, {"shared", "blocat de"},
        {"ofd", "blocat de"},     {"flock", "blocat de"},  {"open", "folosit de"},
    };
    for (const auto &c : cases) {
        Holder holder(path("plati.dbf"), QString::fromLatin1(c.how));
        ASSERT_TRUE(holder.ready()) << c.how << ": " << holder.error();
        for (const QString &sql : {QStringLiteral("ALTER TABLE plati ADD COLUMN Suma_VM N(12,4)"), kToNewLei}) {
            const db::DbError e = dbtest::expectDbError([&] { conn.execute(sql); });
            EXPECT_EQ(e.description(), heldBy(QString::fromLatin1(c.verb), holder.pid())) << c.how << ": " << sql.toStdString();
        }
        EXPECT_EQ(bytesOf(path("plati.dbf")), before) << c.how;
        EXPECT_TRUE(leftovers().isEmpty()) << c.how;
        // Reading stays allowed.
        EXPECT_EQ(column(conn, QStringLiteral("SELECT Suma FROM plati")).size(), 4) << c.how;
    }
    // Once the other program has let go, the same change goes through.
    conn.execute(kToNewLei);
    EXPECT_EQ(column(conn, QStringLiteral("SELECT Suma FROM plati")), kConverted);
    EXPECT_EQ(bytesOf(path("plati.fpt")), memo);
    EXPECT_TRUE(leftovers().isEmpty());
}

// A program that lets go while Vamor waits for it does not fail the change.
TEST_F(DbfHeldTable, AProgramThatLetsGoWithinTheWaitIsWaitedFor)
{
    Connection patient;
    patient.open(QStringLiteral("Provider=DBF;LockTimeout=60;Data Source=") + dir->path());
    Holder holder(path("plati.dbf"), QStringLiteral("foxpro"), QStringLiteral("0.5"));
    ASSERT_TRUE(holder.ready()) << holder.error();
    patient.execute(kToNewLei);
    EXPECT_EQ(column(patient, QStringLiteral("SELECT Suma FROM plati")), kConverted);
}

// The table changed, or taken by another program, between the read and the
// rename: the new file is dropped, the table keeps what the other program
// left in it.
TEST_F(DbfHeldTable, ATableChangedBeforeItIsReplacedIsNotWritten)
{
    const QByteArray original = bytesOf(path("plati.dbf"));
    std::unique_ptr<Holder> lateHolder;
    const struct {
        const char *what;
        std::function<void(const QString &)> change;
        bool held;
    } cases[] = {
        {"one byte changed, size and time of change kept",
         [](const QString &p) {
             const timespec modified = modifiedOf(p);
             QByteArray bytes = bytesOf(p);
             bytes[bytes.size() - 3] = static_cast<char>(bytes.at(bytes.size() - 3) ^ 0x01);
             writeBytes(p, bytes);
             setModified(p, modified);
         },
         false},
        {"time of change moved by a nanosecond",
         [](const QString &p) {
             timespec modified = modifiedOf(p);
             modified.tv_nsec = (modified.tv_nsec + 1) % 1000000000;
             setModified(p, modified);
         },
         false},
        {"replaced by an identical copy",
         [](const QString &p) {
             ASSERT_TRUE(QFile::copy(p, p + QStringLiteral(".copie")));
             ASSERT_EQ(std::rename(QFile::encodeName(p + QStringLiteral(".copie")).constData(), QFile::encodeName(p).constData()), 0);
         },
         false},
        {"grown by one byte", [](const QString &p) { writeBytes(p, bytesOf(p) + "x"); }, false},
        {"locked at the last moment",
         [&lateHolder](const QString &p) {
             lateHolder = std::make_unique<Holder>(p, QStringLiteral("clipper"));
             ASSERT_TRUE(lateHolder->ready()) << lateHolder->error();
         },
         true},
        {"opened at the last moment",
         [&lateHolder](const QString &p) {
             lateHolder = std::make_unique<Holder>(p, QStringLiteral("open"));
             ASSERT_TRUE(lateHolder->ready()) << lateHolder->error();
         },
         true},
    };
    for (const auto &c : cases) {
        writeBytes(path("plati.dbf"), original);
        QByteArray left;
        int calls = 0;
        db::dbf::setBeforeReplaceHook([&](const QString &p) {
            ++calls;
            EXPECT_EQ(QFileInfo(p).fileName(), QStringLiteral("plati.dbf"));
            c.change(p);
            left = bytesOf(p);
        });
        const db::DbError e = dbtest::expectDbError([&] { conn.execute(kToNewLei); });
        EXPECT_EQ(calls, 1) << c.what;
        const QString expected = !c.held ? kChanged
                                         : heldBy(QString::fromLatin1(c.what).startsWith(QLatin1String("locked"))
                                                      ? QStringLiteral("blocat de")
                                                      : QStringLiteral("folosit de"),
                                                  lateHolder->pid());
        EXPECT_EQ(e.description(), expected) << c.what;
        EXPECT_EQ(bytesOf(path("plati.dbf")), left) << c.what;
        EXPECT_TRUE(leftovers().isEmpty()) << c.what;
        lateHolder.reset();
    }

    // On commit: the transaction's changes are dropped whole.
    writeBytes(path("plati.dbf"), original);
    db::dbf::setBeforeReplaceHook([](const QString &p) { writeBytes(p, bytesOf(p) + "x"); });
    conn.beginTrans();
    conn.execute(kToNewLei);
    const db::DbError e = dbtest::expectDbError([&] { conn.commitTrans(); });
    EXPECT_EQ(e.description(), kChanged);
    EXPECT_FALSE(conn.inTransaction());
    EXPECT_EQ(bytesOf(path("plati.dbf")), original + "x");
    EXPECT_TRUE(leftovers().isEmpty());

    // Unhooked, the change goes through, with every amount right.
    db::dbf::setBeforeReplaceHook({});
    writeBytes(path("plati.dbf"), original);
    conn.execute(kToNewLei);
    EXPECT_EQ(column(conn, QStringLiteral("SELECT Suma FROM plati")), kConverted);
}

// Changed after a statement of the transaction read it and before the first
// change: refused before anything changes.
TEST_F(DbfHeldTable, ATableChangedBetweenTheReadAndTheFirstChangeIsRefused)
{
    conn.beginTrans();
    EXPECT_EQ(column(conn, QStringLiteral("SELECT Suma FROM plati")).size(), 4);
    const QByteArray grown = bytesOf(path("plati.dbf")) + "x";
    writeBytes(path("plati.dbf"), grown);
    const db::DbError e = dbtest::expectDbError([&] { conn.execute(kToNewLei); });
    EXPECT_EQ(e.description(), kChanged);
    conn.rollbackTrans();
    EXPECT_EQ(bytesOf(path("plati.dbf")), grown);
}

TEST_F(DbfHeldTable, LockTimeoutMustBeANumberOfSeconds)
{
    for (const char *value : {"abc", "-1", "601"}) {
        const db::DbError e = dbtest::expectDbError([&] {
            Connection c;
            c.open(QStringLiteral("Provider=DBF;LockTimeout=%1;Data Source=%2").arg(QString::fromLatin1(value), dir->path()));
        });
        EXPECT_TRUE(e.description().contains(QStringLiteral("LockTimeout"))) << value << ": " << e;
    }
}
