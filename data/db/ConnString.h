#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace db {

// A connection string "Key=Value;Key={Value};…" split as ODBC splits it:
// keys without regard to case, values possibly in braces (a "}" inside braces
// is written "}}"), blanks around keys ignored. Throws DbError on a string
// that cannot be parsed (unbalanced braces, an empty key).
class ConnString {
public:
    ConnString() = default;
    static ConnString parse(const QString &text);

    bool contains(const QString &key) const;
    QString value(const QString &key) const; // "" when missing; the last one wins
    const QList<QPair<QString, QString>> &items() const { return mItems; }

    // True for "Provider=SQLite;…", which the built-in SQLite provider serves.
    bool isBuiltInSqlite() const;

private:
    QList<QPair<QString, QString>> mItems;
};

} // namespace db
