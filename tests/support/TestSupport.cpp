#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace testsupport {

ScriptedPrompts::ScriptedPrompts()
{
    mPreviousMessage = ui::setMessageHandler([this](const ui::MessageRequest &request) {
        mMessages.append(request);
        if (!mAnswers.isEmpty())
            return mAnswers.takeFirst();
        return request.buttons == ui::Buttons::Ok ? ui::Answer::Ok
               : request.buttons == ui::Buttons::YesNo ? ui::Answer::No
                                                        : ui::Answer::Cancel;
    });
    mPreviousOpen = ui::setOpenFileHandler([this](const ui::FileRequest &request) {
        mOpenRequests.append(request);
        return mOpenPaths.isEmpty() ? QString() : mOpenPaths.takeFirst();
    });
    mPreviousSave = ui::setSaveFileHandler([this](const ui::FileRequest &request) {
        mSaveRequests.append(request);
        return mSavePaths.isEmpty() ? QString() : mSavePaths.takeFirst();
    });
}

ScriptedPrompts::~ScriptedPrompts()
{
    ui::setMessageHandler(mPreviousMessage);
    ui::setOpenFileHandler(mPreviousOpen);
    ui::setSaveFileHandler(mPreviousSave);
}

void ScriptedPrompts::answer(ui::Answer answer) { mAnswers.append(answer); }
void ScriptedPrompts::openFile(const QString &path) { mOpenPaths.append(path); }
void ScriptedPrompts::saveFile(const QString &path) { mSavePaths.append(path); }

QStringList ScriptedPrompts::messageTexts() const
{
    QStringList texts;
    for (const auto &m : mMessages)
        texts.append(m.text);
    return texts;
}

void ScriptedPrompts::clear()
{
    mMessages.clear();
    mOpenRequests.clear();
    mSaveRequests.clear();
}

QString templatesDir()
{
    const QString dir = qEnvironmentVariable("VAMOR_TEMPLATES");
    return dir.isEmpty() ? QStringLiteral(VAMOR_TEMPLATES_DIR) : dir;
}

QString testDataPath(const QString &relative)
{
    QString dir = qEnvironmentVariable("VAMOR_TESTDATA");
    if (dir.isEmpty())
        dir = QStringLiteral(VAMOR_TESTDATA_DIR);
    return QDir(dir).filePath(relative);
}

QString copyTestData(const QString &relative, const QString &dir)
{
    const QString source = testDataPath(relative);
    const QString target = QDir(dir).filePath(QFileInfo(relative).fileName());
    if (!QFile::copy(source, target))
        return QString();
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    return target;
}

QString serverConnString(const char *envName) { return qEnvironmentVariable(envName); }

bool serversRequired() { return qEnvironmentVariable("CI") == QStringLiteral("true"); }

} // namespace testsupport
