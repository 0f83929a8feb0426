#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>

namespace db {

class DbfTable;

// The index files of a DBF folder and the names their expressions use.
// Vamor rebuilds no index, so a column an index may use must not change.
//
// dBase III (.ndx), Clipper (.ntx) and FoxPro (.idx) programs name their
// index files freely (PLSUMA.NTX for plati.dbf), and nothing in such a file
// says which table it belongs to: each of them counts for every table of the
// folder. Their key and FOR expressions are read from the header. A compound
// index (.cdx, .mdx) named after a table of the folder is that table's
// structural index and counts for it alone; one with any other name counts
// for every table. A compound file is searched whole for the name.
// A name counts only as a whole identifier, in any case: STR(SUMA,12,2)+NR
// uses SUMA, SUMAX and UPPER(OBS) do not.
class DbfIndexFiles {
public:
    // Why `column` of `table` may not change ("" when it may): an index file
    // that may use it, one whose header cannot be read (then no column of
    // any table it may belong to may change), a dBase IV production index
    // tag on it, or a production index the header announces but the folder
    // lacks.
    QString obstacle(const DbfTable &table, const QString &column);

private:
    struct Index {
        qint64 size = -1;
        qint64 modified = 0;
        QSet<QByteArray> names; // upper case
        QString unreadable;     // why the header cannot be read; "" when it can
    };
    // Read once while the file keeps its size and time of change.
    const Index &index(const QString &path, const QString &suffix);

    QHash<QString, Index> mIndexes;
};

} // namespace db
