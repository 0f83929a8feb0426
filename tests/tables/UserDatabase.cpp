#include "tests/tables/UserDatabase.h"

#include "data/db/DbError.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace testsupport {

QString engineName(Engine engine)
{
    switch (engine) {
    case Engine::Sqlite: return QStringLiteral("SQLite");
    case Engine::Postgres: return QStringLiteral("PostgreSQL");
    case Engine::MariaDb: return QStringLiteral("MariaDB");
    }
    return QString();
}

QString UserDatabase::tableName(const QString &base)
{
    return base + QLatin1Char('_') + QString::number(QCoreApplication::applicationPid());
}

UserDatabase::UserDatabase(Engine engine) : mEngine(engine)
{
    switch (engine) {
    case Engine::Sqlite: {
        const QString path = QDir(mDir.path()).filePath(QStringLiteral("utilizator.db"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.close();
        mConnString = QStringLiteral("Provider=SQLite;Data Source=") + path;
        break;
    }
    case Engine::Postgres: mConnString = serverConnString("VAMOR_TEST_PG"); break;
    case Engine::MariaDb: mConnString = serverConnString("VAMOR_TEST_MARIADB"); break;
    }
    if (mConnString.isEmpty())
        return;
    try {
        mConn.open(mConnString);
    } catch (const db::DbError &e) {
        ADD_FAILURE() << "cannot open " << mConnString.toStdString() << ": " << e.what();
    }
}

UserDatabase::~UserDatabase()
{
    if (!mConn.isOpen())
        return;
    for (const QString &table : mTables) {
        try {
            mConn.execute(QStringLiteral("DROP TABLE ") + table);
        } catch (const db::DbError &) {
        }
    }
    mConn.close();
}

void UserDatabase::execute(const QString &sql)
{
    try {
        mConn.execute(sql);
    } catch (const db::DbError &e) {
        ADD_FAILURE() << engineName(mEngine).toStdString() << ": " << sql.toStdString() << ": " << e.what();
    }
}

void UserDatabase::createTable(const QString &name, const QString &columns)
{
    QString definition = columns;
    const bool pg = mEngine == Engine::Postgres;
    definition.replace(QStringLiteral("{DOUBLE}"), pg ? QStringLiteral("DOUBLE PRECISION") : QStringLiteral("DOUBLE"));
    definition.replace(QStringLiteral("{MONEY}"), mEngine == Engine::MariaDb ? QStringLiteral("DECIMAL(19,4)")
                                                                             : QStringLiteral("MONEY"));
    definition.replace(QStringLiteral("{BOOL}"), QStringLiteral("BOOLEAN"));
    definition.replace(QStringLiteral("{TEXT}"), QStringLiteral("VARCHAR(50)"));
    const QString quotedName = name.contains(QLatin1Char(' ')) ? QLatin1Char('"') + name + QLatin1Char('"') : name;
    try {
        mConn.execute(QStringLiteral("DROP TABLE IF EXISTS ") + quotedName);
    } catch (const db::DbError &) {
    }
    execute(QStringLiteral("CREATE TABLE ") + quotedName + QStringLiteral(" (") + definition + QLatin1Char(')'));
    mTables.append(quotedName);
}

QStringList UserDatabase::columnNames(const QString &table)
{
    QStringList names;
    db::Recordset rs = mConn.columns(table);
    for (; !rs.eof(); rs.moveNext())
        names.append(rs.value(QStringLiteral("COLUMN_NAME")).toString().toLower());
    return names;
}

int addUserTable(ProjectFixture &project, const UserDatabase &user, const QString &table, const QString &sqlWhere)
{
    const int idConn = project.addConn(6, engineName(user.engine()), user.connString());
    return project.addTable(idConn, table, QString(), sqlWhere);
}

} // namespace testsupport
