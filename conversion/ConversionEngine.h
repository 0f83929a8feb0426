#pragma once

#include "conversion/ConversionInterfaces.h"
#include "data/Changeover.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace db {
class Connection;
class PooledConnection;
class Recordset;
} // namespace db

namespace conversion {

// The recovery column of a field row: RecFieldName, or the default name when
// the row holds none.
QString recoveryFieldName(const db::Recordset &fields);

// What the probe of one field tells.
struct FieldProbe {
    bool converted = false; // amounts in new lei
    bool hint = false;      // told by the kept column list alone, not written to the project
    QString error;          // why the state could not be read; "" when it was
};

// Probes whether the field of the current rows of `tables` and `fields`
// (a data source of type `idConnType`, open on `userConn`) is in new lei:
// the recovery column's contents decide, and when they cannot tell, the
// stored Converted flag. The result is written to tField.Converted at once.
// A probe that fails for any reason but a missing recovery column changes
// nothing: the stored state is returned with the message (a table or a
// column that the database does not have is named, with `dataSource`).
// With `keptListMayTell`, a recovery column missing from the columns the
// program keeps gives "not converted" as a hint, without a query and
// without writing it: the caller must ask the database before it acts.
FieldProbe refreshConvertedState(db::Connection &userConn, qint32 idConnType, const QString &dataSource,
                                 const db::Recordset &tables, db::Recordset &fields, bool keptListMayTell = false);

// The note of a field whose column keeps fewer decimals than the rounding:
// "Sume rotunjite la 0 zecimale".
QString roundedNote(int decimals);

// The columns of one user table that fields of the run have claimed so far:
// amount columns and recovery columns (lower case) with the field's name.
struct TableClaims {
    QHash<QString, QString> amounts;
    QHash<QString, QString> recoveries;
};

// Fields of one table (the rows `fields` shows) that must not be converted,
// by IdField, with the reason: a column that an earlier field of the table
// already converts, or a recovery column that an earlier field uses (as its
// recovery column or as its amount). `claims` holds what earlier rows of the
// same user table claimed (a table listed twice in the project) and gains
// this table's claims. The recordset is left at its first row.
QHash<qint64, QString> fieldConflicts(db::Recordset &fields, TableClaims &claims);

// What a field of a source that can only be read reports.
QString readOnlySourceMessage();
// The same for a server that is a standby of another (PostgreSQL in recovery).
QString standbySourceMessage();

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
        // Data sources with fields that the run passed over without trying
        // them (no template, no connection string, offline, unknown type):
        // their description and why.
        struct Skipped {
            QString dataSource;
            QString reason;
            qint32 fieldCount = 0;
        };
        QList<Skipped> skippedSources;
    };

    // `project` is the open connection to the working copy of the project;
    // the recovery-column routine reaches the same project through the
    // registered project host.
    ConversionEngine(db::Connection &project, IConversionProgress &progress, IConversionReport &report);

    // Walks the project in one direction: true converts old lei to new lei.
    Result run(bool pbLeiNoi);

    // The run walks only the data source `idConn` and names no source left
    // offline by earlier runs (the run of one source among several).
    void setOnlySource(qint32 idConn) { mOnlySource = idConn; }
    // Names the data sources marked offline, with their fields, as passed over.
    void reportOfflineSources(Result &result);
    // The data sources a run walks, in the order it walks them.
    static QString onlineSourcesSql();

private:
    // Opens the source's connection; "" when it is open, otherwise why its
    // fields are passed over. Fills the template of the direction.
    QString openSource(db::PooledConnection &userConn, QString &connString, db::Recordset &sources, qint32 idConn,
                       qint32 idConnType, const QString &templateColumn, bool pbLeiNoi, QString &templateText,
                       Result &result);
    void skipSource(Result &result, const QString &dataSource, const QString &reason, qint32 fieldCount);
    // Converts the current field. `conflict`, when not "", is why it must
    // not be touched at all (another field of the table claims its columns);
    // on a source that can only be read it fails once probed, with
    // `readOnly`, the reason ("" for a source that can be written).
    // The source's connection comes from the pool (`connString`); it is
    // given back while the recovery column is added, so that step borrows
    // it outside any transaction, and taken again for the conversion.
    void convertField(db::PooledConnection &userConn, const QString &connString, qint32 idConnType,
                      const QString &templateText, const QString &dataSource, db::Recordset &tables,
                      db::Recordset &fields, bool pbLeiNoi, const QString &conflict, const QString &readOnly);

    db::Connection &mProject;
    IConversionProgress &mProgress;
    IConversionReport &mReport;
    Changeover mChangeover; // the project's, read when a run starts
    qint32 mOnlySource = 0; // 0: every data source
};

} // namespace conversion
