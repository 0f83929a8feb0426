#pragma once

#include "util/core/Prompt.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace testsupport {

// Answers message boxes and file dialogs from a script and records what was
// asked. Installed for the life of the object.
class ScriptedPrompts {
public:
    ScriptedPrompts();
    ~ScriptedPrompts();
    ScriptedPrompts(const ScriptedPrompts &) = delete;
    ScriptedPrompts &operator=(const ScriptedPrompts &) = delete;

    // The next message box gets this answer. Without a scripted answer a box
    // is answered Ok (for Ok-only boxes) or Cancel/No.
    void answer(ui::Answer answer);
    // The next open or save dialog returns this path ("" = cancel).
    void openFile(const QString &path);
    void saveFile(const QString &path);

    const QList<ui::MessageRequest> &messages() const { return mMessages; }
    const QList<ui::FileRequest> &openRequests() const { return mOpenRequests; }
    const QList<ui::FileRequest> &saveRequests() const { return mSaveRequests; }
    QStringList messageTexts() const;
    void clear();

private:
    ui::MessageHandler mPreviousMessage;
    ui::FileHandler mPreviousOpen;
    ui::FileHandler mPreviousSave;
    QList<ui::Answer> mAnswers;
    QStringList mOpenPaths;
    QStringList mSavePaths;
    QList<ui::MessageRequest> mMessages;
    QList<ui::FileRequest> mOpenRequests;
    QList<ui::FileRequest> mSaveRequests;
};

// Folder of the built project templates (Vamor.vmt).
QString templatesDir();
// Path of a file under the shared test data folder.
QString testDataPath(const QString &relative);
// Copies a file of the shared test data (read-only there) into `dir` as a
// file its owner may write; returns the copy's path, "" when the copy failed.
QString copyTestData(const QString &relative, const QString &dir);

// Connection string of a test server handed over by the server script in
// the environment variable `envName` ("" when not set).
QString serverConnString(const char *envName);
// True when a test that needs a server must fail rather than skip (CI).
bool serversRequired();

} // namespace testsupport

// Skips the test with a loud message when the server is missing, or fails
// it under CI=true.
#define VAMOR_REQUIRE_SERVER(connVar, envName)                                                    \
    const QString connVar = testsupport::serverConnString(envName);                               \
    if (connVar.isEmpty()) {                                                                      \
        if (testsupport::serversRequired())                                                       \
            FAIL() << "test server missing: " << envName << " is not set (CI requires it)";      \
        else                                                                                      \
            GTEST_SKIP() << "!!! SKIPPED: no test server (" << envName                            \
                         << " not set); run scripts/test.sh to start the servers";    \
    }
