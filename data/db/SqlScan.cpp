#include "data/db/SqlScan.h"

#include <QCoreApplication>
#include <QList>

#include <algorithm>

namespace db {

namespace {

// One way of reading the text.
struct Reading {
    bool backslashInSingle = false; // '\'' escapes a quote in '…'
    bool backslashInDouble = false; // and in "…"
    bool nestedComments = false;    // /* /* */ */ is one comment
    bool dollarQuotes = false;      // PostgreSQL $tag$ … $tag$
    bool eStrings = false;          // PostgreSQL E'…' with backslash escapes
    bool brackets = false;          // […] quotes a name
    bool bracketEscape = false;     // "]]" inside […] is a "]"
    bool backticks = false;         // `…` quotes a name
    bool hashComments = false;      // # to the end of the line
    bool dashDashNeedsBlank = false; // MySQL: "--" starts a comment only before a blank
    bool executableComments = false; // MySQL: /*! … */ and /*M! … */ are code
};

QList<Reading> readingsOf(SqlDialect dialect)
{
    QList<Reading> readings;
    switch (dialect) {
    case SqlDialect::Sqlite: {
        Reading r;
        r.brackets = r.backticks = true;
        readings << r;
        break;
    }
    case SqlDialect::PostgreSql:
        // A server with standard_conforming_strings off reads backslashes in
        // '…'; the driver may split text with comments it does not nest.
        for (bool backslash : {false, true})
            for (bool nested : {true, false}) {
                Reading r;
                r.dollarQuotes = r.eStrings = true;
                r.backslashInSingle = backslash;
                r.nestedComments = nested;
                readings << r;
            }
        break;
    case SqlDialect::MySql:
        // NO_BACKSLASH_ESCAPES and ANSI_QUOTES change how strings end.
        for (bool single : {true, false})
            for (bool dbl : {true, false})
                for (bool needsBlank : {true, false}) {
                    Reading r;
                    r.backticks = r.hashComments = r.executableComments = true;
                    r.backslashInSingle = single;
                    r.backslashInDouble = dbl;
                    r.dashDashNeedsBlank = needsBlank;
                    readings << r;
                }
        break;
    case SqlDialect::Generic:
        for (bool backslash : {false, true})
            for (bool nested : {false, true})
                for (bool bracketEscape : {true, false}) {
                    Reading r;
                    r.brackets = r.backticks = true;
                    r.backslashInSingle = r.backslashInDouble = backslash;
                    r.nestedComments = nested;
                    r.bracketEscape = bracketEscape;
                    readings << r;
                }
        break;
    }
    return readings;
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$') || c.unicode() >= 0x80;
}

bool isWordStart(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c.unicode() >= 0x80;
}

bool isBlank(QChar c)
{
    return c.isSpace() || c.unicode() < 0x20;
}

class Scanner {
public:
    Scanner(const QString &sql, const Reading &reading) : s(sql), n(sql.size()), r(reading) {}

    int count()
    {
        while (i < n) {
            const QChar c = s.at(i);
            if (isBlank(c)) {
                ++i;
            } else if (c == QLatin1Char(';')) {
                ++i;
                // Inside a routine body a ";" ends the statement only
                // right after END (as sqlite3_complete reads a trigger).
                if (blockMode && depth > 0 && !lastWasEnd)
                    continue;
                endStatement();
            } else if (startsLineComment()) {
                while (i < n && s.at(i) != QLatin1Char('\n'))
                    ++i;
            } else if (c == QLatin1Char('/') && at(1) == QLatin1Char('*')) {
                blockComment();
            } else if (r.executableComments && c == QLatin1Char('*') && at(1) == QLatin1Char('/') && openExecutable > 0) {
                --openExecutable;
                i += 2;
                lastWasEnd = false;
            } else if (c == QLatin1Char('\'')) {
                quoted(QLatin1Char('\''), QLatin1Char('\''), r.backslashInSingle, true);
            } else if (c == QLatin1Char('"')) {
                quoted(QLatin1Char('"'), QLatin1Char('"'), r.backslashInDouble, true);
            } else if (r.backticks && c == QLatin1Char('`')) {
                quoted(QLatin1Char('`'), QLatin1Char('`'), false, true);
            } else if (r.brackets && c == QLatin1Char('[')) {
                quoted(QLatin1Char('['), QLatin1Char(']'), false, r.bracketEscape);
            } else if (r.dollarQuotes && c == QLatin1Char('$') && dollarQuote()) {
                content = true;
                lastWasEnd = false;
            } else if (isWordStart(c)) {
                word();
            } else {
                // The name of a routine comes before its parameters.
                if (c == QLatin1Char('('))
                    inHeader = false;
                content = true;
                lastWasEnd = false;
                ++i;
            }
        }
        endStatement();
        return statements;
    }

private:
    QChar at(qsizetype offset) const { return i + offset < n ? s.at(i + offset) : QChar(); }

    void endStatement()
    {
        if (content)
            ++statements;
        content = false;
        blockMode = false;
        depth = 0;
        wordsSeen = 0;
        inHeader = false;
        lastWasEnd = false;
    }

    bool startsLineComment() const
    {
        const QChar c = s.at(i);
        if (r.hashComments && c == QLatin1Char('#'))
            return true;
        if (c != QLatin1Char('-') || at(1) != QLatin1Char('-'))
            return false;
        // MySQL: "--" at the very end is followed by no blank either.
        return !r.dashDashNeedsBlank || (i + 2 < n && isBlank(at(2)));
    }

    void blockComment()
    {
        if (r.executableComments && at(2) == QLatin1Char('!')) {
            i += 3;
            ++openExecutable;
            return;
        }
        if (r.executableComments && at(2) == QLatin1Char('M') && at(3) == QLatin1Char('!')) {
            i += 4;
            ++openExecutable;
            return;
        }
        i += 2;
        int level = 1;
        while (i < n && level > 0) {
            if (s.at(i) == QLatin1Char('*') && at(1) == QLatin1Char('/')) {
                --level;
                i += 2;
            } else if (r.nestedComments && s.at(i) == QLatin1Char('/') && at(1) == QLatin1Char('*')) {
                ++level;
                i += 2;
            } else {
                ++i;
            }
        }
    }

    // A quoted string or name from the opening character at i; a doubled
    // closing character stands for itself when `doubling` is on.
    void quoted(QChar open, QChar close, bool backslash, bool doubling)
    {
        Q_UNUSED(open);
        content = true;
        lastWasEnd = false;
        ++i;
        while (i < n) {
            const QChar c = s.at(i);
            if (backslash && c == QLatin1Char('\\')) {
                i += 2;
            } else if (c == close) {
                if (doubling && at(1) == close) {
                    i += 2;
                } else {
                    ++i;
                    return;
                }
            } else {
                ++i;
            }
        }
        i = n;
    }

    // $tag$ … $tag$; false (nothing consumed) when the "$" opens no quote.
    bool dollarQuote()
    {
        qsizetype j = i + 1;
        if (j < n && isWordStart(s.at(j)) && !s.at(j).isDigit()) {
            while (j < n && isWordStart(s.at(j)))
                ++j;
        }
        if (j >= n || s.at(j) != QLatin1Char('$'))
            return false;
        const QString tag = s.mid(i, j - i + 1);
        const qsizetype end = s.indexOf(tag, j + 1);
        i = end < 0 ? n : end + tag.size();
        return true;
    }

    void word()
    {
        const qsizetype start = i;
        while (i < n && isWordChar(s.at(i)))
            ++i;
        content = true;
        const QString w = s.mid(start, i - start).toUpper();
        if (r.eStrings && (w == QLatin1String("E")) && i < n && s.at(i) == QLatin1Char('\'')) {
            quoted(QLatin1Char('\''), QLatin1Char('\''), true, true);
            return;
        }
        ++wordsSeen;
        const bool isEnd = w == QLatin1String("END");
        // The routine bodies of CREATE [OR REPLACE] [TEMP] TRIGGER,
        // PROCEDURE, FUNCTION and EVENT hold statements of their own
        // between BEGIN and END.
        if (wordsSeen == 1) {
            inHeader = w == QLatin1String("CREATE");
        } else if (inHeader) {
            if (w == QLatin1String("TRIGGER") || w == QLatin1String("PROCEDURE") || w == QLatin1String("FUNCTION")
                || w == QLatin1String("EVENT")) {
                blockMode = true;
                inHeader = false;
            } else if (w != QLatin1String("OR") && w != QLatin1String("REPLACE") && w != QLatin1String("TEMP")
                       && w != QLatin1String("TEMPORARY") && w != QLatin1String("CONSTRAINT")
                       && w != QLatin1String("AGGREGATE") && w != QLatin1String("DEFINER")
                       && w != QLatin1String("CURRENT_USER")) {
                inHeader = false;
            }
        } else if (blockMode) {
            if (w == QLatin1String("BEGIN") || w == QLatin1String("CASE"))
                ++depth;
            else if (isEnd && depth > 0 && !endsABlockOtherThanBegin())
                --depth;
        }
        lastWasEnd = isEnd;
    }

    // MySQL's END IF, END LOOP, END WHILE, END REPEAT close what BEGIN did not open.
    bool endsABlockOtherThanBegin() const
    {
        qsizetype j = i;
        while (j < n && isBlank(s.at(j)))
            ++j;
        qsizetype k = j;
        while (k < n && isWordChar(s.at(k)))
            ++k;
        const QString next = s.mid(j, k - j).toUpper();
        return next == QLatin1String("IF") || next == QLatin1String("LOOP") || next == QLatin1String("WHILE")
               || next == QLatin1String("REPEAT") || next == QLatin1String("FOR");
    }

    const QString &s;
    const qsizetype n;
    const Reading r;
    qsizetype i = 0;
    int statements = 0;
    bool content = false;
    bool inHeader = false;   // between CREATE and the kind of object it makes
    bool blockMode = false;  // in a CREATE TRIGGER, PROCEDURE, FUNCTION or EVENT
    bool lastWasEnd = false; // the last token was the word END
    int depth = 0;
    int wordsSeen = 0;
    int openExecutable = 0;
};

} // namespace

int countStatements(const QString &sql, SqlDialect dialect)
{
    int most = 0;
    for (const Reading &reading : readingsOf(dialect))
        most = std::max(most, Scanner(sql, reading).count());
    return most;
}

QString multipleStatementsMessage()
{
    return QCoreApplication::translate("SqlScan",
                                       "Comanda contine mai multe instructiuni SQL; este permisa una singura.");
}

bool isWellFormedText(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QChar::ReplacementCharacter || c.isLowSurrogate())
            return false;
        if (c.isHighSurrogate()) {
            if (i + 1 == text.size() || !text.at(i + 1).isLowSurrogate())
                return false;
            ++i;
        }
    }
    return true;
}

QString malformedTextMessage(TextSubject what)
{
    // %1 is the sign shown in place of such characters.
    const QString sign(QChar::ReplacementCharacter);
    switch (what) {
    case TextSubject::Command:
        return QCoreApplication::translate("SqlScan", "Comanda contine caractere care nu sunt text UTF-8 valid "
                                                      "(afisate ca \"%1\"); corectati textul.")
            .arg(sign);
    case TextSubject::WhereClause:
        return QCoreApplication::translate("SqlScan", "Clauza WHERE contine caractere care nu sunt text UTF-8 valid "
                                                      "(afisate ca \"%1\"); corectati textul.")
            .arg(sign);
    case TextSubject::FieldName:
        return QCoreApplication::translate("SqlScan", "Numele campului contine caractere care nu sunt text UTF-8 "
                                                      "valid (afisate ca \"%1\"); corectati textul.")
            .arg(sign);
    case TextSubject::TableName:
        return QCoreApplication::translate("SqlScan", "Numele tabelului contine caractere care nu sunt text UTF-8 "
                                                      "valid (afisate ca \"%1\"); corectati textul.")
            .arg(sign);
    }
    return malformedTextMessage(TextSubject::Command);
}

} // namespace db
