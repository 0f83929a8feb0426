#include "conversion/ReportLog.h"

#include "data/db/DbError.h"
#include "util/core/Language.h"

#include <QCoreApplication>
#include <QLocale>
#include <QSaveFile>

#include <algorithm>

namespace conversion {

QString directionTitle(bool toLeiNoi, const Changeover &changeover) { return changeover.directionTitle(toLeiNoi); }

namespace {
const QString kCrLf = QStringLiteral("\r\n");
const QString kRule = QString(30, QLatin1Char('-'));

QString quoted(const QString &value) { return QLatin1Char('"') + value + QLatin1Char('"'); }
} // namespace

void ReportLog::ConvertStart() { mStart = QDateTime::currentDateTime(); }

void ReportLog::AddField(const QString &pstrDataSource, const QString &pstrTableName, const QString &pstrFieldName,
                         qint32 plngRecCount, const QString &pstrError, const QString &pstrNote)
{
    mRows.append({pstrDataSource, pstrTableName, pstrFieldName, plngRecCount, pstrError, pstrNote});
    mFieldTimes.append(mFieldTimer.isValid() ? mFieldTimer.elapsed() : -1);
    mFieldTimer.invalidate();
    if (!pstrError.isEmpty())
        ++mErrorCount;
}

void ReportLog::ConvertEnd(const QString &pstrEndStatus)
{
    mEnd = QDateTime::currentDateTime();
    mEndStatus = pstrEndStatus;
}

void ReportLog::AddSourceSkipped(const QString &pstrDataSource, const QString &pstrReason, qint32 plngFieldCount)
{
    mSkipped.append(QCoreApplication::translate("ReportLog", "Sursa de date \"%1\" sarita: %2; %n campuri neconvertite",
                                                nullptr, plngFieldCount)
                        .arg(pstrDataSource, pstrReason));
}

void ReportLog::StartField(const QString &) { mFieldTimer.start(); }

void ReportLog::SetLastFieldTime(qint64 ms)
{
    if (!mFieldTimes.isEmpty())
        mFieldTimes.last() = ms;
}

QString ReportLog::fieldTimesText() const
{
    QString out;
    writeFieldTimes([&out](const QString &piece) { out += piece; });
    return out;
}

void ReportLog::writeFieldTimes(const std::function<void(const QString &)> &sink) const
{
    if (std::none_of(mFieldTimes.cbegin(), mFieldTimes.cend(), [](qint64 ms) { return ms >= 0; }))
        return;
    sink(kRule + kCrLf + QCoreApplication::translate("ReportLog", "Durata pe camp") + kCrLf);
    for (qsizetype i = 0; i < mRows.size(); ++i) {
        const Row &row = mRows.at(i);
        const qint64 ms = mFieldTimes.value(i, -1);
        const QString time = ms < 0 ? QStringLiteral("-")
                                    : QStringLiteral("%1:%2:%3.%4")
                                          .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
                                          .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
                                          .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
                                          .arg(ms / 100 % 10);
        sink(quoted(row.dataSource) + QLatin1Char(',') + quoted(row.tableName) + QLatin1Char(',')
             + quoted(row.fieldName) + QLatin1Char(',') + quoted(time) + kCrLf);
    }
}

void ReportLog::setTimes(const QDateTime &start, const QDateTime &end)
{
    mStart = start;
    mEnd = end;
}

QString ReportLog::formatTime(const QDateTime &time, Dates dates)
{
    const QLocale locale = dates == Dates::Shown ? language::locale() : QLocale::system();
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    // The long format may name the time zone; the report does not.
    timeFormat.remove(QLatin1Char('t'));
    timeFormat = timeFormat.trimmed();
    return locale.toString(time.date(), QLocale::ShortFormat) + QLatin1Char(' ')
           + locale.toString(time.time(), timeFormat);
}

QStringList ReportLog::titleLines(Dates dates) const
{
    QStringList lines{QCoreApplication::translate("ReportLog", "Inceput Conversie: %1").arg(formatTime(mStart, dates)),
                      QCoreApplication::translate("ReportLog", "Final Conversie: %1").arg(formatTime(mEnd, dates))};
    if (!mEndStatus.isEmpty())
        lines.append(mEndStatus);
    return lines;
}

bool ReportLog::isTitleLine(int index, const QString &line)
{
    const QString romanian = index == 0 ? QStringLiteral("Inceput Conversie: %1") : QStringLiteral("Final Conversie: %1");
    const QString shown = index == 0 ? QCoreApplication::translate("ReportLog", "Inceput Conversie: %1")
                                     : QCoreApplication::translate("ReportLog", "Final Conversie: %1");
    for (const QString &form : {romanian, shown}) {
        // The words around the time.
        const qsizetype at = form.indexOf(QLatin1String("%1"));
        if (at < 0)
            continue;
        const QString before = form.left(at);
        const QString after = form.mid(at + 2);
        if (before.size() + after.size() > 0 && line.size() >= before.size() + after.size() && line.startsWith(before)
            && line.endsWith(after))
            return true;
    }
    return false;
}

QStringList ReportLog::totalLines() const
{
    const int n = static_cast<int>(mRows.size());
    //: %n: the fields converted; %1: the fields attempted.
    QStringList lines{QCoreApplication::translate("ReportLog", "%n campuri din %1 convertite cu succes", nullptr,
                                                  n - mErrorCount)
                          .arg(n)};
    if (mErrorCount != 0)
        lines.append(QCoreApplication::translate("ReportLog", "%n erori de conversie", nullptr, mErrorCount));
    lines += mSkipped;
    return lines;
}

QString ReportLog::fileText() const
{
    QString out;
    writeText([&out](const QString &piece) { out += piece; });
    return out;
}

void ReportLog::writeText(const std::function<void(const QString &)> &sink) const
{
    sink(titleLines().join(kCrLf) + kCrLf + kRule + kCrLf + totalLines().join(kCrLf) + kCrLf + kRule + kCrLf);
    for (const Row &row : mRows) {
        sink(quoted(row.dataSource) + QLatin1Char(',') + quoted(row.tableName) + QLatin1Char(',')
             + quoted(row.fieldName) + QLatin1Char(',')
             + quoted(row.note.isEmpty()
                          ? QCoreApplication::translate("ReportLog", "%n inregistrari", nullptr, row.recCount)
                          : QCoreApplication::translate("ReportLog", "%n inregistrari (%1)", nullptr, row.recCount)
                                .arg(row.note))
             + QLatin1Char(',') + quoted(row.error) + kCrLf);
    }
    writeFieldTimes(sink);
    writeTotals(sink);
}

void ReportLog::AddFieldTotals(const FieldTotals &totals)
{
    if (!mRows.isEmpty())
        mTotals.append({mRows.size() - 1, totals});
}

void ReportLog::forEachTotalsRow(const std::function<void(const TotalsRow &)> &visit) const
{
    if (mTotals.isEmpty())
        return;
    const bool toLeiNoi = mTotals.first().second.toLeiNoi;
    TotalsSum run, source;
    run.toLeiNoi = source.toLeiNoi = toLeiNoi;
    QString sourceName;
    const auto closeSource = [&] {
        if (source.fields + source.unavailable > 0)
            visit({TotalsRow::Kind::Source, sourceName, QString(), QString(),
                   totalsValues(source, QCoreApplication::translate("ReportLog", "Total sursa de date"))});
        source = TotalsSum();
        source.toLeiNoi = toLeiNoi;
    };
    for (const auto &[index, totals] : mTotals) {
        const Row &row = mRows.at(index);
        if (row.dataSource != sourceName) {
            closeSource();
            sourceName = row.dataSource;
        }
        visit({TotalsRow::Kind::Field, row.dataSource, row.tableName, row.fieldName, totalsValues(totals)});
        source.add(totals);
        run.add(totals);
    }
    closeSource();
    visit({TotalsRow::Kind::Run, QString(), QString(), QString(),
           totalsValues(run, QCoreApplication::translate("ReportLog", "Total conversie"))});
}

QList<ReportLog::TotalsRow> ReportLog::totalsRows() const
{
    QList<TotalsRow> out;
    forEachTotalsRow([&out](const TotalsRow &row) { out.append(row); });
    return out;
}

void ReportLog::writeTotals(const std::function<void(const QString &)> &sink) const
{
    if (mTotals.isEmpty())
        return;
    const auto line = [](const QStringList &values) {
        QStringList cells;
        for (const QString &value : values)
            cells.append(quoted(value));
        return cells.join(QLatin1Char(',')) + kCrLf;
    };
    sink(kRule + kCrLf + QCoreApplication::translate("ReportLog", "Totaluri de control") + kCrLf
         + line(QStringList{QCoreApplication::translate("ReportLog", "Sursa Date"),
                            QCoreApplication::translate("ReportLog", "Tabel"),
                            QCoreApplication::translate("ReportLog", "Camp")}
                + totalsHeader(mTotals.first().second.toLeiNoi, mChangeover)));
    forEachTotalsRow([&](const TotalsRow &row) {
        sink(line(QStringList{row.dataSource, row.tableName, row.fieldName} + row.values));
    });
}

QString ReportLog::totalsText() const
{
    QString out;
    writeTotals([&out](const QString &piece) { out += piece; });
    return out;
}

void ReportLog::saveToFile(const QString &path) const
{
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    bool written = file.open(QIODevice::WriteOnly);
    // Piece by piece: a report of many thousand fields is never held whole.
    writeText([&](const QString &piece) {
        if (written) {
            const QByteArray bytes = piece.toUtf8();
            written = file.write(bytes) == bytes.size();
        }
    });
    if (!written || !file.commit())
        throw db::DbError(db::E_FAIL, QCoreApplication::translate("ReportLog", "Fisierul \"%1\" nu poate fi scris: %2")
                                          .arg(path, file.errorString()));
}

} // namespace conversion
