#pragma once

#include <QString>
#include <QtGlobal>

namespace db {
class Connection;
}

// Naming rules: a table or column name written the way the SQL of data-source
// type `plngConnType` needs it. Access (0) and SQL Server (1) put a name that
// contains a blank in square brackets; Oracle (2) puts it in double quotes and
// writes a table as owner.table when an owner is given; the other types
// (3 to 6) leave names unchanged. An unknown type gives "".
QString fgGetTableName(qint32 plngConnType, const QString &pstrOwner, const QString &pstrTableName);
QString fgGetFieldName(qint32 plngConnType, const QString &pstrFieldName);

// The default name of a field's recovery column: the field name + "_VM".
QString fgGetRecoveryFieldName(const QString &pstrFieldName);

// Checks that column `pstrFieldName` of table `plngIdTable` has a type that
// can be converted. "" when it can, otherwise the message
// ("Nu poate fi folosit tipul Date", "Informatie lipsa in metadate", or the
// provider's error description).
QString fgCheckFieldType(qint32 plngIdTable, const QString &pstrFieldName);

// The column check's verdict on an ADO type number: "" for the numeric types
// (and types the check does not know), otherwise
// "Nu poate fi folosit tipul " + the type's short name ("Date", "VarWChar"...).
QString fgFieldTypeMessage(int plngAdoType);

// Adds the recovery column `pstrRecFieldName` to the user's table
// `plngIdTable` with the type's CreateFieldSQL. "" on success, otherwise the
// message. When the column exists already: "" if `pbReportExisting` is false
// (the column is taken as the recovery column), otherwise
// Campul "NAME" deja exista in tabel.
// `pstrFieldName` names the column (as stored) whose amounts the recovery
// column keeps: a template with "[FIELD_TYPE]" declares the recovery column
// with that column's own type, read from the user's database. When it is
// "", the table's field whose recovery column this is is looked up in the
// project (failing that, the name without its "_VM" suffix).
// `pstrFieldType`, when not "", is that column's type as its database
// declares it (db::ColumnType::declaration), already read by the caller: it
// is used as it is instead of being read again.
QString fgCreateRecoveryField(qint32 plngIdTable, const QString &pstrRecFieldName, bool pbReportExisting,
                              const QString &pstrFieldName = QString(), const QString &pstrFieldType = QString());

// Drops the recovery column with the type's DropFieldSQL. "" on success,
// otherwise the message.
QString fgDropRecoveryField(qint32 plngIdTable, const QString &pstrRecFieldName);

// Whether a field is converted, told from its recovery column over the rows
// of `pstrRowSource` (a SELECT statement on `pConn`): 1 when the recovery
// column holds a value, 0 when it holds none but the field does (or the
// recovery column does not exist), -1 when both hold only Nulls. Names are
// already written by the naming rules. Reads at most one row per query and
// never shows a message.
qint32 fgGetConvertedState(db::Connection &pConn, const QString &pstrRowSource, const QString &pstrField,
                           const QString &pstrRecField);
// The same, with the recovery column looked for over `pstrRecRowSource`
// (the conversion passes the whole table: only a conversion ever fills the
// recovery column, so a value anywhere in it means converted, even where a
// condition no longer selects the row) and the field over `pstrRowSource`.
// When a query fails, the result is 0 and `*pstrError` (when given) receives
// the provider's description, so the caller can tell a missing recovery
// column from a failure.
qint32 fgGetConvertedState(db::Connection &pConn, const QString &pstrRecRowSource, const QString &pstrRowSource,
                           const QString &pstrField, const QString &pstrRecField, QString *pstrError);
