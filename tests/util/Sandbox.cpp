#include "tests/util/Sandbox.h"

#include "tests/support/TestSupport.h"
#include "util/core/AppInfo.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace testsupport {

namespace {

class SettingsEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, mDir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, mDir.path());
        QSettings settings(kAppTitle, kAppTitle);
        ASSERT_TRUE(settings.fileName().startsWith(mDir.path())) << settings.fileName().toStdString();
    }

private:
    QTemporaryDir mDir;
};

} // namespace

void isolateSettings()
{
    static bool done = false;
    if (!done) {
        done = true;
        ::testing::AddGlobalTestEnvironment(new SettingsEnvironment);
    }
}

void clearSettings()
{
    QSettings settings(kAppTitle, kAppTitle);
    settings.clear();
    settings.sync();
}

ProgramFolder::ProgramFolder(bool withTemplates) : mPrevious(qgetenv("VAMOR_HOME"))
{
    EXPECT_TRUE(mDir.isValid());
    qputenv("VAMOR_HOME", QFile::encodeName(mDir.path()));
    if (!withTemplates)
        return;
    const QDir templates(templatesDir());
    const QStringList names = templates.entryList({QStringLiteral("*.vmt")}, QDir::Files);
    EXPECT_FALSE(names.isEmpty()) << "no built templates in " << templatesDir().toStdString();
    for (const QString &name : names)
        EXPECT_TRUE(QFile::copy(templates.filePath(name), filePath(name))) << name.toStdString();
}

ProgramFolder::~ProgramFolder()
{
    if (mPrevious.isEmpty())
        qunsetenv("VAMOR_HOME");
    else
        qputenv("VAMOR_HOME", mPrevious);
}

QString ProgramFolder::filePath(const QString &name) const { return QDir(mDir.path()).filePath(name); }

QStringList ProgramFolder::files() const
{
    return QDir(mDir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

ScriptedModals::ScriptedModals()
{
    mPrevious = ui::setModalHandler([this](QDialog &dialog) {
        ++mShown;
        if (mSteps.isEmpty()) {
            mTitles.append(dialog.windowTitle());
            dialog.reject();
            return static_cast<int>(QDialog::Rejected);
        }
        const Step step = mSteps.takeFirst();
        const int result = step(dialog);
        mTitles.append(dialog.windowTitle());
        return result;
    });
}

ScriptedModals::~ScriptedModals() { ui::setModalHandler(mPrevious); }

} // namespace testsupport
