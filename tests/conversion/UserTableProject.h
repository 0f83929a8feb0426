#pragma once

// A saved project over one table of a user's SQLite database, for the tests
// that open it through the real main window.
#include "tests/support/ProjectFixture.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

namespace convtest {

// Writes to `projectFile` a project made from `templateFile` whose data
// source `source` (the built-in SQLite provider on `userConnString`) has the
// table `table` with `fields`. False, with a test failure, when it cannot.
inline bool saveUserTableProject(const QString &projectFile, const QString &userConnString, const QString &source,
                                 const QString &table, const QStringList &fields,
                                 const QString &templateFile = QStringLiteral("Vamor.vmt"))
{
    testsupport::ProjectFixture project(templateFile);
    if (!project.ok()) {
        ADD_FAILURE() << "the project could not be made from " << templateFile.toStdString();
        return false;
    }
    const int idTable = project.addTable(project.addConn(6, source, userConnString), table);
    for (const QString &field : fields)
        project.addField(idTable, field);
    project.Conn().close();
    if (!QFile::copy(project.path(), projectFile)) {
        ADD_FAILURE() << "the project could not be copied to " << projectFile.toStdString();
        return false;
    }
    return true;
}

} // namespace convtest
