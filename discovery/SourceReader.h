#pragma once

#include "discovery/MoneyRules.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <functional>

namespace db {
class Connection;
}

// Reading a data source for its money columns: every numeric column of
// every table, a sample of its values and the verdict of the rules, beside
// what the project already holds of the source. Nothing of the user's
// database is changed: the reads are catalog queries and samples of the
// first rows, each with the usual time limit.
namespace discovery {

// What the project holds of one data source, by table (lower-case name).
struct KnownTable {
    qint32 idTable = 0;
    QSet<QString> fields;     // lower-case names of its fields
    QSet<QString> recoveries; // lower-case names of its fields' recovery columns
};
using KnownTables = QHash<QString, KnownTable>;

// Reads the tables and fields of data source `idConn` from the project.
KnownTables knownTables(db::Connection &project, qint32 idConn);

// One numeric column of the source, judged.
struct Finding {
    QString owner;
    ColumnFacts facts;
    Verdict verdict;
    qint64 rows = -1;        // rows of the table; -1 when they could not be counted
    bool inProject = false;  // already a field of the project
    bool recovery = false;   // a recovery column (never proposed)
    // Proposed for adding: judged money, not in the project, not a recovery column.
    bool proposed() const { return verdict.proposed && !inProject && !recovery; }
};

// A table that could not be read, and why.
struct TableFailure {
    QString table;
    QString message;
};

struct SourceFindings {
    QList<Finding> columns; // in the order of the tables, then of their columns
    QList<TableFailure> failures;
    int tablesRead = 0;
    bool stopped = false;
};

// How the reading tells its progress and learns of a stop.
struct ReadProgress {
    std::function<void(int done, int total, const QString &table)> step;
    std::function<bool()> stopped;
};

// Rows sampled of each table.
inline constexpr int kSampleRows = 1000;

// Reads every table of the source open on `user` (a data source of type
// `idConnType`). Throws DbError when the list of tables cannot be read.
SourceFindings readSource(db::Connection &user, qint32 idConnType, const KnownTables &known,
                          const ReadProgress &progress = {});

// True for the ADO types of columns that hold numbers.
bool isNumericType(int adoType);

} // namespace discovery
