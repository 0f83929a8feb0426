#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <optional>

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

// "key=value" as a driver reads it back: the value in braces when it holds a
// separator or a brace, or blanks at either end.
QString connectionAttribute(const QString &key, const QString &value);

// "LockTimeout=SECONDS": how long a statement waits for a lock that another
// program holds on the database before it gives up (seconds, decimals
// allowed; 0 does not wait). Understood by every provider: the ODBC provider
// takes it out of the string it hands to the driver and sets the engine's
// own wait, the DBF provider waits so long for a table another program
// holds (its default is shorter: dbf/DbfProvider.h).
inline constexpr qint64 kDefaultLockTimeoutMs = 30000;
inline const QString kLockTimeoutKey = QStringLiteral("LockTimeout");
// The string's LockTimeout in milliseconds; nullopt when it sets none.
// Throws DbError for a value that is not a number of seconds.
std::optional<qint64> lockTimeoutMsOf(const ConnString &parsed);
// `connectionString` as the driver gets it: without this program's own
// keys (LockTimeout, ClusterNodes); as written when it has none (or cannot
// be parsed).
QString forDriver(const QString &connectionString);

// "ClusterNodes=host:port,host:port": the other nodes of the cluster whose
// node the string names (a Galera cluster). When a commit leaves a field's
// state unknown and its own node cannot tell, the state is read through
// one of them. A node is "host", "host:port", "[v6]" or "[v6]:port".
inline const QString kClusterNodesKey = QStringLiteral("ClusterNodes");
struct ClusterNode {
    QString address;          // as the user wrote it
    QString connectionString; // the string with its Server (and Port) for the node
};
QList<ClusterNode> clusterNodesOf(const QString &connectionString);

// A lock timeout for every data source of this run of the program, over
// what their strings say (the command line's --lock-timeout); nullopt ends
// it. withRunLockTimeout gives a data source's string with it in force.
void setRunLockTimeout(std::optional<qint64> ms);
QString withRunLockTimeout(const QString &connectionString);

} // namespace db
