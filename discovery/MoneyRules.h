#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Whether a numeric column of a user's table holds money: the evidence a
// bookkeeper would weigh (the column's type, its keys, its name and its
// table's name, the values of a sample of rows), each piece with a weight
// and the words that tell it. Every rule lives here.
namespace discovery {

// What was read of one numeric column.
struct ColumnFacts {
    QString table;
    QString column;
    QString typeName; // as the database declares it: "DECIMAL(15,2)", "INTEGER", "N(12,2)"
    int adoType = 0;
    int scale = -1; // decimals the column keeps; -1 not fixed
    bool primaryKey = false;
    bool foreignKey = false;
    bool indexed = false; // in an index that is not the primary key

    // The sample (the first rows of the table):
    qint64 sampled = 0;         // rows read
    qint64 filled = 0;          // of them, with a value
    QString minValue, maxValue; // decimal texts; "" when no value
    QStringList examples;       // a few distinct values
    qint64 wholeHundreds = 0;   // values that are whole multiples of 100 (0 excluded)
    qint64 nonZero = 0;         // values other than 0
    qint64 yearLike = 0;        // whole values from 1900 to 2100
    qint64 longOdd = 0;         // whole values of 8 digits or more that are not multiples of 10
    int maxDecimals = 0;        // the most decimals a value shows (trailing zeros left out)
    int maxWholeDigits = 0;     // the most digits before the point
};

// Adds one value, as the database wrote it (a decimal text), to the facts.
void addSampleValue(ColumnFacts &facts, const QString &value);

// The verdict on one column.
struct Verdict {
    int score = 0;
    bool proposed = false;
    QStringList evidenceFor;     // "tip DECIMAL(15,2)", "numele contine 'suma'", ...
    QStringList evidenceAgainst; // "cheie primara", "numele contine 'cod'", ...
    // Both lists in one text: "pentru: ...; impotriva: ...", the side that
    // decided first when `decidingFirst`.
    QString evidenceText(bool decidingFirst = false) const;
};

Verdict judge(const ColumnFacts &facts);

// The words of a name, in lower case and without diacritics: "SumaTotala"
// gives "suma", "totala"; "VAL_FACT_2" gives "val", "fact", "2".
QStringList nameWords(const QString &name);

} // namespace discovery
