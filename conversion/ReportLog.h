#pragma once

#include "conversion/ConversionInterfaces.h"
#include "data/Changeover.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace conversion {

// "Conversie din Lei VECHI in Lei NOI" or the other way round, in the
// changeover's names ("Conversie din BGN in EUR").
QString directionTitle(bool toLeiNoi, const Changeover &changeover = Changeover());

// The content of one run's report: start and end times, end status, one row
// per field whose conversion was attempted, and the texts made from them.
// The report window shows these texts; the command-line run prints them.
class ReportLog : public IConversionReport {
public:
    struct Row {
        QString dataSource;
        QString tableName;
        QString fieldName;
        qint32 recCount = 0;
        QString error;
        QString note;
    };

    void ConvertStart() override;
    void AddField(const QString &pstrDataSource, const QString &pstrTableName, const QString &pstrFieldName,
                  qint32 plngRecCount, const QString &pstrError, const QString &pstrNote = QString()) override;
    void ConvertEnd(const QString &pstrEndStatus) override;
    void AddSourceSkipped(const QString &pstrDataSource, const QString &pstrReason, qint32 plngFieldCount) override;
    void StartField(const QString &condition) override;
    void SetLastFieldTime(qint64 ms) override;
    bool WantsTotals() const override { return mWantsTotals; }
    void AddFieldTotals(const FieldTotals &totals) override;
    // Control totals are read unless the run is told otherwise (--no-totals).
    void setWantsTotals(bool wanted) { mWantsTotals = wanted; }
    // The project's changeover: the currencies the totals' headers name.
    void setChangeover(const Changeover &changeover) { mChangeover = changeover; }
    const Changeover &changeover() const { return mChangeover; }
    // The totals of the fields, each with the index of its row in rows().
    const QList<QPair<qsizetype, FieldTotals>> &fieldTotals() const { return mTotals; }

    // One line of the totals: a field, the total of a data source, or the
    // total of the run (empty table and field).
    struct TotalsRow {
        enum class Kind { Field, Source, Run };
        Kind kind = Kind::Field;
        QString dataSource;
        QString tableName;
        QString fieldName;
        QStringList values; // in the order of totalsHeader()
    };
    // The fields with totals in report order, each data source's total after
    // its last field, and the run's total last; empty when no field has totals.
    QList<TotalsRow> totalsRows() const;
    // The section of control totals in the saved report: 30 hyphens,
    // "Totaluri de control", a quoted header line, then one quoted record per
    // totals row; amounts with a decimal point and no thousands separators.
    // Empty when no field has totals.
    QString totalsText() const;

    // For tests: the times are set rather than read from the clock.
    void setTimes(const QDateTime &start, const QDateTime &end);

    const QList<Row> &rows() const { return mRows; }
    int errorCount() const { return mErrorCount; }
    const QDateTime &startTime() const { return mStart; }
    const QDateTime &endTime() const { return mEnd; }

    // "Inceput Conversie: …", "Final Conversie: …" and the end status when
    // there is one.
    // The dates of a saved, printed or copied report follow the system's
    // regional settings; in a window they follow the program's language.
    enum class Dates { Saved, Shown };
    QStringList titleLines(Dates dates = Dates::Saved) const;
    // Whether `line` reads as the first (`index` 0) or the second (1) of the
    // title lines, as a report written in Romanian or in the language the
    // program shows now has them.
    static bool isTitleLine(int index, const QString &line);
    // "n campuri din m convertite cu succes" and, when there were errors,
    // "e erori de conversie"; then one line per data source passed over.
    QStringList totalLines() const;
    // The saved report: title, 30 hyphens, totals, 30 hyphens, one quoted
    // record per row; every line ends with CR LF. A row's note follows its
    // count: "12 inregistrari (Sume rotunjite la 0 zecimale)".
    QString fileText() const;
    // How long each row's field took, from StartField to its AddField, in
    // milliseconds; -1 for a row added without StartField. Parallel to rows().
    const QList<qint64> &fieldTimes() const { return mFieldTimes; }
    // The section of field times that follows the rows in the saved report:
    // 30 hyphens, "Durata pe camp", then one quoted record per row (data
    // source, table, field, "00:01:05.3"). Empty when no row was timed.
    QString fieldTimesText() const;
    // Gives fileText() to `sink` piece by piece (a line, a section head), so
    // that a long report is never held whole.
    void writeText(const std::function<void(const QString &)> &sink) const;
    // Writes fileText() to `path` in UTF-8, replacing the whole file. Throws
    // DbError with the reason when the file cannot be written.
    void saveToFile(const QString &path) const;

    // A date and time as the system's regional settings write them (as
    // the program's language writes them, `Dates::Shown`): short date, then
    // the time with seconds.
    static QString formatTime(const QDateTime &time, Dates dates = Dates::Saved);

private:
    void forEachTotalsRow(const std::function<void(const TotalsRow &)> &visit) const;
    void writeTotals(const std::function<void(const QString &)> &sink) const;
    void writeFieldTimes(const std::function<void(const QString &)> &sink) const;

    QDateTime mStart;
    QDateTime mEnd;
    QString mEndStatus;
    QList<Row> mRows;
    QStringList mSkipped;
    int mErrorCount = 0;
    bool mWantsTotals = true;
    Changeover mChangeover;
    QList<QPair<qsizetype, FieldTotals>> mTotals; // row index, totals
    QElapsedTimer mFieldTimer;
    QList<qint64> mFieldTimes;
};

} // namespace conversion
