#pragma once

#include "data/db/Variant.h"
#include "data/db/dbf/DbfTableGuard.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace db {

// One column of a DBF table as its header describes it.
struct DbfField {
    QString name;       // as stored (ASCII, at most 10 characters)
    char type = 'C';    // C N F L D M (dBase); also Y I B T and the hidden 0 (_NullFlags) in Visual FoxPro
    int length = 0;     // bytes in the record
    int decimals = 0;
    quint8 flags = 0;   // Visual FoxPro: 0x01 hidden, 0x02 may be Null, 0x04 binary
    bool indexed = false; // dBase IV: the production index has a tag on it
    QByteArray descriptor; // the 32 header bytes as read; empty for a new column
    int offset = 0;     // where the value starts in a record (after the deleted flag)
    int nullBit = -1;   // its bit in _NullFlags, -1 when it has none
    int id = -1;        // tells the column apart while the layout changes
};

// A DBF table held in memory: header, column descriptions and the raw
// records. Records keep every byte of the file, so values nobody changes,
// the deleted flags and the memo pointers are written back exactly as read.
// The memo file (.dbt or .fpt) is only read: memo texts are never changed.
class DbfTable {
public:
    // Reads the whole table. Throws DbError with a clear message when the
    // file cannot be read or is not a DBF table.
    static DbfTable read(const QString &path);

    const QString &path() const { return mPath; }
    // The file as it was read, to tell whether another program changed it since.
    const DbfFileStamp &stamp() const { return mStamp; }
    bool isVisualFoxPro() const;
    quint8 version() const { return mVersion; }
    quint8 codePage() const { return mCodePage; }
    // Header byte 28: a production index (.cdx, .mdx) belongs to the table.
    bool hasProductionIndex() const { return (mTableFlags & 0x01) != 0; }

    // The columns a user sees (the hidden _NullFlags left out).
    QList<DbfField> columns() const;
    int columnIndex(const QString &name) const; // -1 when absent; any case
    int recordCount() const { return static_cast<int>(mRecords.size()); }
    bool isDeleted(int record) const { return mRecords.at(record).at(0) == '*'; }

    // The value of a user column (index into columns()): Null, an integer
    // (I, L as 0/1), a double (B), exact decimal text (N, F, Y), or text (C,
    // M, D as YYYY-MM-DD, T as YYYY-MM-DD HH:MM:SS).
    Variant value(int record, int column) const;
    // Writes a value into a record. Throws DbError when it does not fit the
    // column exactly (a number too wide, more decimals than the column
    // keeps) or the column is a memo.
    void setValue(int record, int column, const Variant &value);

    // Adds a column at the end (Null in every record; in a Visual FoxPro
    // table it may hold Null). `type`: C, N, F, L, D; in Visual FoxPro also
    // Y, I, B, T. Throws DbError on a bad name, type or size.
    void addColumn(const QString &name, char type, int length, int decimals);
    void dropColumn(int column);

    // The bytes of the table's file as it now is. Written through
    // DbfTableGuard::replace, to a new file in the same folder renamed over
    // the old one: a crash leaves the old table or the new one whole.
    QByteArray bytes() const;

    // The record-layout size (deleted flag included).
    int recordLength() const;

private:
    QString decode(const QByteArray &bytes) const;
    QByteArray encode(const QString &text) const;
    QString memoText(const QByteArray &pointer) const;
    int userToField(int column) const;
    bool nullFlag(const QByteArray &record, int bit) const;
    void relayout(const QList<DbfField> &fields);

    QString mPath;
    DbfFileStamp mStamp;
    QString mMemoPath;
    quint8 mVersion = 0;
    quint8 mCodePage = 0;
    quint8 mTableFlags = 0;
    QByteArray mHeaderRest; // header bytes 12..31 after the sizes, kept
    QByteArray mTrailer = QByteArrayLiteral("\x1A"); // what follows the last record (the end-of-file mark, or nothing)
    QByteArray mTail;       // bytes between the field terminator and the first record (Visual FoxPro's backlink)
    QList<DbfField> mFields;
    QList<QByteArray> mRecords;
    QByteArray mMemo;
    int mMemoBlock = 512;
    int mNextId = 0;
};

} // namespace db
