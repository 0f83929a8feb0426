#include "data/db/Recordset.h"

#include "data/db/DbError.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace db {

namespace {

constexpr qint32 ADO_E_INVALIDARGUMENT = static_cast<qint32>(0x800A0BB9u);

struct FilterTerm {
    int column = -1;
    Variant value;
};

bool termMatches(const FilterTerm &term, const QList<Variant> &row)
{
    const Variant &cell = row.at(term.column);
    if (cell.isNull() || cell.isEmpty())
        return false;
    if (term.value.isText())
        return cell.toString().compare(term.value.toString(), Qt::CaseInsensitive) == 0;
    if (cell.isText()) {
        bool ok = false;
        const double d = cell.toString().trimmed().toDouble(&ok);
        return ok && d == term.value.toDouble();
    }
    return cell == term.value;
}

} // namespace

Recordset::Recordset(QList<Column> columns, std::vector<QList<Variant>> rows,
                     std::shared_ptr<RecordsetWriter> writer)
    : mOpen(true), mColumns(std::move(columns)), mRows(std::move(rows)), mWriter(std::move(writer))
{
    applyFilter();
}

void Recordset::close()
{
    mOpen = false;
    mRows.clear();
    mVisible.clear();
    mWriter.reset();
    mEditMode = EditMode::None;
}

void Recordset::checkOpen() const
{
    if (!mOpen)
        throw DbError(ADO_E_ILLEGALOPERATION,
                      QCoreApplication::translate("Recordset", "Operatia nu este permisa cand obiectul este inchis."));
}

bool Recordset::eof() const
{
    checkOpen();
    return mPos >= static_cast<int>(mVisible.size());
}

bool Recordset::bof() const
{
    checkOpen();
    return mVisible.empty() || mPos < 0;
}

void Recordset::moveFirst()
{
    checkOpen();
    mEditMode = EditMode::None;
    mPos = 0;
}

void Recordset::moveNext()
{
    checkOpen();
    if (eof())
        throw DbError(ADO_E_NOCURRENTRECORD,
                      QCoreApplication::translate("Recordset", "Nu exista o inregistrare curenta."));
    mEditMode = EditMode::None;
    ++mPos;
}

void Recordset::moveLast()
{
    checkOpen();
    mEditMode = EditMode::None;
    mPos = mVisible.empty() ? 0 : static_cast<int>(mVisible.size()) - 1;
}

int Recordset::recordCount() const
{
    checkOpen();
    return static_cast<int>(mVisible.size());
}

QString Recordset::fieldName(int index) const
{
    if (index < 0 || index >= mColumns.size())
        throw DbError(ADO_E_ITEMNOTFOUND,
                      QCoreApplication::translate("Recordset", "Elementul nu poate fi gasit in colectie."));
    return mColumns.at(index).name;
}

int Recordset::fieldType(int index) const
{
    if (index < 0 || index >= mColumns.size())
        throw DbError(ADO_E_ITEMNOTFOUND,
                      QCoreApplication::translate("Recordset", "Elementul nu poate fi gasit in colectie."));
    return mColumns.at(index).adoType;
}

int Recordset::fieldType(const QString &name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(
            ADO_E_ITEMNOTFOUND,
            QCoreApplication::translate("Recordset", "Campul \"%1\" nu poate fi gasit in colectie.").arg(name));
    return mColumns.at(i).adoType;
}

int Recordset::fieldIndex(const QString &name) const
{
    for (int i = 0; i < mColumns.size(); ++i)
        if (mColumns.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    // "Table.Column" asked of a recordset that names its columns plainly.
    const int dot = static_cast<int>(name.lastIndexOf(QLatin1Char('.')));
    if (dot >= 0)
        return fieldIndex(name.mid(dot + 1));
    return -1;
}

const QList<Variant> &Recordset::currentRow() const
{
    checkOpen();
    if (mPos < 0 || mPos >= static_cast<int>(mVisible.size()))
        throw DbError(ADO_E_NOCURRENTRECORD,
                      QCoreApplication::translate("Recordset", "Nu exista o inregistrare curenta."));
    return mRows.at(mVisible.at(mPos));
}

Variant Recordset::value(const QString &name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(
            ADO_E_ITEMNOTFOUND,
            QCoreApplication::translate("Recordset", "Campul \"%1\" nu poate fi gasit in colectie.").arg(name));
    return value(i);
}

Variant Recordset::value(int index) const
{
    checkOpen();
    if (index < 0 || index >= mColumns.size())
        throw DbError(ADO_E_ITEMNOTFOUND,
                      QCoreApplication::translate("Recordset", "Elementul nu poate fi gasit in colectie."));
    if (mEditMode != EditMode::None && mEditSet.at(index))
        return mEditValues.at(index);
    if (mEditMode == EditMode::Add)
        return Variant::null();
    return currentRow().at(index);
}

void Recordset::setFilter(const QString &filter)
{
    checkOpen();
    mFilter = filter.trimmed();
    mEditMode = EditMode::None;
    applyFilter();
}

void Recordset::applyFilter()
{
    mVisible.clear();
    mPos = 0;
    std::vector<FilterTerm> terms;
    if (!mFilter.isEmpty()) {
        // Terms "Column = value" joined by AND; values are numbers, 'text'
        // (a quote written twice inside) or True/False.
        static const QRegularExpression termRe(
            QStringLiteral(R"(^\s*\[?([^=\]]+?)\]?\s*=\s*('(?:[^']|'')*'|[-+]?\d+(?:\.\d+)?|True|False)\s*(?:AND\s+|$))"),
            QRegularExpression::CaseInsensitiveOption);
        QString rest = mFilter;
        while (!rest.trimmed().isEmpty()) {
            const auto m = termRe.match(rest);
            if (!m.hasMatch())
                throw DbError(
                    ADO_E_INVALIDARGUMENT,
                    QCoreApplication::translate("Recordset", "Filtrul \"%1\" nu poate fi aplicat.").arg(mFilter));
            FilterTerm term;
            term.column = fieldIndex(m.captured(1).trimmed());
            if (term.column < 0)
                throw DbError(ADO_E_ITEMNOTFOUND,
                              QCoreApplication::translate("Recordset", "Campul \"%1\" nu poate fi gasit in colectie.")
                                  .arg(m.captured(1).trimmed()));
            const QString v = m.captured(2);
            if (v.startsWith(QLatin1Char('\'')))
                term.value = Variant(v.mid(1, v.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'")));
            else if (v.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
                term.value = Variant(true);
            else if (v.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
                term.value = Variant(false);
            else if (v.contains(QLatin1Char('.')))
                term.value = Variant(v.toDouble());
            else
                term.value = Variant(v.toLongLong());
            terms.push_back(term);
            rest = rest.mid(m.capturedLength(0));
        }
    }
    for (int r = 0; r < static_cast<int>(mRows.size()); ++r) {
        bool ok = true;
        for (const auto &term : terms)
            if (!termMatches(term, mRows.at(r))) {
                ok = false;
                break;
            }
        if (ok)
            mVisible.push_back(r);
    }
}

void Recordset::addNew()
{
    checkOpen();
    if (!mWriter)
        throw DbError(ADO_E_ILLEGALOPERATION,
                      QCoreApplication::translate("Recordset", "Setul de inregistrari nu poate fi actualizat."));
    mEditMode = EditMode::Add;
    mEditValues = QList<Variant>(mColumns.size(), Variant::null());
    mEditSet = QList<bool>(mColumns.size(), false);
}

void Recordset::setValue(const QString &name, const Variant &value)
{
    checkOpen();
    if (!mWriter)
        throw DbError(ADO_E_ILLEGALOPERATION,
                      QCoreApplication::translate("Recordset", "Setul de inregistrari nu poate fi actualizat."));
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(
            ADO_E_ITEMNOTFOUND,
            QCoreApplication::translate("Recordset", "Campul \"%1\" nu poate fi gasit in colectie.").arg(name));
    if (mEditMode == EditMode::None) {
        mEditValues = currentRow();
        mEditSet = QList<bool>(mColumns.size(), false);
        mEditMode = EditMode::Edit;
    }
    mEditValues[i] = value.isEmpty() ? Variant::null() : value;
    mEditSet[i] = true;
}

void Recordset::update()
{
    checkOpen();
    if (mEditMode == EditMode::None)
        return;
    if (mEditMode == EditMode::Add) {
        QList<Variant> stored = mWriter->insertRow(mColumns, mEditValues, mEditSet);
        mRows.push_back(stored);
        mVisible.push_back(static_cast<int>(mRows.size()) - 1);
        mPos = static_cast<int>(mVisible.size()) - 1;
    } else {
        const int row = mVisible.at(mPos);
        mWriter->updateRow(mColumns, mRows.at(row), mEditValues, mEditSet);
        mRows[row] = mEditValues;
    }
    mEditMode = EditMode::None;
}

void Recordset::cancelUpdate()
{
    mEditMode = EditMode::None;
}

} // namespace db
