#pragma once

#include "data/db/Connection.h"
#include "data/db/DbError.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace dbtest {

// A folder that lives as long as the test needs it.
std::unique_ptr<QTemporaryDir> makeTempDir();

// An empty SQLite database file in `dir` (an empty file is a valid database).
QString makeEmptySqliteFile(const QTemporaryDir &dir, const QString &name = QStringLiteral("test.db"));

// Runs `body`, expecting a DbError; returns it (fails the test when none).
db::DbError expectDbError(const std::function<void()> &body);

// A table name no other test or run uses: prefix + process id + counter.
QString uniqueName(const QString &prefix);

// The value of `column` in the row of a tables/columns list whose
// `keyColumn` equals `key` (exactly); Empty when no row has it.
db::Variant lookup(db::Recordset &rs, const QString &keyColumn, const QString &key, const QString &column);

// Rows of a recordset as "a|b|c" lines, for readable failure messages.
QStringList dump(db::Recordset &rs);

} // namespace dbtest

namespace db {
// Prints a DbError in test failure messages.
inline std::ostream &operator<<(std::ostream &os, const DbError &e)
{
    return os << "DbError " << std::hex << static_cast<quint32>(e.number()) << std::dec << " ["
              << e.sqlState().toStdString() << "] " << e.description().toStdString();
}
} // namespace db

// Readable QString and QStringList values in failure messages.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList &l, std::ostream *os) { *os << '{' << l.join(QStringLiteral(", ")).toStdString() << '}'; }
