#pragma once

#include "data/ProjectHost.h"
#include "data/db/Connection.h"
#include "data/db/Variant.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

// A project for tests: a copy of a built project template in a temporary
// folder, opened as the project database, with this object registered as the
// project host for its lifetime. The host calls made by the code under test
// are recorded.
class ProjectFixture : public IProjectHost {
public:
    // Copies `templateFile` (a file name in templatesDir()) and opens it.
    // Failures are reported as test failures through ok().
    explicit ProjectFixture(const QString &templateFile = QStringLiteral("Vamor.vmt"));
    ~ProjectFixture() override;
    ProjectFixture(const ProjectFixture &) = delete;
    ProjectFixture &operator=(const ProjectFixture &) = delete;

    // True when the copy was made and opened.
    bool ok() const { return mConn.isOpen(); }
    // The working copy and the temporary folder that holds it (removed with
    // the fixture).
    const QString &path() const { return mPath; }
    QString dir() const { return mDir.path(); }

    // IProjectHost
    db::Connection &Conn() override { return mConn; }
    void SetDirty(bool pbDirty) override { dirtyCalls.append(pbDirty); }
    void NodeTextChanged(const QString &pstrKey, const QString &pstrText) override
    {
        nodeTextCalls.append({pstrKey, pstrText});
    }
    void SetFieldButtons(bool pbEnabled) override { fieldButtonCalls.append(pbEnabled); }
    void UnloadChild(const QString &pstrKey) override { unloadCalls.append(pstrKey); }

    QList<bool> dirtyCalls;
    QList<QPair<QString, QString>> nodeTextCalls;
    QList<bool> fieldButtonCalls;
    QList<QString> unloadCalls;

    // Inserts a row; columns not given keep their defaults. Returns the new
    // autonumber key (the largest key of the table after the insert).
    int insertRow(const QString &table, const QList<QPair<QString, db::Variant>> &values);
    // A data source. Empty texts are stored as Null.
    int addConn(int idConnType, const QString &description, const QString &connString = QString(),
                bool offline = false);
    // A table of a data source. Empty owner and condition are stored as Null.
    int addTable(int idConn, const QString &tableName, const QString &owner = QString(),
                 const QString &sqlWhere = QString());
    // A field of a table; the recovery column defaults to field name + "_VM".
    int addField(int idTable, const QString &fieldName, const QString &recFieldName = QString(),
                 const QString &sqlWhere = QString());

    // The first column of the first row of a query (Empty when no row).
    db::Variant scalar(const QString &sql);

    // A value written as an SQL literal for the project database.
    static QString literal(const db::Variant &value);

private:
    QTemporaryDir mDir;
    QString mPath;
    db::Connection mConn;
    IProjectHost *mPreviousHost = nullptr;
};

} // namespace testsupport
