#pragma once

#include "data/db/Variant.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace db {

enum class CursorType { ForwardOnly, Static };
enum class LockType { ReadOnly, Optimistic };

struct Column {
    QString name;
    int adoType = 0; // AdoType number
};

// Writes added or edited rows of a recordset back to its one base table.
// Given by the provider when the recordset may be updated.
class RecordsetWriter {
public:
    virtual ~RecordsetWriter() = default;
    // Inserts a row with the columns marked as set; returns the stored row in
    // column order (autonumber and defaults filled in).
    virtual QList<Variant> insertRow(const QList<Column> &columns, const QList<Variant> &values,
                                     const QList<bool> &set) = 0;
    // Updates the row whose values were `original` with the columns marked as set.
    virtual void updateRow(const QList<Column> &columns, const QList<Variant> &original,
                           const QList<Variant> &values, const QList<bool> &set) = 0;
};

// A static snapshot of the rows a statement returned. A filter narrows the
// visible rows without reading again. A recordset opened with a writer may
// add rows (AddNew, set values, Update) and edit the current row.
class Recordset {
public:
    Recordset() = default;
    Recordset(QList<Column> columns, std::vector<QList<Variant>> rows,
              std::shared_ptr<RecordsetWriter> writer = nullptr);

    bool isOpen() const { return mOpen; }
    void close();

    bool eof() const;
    bool bof() const;
    void moveFirst();
    void moveNext();
    void moveLast();
    // Rows visible through the filter.
    int recordCount() const;

    int fieldCount() const { return static_cast<int>(mColumns.size()); }
    const QList<Column> &columns() const { return mColumns; }
    QString fieldName(int index) const;
    int fieldType(int index) const;
    int fieldType(const QString &name) const;
    // Index of a column by name without regard to case; -1 when missing.
    int fieldIndex(const QString &name) const;

    // Values of the current row. A name the recordset lacks, or no current
    // row, throws DbError.
    Variant value(const QString &name) const;
    Variant value(int index) const;
    Variant operator[](const QString &name) const { return value(name); }

    // "Col = 5", "Col = 'text'" (text compared without regard to case),
    // "Col = True"/"False"; "" shows all rows. Moves to the first visible row.
    void setFilter(const QString &filter);
    const QString &filter() const { return mFilter; }

    bool updatable() const { return mWriter != nullptr; }
    // Starts a new row; its values are set with setValue and stored by update.
    void addNew();
    // Sets a value of the new row, or of the current row for an edit.
    void setValue(const QString &name, const Variant &value);
    // Stores the new or edited row; after an insert the row (with its
    // autonumber) becomes the current row.
    void update();
    void cancelUpdate();

private:
    void checkOpen() const;
    const QList<Variant> &currentRow() const;
    void applyFilter();

    bool mOpen = false;
    QList<Column> mColumns;
    std::vector<QList<Variant>> mRows;
    std::vector<int> mVisible; // indexes into mRows
    int mPos = 0;              // index into mVisible
    QString mFilter;
    std::shared_ptr<RecordsetWriter> mWriter;

    enum class EditMode { None, Edit, Add };
    EditMode mEditMode = EditMode::None;
    QList<Variant> mEditValues;
    QList<bool> mEditSet;
};

} // namespace db
