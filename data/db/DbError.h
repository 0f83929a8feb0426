#pragma once

#include <QString>
#include <QtGlobal>
#include <exception>
#include <string>

namespace db {

// Error numbers as the windows print them: signed 32-bit values.
inline constexpr qint32 DB_E_ERRORSINCOMMAND = static_cast<qint32>(0x80040E14u);
inline constexpr qint32 DB_E_ERRORSOCCURRED = static_cast<qint32>(0x80040E21u);
inline constexpr qint32 E_FAIL = static_cast<qint32>(0x80004005u);
// "Item cannot be found in the collection": a field name a recordset lacks.
inline constexpr qint32 ADO_E_ITEMNOTFOUND = static_cast<qint32>(0x800A0CC1u);
// Operation not allowed in this context (closed object, read-only recordset, no current row).
inline constexpr qint32 ADO_E_ILLEGALOPERATION = static_cast<qint32>(0x800A0C93u);
// Either BOF or EOF is true, or the current record has been deleted.
inline constexpr qint32 ADO_E_NOCURRENTRECORD = static_cast<qint32>(0x800A0BCDu);
// The operation was canceled (a statement stopped by Connection::cancel).
inline constexpr qint32 DB_E_CANCELED = static_cast<qint32>(0x80040E4Eu);
// A resource limit stopped the command: ADO's "query timeout expired".
inline constexpr qint32 DB_E_ABORTLIMITREACHED = static_cast<qint32>(0x80040E31u);

class DbError : public std::exception {
public:
    // What ended a statement that waited, when that is what failed it.
    enum class Kind {
        Other,
        Cancelled,   // Connection::cancel stopped it
        LockTimeout, // it waited the lock timeout for a lock another session holds
        StatementTimeout, // it ran longer than the connection's statement timeout
        NoAnswer,    // a commit the database did not answer in time: the connection was abandoned
        LinkLost,    // the link to the server ended during a commit: whether it was kept is not known
    };

    DbError(qint32 number, QString description, QString sqlState = QString(), Kind kind = Kind::Other)
        : mNumber(number), mDescription(std::move(description)), mSqlState(std::move(sqlState)), mKind(kind),
          mWhat(mDescription.toStdString()) {}

    qint32 number() const { return mNumber; }
    const QString &description() const { return mDescription; }
    const QString &sqlState() const { return mSqlState; }
    Kind kind() const { return mKind; }

    // The error of a statement that Connection::cancel stopped. The
    // provider's own words ("canceling statement due to user request") tell
    // the user nothing more and are left out.
    static DbError cancelled();
    // The error of a statement that waited the whole lock timeout for a
    // lock another session holds, with the provider's words. Its number is
    // E_FAIL whatever class the SQLSTATE has: nothing is wrong with the
    // command. Made on the thread whose statement waited, and noted there
    // (lastLockTimeout).
    static DbError lockTimeout(const QString &providerText, const QString &sqlState);
    // The error of a statement that the database stopped after `seconds`,
    // the connection's statement timeout.
    static DbError statementTimeout(int seconds);
    // The error of a commit that the database did not answer within
    // `waitedMs`: its connection was abandoned, and whether the
    // transaction was kept is not known.
    static DbError commitNotAnswered(qint64 waitedMs);
    // The error of a commit whose link to the server was lost before the
    // answer came, with the provider's words: whether the transaction was
    // kept is not known.
    static DbError commitLinkLost(const QString &providerText, const QString &sqlState);
    const char *what() const noexcept override { return mWhat.c_str(); }

    // Maps a SQLSTATE to the error number: class 42 (and SQLite's own SQL
    // errors, reported as 42000) are errors in the command; 07, 22 and the
    // driver's general HY000/S1000 are "errors occurred"; the rest E_FAIL.
    static qint32 numberForSqlState(const QString &sqlState);

private:
    qint32 mNumber;
    QString mDescription;
    QString mSqlState;
    Kind mKind = Kind::Other;
    std::string mWhat;
};

// The lock timeouts of the statements the calling thread ran: how many so
// far, and the description of the last one. A caller whose work reports
// failures as text learns so whether a failure was a lock that did not come.
struct LockTimeoutNote {
    quint64 count = 0;
    QString description;
};
LockTimeoutNote lastLockTimeout();

} // namespace db
