// Project files and working copies on disk: the modes of saved files, free
// working-copy names, and the working copies whose owner has ended.
#include "data/ProjectFile.h"
#include "data/WorkingCopy.h"
#include "data/db/DbError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

unsigned modeOf(const QString &path)
{
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return info.st_mode & 07777;
}

void setMode(const QString &path, unsigned mode) { ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0); }

// The id of a process that has ended.
qint64 endedPid()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

class ProjectFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        previousMask = ::umask(022);
        copy = path(QStringLiteral("~00001.tmp"));
        writeFile(copy, "continutul copiei de lucru");
    }
    void TearDown() override { ::umask(previousMask); }
    QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name); }

    QTemporaryDir dir;
    QString copy;
    mode_t previousMask = 022;
};

TEST_F(ProjectFiles, NewProjectFileIsPrivateAndAReplacedOneKeepsItsMode)
{
    const struct {
        const char *name;
        int existingMode; // -1: no file yet
        unsigned expected;
    } cases[] = {
        {"new file", -1, 0600},
        {"shared with everyone", 0644, 0644},
        {"shared with the group", 0640, 0640},
        {"private", 0600, 0600},
        {"read-only for the owner", 0400, 0400},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString target = path(QStringLiteral("Proiect.vmd"));
        QFile::remove(target);
        if (c.existingMode >= 0) {
            writeFile(target, "vechi");
            setMode(target, static_cast<unsigned>(c.existingMode));
        }
        projectfile::saveWorkingCopy(copy, target);
        EXPECT_EQ(modeOf(target), c.expected);
        EXPECT_EQ(readAll(target), QByteArray("continutul copiei de lucru"));
        EXPECT_EQ(files(), QStringList({"Proiect.vmd", "~00001.tmp"}));
    }

    // A symbolic link stays a link; the file it names takes the content and
    // keeps its mode.
    const QString real = path(QStringLiteral("Real.vmd"));
    writeFile(real, "vechi");
    setMode(real, 0604);
    const QString link = path(QStringLiteral("Legatura.vmd"));
    ASSERT_TRUE(QFile::link(real, link));
    projectfile::saveWorkingCopy(copy, link);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readAll(real), QByteArray("continutul copiei de lucru"));
    EXPECT_EQ(modeOf(real), 0604u);
}

TEST_F(ProjectFiles, SaveRemovesTemporariesOfEndedSavesOnly)
{
    const QString target = path(QStringLiteral("Proiect.vmd"));
    const QString dead = projectfile::saveTempPath(target, endedPid());
    const QString alive = projectfile::saveTempPath(target, ::getppid());
    const QString foreign = path(QStringLiteral("Proiect.vmd.~copie.tmp"));
    for (const QString &file : {dead, alive, foreign})
        writeFile(file, "rest");
    projectfile::saveWorkingCopy(copy, target);
    EXPECT_FALSE(QFile::exists(dead));
    EXPECT_TRUE(QFile::exists(alive));
    EXPECT_TRUE(QFile::exists(foreign));

    // A save that cannot write leaves nothing behind and the file as it was.
    writeFile(target, "vechi");
    ASSERT_TRUE(QFile::remove(copy));
    EXPECT_THROW(projectfile::saveWorkingCopy(copy, target), db::DbError);
    EXPECT_EQ(readAll(target), QByteArray("vechi"));
    EXPECT_FALSE(QFile::exists(projectfile::saveTempPath(target, QCoreApplication::applicationPid())));
}

// Any file of a working-copy name (the copy, a journal, the lock) makes the
// name taken; what was there is left untouched.
TEST_F(ProjectFiles, WorkingCopyNameIsFreeOnlyWithoutItsJournalsAndLock)
{
    ASSERT_TRUE(QFile::remove(copy));
    const QString source = path(QStringLiteral("Sursa.vmd"));
    writeFile(source, "proiectul");
    for (const char *leftover : {"~00001.tmp", "~00001.tmp-journal", "~00001.tmp-wal", "~00001.tmp-shm", "~00001.lock"}) {
        SCOPED_TRACE(leftover);
        const QString left = path(QString::fromLatin1(leftover));
        writeFile(left, "ramas");
        EXPECT_EQ(projectfile::nextWorkingCopyPath(dir.path()), path(QStringLiteral("~00002.tmp")));

        std::unique_ptr<projectfile::WorkingCopy> made = projectfile::WorkingCopy::create(source, dir.path());
        EXPECT_EQ(made->path(), path(QStringLiteral("~00002.tmp")));
        EXPECT_EQ(modeOf(made->path()), 0600u);
        EXPECT_EQ(readAll(made->path()), QByteArray("proiectul"));
        EXPECT_TRUE(QFile::exists(path(QStringLiteral("~00002.lock"))));
        writeFile(made->path() + QStringLiteral("-journal"), "jurnal");
        made->remove();
        EXPECT_EQ(files(), QStringList({"Sursa.vmd", QString::fromLatin1(leftover)}));
        EXPECT_EQ(readAll(left), QByteArray("ramas"));
        ASSERT_TRUE(QFile::remove(left));
    }
}

TEST_F(ProjectFiles, OrphansAreTheCopiesOfEndedOwnersOnly)
{
    // ~00001.tmp (SetUp): an older program's copy, without a lock.
    const QString source = path(QStringLiteral("Sursa.vmd"));
    writeFile(source, "proiectul");
    // ~00002: this process's own copy, alive.
    std::unique_ptr<projectfile::WorkingCopy> own = projectfile::WorkingCopy::create(source, dir.path());
    ASSERT_EQ(own->path(), path(QStringLiteral("~00002.tmp")));
    // ~00003: made by a process that then ended without cleaning up.
    const pid_t child = ::fork();
    if (child == 0) {
        const std::unique_ptr<projectfile::WorkingCopy> made = projectfile::WorkingCopy::create(source, dir.path());
        ::_exit(0); // no clean-up at all
    }
    ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(QFile::exists(path(QStringLiteral("~00003.tmp"))));
    ASSERT_TRUE(QFile::exists(path(QStringLiteral("~00003.lock"))));
    // ~00004: a journal alone; ~00005: a lock alone, of an ended process.
    writeFile(path(QStringLiteral("~00004.tmp-journal")), "jurnal");
    {
        const pid_t other = ::fork();
        if (other == 0) {
            const std::unique_ptr<projectfile::WorkingCopy> made =
                projectfile::WorkingCopy::create(source, dir.path()); // ~00005
            QFile::remove(made->path());
            ::_exit(0);
        }
        ::waitpid(other, nullptr, 0);
    }
    ASSERT_TRUE(QFile::exists(path(QStringLiteral("~00005.lock"))));
    // ~00006: a copy whose run was killed while it was being written.
    writeFile(path(QStringLiteral("~00006.tmp-new")), "jumatate de pro");

    std::vector<std::unique_ptr<projectfile::WorkingCopy>> orphans = projectfile::findOrphanedCopies(dir.path());
    QStringList found;
    for (const auto &orphan : orphans)
        found.append(QFileInfo(orphan->path()).fileName() + (orphan->hasDatabase() ? "" : " (jurnal)"));
    EXPECT_EQ(found, QStringList({"~00001.tmp", "~00003.tmp", "~00004.tmp (jurnal)"}));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("~00005.lock"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("~00006.tmp-new")))) << "never offered, and gone";
    EXPECT_EQ(orphans.at(2)->files(), QStringList({path(QStringLiteral("~00004.tmp-journal"))}));

    // While held here, a second look finds none of them.
    EXPECT_TRUE(projectfile::findOrphanedCopies(dir.path()).empty());
    // Deleting one takes its files and its lock; releasing one leaves it.
    orphans.at(1)->remove();
    orphans.clear();
    EXPECT_EQ(files(), QStringList({"Sursa.vmd", "~00001.tmp", "~00002.lock", "~00002.tmp", "~00004.tmp-journal"}));
    EXPECT_EQ(projectfile::findOrphanedCopies(dir.path()).size(), 2u);
    EXPECT_TRUE(QFile::exists(own->path()));
}

} // namespace
