#include "tests/conversion/ConversionTestSupport.h"

#include "data/db/Recordset.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace convtest {

SqliteUserDb::SqliteUserDb()
{
    mPath = QDir(mDir.path()).filePath(QStringLiteral("firma.db"));
    QFile file(mPath);
    if (!file.open(QIODevice::WriteOnly))
        ADD_FAILURE() << "cannot create " << mPath.toStdString();
}

void SqliteUserDb::exec(const QStringList &statements)
{
    db::Connection conn;
    conn.open(connString());
    for (const QString &sql : statements)
        conn.execute(sql);
}

db::Variant SqliteUserDb::scalar(const QString &sql)
{
    db::Connection conn;
    conn.open(connString());
    db::Recordset rs = conn.openRecordset(sql);
    return rs.eof() ? db::Variant() : rs.value(0);
}

QList<db::Variant> SqliteUserDb::column(const QString &table, const QString &column)
{
    db::Connection conn;
    conn.open(connString());
    db::Recordset rs = conn.openRecordset(QStringLiteral("SELECT %1 FROM %2 ORDER BY Id").arg(column, table));
    QList<db::Variant> values;
    for (; !rs.eof(); rs.moveNext())
        values.append(rs.value(0));
    return values;
}

QStringList SqliteUserDb::columnNames(const QString &table)
{
    db::Connection conn;
    conn.open(connString());
    db::Recordset rs = conn.columns(table);
    QStringList names;
    for (; !rs.eof(); rs.moveNext())
        names.append(rs.value(QStringLiteral("COLUMN_NAME")).toString());
    return names;
}

} // namespace convtest
