// The single-statement scanner on any text, in every dialect. It never fails,
// and:
//  - it never counts fewer statements than SQLite itself finds in the text
//    (SQLite dialect): neither the statements SQLite would prepare one after
//    another, as a provider that runs a command's tail would, nor, when
//    SQLite accepts the first statement, the pieces it would run between
//    the semicolons at which the SQLite shell ends a statement;
//  - a text without ";" is at most one statement, and no text holds more
//    statements than it has ";" plus one;
//  - one final ";" and blanks after it change nothing (unless the text
//    ends in "-");
//  - the decoded text passes the check made before any scanning exactly
//    when the bytes are valid UTF-8 (RFC 3629: no overlong forms, no
//    surrogates, nothing above U+10FFFF) that do not spell U+FFFD itself:
//    bytes that are not UTF-8 never reach the scanner as a condition or name.

#include "data/db/SqlScan.h"
#include "tests/fuzz/FuzzSupport.h"

#include <sqlite3.h>

namespace {

const db::SqlDialect kDialects[] = {db::SqlDialect::Generic, db::SqlDialect::Sqlite, db::SqlDialect::PostgreSql,
                                    db::SqlDialect::MySql};

const char *nameOf(db::SqlDialect dialect)
{
    switch (dialect) {
    case db::SqlDialect::Generic: return "Generic";
    case db::SqlDialect::Sqlite: return "Sqlite";
    case db::SqlDialect::PostgreSql: return "PostgreSql";
    case db::SqlDialect::MySql: return "MySql";
    }
    return "?";
}

// A database whose tables the seeds name, so that their statements prepare.
sqlite3 *database()
{
    static sqlite3 *db = [] {
        sqlite3 *d = nullptr;
        sqlite3_open_v2(":memory:", &d, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        sqlite3_exec(d,
                     "CREATE TABLE Facturi (Id INTEGER PRIMARY KEY, Suma DECIMAL(18,2), Suma_VM DECIMAL(18,2), Moneda TEXT);"
                     "CREATE TABLE Victima (Id INTEGER PRIMARY KEY, x TEXT);",
                     nullptr, nullptr, nullptr);
        return d;
    }();
    return db;
}

// Statements SQLite prepares one after another from the start of the text.
int preparedOneAfterAnother(const QByteArray &text)
{
    int count = 0;
    const char *p = text.constData();
    while (*p) {
        sqlite3_stmt *stmt = nullptr;
        const char *tail = nullptr;
        if (sqlite3_prepare_v2(database(), p, -1, &stmt, &tail) != SQLITE_OK)
            break;
        if (stmt != nullptr) {
            ++count;
            sqlite3_finalize(stmt);
        }
        if (tail == nullptr || tail == p)
            break;
        p = tail;
    }
    return count;
}

// True when a piece is a statement SQLite would run.
bool holdsStatement(const QByteArray &piece)
{
    sqlite3_stmt *stmt = nullptr;
    const int rc = sqlite3_prepare_v2(database(), piece.constData(), -1, &stmt, nullptr);
    if (stmt == nullptr)
        return false;
    sqlite3_finalize(stmt);
    return rc == SQLITE_OK;
}

// True when the ";" at `at` ends a statement for sqlite3_complete. A text
// cut inside a "--" comment is complete whenever the text before the comment
// is, so a ";" in such a comment would pass for a separator: it is one only
// when a word in its place leaves the text incomplete (the ";" is then a
// token of its own, not part of a comment).
bool endsStatement(const QByteArray &text, qsizetype at)
{
    const QByteArray before = text.left(at);
    return sqlite3_complete((before + ';').constData()) && !sqlite3_complete((before + 'x').constData());
}

// Pieces between the semicolons that end a statement for sqlite3_complete
// (quotes, comments and trigger bodies taken into account) that SQLite
// would run.
int piecesAsTheShellSplits(const QByteArray &text)
{
    int count = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != ';' || !endsStatement(text, i))
            continue;
        count += holdsStatement(text.mid(start, i + 1 - start));
        start = i + 1;
    }
    count += holdsStatement(text.mid(start));
    return count;
}

// Valid UTF-8 by RFC 3629, read byte by byte (not by Qt's decoder, whose
// result is the one checked).
bool isValidUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char b = p[i];
        int length = 0;
        unsigned char low = 0x80, high = 0xBF; // the range of the second byte
        if (b < 0x80)
            length = 1;
        else if (b >= 0xC2 && b <= 0xDF)
            length = 2;
        else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            if (b == 0xE0)
                low = 0xA0; // no overlong form
            if (b == 0xED)
                high = 0x9F; // no surrogate
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            if (b == 0xF0)
                low = 0x90;
            if (b == 0xF4)
                high = 0x8F; // nothing above U+10FFFF
        } else
            return false;
        if (i + length > n)
            return false;
        for (int k = 1; k < length; ++k) {
            const unsigned char c = p[i + k];
            if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF))
                return false;
        }
        i += length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 8192)
        return 0; // the reference below reads the text once per ";"
    const QString sql = fuzzsupport::textOf(data, size);
    const QByteArray raw = fuzzsupport::bytesOf(data, size);
    const bool wellFormed = isValidUtf8(raw) && !raw.contains("\xEF\xBF\xBD");
    FUZZ_CHECK(db::isWellFormedText(sql) == wellFormed,
               QStringLiteral("the check before scanning %1 the bytes %2")
                   .arg(wellFormed ? QStringLiteral("refuses") : QStringLiteral("accepts"),
                        QString::fromLatin1(raw.toHex())));
    const qsizetype semicolons = sql.count(QLatin1Char(';'));
    for (const db::SqlDialect dialect : kDialects) {
        const int n = db::countStatements(sql, dialect);
        const QString where = QStringLiteral("%1: %2").arg(QLatin1String(nameOf(dialect)), fuzzsupport::printable(sql));
        FUZZ_CHECK(n >= 0 && n <= semicolons + 1, QStringLiteral("%1 statements in ").arg(n) + where);
        // (After a final "-" a ";" may turn "--" from a comment into code,
        // as MySQL reads it.)
        if (!sql.endsWith(QLatin1Char('-'))) {
            FUZZ_CHECK(db::countStatements(sql + QStringLiteral(";"), dialect) == n,
                       QStringLiteral("a final \";\" changes the count %1 of ").arg(n) + where);
            FUZZ_CHECK(db::countStatements(sql + QStringLiteral("; \n"), dialect) == n,
                       QStringLiteral("a final \";\" and blanks change the count %1 of ").arg(n) + where);
        }
    }

    // What SQLite reads, up to the first NUL (SQLite stops there).
    QByteArray text = sql.toUtf8();
    if (const qsizetype nul = text.indexOf('\0'); nul >= 0)
        text.truncate(nul);
    const int n = db::countStatements(sql, db::SqlDialect::Sqlite);
    const int prepared = preparedOneAfterAnother(text);
    FUZZ_CHECK(n >= prepared, QStringLiteral("%1 counted, SQLite prepares %2 one after another: %3")
                                  .arg(n).arg(prepared).arg(fuzzsupport::printable(sql)));
    // A text whose first statement SQLite refuses runs nothing; otherwise
    // the statements the SQLite shell would find are all counted.
    if (prepared > 0) {
        const int pieces = piecesAsTheShellSplits(text);
        FUZZ_CHECK(n >= pieces, QStringLiteral("%1 counted, SQLite ends %2 statements: %3")
                                    .arg(n).arg(pieces).arg(fuzzsupport::printable(sql)));
    }
    return 0;
}
