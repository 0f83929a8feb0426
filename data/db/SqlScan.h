#pragma once

#include <QString>
#include <QStringView>

namespace db {

// How an engine reads the text of a command: which characters quote, which
// start comments, whether a backslash escapes inside a string.
enum class SqlDialect {
    Generic,    // any other ODBC driver: '…' "…" `…` […], -- and /* */ comments
    Sqlite,     // '…' "…" `…` […], -- and /* */ (not nested)
    PostgreSql, // '…' E'…' "…" $tag$…$tag$, -- and nested /* */
    MySql,      // '…' "…" with backslash escapes, `…`, #, "-- " and /* */, /*! … */ runs as code
};

// The number of statements in `sql`: the pieces between ";" separators that
// hold anything besides blanks and comments. A ";" inside quotes, comments,
// PostgreSQL dollar quotes or the BEGIN … END body of a CREATE TRIGGER,
// PROCEDURE, FUNCTION or EVENT does not separate.
//
// Where engines of a dialect may read the same text in more than one way
// (backslash escapes on or off, nested comments or not), every reading is
// tried and the highest count is given: text that any of them would run as
// two statements counts as two. Never throws; any text is accepted.
int countStatements(const QString &sql, SqlDialect dialect = SqlDialect::Generic);

// True when `sql` holds at most one statement (trailing blanks, comments and
// one final ";" allowed).
inline bool isSingleStatement(const QString &sql, SqlDialect dialect = SqlDialect::Generic)
{
    return countStatements(sql, dialect) <= 1;
}

// The message of the error a command with more than one statement gets.
QString multipleStatementsMessage();

// True when `text` is what valid UTF-8 decodes to: no U+FFFD, which
// QString::fromUtf8 (and so the SQLite provider reading a name or a stored
// clause) puts in place of bytes that are not UTF-8, and no half of a
// surrogate pair, which UTF-8 cannot carry. Conditions and names are checked with it before any
// scanning: what the scanner reads must be what every engine is sent.
bool isWellFormedText(QStringView text);

// The texts the program checks with `isWellFormedText`.
enum class TextSubject {
    Command,     // "Comanda"
    WhereClause, // "Clauza WHERE"
    FieldName,   // "Numele campului"
    TableName,   // "Numele tabelului"
};

// The message that refuses a text `isWellFormedText` does not accept: one
// whole sentence for each subject.
QString malformedTextMessage(TextSubject what);

} // namespace db
