// The program folder and the folders templates and help are read from: the
// executable's folder while it may be written and the program is not
// installed, the user's data folder otherwise, VAMOR_HOME over both; checked
// by the rules and by the real program copied into each layout.
#include "tests/support/ProjectFixture.h"
#include "util/core/AppInfo.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// Sets an environment variable for the object's life.
class EnvVar {
public:
    EnvVar(const char *name, const QString &value) : mName(name), mHad(qEnvironmentVariableIsSet(name)), mOld(qgetenv(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, QFile::encodeName(value));
    }
    ~EnvVar()
    {
        if (mHad)
            qputenv(mName, mOld);
        else
            qunsetenv(mName);
    }

private:
    const char *mName;
    bool mHad;
    QByteArray mOld;
};

void setMode(const QString &path, mode_t mode)
{
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0) << path.toStdString();
}

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

// A prefix folder with bin/ (and share/vamor/ for an installed layout), the
// desktop's data folders and VAMOR_HOME, all under one temporary folder.
struct Layout {
    QTemporaryDir root;
    QString bin() const { return root.filePath(QStringLiteral("prefix/bin")); }
    QString installedData() const { return root.filePath(QStringLiteral("prefix/share/vamor")); }
    QString dataHome() const { return root.filePath(QStringLiteral("xdg/home")); }
    QString dataDir(int n) const { return root.filePath(QStringLiteral("xdg/dir%1").arg(n)); }
    QString userFolder() const { return dataHome() + QStringLiteral("/Vamor"); }
    QString home() const { return root.filePath(QStringLiteral("vamor-home")); }

    Layout() { QDir().mkpath(bin()); }
    ~Layout() { ::chmod(QFile::encodeName(bin()).constData(), 0755); }
};

enum class Kind { Writable, ReadOnly, InstalledWritable, HomeOverReadOnly };

struct Case {
    const char *name;
    Kind kind;
};

const Case kCases[] = {
    {"writable folder of its own", Kind::Writable},
    {"read-only folder", Kind::ReadOnly},
    {"installed beside share/vamor, writable", Kind::InstalledWritable},
    {"VAMOR_HOME over a read-only folder", Kind::HomeOverReadOnly},
};

void prepare(Layout &layout, Kind kind)
{
    if (kind == Kind::InstalledWritable)
        QDir().mkpath(layout.installedData());
    if (kind == Kind::ReadOnly || kind == Kind::HomeOverReadOnly)
        setMode(layout.bin(), 0555);
    if (kind == Kind::HomeOverReadOnly)
        QDir().mkpath(layout.home());
}

// Where the program of `kind` must make its working copies.
QString expectedProgramFolder(const Layout &layout, Kind kind)
{
    switch (kind) {
    case Kind::Writable:
        return layout.bin();
    case Kind::HomeOverReadOnly:
        return layout.home();
    default:
        return layout.userFolder();
    }
}

} // namespace

TEST(ProgramFolderRules, EachLayoutHasItsProgramFolderAndDataFolders)
{
    for (const Case &c : kCases) {
        SCOPED_TRACE(c.name);
        Layout layout;
        prepare(layout, c.kind);
        EnvVar dataHome("XDG_DATA_HOME", layout.dataHome());
        EnvVar dataDirs("XDG_DATA_DIRS", layout.dataDir(1) + QLatin1Char(':') + layout.dataDir(2));
        const QString home = c.kind == Kind::HomeOverReadOnly ? layout.home() : QString();
        const appinfo::Folders folders = appinfo::resolveFolders(layout.bin(), home);

        EXPECT_EQ(folders.program, expectedProgramFolder(layout, c.kind));
        switch (c.kind) {
        case Kind::Writable:
            EXPECT_EQ(folders.data, QStringList{layout.bin()});
            break;
        case Kind::HomeOverReadOnly:
            EXPECT_EQ(folders.data, QStringList{layout.home()});
            break;
        default:
            // The installed data folder first, the user's own last.
            EXPECT_EQ(folders.data,
                      QStringList({layout.installedData(), layout.dataHome() + QStringLiteral("/vamor"),
                                   layout.dataDir(1) + QStringLiteral("/vamor"),
                                   layout.dataDir(2) + QStringLiteral("/vamor"), layout.bin(), layout.userFolder()}));
        }
        EXPECT_EQ(folders.installed, c.kind == Kind::ReadOnly || c.kind == Kind::InstalledWritable);
    }
}

TEST(ProgramFolderRules, WritableFolderFollowsThePermissionBitsForEveryone)
{
    QTemporaryDir root;
    const QString file = root.filePath(QStringLiteral("fisier"));
    touch(file);
    struct Row {
        const char *name;
        mode_t mode; // 0: no folder
        bool writable;
    };
    for (const Row &row : {Row{"owner may write", 0755, true}, Row{"private", 0700, true},
                           Row{"read-only", 0555, false}, Row{"only the group may write", 0575, false},
                           Row{"missing", 0, false}}) {
        SCOPED_TRACE(row.name);
        const QString dir = root.filePath(QString::fromLatin1(row.name));
        if (row.mode != 0) {
            ASSERT_TRUE(QDir().mkpath(dir));
            setMode(dir, row.mode);
        }
        EXPECT_EQ(appinfo::isWritableFolder(dir), row.writable);
        ::chmod(QFile::encodeName(dir).constData(), 0755);
    }
    EXPECT_FALSE(appinfo::isWritableFolder(file));
}

TEST(ProgramFolderRules, TemplatesOfEarlierFoldersHideThoseOfLaterOnes)
{
    QTemporaryDir root;
    const QString installed = root.filePath(QStringLiteral("installed"));
    const QString user = root.filePath(QStringLiteral("user"));
    for (const QString &path : {installed + "/Vamor.vmt", installed + "/Vamor 4 zecimale.vmt", user + "/Vamor.vmt",
                                user + "/Firma.vmt", user + "/note.txt", user + "/vamor.VMT.bak"})
        touch(path);
    EXPECT_EQ(appinfo::templateFiles({installed, root.filePath(QStringLiteral("missing")), user}),
              QStringList({installed + "/Vamor 4 zecimale.vmt", installed + "/Vamor.vmt", user + "/Firma.vmt"}));
}

TEST(ProgramFolderRules, VamorHomeNamesTheFolderOfEverything)
{
    QTemporaryDir home;
    touch(home.filePath(QStringLiteral("Vamor.vmt")));
    EnvVar vamorHome("VAMOR_HOME", home.path());
    EXPECT_EQ(fgAppPath(), QDir::cleanPath(home.path()));
    EXPECT_EQ(fgDataPaths(), QStringList{QDir::cleanPath(home.path())});
    EXPECT_EQ(fgTemplateFiles(), QStringList{home.filePath(QStringLiteral("Vamor.vmt"))});
    EXPECT_EQ(fgDataFile(QStringLiteral("Vamor.vmt")), home.filePath(QStringLiteral("Vamor.vmt")));
    // A file that is nowhere is named where it would be.
    EXPECT_EQ(fgDataFile(QStringLiteral("Vamor.qhc")), home.filePath(QStringLiteral("Vamor.qhc")));
}

// The real program, copied into each layout, converting from the command
// line: held at its question, its working copy is where the rules say, and
// nothing is written beside a program that is installed.
TEST(ProgramFolderRun, WorkingCopyOfTheRealProgramGoesWhereItsLayoutSays)
{
    QTemporaryDir projects;
    const QString project = projects.filePath(QStringLiteral("Proiect.vmd"));
    {
        testsupport::ProjectFixture fixture;
        ASSERT_TRUE(fixture.ok());
        const int conn = fixture.addConn(6, QStringLiteral("Contabilitate"), QStringLiteral("DSN=contab"));
        fixture.addField(fixture.addTable(conn, QStringLiteral("Plati")), QStringLiteral("Suma"));
        fixture.Conn().close();
        ASSERT_TRUE(QFile::copy(fixture.path(), project));
    }

    for (const Case &c : kCases) {
        SCOPED_TRACE(c.name);
        Layout layout;
        const QString program = layout.bin() + QStringLiteral("/vamor");
        ASSERT_TRUE(QFile::copy(QStringLiteral(VAMOR_CLI), program));
        prepare(layout, c.kind);

        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), layout.dataHome());
        env.insert(QStringLiteral("XDG_DATA_DIRS"), layout.dataDir(1));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), layout.root.filePath(QStringLiteral("config")));
        env.remove(QStringLiteral("VAMOR_HOME"));
        if (c.kind == Kind::HomeOverReadOnly)
            env.insert(QStringLiteral("VAMOR_HOME"), layout.home());
        run.setProcessEnvironment(env);
        run.start(program, {QStringLiteral("--convert"), project, QStringLiteral("--to"), QStringLiteral("noi")});
        ASSERT_TRUE(run.waitForStarted());
        QByteArray out;
        QElapsedTimer clock;
        clock.start();
        while (!out.contains("Continuati?") && run.state() == QProcess::Running && clock.elapsed() < 30000) {
            run.waitForReadyRead(50);
            out += run.readAllStandardOutput();
        }
        ASSERT_TRUE(out.contains("Continuati?")) << out.toStdString() << run.readAllStandardError().toStdString();

        const QString folder = expectedProgramFolder(layout, c.kind);
        EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/~00001.tmp")))
            << QDir(folder).entryList(QDir::Files | QDir::Hidden).join(' ').toStdString();
        if (folder != layout.bin()) {
            EXPECT_EQ(QDir(layout.bin()).entryList(QDir::Files | QDir::Hidden), QStringList{"vamor"});
        }

        run.write("n\n");
        run.closeWriteChannel();
        ASSERT_TRUE(run.waitForFinished(30000));
        EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/~00001.tmp")));
    }
}
