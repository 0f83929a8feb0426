#pragma once

#include "data/Changeover.h"

#include <QString>
#include <functional>

namespace db {
class Connection;
}

namespace conversion {

struct ListedField {
    QString dataSource;
    QString tableName;
    QString fieldName;
    // What the user should know before the run, "" when nothing: a column
    // that keeps fewer decimals than the rounding ("pastreaza doar 0
    // zecimale"), or why the field's state could not be read.
    QString note;
};

// The listing's note of a column that keeps only `decimals` decimals.
QString keptDecimalsNote(int decimals);
// The listing's note of a field rounded by `rule` ("SUS").
QString roundingRuleNote(const QString &rule);

// The decimals the new amounts are rounded to at most: the changeover's, or
// for a project without them those its type's statement writes
// ("[DECIMALS:N]"); -1 when neither says.
int keptDecimalsOf(const Changeover &changeover, const QString &convertTemplate);

// Lists the fields that a run in the given direction would convert, the way
// the confirmation shows them: online data sources by description, their
// tables by name, the fields by name. Every probed field gets its Converted
// flag refreshed in the project; a field whose probe fails is listed by its
// stored state, with the reason in its note. A data source without a connection string
// or that cannot be opened is passed over. Other errors are thrown, after
// the fields found so far have been handed to `add`. `probed`, when given,
// is told the number of fields probed so far after each table, so that a
// window can show how far a long listing has come.
//
// The states of a table's fields are read together (probeTableStates), and
// a probed state is written to the project only where it changed.
// `waitingFor`, when given, is told what the listing asks next of a user's
// database ("tabelul "plati" al sursei "Firma""), so that a window can say
// what it waits for.
void listFieldsToConvert(db::Connection &project, bool toLeiNoi,
                         const std::function<void(const ListedField &)> &add,
                         const std::function<void(int)> &probed = {},
                         const std::function<void(const QString &)> &waitingFor = {});

// The line shown while the list is being built: "Campuri verificate: 1200".
QString probedCountText(int count);

// The count line under the list: "12 campuri vor fi convertite".
QString listedCountText(int count);

} // namespace conversion
