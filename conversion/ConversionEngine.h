#pragma once

#include "conversion/ConversionInterfaces.h"

#include <QString>
#include <QStringList>

namespace db {
class Connection;
class Recordset;
} // namespace db

namespace conversion {

// The recovery column of a field row: RecFieldName, or the default name when
// the row holds none.
QString recoveryFieldName(const db::Recordset &fields);

// Probes whether the field of the current rows of `tables` and `fields`
// (a data source of type `idConnType`, open on `userConn`) is in new lei:
// the recovery column's contents decide, and when they cannot tell, the
// stored Converted flag. The result is written to tField.Converted at once.
bool refreshConvertedState(db::Connection &userConn, qint32 idConnType, const db::Recordset &tables,
                           db::Recordset &fields);

// One conversion run over every selected field of the open project: walks the
// online data sources, their tables and their fields, converts each field
// that is not yet in the wanted currency with its data source's template, and
// writes the outcome to tField. It reports progress and report rows through
// the two interfaces and knows no window. The amounts are never read: the
// user's database does the arithmetic.
class ConversionEngine {
public:
    struct Result {
        bool cancelled = false;  // the user stopped the run
        bool failed = false;     // an unexpected error ended the walk
        qint32 errorNumber = 0;  // of that error
        QString errorDescription;
        QStringList offlineSources; // descriptions of the data sources marked offline
    };

    // `project` is the open connection to the working copy of the project;
    // the recovery-column routine reaches the same project through the
    // registered project host.
    ConversionEngine(db::Connection &project, IConversionProgress &progress, IConversionReport &report);

    // Walks the project in one direction: true converts old lei to new lei.
    Result run(bool pbLeiNoi);

private:
    void convertField(db::Connection &userConn, qint32 idConnType, const QString &templateText,
                      const QString &dataSource, db::Recordset &tables, db::Recordset &fields,
                      bool pbLeiNoi);

    db::Connection &mProject;
    IConversionProgress &mProgress;
    IConversionReport &mReport;
};

} // namespace conversion
