#include "conversion/ConversionListing.h"

#include "conversion/ConversionEngine.h"
#include "conversion/TableStateProbe.h"
#include "conversion/Waits.h"
#include "data/Lookups.h"
#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "datasources/ConnStrings.h"
#include "tables/ConvertSql.h"
#include "tables/RecoveryField.h"

#include <QCoreApplication>
#include <QHash>
#include <vector>

namespace conversion {

namespace {

// What the listing needs of a table and of a field of the project: the
// tables are read once for the whole project, the fields once per source.
struct TableRow {
    qint32 idTable = 0;
    QString name;
    QString owner;
    QString where;
};

struct FieldRow {
    qint32 idField = 0;
    QString name;
    QString recName; // as stored: "" for the default name
    QString where;
    bool converted = false;
    QString rounding; // the field's own rule, "" for the changeover's
};

QString textAt(const db::Recordset &rs, int column)
{
    return fgNZ(rs.value(column), QString()).toString();
}

// Every table of the project by IdConn, each list in order of TableName.
QHash<qint32, std::vector<TableRow>> readTables(db::Connection &project)
{
    QHash<qint32, std::vector<TableRow>> tables;
    db::Recordset rs =
        project.openRecordset(QStringLiteral("SELECT IdTable, IdConn, TableName, Owner, SQLWhere FROM tTable "
                                             "ORDER BY TableName"),
                              db::CursorType::Static, db::LockType::ReadOnly);
    for (; !rs.eof(); rs.moveNext())
        tables[static_cast<qint32>(rs.value(1).toInt())].push_back(
            TableRow{static_cast<qint32>(rs.value(0).toInt()), textAt(rs, 2), textAt(rs, 3), textAt(rs, 4)});
    return tables;
}

// The fields of one data source's tables by IdTable, each list in order of
// FieldName (one source at a time: a project of many sources is never held
// whole).
QHash<qint32, std::vector<FieldRow>> readFields(db::Connection &project, qint32 idConn)
{
    QHash<qint32, std::vector<FieldRow>> fields;
    // A project of an earlier version may lack the fields' own rules.
    const bool ownRules = db::findNamed(project.tableColumns(QStringLiteral("tField")), QStringLiteral("Rounding"));
    db::Recordset rs = project.openRecordset(
        QStringLiteral("SELECT IdField, IdTable, FieldName, RecFieldName, SQLWhere, Converted, ")
            + (ownRules ? QStringLiteral("Rounding") : QStringLiteral("''"))
            + QStringLiteral(" FROM tField WHERE IdTable IN (SELECT IdTable FROM tTable WHERE IdConn = ")
            + QString::number(idConn) + QStringLiteral(") ORDER BY IdTable, FieldName"),
        db::CursorType::Static, db::LockType::ReadOnly);
    for (; !rs.eof(); rs.moveNext())
        fields[static_cast<qint32>(rs.value(1).toInt())].push_back(FieldRow{static_cast<qint32>(rs.value(0).toInt()),
                                                                          textAt(rs, 2), textAt(rs, 3),
                                                                          textAt(rs, 4), rs.value(5).toBool(),
                                                                          textAt(rs, 6)});
    return fields;
}

// Writes one state to the project's rows of the given fields.
void saveStates(db::Connection &project, const std::vector<qint32> &ids, bool converted)
{
    constexpr std::size_t kIdsPerStatement = 500;
    for (std::size_t first = 0; first < ids.size(); first += kIdsPerStatement) {
        QString sql = QStringLiteral("UPDATE tField SET Converted = ")
                      + (converted ? QStringLiteral("True") : QStringLiteral("False"))
                      + QStringLiteral(" WHERE IdField IN (");
        for (std::size_t i = first; i < qMin(first + kIdsPerStatement, ids.size()); ++i) {
            if (i > first)
                sql += QLatin1Char(',');
            sql += QString::number(ids[i]);
        }
        project.execute(sql + QLatin1Char(')'));
    }
}

} // namespace

void listFieldsToConvert(db::Connection &project, bool toLeiNoi,
                         const std::function<void(const ListedField &)> &add,
                         const std::function<void(int)> &probed,
                         const std::function<void(const QString &)> &waitingFor)
{
    int probedCount = 0;
    const Changeover changeover = Changeover::of(project);
    db::Recordset sources = project.openRecordset(
        QStringLiteral("SELECT IdConn, IdConnType, Description FROM tConn WHERE Offline = False ORDER BY Description"),
        db::CursorType::Static, db::LockType::ReadOnly);
    const QHash<qint32, std::vector<TableRow>> tablesByConn = readTables(project);
    db::Connection userConn;
    // Reading the states must not hold the window for long.
    userConn.setStatementTimeout(probeTimeout());

    for (; !sources.eof(); sources.moveNext()) {
        const qint32 idConn = static_cast<qint32>(sources.value(0).toInt());
        // Without a window to show it in: a string that cannot be built is
        // passed over here, and the run names the source and the reason.
        QString connString;
        try {
            connString = buildConnString(project, idConn);
        } catch (const std::exception &) {
            continue;
        }
        if (connString.isEmpty())
            continue;
        const qint32 idConnType = static_cast<qint32>(sources.value(1).toInt());
        const QString description = textAt(sources, 2);
        if (waitingFor)
            //: What the listing waits for: the data source being opened.
            waitingFor(QCoreApplication::translate("ConversionListing", "sursa de date \"%1\"").arg(description));
        try {
            userConn.open(connString);
        } catch (const std::exception &) {
            userConn.close();
            continue;
        }
        // The decimals the run to new lei rounds to at most.
        const int rounding =
            toLeiNoi ? keptDecimalsOf(changeover,
                                      fgNZ(fgLookup(project, QStringLiteral("tConnType"), QStringLiteral("ConvertSQL"),
                                                    QStringLiteral("IdConnType = ") + QString::number(idConnType)),
                                           QString())
                                          .toString())
                     : -1;

        const QHash<qint32, std::vector<FieldRow>> fieldsByTable = readFields(project, idConn);
        for (const TableRow &table : tablesByConn.value(idConn)) {
            const auto found = fieldsByTable.constFind(table.idTable);
            if (found == fieldsByTable.constEnd())
                continue;
            const std::vector<FieldRow> &fields = *found;
            // The same tables, names and conditions as the run's own probe.
            const QString tableRef = fgGetTableName(idConnType, table.owner, table.name);
            std::vector<StateProbeField> probes;
            probes.reserve(fields.size());
            for (const FieldRow &field : fields) {
                const QString recName = field.recName.isEmpty() ? fgGetRecoveryFieldName(field.name) : field.recName;
                probes.push_back(StateProbeField{field.name, fgGetFieldName(idConnType, field.name), recName,
                                                 fgGetFieldName(idConnType, recName),
                                                 convertsql::joinConditions(table.where, field.where)});
            }
            if (waitingFor)
                //: What the listing waits for: a table of a data source.
                waitingFor(QCoreApplication::translate("ConversionListing", "tabelul \"%1\" al sursei \"%2\"")
                               .arg(table.name, description));
            const LockTimeoutWatch locks;
            const std::vector<StateProbeResult> states =
                probeTableStates(userConn, table.name, table.owner, tableRef, probes, rounding >= 0, description);

            std::vector<qint32> nowConverted, nowNotConverted;
            std::vector<ListedField> listed;
            for (std::size_t i = 0; i < fields.size(); ++i) {
                const FieldRow &field = fields[i];
                const StateProbeResult &probe = states[i];
                // A probe that failed changes nothing: the stored state stands.
                bool converted = field.converted;
                if (probe.error.isEmpty()) {
                    if (probe.state == 1)
                        converted = true;
                    else if (probe.state == 0)
                        converted = false;
                    if (converted != field.converted)
                        (converted ? nowConverted : nowNotConverted).push_back(field.idField);
                }
                if (converted == toLeiNoi)
                    continue;
                QString note;
                if (!probe.error.isEmpty()) {
                    note = QCoreApplication::translate("ConversionListing", "Starea campului nu a putut fi citita: %1")
                               .arg(locks.explained(probe.error, table.name, userConn.lockTimeoutMs(), QString()));
                } else if (rounding >= 0) {
                    try {
                        const int scale = userConn.columnType(table.name, field.name, table.owner).scale;
                        if (convertsql::keepsFewerDecimals(scale, rounding))
                            note = keptDecimalsNote(scale);
                    } catch (const std::exception &) {
                        // The run reports what is wrong with the column.
                    }
                }
                const QString rule = effectiveRounding(field.rounding, changeover);
                if (toLeiNoi && !rule.isEmpty())
                    note = note.isEmpty() ? roundingRuleNote(rule) : note + QStringLiteral("; ") + roundingRuleNote(rule);
                listed.push_back({description, table.name, field.name, note});
            }
            // The states read are the project's from now on (a row that
            // already holds its state is left as it is).
            saveStates(project, nowConverted, true);
            saveStates(project, nowNotConverted, false);
            probedCount += static_cast<int>(fields.size());
            if (probed)
                probed(probedCount);
            for (const ListedField &f : listed)
                add(f);
        }
        userConn.close();
    }
}

QString keptDecimalsNote(int decimals)
{
    return QCoreApplication::translate("ConversionListing", "Coloana pastreaza doar %n zecimale", nullptr, decimals);
}

int keptDecimalsOf(const Changeover &changeover, const QString &convertTemplate)
{
    return changeover.decimals >= 0 ? changeover.decimals : convertsql::roundingDecimals(convertTemplate);
}

QString roundingRuleNote(const QString &rule)
{
    //: %1: the name of the rounding rule, as "SUS".
    return QCoreApplication::translate("ConversionListing", "Rotunjire %1").arg(rule);
}

QString probedCountText(int count)
{
    return QCoreApplication::translate("ConversionListing", "Campuri verificate: %1").arg(count);
}

QString listedCountText(int count)
{
    return QCoreApplication::translate("ConversionListing", "%n campuri vor fi convertite", nullptr, count);
}

} // namespace conversion
