#include "tests/support/ProjectFixture.h"

#include "data/db/DbError.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

namespace testsupport {

ProjectFixture::ProjectFixture(const QString &templateFile)
{
    const QString source = QDir(templatesDir()).filePath(templateFile);
    mPath = QDir(mDir.path()).filePath(QStringLiteral("~00001.tmp"));
    if (!mDir.isValid() || !QFile::copy(source, mPath)) {
        ADD_FAILURE() << "cannot copy the project template " << source.toStdString();
        return;
    }
    QFile::setPermissions(mPath, QFile::ReadOwner | QFile::WriteOwner);
    try {
        mConn.open(QStringLiteral("Provider=SQLite;Data Source=") + mPath);
    } catch (const db::DbError &e) {
        ADD_FAILURE() << "cannot open the project copy: " << e.what();
        return;
    }
    mPreviousHost = projectHost();
    setProjectHost(this);
}

ProjectFixture::~ProjectFixture()
{
    if (projectHost() == this)
        setProjectHost(mPreviousHost);
    if (mConn.isOpen())
        mConn.close();
}

QString ProjectFixture::literal(const db::Variant &value)
{
    switch (value.kind()) {
    case db::Variant::Kind::Empty:
    case db::Variant::Kind::Null: return QStringLiteral("NULL");
    case db::Variant::Kind::Bool: return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case db::Variant::Kind::Int:
    case db::Variant::Kind::Double:
    case db::Variant::Kind::Decimal: return value.toString();
    default: {
        QString text = value.toString();
        text.replace(QLatin1Char('\''), QStringLiteral("''"));
        return QLatin1Char('\'') + text + QLatin1Char('\'');
    }
    }
}

int ProjectFixture::insertRow(const QString &table, const QList<QPair<QString, db::Variant>> &values)
{
    QStringList names;
    QStringList literals;
    for (const auto &[name, value] : values) {
        names.append(name);
        literals.append(literal(value));
    }
    const QString key = table == QLatin1String("tConn")    ? QStringLiteral("IdConn")
                        : table == QLatin1String("tTable") ? QStringLiteral("IdTable")
                        : table == QLatin1String("tField") ? QStringLiteral("IdField")
                                                           : QString();
    try {
        mConn.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                          .arg(table, names.join(QStringLiteral(", ")), literals.join(QStringLiteral(", "))));
        if (key.isEmpty())
            return 0;
        return static_cast<int>(scalar(QStringLiteral("SELECT Max(%1) FROM %2").arg(key, table)).toInt());
    } catch (const db::DbError &e) {
        ADD_FAILURE() << "insert into " << table.toStdString() << " failed: " << e.what();
        return 0;
    }
}

namespace {
db::Variant textOrNull(const QString &text)
{
    return text.isEmpty() ? db::Variant::null() : db::Variant(text);
}
} // namespace

int ProjectFixture::addConn(int idConnType, const QString &description, const QString &connString,
                            bool offline)
{
    return insertRow(QStringLiteral("tConn"), {{QStringLiteral("IdConnType"), idConnType},
                                               {QStringLiteral("Description"), textOrNull(description)},
                                               {QStringLiteral("ConnString"), textOrNull(connString)},
                                               {QStringLiteral("IntegratedSecurity"), false},
                                               {QStringLiteral("Offline"), offline}});
}

int ProjectFixture::addTable(int idConn, const QString &tableName, const QString &owner,
                             const QString &sqlWhere)
{
    return insertRow(QStringLiteral("tTable"), {{QStringLiteral("IdConn"), idConn},
                                                {QStringLiteral("TableName"), textOrNull(tableName)},
                                                {QStringLiteral("Owner"), textOrNull(owner)},
                                                {QStringLiteral("SQLWhere"), textOrNull(sqlWhere)}});
}

int ProjectFixture::addField(int idTable, const QString &fieldName, const QString &recFieldName,
                             const QString &sqlWhere)
{
    const QString rec = recFieldName.isEmpty() ? fieldName + QStringLiteral("_VM") : recFieldName;
    return insertRow(QStringLiteral("tField"), {{QStringLiteral("IdTable"), idTable},
                                                {QStringLiteral("FieldName"), fieldName},
                                                {QStringLiteral("RecFieldName"), rec},
                                                {QStringLiteral("SQLWhere"), textOrNull(sqlWhere)}});
}

db::Variant ProjectFixture::scalar(const QString &sql)
{
    db::Recordset rs = mConn.openRecordset(sql, db::CursorType::ForwardOnly, db::LockType::ReadOnly, 1);
    return rs.eof() ? db::Variant() : rs.value(0);
}

} // namespace testsupport
