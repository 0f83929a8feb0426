#pragma once

#include "conversion/ControlTotals.h"

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

// What a conversion run needs of the window (or terminal) that shows its
// progress: three levels (data source, table, field), each with a bar and a
// caption, and the Stop request the run polls at the head of each loop.
class IConversionProgress {
public:
    virtual ~IConversionProgress() = default;
    virtual bool Cancel() const = 0;
    virtual void InitProgress1(qint32 MaxProgress, const QString &Caption) = 0;
    virtual void InitProgress2(qint32 MaxProgress, const QString &Caption) = 0;
    virtual void InitProgress3(qint32 MaxProgress, const QString &Caption) = 0;
    // Progress 0 advances the bar by one; an empty caption keeps the label.
    virtual void Progress1(qint32 Progress, const QString &Caption) = 0;
    virtual void Progress2(qint32 Progress, const QString &Caption) = 0;
    virtual void Progress3(qint32 Progress, const QString &Caption) = 0;
};

// Progress of a run that shows nothing and is never stopped.
class SilentProgress : public IConversionProgress {
public:
    bool Cancel() const override { return false; }
    void InitProgress1(qint32, const QString &) override {}
    void InitProgress2(qint32, const QString &) override {}
    void InitProgress3(qint32, const QString &) override {}
    void Progress1(qint32, const QString &) override {}
    void Progress2(qint32, const QString &) override {}
    void Progress3(qint32, const QString &) override {}
};

// What a conversion run tells the report of the run. `pstrNote` says what the
// user should know of a converted field beyond its count (its amounts were
// rounded to fewer decimals than the template's); "" when nothing.
class IConversionReport {
public:
    virtual ~IConversionReport() = default;
    virtual void ConvertStart() = 0;
    virtual void AddField(const QString &pstrDataSource, const QString &pstrTableName,
                          const QString &pstrFieldName, qint32 plngRecCount, const QString &pstrError,
                          const QString &pstrNote = QString()) = 0;
    virtual void ConvertEnd(const QString &pstrEndStatus) = 0;
    // A data source whose `plngFieldCount` fields the run passed over without
    // trying them, and why ("nu are sir de conectare", ...).
    virtual void AddSourceSkipped(const QString &pstrDataSource, const QString &pstrReason,
                                  qint32 plngFieldCount) = 0;
    // Whether the run reads the control totals of each converted field.
    virtual bool WantsTotals() const { return false; }
    // The control totals of the field of the last AddField row.
    virtual void AddFieldTotals(const conversion::FieldTotals &) {}
    // The run begins to try one field (probe, recovery column, statements);
    // the field's AddField follows, so a report may time it. `condition` is
    // the field's row filter (its table's and its own), "" for every row.
    virtual void StartField(const QString &condition) { (void)condition; }
    // How long the field of the last AddField row took, in milliseconds, as
    // measured where the run ran (-1: not measured); told after AddField by a
    // run on another thread than the report's.
    virtual void SetLastFieldTime(qint64 ms) { (void)ms; }
};

// The end status of a run that the user stopped, in the user's language.
inline QString convertStoppedStatus()
{
    return QCoreApplication::translate("ConversionRun", "Conversie intrerupta de utilizator");
}
