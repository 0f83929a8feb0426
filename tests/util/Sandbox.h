#pragma once

// Test surroundings for the windows: settings in a temporary folder (never
// the real user's), a program folder of their own (VAMOR_HOME) holding the
// built templates, and scripted modal windows.

#include "util/widgets/ModalDialog.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <functional>

namespace testsupport {

// Points QSettings at a temporary folder for the whole test program; call
// once before the first test (registers a gtest environment).
void isolateSettings();
// Empties the settings store of the program.
void clearSettings();

// A temporary program folder named by VAMOR_HOME for the object's life.
class ProgramFolder {
public:
    // withTemplates: copies every built .vmt into the folder.
    explicit ProgramFolder(bool withTemplates = true);
    ~ProgramFolder();
    QString path() const { return mDir.path(); }
    QString filePath(const QString &name) const;
    // Names of the files in the folder, sorted.
    QStringList files() const;

private:
    QTemporaryDir mDir;
    QByteArray mPrevious;
};

// Acts on modal windows from a script instead of running them. Each step
// gets the dialog and returns its result; without a step the dialog is
// rejected (as if cancelled).
class ScriptedModals {
public:
    using Step = std::function<int(QDialog &)>;
    ScriptedModals();
    ~ScriptedModals();
    void then(Step step) { mSteps.append(std::move(step)); }
    int shown() const { return mShown; }
    QStringList titles() const { return mTitles; }

private:
    ui::ModalHandler mPrevious;
    QList<Step> mSteps;
    int mShown = 0;
    QStringList mTitles;
};

} // namespace testsupport
