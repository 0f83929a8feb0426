#include "conversion/SourceJob.h"

#include "conversion/CommandLineProject.h"
#include "conversion/TerminalOutput.h"
#include "data/ProjectFile.h"
#include "data/ProjectHost.h"
#include "data/db/ConnString.h"
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "util/core/Signals.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>

#include <cerrno>
#include <unistd.h>

namespace conversion::job {

namespace {

const QString kPartOption = QStringLiteral("--job-part");

// Writes one event as a line on standard output, whole.
void emitEvent(const QJsonObject &event)
{
    const QByteArray line = QJsonDocument(event).toJson(QJsonDocument::Compact) + '\n';
    qsizetype written = 0;
    while (written < line.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, line.constData() + written, static_cast<size_t>(line.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return; // the parent is gone: the run ends with it
        written += n;
    }
}

// The progress and the report of the source's run, told to the parent.
class EventWriter : public IConversionProgress, public IConversionReport {
public:
    EventWriter(const volatile std::sig_atomic_t *stop, bool totals) : mStop(stop), mTotals(totals) {}

    bool Cancel() const override { return *mStop != 0; }
    void InitProgress1(qint32 max, const QString &caption) override { init(1, max, caption); }
    void InitProgress2(qint32 max, const QString &caption) override { init(2, max, caption); }
    void InitProgress3(qint32 max, const QString &caption) override { init(3, max, caption); }
    void Progress1(qint32 progress, const QString &caption) override { step(1, progress, caption); }
    void Progress2(qint32 progress, const QString &caption) override { step(2, progress, caption); }
    void Progress3(qint32 progress, const QString &caption) override { step(3, progress, caption); }

    void ConvertStart() override {}
    void ConvertEnd(const QString &) override {}
    bool WantsTotals() const override { return mTotals; }
    void StartField(const QString &condition) override
    {
        mFieldTimer.start();
        emitEvent({{QStringLiteral("e"), QStringLiteral("start")}, {QStringLiteral("where"), condition}});
    }
    void AddField(const QString &dataSource, const QString &tableName, const QString &fieldName, qint32 recCount,
                  const QString &error, const QString &note) override
    {
        emitEvent({{QStringLiteral("e"), QStringLiteral("field")},
                   {QStringLiteral("ds"), dataSource},
                   {QStringLiteral("t"), tableName},
                   {QStringLiteral("f"), fieldName},
                   {QStringLiteral("n"), recCount},
                   {QStringLiteral("err"), error},
                   {QStringLiteral("note"), note},
                   {QStringLiteral("ms"), mFieldTimer.isValid() ? mFieldTimer.elapsed() : qint64(-1)}});
        mFieldTimer.invalidate();
    }
    void AddFieldTotals(const FieldTotals &totals) override
    {
        QJsonObject event = totalsToJson(totals);
        event.insert(QStringLiteral("e"), QStringLiteral("totals"));
        emitEvent(event);
    }
    void AddSourceSkipped(const QString &dataSource, const QString &reason, qint32 fieldCount) override
    {
        emitEvent({{QStringLiteral("e"), QStringLiteral("skip")},
                   {QStringLiteral("ds"), dataSource},
                   {QStringLiteral("r"), reason},
                   {QStringLiteral("n"), fieldCount}});
    }

    void end(const ConversionEngine::Result &result)
    {
        emitEvent({{QStringLiteral("e"), QStringLiteral("end")},
                   {QStringLiteral("cancelled"), result.cancelled},
                   {QStringLiteral("failed"), result.failed},
                   {QStringLiteral("num"), static_cast<qint64>(result.errorNumber)},
                   {QStringLiteral("desc"), result.errorDescription},
                   {QStringLiteral("offline"), QJsonArray::fromStringList(result.offlineSources)}});
    }

private:
    void init(int level, qint32 max, const QString &caption)
    {
        emitEvent({{QStringLiteral("e"), QStringLiteral("init")},
                   {QStringLiteral("l"), level},
                   {QStringLiteral("max"), max},
                   {QStringLiteral("c"), caption}});
    }
    void step(int level, qint32 progress, const QString &caption)
    {
        emitEvent({{QStringLiteral("e"), QStringLiteral("step")},
                   {QStringLiteral("l"), level},
                   {QStringLiteral("v"), progress},
                   {QStringLiteral("c"), caption}});
    }

    const volatile std::sig_atomic_t *mStop;
    bool mTotals;
    QElapsedTimer mFieldTimer;
};

QString str(const QJsonObject &o, const char *key) { return o.value(QLatin1String(key)).toString(); }

} // namespace

QStringList partArguments(const QString &projectCopy, qint32 idConn, bool toLeiNoi, bool totals,
                          std::optional<qint64> lockTimeoutMs)
{
    return {kPartOption,
            projectCopy,
            QString::number(idConn),
            toLeiNoi ? QStringLiteral("noi") : QStringLiteral("vechi"),
            totals ? QStringLiteral("1") : QStringLiteral("0"),
            lockTimeoutMs ? QString::number(*lockTimeoutMs) : QStringLiteral("-")};
}

bool isPart(const QStringList &args) { return args.size() > 1 && args.at(1) == kPartOption; }

int runPart(const QStringList &args)
{
    bool idOk = false;
    const qint32 idConn = args.size() == 7 ? args.at(3).toInt(&idOk) : 0;
    const QString direction = args.value(4);
    bool lockOk = args.value(6) == QStringLiteral("-");
    const qint64 lockMs = lockOk ? -1 : args.value(6).toLongLong(&lockOk);
    if (!idOk || idConn <= 0 || !lockOk || (direction != QStringLiteral("noi") && direction != QStringLiteral("vechi"))) {
        terminal::err(QCoreApplication::translate("SourceJob", "Argumente gresite pentru conversia unei surse de date.")
                      + QLatin1Char('\n'));
        return 2;
    }
    // The first SIGTERM of the parent (its user's Stop) ends the source's
    // run after its current field; a second one at once.
    appsignals::installExitOnSignal();
    const volatile std::sig_atomic_t *stop = appsignals::stopOnFirstSignal();
    db::setRunLockTimeout(lockMs >= 0 ? std::optional<qint64>(lockMs) : std::nullopt);

    EventWriter writer(stop, args.value(5) == QStringLiteral("1"));
    ConversionEngine::Result result;
    db::Connection project;
    cli::CommandLineHost host(project);
    try {
        project.open(projectfile::projectConnectionString(args.at(2)));
        setProjectHost(&host);
        ConversionEngine engine(project, writer, writer);
        engine.setOnlySource(idConn);
        result = engine.run(direction == QStringLiteral("noi"));
    } catch (const std::exception &e) {
        result.failed = true;
        result.errorNumber = db::E_FAIL;
        result.errorDescription = terminal::describe(e);
    }
    setProjectHost(nullptr);
    project.close();
    writer.end(result);
    return 0;
}

std::optional<QJsonObject> parseEvent(const QByteArray &line)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject event = document.object();
    if (!event.value(QStringLiteral("e")).isString())
        return std::nullopt;
    return event;
}

QString kindOf(const QJsonObject &event) { return str(event, "e"); }

void replay(const QJsonObject &event, IConversionReport &report, ConversionEngine::Result &result)
{
    const QString kind = kindOf(event);
    if (kind == QStringLiteral("start")) {
        report.StartField(str(event, "where"));
    } else if (kind == QStringLiteral("field")) {
        report.AddField(str(event, "ds"), str(event, "t"), str(event, "f"), event.value(QStringLiteral("n")).toInt(),
                        str(event, "err"), str(event, "note"));
        const qint64 ms = event.value(QStringLiteral("ms")).toInteger(-1);
        if (ms >= 0)
            report.SetLastFieldTime(ms);
    } else if (kind == QStringLiteral("totals")) {
        report.AddFieldTotals(totalsFromJson(event));
    } else if (kind == QStringLiteral("skip")) {
        const qint32 count = event.value(QStringLiteral("n")).toInt();
        report.AddSourceSkipped(str(event, "ds"), str(event, "r"), count);
        if (count > 0)
            result.skippedSources.append({str(event, "ds"), str(event, "r"), count});
    }
}

void mergeEnd(const QJsonObject &event, const QString &dataSource, ConversionEngine::Result &result)
{
    if (event.value(QStringLiteral("cancelled")).toBool())
        result.cancelled = true;
    if (event.value(QStringLiteral("failed")).toBool() && !result.failed) {
        result.failed = true;
        result.errorNumber = static_cast<qint32>(event.value(QStringLiteral("num")).toInteger());
        result.errorDescription =
            QCoreApplication::translate("SourceJob", "sursa de date \"%1\": %2").arg(dataSource, str(event, "desc"));
    }
    for (const QJsonValue &offline : event.value(QStringLiteral("offline")).toArray())
        result.offlineSources.append(offline.toString());
}

QJsonObject totalsToJson(const FieldTotals &t)
{
    return {{QStringLiteral("toNew"), t.toLeiNoi},       {QStringLiteral("unavailable"), t.unavailable},
            {QStringLiteral("approximate"), t.approximate}, {QStringLiteral("rows"), t.rows},
            {QStringLiteral("old"), t.oldSum},            {QStringLiteral("new"), t.newSum},
            {QStringLiteral("expected"), t.expectedSum},  {QStringLiteral("difference"), t.difference},
            {QStringLiteral("restored"), t.restoredSum},  {QStringLiteral("matches"), t.restoredMatches},
            {QStringLiteral("nonNumber"), t.nonNumber}};
}

FieldTotals totalsFromJson(const QJsonObject &o)
{
    FieldTotals t;
    t.toLeiNoi = o.value(QStringLiteral("toNew")).toBool(true);
    t.unavailable = str(o, "unavailable");
    t.approximate = o.value(QStringLiteral("approximate")).toBool();
    t.rows = str(o, "rows");
    t.oldSum = str(o, "old");
    t.newSum = str(o, "new");
    t.expectedSum = str(o, "expected");
    t.difference = str(o, "difference");
    t.restoredSum = str(o, "restored");
    t.restoredMatches = o.value(QStringLiteral("matches")).toBool();
    t.nonNumber = str(o, "nonNumber");
    return t;
}

} // namespace conversion::job
