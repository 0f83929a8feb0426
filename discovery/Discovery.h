#pragma once

#include "discovery/SourceReader.h"

#include <QList>
#include <QString>

namespace db {
class Connection;
}

// The money columns of a project's data sources: reading a source on a
// connection of its own, the findings as CSV, and adding the chosen columns
// to the project.
namespace discovery {

// A data source of the project.
struct ProjectSource {
    qint32 idConn = 0;
    qint32 idConnType = 0;
    QString description;
    bool offline = false;
};
QList<ProjectSource> projectSources(db::Connection &project);

// Opens the source's own connection and reads it. Throws DbError when the
// source cannot be opened or its tables cannot be listed.
SourceFindings discoverSource(db::Connection &project, const ProjectSource &source,
                              const ReadProgress &progress = {});

// What adding did.
struct Added {
    int tables = 0;
    int fields = 0;
    // The tables that gained fields, in the order met, and the IdField of
    // each field added to each ("12").
    QList<qint32> tableIds;
    QHash<qint32, QStringList> fieldIds;
};

// Adds `chosen` columns of source `idConn` to the project in one
// transaction: first the tables the project does not hold yet, then the
// fields with the default recovery names. A column already a field of its
// table, or a recovery column, is left out. Throws DbError (and adds
// nothing) when the project cannot be written.
Added addToProject(db::Connection &project, qint32 idConn, const QList<Finding> &chosen);

// The CSV header and one line per column, as the terminal prints them.
QString csvHeader();
QString csvLine(const QString &dataSource, const Finding &finding);

// "vamor --discover P.vmd [--source NAME] [--add]": its exit status.
int runDiscoverCommand(const QStringList &args);
// True when the command line asks for it.
bool isDiscoverCommand(const QStringList &args);

} // namespace discovery
