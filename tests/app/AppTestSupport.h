#pragma once

#include "tests/util/Sandbox.h"

#include <QString>

class QWidget;
#include <functional>

namespace testsupport {
class ProjectFixture;
}

namespace apptest {

// Writes a project file at `path` made from Vamor.vmt and filled by `fill`.
void makeProject(const QString &path, const std::function<void(testsupport::ProjectFixture &)> &fill = {});
// Fills a project with one data source "Contabilitate" (DSN=contab) holding
// the field Plati.Suma.
void fillOneSource(testsupport::ProjectFixture &p);
// A modal step that chooses the tab and does what the user does there, then
// presses "Deschide": the template with `key` ("new" tab), the path typed in
// ("existing" tab) or the recent file at `row`.
testsupport::ScriptedModals::Step chooseTemplate(const QString &fileName);
testsupport::ScriptedModals::Step chooseExisting(const QString &path);
// A step that records the tab keys the dialog offers and cancels.
testsupport::ScriptedModals::Step recordTabs(QStringList &keys);

// The question a modified project asks before it closes.
extern const QString kSaveQuestion;
// Closes a window as its title bar's close box does (a spontaneous close).
void closeFromTitleBar(QWidget &window);

} // namespace apptest
