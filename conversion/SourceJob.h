#pragma once

#include "conversion/ConversionEngine.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <optional>

// The run of one data source in a process of its own, started by a run that
// converts several sources side by side (SourceJobs). The process converts
// the source's fields in a private copy of the project and tells its parent
// every step, one JSON object per line on standard output: the progress, the
// report's rows and totals, and the end of its run. The parent folds the
// copy's states back into the one working copy it writes.
namespace conversion::job {

// The program's arguments (after its path) for the process of one source.
QStringList partArguments(const QString &projectCopy, qint32 idConn, bool toLeiNoi, bool totals,
                          std::optional<qint64> lockTimeoutMs);
// True when `args` (with the program's path first) start the process of one source.
bool isPart(const QStringList &args);
// The process of one source: its exit status (0, or 2 for arguments it
// cannot read, with the message on standard error).
int runPart(const QStringList &args);

// One line of a source's process read back; nullopt when it is not an event.
std::optional<QJsonObject> parseEvent(const QByteArray &line);
// The kind of an event: "init", "step", "start", "field", "totals", "skip", "end".
QString kindOf(const QJsonObject &event);

// Plays one report event of a source's run ("start", "field", "totals",
// "skip") onto the run's report; a source passed over also goes to `result`.
// Other events are left alone.
void replay(const QJsonObject &event, IConversionReport &report, ConversionEngine::Result &result);
// Adds the end of a source's run to the result of the whole run: a stop, an
// error that ended the source's run (named with its source), the sources
// marked offline.
void mergeEnd(const QJsonObject &event, const QString &dataSource, ConversionEngine::Result &result);

// The totals of a field as an event carries them, and back.
QJsonObject totalsToJson(const FieldTotals &totals);
FieldTotals totalsFromJson(const QJsonObject &object);

} // namespace conversion::job
