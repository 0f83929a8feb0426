#include "conversion/CommandLine.h"

#include "conversion/ConversionEngine.h"
#include "conversion/ConversionListing.h"
#include "conversion/ReportLog.h"
#include "util/core/Language.h"
#include "conversion/ReportPrint.h"
#include "conversion/CommandLineProject.h"
#include "conversion/HistoryCommand.h"
#include "conversion/HistoryReport.h"
#include "conversion/RunHistory.h"
#include "conversion/SourceJob.h"
#include "conversion/SourceJobs.h"
#include "conversion/TerminalOutput.h"
#include "data/ProjectFile.h"
#include "data/ProjectHost.h"
#include "data/db/ConnString.h"
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "util/core/AppInfo.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRegularExpression>
#include <QSet>
#include <QTextStream>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>

using namespace terminal;

namespace {

using cli::OpenProject;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
// Data sources converted at once, at most.
constexpr int kMaxJobs = 64;

QString usageText()
{
    //: The option names (--convert, --to, ...) and the values noi and vechi stay as they are: the user types them.
    return QCoreApplication::translate(
        "CommandLine",
        "Utilizare:\n"
        "  vamor --convert PROIECT.vmd --to noi|vechi|COD [--yes] [--report FISIER] [--list]\n"
        "        [--reconnect] [--no-totals] [--lock-timeout SECUNDE] [--jobs N]\n"
        "  vamor --discover PROIECT.vmd [--source NUME] [--add]\n"
        "        (cauta coloanele cu sume ale surselor de date; vamor --discover --help)\n"
        "  vamor --history PROIECT.vmd [--csv]\n"
        "        (conversiile inregistrate in proiect; vamor --history --help)\n"
        "  vamor --help\n"
        "\n"
        "Converteste sumele din bazele de date descrise de proiect, fara ferestre:\n"
        "  --to noi      din lei VECHI in lei NOI (10 000 lei vechi = 1 leu nou)\n"
        "  --to vechi    inapoi, din lei NOI in lei VECHI\n"
        "                (la un proiect al altei schimbari de moneda, ca BGN in EUR:\n"
        "                noi = in moneda noua, vechi = inapoi in cea veche)\n"
        "  --to COD      codul monedei in care se converteste, dupa proiect: RON sau\n"
        "                ROL, EUR sau BGN, EUR sau HRK\n"
        "  --yes         nu mai intreaba \"Continuati? (d/n)\"\n"
        "  --report F    scrie raportul conversiei in fisierul F (PDF cand F se termina in .pdf)\n"
        "  --reconnect   incearca din nou sursele de date marcate Deconectat\n"
        "  --no-totals   fara totaluri de control (sumele inainte si dupa conversie,\n"
        "                calculate de baza de date; implicit sunt calculate)\n"
        "  --lock-timeout S\n"
        "                cat asteapta cel mult, in secunde, un tabel blocat de alt\n"
        "                program; campul lui nu este convertit, iar conversia trece\n"
        "                la urmatorul (implicit LockTimeout din sirul de conectare\n"
        "                al sursei, altfel 30; 0 nu asteapta deloc; cel mult 600)\n"
        "  --jobs N      converteste cel mult N surse de date in acelasi timp, fiecare\n"
        "                cu conexiunea ei; campurile unei surse raman in ordinea\n"
        "                proiectului (implicit 1; 0 = cate una pe procesor)\n"
        "  --list        doar listeaza campurile care vor fi convertite (starea lor\n"
        "                este reimprospatata si proiectul salvat); nu converteste nimic\n"
        "\n"
        "Proiectul este deschis printr-o copie de lucru in folderul programului\n"
        "(la un program instalat in ~/.local/share/Vamor; in folderul dat de\n"
        "variabila VAMOR_HOME cand ea exista) si salvat la sfarsit.\n"
        "\n"
        "Fara optiuni, vamor PROIECT.vmd deschide proiectul in fereastra programului.\n"
        "\n"
        "Cod de iesire: 0 toate campurile incercate au fost convertite,\n"
        "               1 cel putin un camp nu a putut fi convertit, a fost sarit,\n"
        "                 o suma restaurata difera de cea veche\n"
        "                 sau conversia a fost oprita (Ctrl+C),\n"
        "               2 argumente gresite sau proiectul nu poate fi deschis.\n");
}

QString missingValue(const QString &option)
{
    return QCoreApplication::translate("CommandLine", "Lipseste valoarea optiunii %1.").arg(option);
}

struct Options {
    bool help = false;
    QString project;
    QString to;
    bool yes = false;
    QString report;
    bool list = false;
    bool reconnect = false;
    bool noTotals = false;
    std::optional<qint64> lockTimeoutMs;
    int jobs = 1; // data sources converted at once; 0: one per processor
};

// Returns "" when the arguments are good, otherwise the message.
QString parseOptions(const QStringList &args, Options &options)
{
    QSet<QString> seen;
    for (int i = 1; i < args.size(); ++i) {
        // "--to=noi" is the same as "--to noi".
        QString arg = args.at(i);
        QString inlineValue;
        const qsizetype equals = arg.startsWith(QStringLiteral("--")) ? arg.indexOf(QLatin1Char('=')) : -1;
        if (equals > 0) {
            inlineValue = arg.mid(equals + 1);
            arg.truncate(equals);
        }
        const auto takeValue = [&](QString &target) -> QString {
            if (equals > 0) {
                target = inlineValue;
                return target.isEmpty() ? missingValue(arg) : QString();
            }
            if (i + 1 >= args.size() || args.at(i + 1).startsWith(QStringLiteral("--")))
                return missingValue(arg);
            target = args.at(++i);
            return QString();
        };
        const bool isFlag = arg == QStringLiteral("--help") || arg == QStringLiteral("--yes")
                            || arg == QStringLiteral("--list") || arg == QStringLiteral("--reconnect")
                            || arg == QStringLiteral("--no-totals");
        if (isFlag && equals > 0)
            return QCoreApplication::translate("CommandLine", "Optiunea %1 nu primeste o valoare.").arg(arg);
        QString message;
        // An option given twice would leave one of its values unused.
        if (seen.contains(arg))
            return QCoreApplication::translate("CommandLine", "Optiunea %1 este data de doua ori.").arg(arg);
        if (arg.startsWith(QLatin1Char('-')))
            seen.insert(arg);
        if (arg == QStringLiteral("--help") || arg == QStringLiteral("-h"))
            options.help = true;
        else if (arg == QStringLiteral("--convert"))
            message = takeValue(options.project);
        else if (arg == QStringLiteral("--to"))
            message = takeValue(options.to);
        else if (arg == QStringLiteral("--report"))
            message = takeValue(options.report);
        else if (arg == QStringLiteral("--lock-timeout")) {
            // The limit of the DBF provider, which reads the same wait.
            QString seconds;
            message = takeValue(seconds);
            bool ok = false;
            const double value = seconds.trimmed().toDouble(&ok);
            if (message.isEmpty() && (!ok || !(value >= 0) || value > 600))
                message = QCoreApplication::translate("CommandLine",
                                                      "Valoare gresita pentru --lock-timeout: %1 (se accepta un numar "
                                                      "de secunde intre 0 si 600, de exemplu 30 sau 0.5)")
                              .arg(seconds);
            options.lockTimeoutMs = static_cast<qint64>(value * 1000 + 0.5);
        }
        else if (arg == QStringLiteral("--jobs")) {
            QString count;
            message = takeValue(count);
            bool ok = false;
            options.jobs = count.trimmed().toInt(&ok);
            if (message.isEmpty() && (!ok || options.jobs < 0 || options.jobs > kMaxJobs))
                message = QCoreApplication::translate("CommandLine",
                                                      "Valoare gresita pentru --jobs: %1 (se accepta un numar intreg "
                                                      "intre 0 si %2; 0 inseamna cate o sursa de date pe procesor)")
                              .arg(count, QString::number(kMaxJobs));
        }
        else if (arg == QStringLiteral("--yes"))
            options.yes = true;
        else if (arg == QStringLiteral("--reconnect"))
            options.reconnect = true;
        else if (arg == QStringLiteral("--no-totals"))
            options.noTotals = true;
        else if (arg == QStringLiteral("--list"))
            options.list = true;
        else if (arg.startsWith(QLatin1Char('-')))
            message = QCoreApplication::translate("CommandLine", "Optiune necunoscuta: %1").arg(args.at(i));
        else
            message = QCoreApplication::translate("CommandLine", "Argument neasteptat: %1").arg(arg);
        if (!message.isEmpty())
            return message;
    }
    if (options.help)
        return QString();
    if (options.project.isEmpty())
        return QCoreApplication::translate("CommandLine", "Lipseste proiectul: --convert PROIECT.vmd");
    if (options.to.isEmpty())
        //: "--to noi" and "--to vechi" are typed as they are.
        return QCoreApplication::translate("CommandLine", "Lipseste directia conversiei: --to noi sau --to vechi");
    // A currency's code is checked against the project once it is open.
    static const QRegularExpression code(QStringLiteral("^[A-Za-z]{3}$"));
    if (options.to != QStringLiteral("noi") && options.to != QStringLiteral("vechi") && !code.match(options.to).hasMatch())
        //: %1: what the user gave to --to; "noi" and "vechi" are typed as they are.
        return QCoreApplication::translate("CommandLine", "Directie necunoscuta: %1 (se accepta noi sau vechi)")
            .arg(options.to);
    return QString();
}

void printListing(const QList<conversion::ListedField> &listed, bool toLeiNoi, const Changeover &changeover)
{
    out(conversion::directionTitle(toLeiNoi, changeover) + QStringLiteral("\n"));
    QString headers[3] = {QCoreApplication::translate("CommandLine", "Sursa Date"),
                          QCoreApplication::translate("CommandLine", "Tabel"),
                          QCoreApplication::translate("CommandLine", "Camp")};
    qsizetype widths[2] = {headers[0].size(), headers[1].size()};
    for (const auto &f : listed) {
        widths[0] = std::max(widths[0], f.dataSource.size());
        widths[1] = std::max(widths[1], f.tableName.size());
    }
    qsizetype fieldWidth = headers[2].size();
    bool notes = false;
    for (const auto &f : listed) {
        fieldWidth = std::max(fieldWidth, f.fieldName.size());
        notes = notes || !f.note.isEmpty();
    }
    const auto row = [&](const QString &a, const QString &b, const QString &c, const QString &note) {
        QString line = QStringLiteral("  ") + a.leftJustified(widths[0]) + QStringLiteral("  ")
                       + b.leftJustified(widths[1]) + QStringLiteral("  ");
        line += note.isEmpty() ? c : c.leftJustified(fieldWidth) + QStringLiteral("  ") + note;
        out(line + QStringLiteral("\n"));
    };
    if (!listed.isEmpty())
        row(headers[0], headers[1], headers[2],
            notes ? QCoreApplication::translate("CommandLine", "Observatii") : QString());
    for (const auto &f : listed)
        row(f.dataSource, f.tableName, f.fieldName, f.note);
    out(conversion::listedCountText(static_cast<int>(listed.size())) + QStringLiteral("\n"));
}

// The fields of the online data sources whose stored state is not yet the
// run's direction (the run refreshed the states of every field it visited).
QList<conversion::ListedField> fieldsLeft(db::Connection &project, bool toLeiNoi)
{
    QList<conversion::ListedField> left;
    try {
        db::Recordset rs = project.openRecordset(
            QStringLiteral("SELECT tConn.Description, tTable.TableName, tField.FieldName FROM (tField INNER JOIN tTable "
                           "ON tField.IdTable = tTable.IdTable) INNER JOIN tConn ON tTable.IdConn = tConn.IdConn "
                           "WHERE tConn.Offline = False AND tField.Converted = ")
                + (toLeiNoi ? QStringLiteral("False") : QStringLiteral("True"))
                + QStringLiteral(" ORDER BY tConn.Description, tTable.TableName, tField.FieldName"));
        for (; !rs.eof(); rs.moveNext())
            left.append({rs.value(0).toString(), rs.value(1).toString(), rs.value(2).toString(), QString()});
    } catch (const std::exception &e) {
        err(QCoreApplication::translate("CommandLine", "Campurile ramase nu au putut fi citite: %1").arg(describe(e))
            + QStringLiteral("\n"));
    }
    return left;
}

// The fields the run will visit: those of the data sources not marked
// offline; 0 when they cannot be counted (the display then shows no total).
qint32 onlineFieldCount(db::Connection &project)
{
    try {
        db::Recordset rs = project.openRecordset(
            QStringLiteral("SELECT Count(*) FROM (tField INNER JOIN tTable ON tField.IdTable = tTable.IdTable) "
                           "INNER JOIN tConn ON tTable.IdConn = tConn.IdConn WHERE tConn.Offline = False"));
        return rs.eof() ? 0 : static_cast<qint32>(rs.value(0).toInt());
    } catch (const std::exception &) {
        return 0;
    }
}

// Reads the answer to "Continuati? (d/n)"; no input counts as "n". The
// answers that mean yes are those of the question's language.
bool askToContinue()
{
    out(QCoreApplication::translate("CommandLine", "Continuati? (d/n)") + QLatin1Char(' '));
    std::string answer;
    if (!std::getline(std::cin, answer)) {
        out(QStringLiteral("\n"));
        return false;
    }
    const QString a = QString::fromLocal8Bit(answer.c_str()).trimmed().toLower();
    //: The answers to "Continuati? (d/n)" that mean yes, in lower case, separated by "|".
    const QStringList yes = QCoreApplication::translate("CommandLine", "d|da").split(QLatin1Char('|'));
    return !a.isEmpty() && yes.contains(a);
}

int run(const Options &options)
{
    // Over what each data source's string says, for every connection of the run.
    db::setRunLockTimeout(options.lockTimeoutMs);
    OpenProject project;
    const QString openMessage = project.open(options.project);
    if (!openMessage.isEmpty()) {
        err(openMessage + QStringLiteral("\n"));
        return kExitUsage;
    }
    Changeover changeover;
    try {
        changeover = Changeover::of(project.conn());
    } catch (const std::exception &e) {
        err(QCoreApplication::translate("CommandLine", "Proiectul \"%1\" nu poate fi deschis: %2")
                .arg(options.project, describe(e))
            + QStringLiteral("\n"));
        return kExitUsage;
    }
    // "noi"/"vechi", or the code of one of the project's currencies.
    const int direction = changeover.directionNamed(options.to);
    if (direction < 0) {
        //: %1: what the user gave to --to; %2, %3: the codes of the currencies. "noi" and "vechi" are typed as they are.
        err(QCoreApplication::translate("CommandLine", "Directie necunoscuta: %1 (se accepta noi sau vechi, %2 sau %3)")
                .arg(options.to, changeover.newCode, changeover.oldCode)
            + QStringLiteral("\n"));
        return kExitUsage;
    }
    const bool toLeiNoi = direction == 1;
    const QString reportMessage = cli::checkReportTarget(options.report, project);
    if (!reportMessage.isEmpty()) {
        err(reportMessage + QStringLiteral("\n"));
        return kExitUsage;
    }

    if (options.reconnect) {
        try {
            const qint64 count = project.conn().execute(QStringLiteral("UPDATE tConn SET Offline = False WHERE Offline = True"));
            if (count > 0)
                out(QCoreApplication::translate("CommandLine",
                                                "%n surse de date marcate Deconectat vor fi incercate din nou.", nullptr,
                                                static_cast<int>(count))
                    + QStringLiteral("\n"));
        } catch (const std::exception &e) {
            err(QCoreApplication::translate("CommandLine", "Sursele deconectate nu au putut fi repuse in lucru: %1")
                    .arg(describe(e))
                + QStringLiteral("\n"));
            return kExitFailed;
        }
    }

    QList<conversion::ListedField> listed;
    try {
        conversion::listFieldsToConvert(project.conn(), toLeiNoi,
                                        [&listed](const conversion::ListedField &f) { listed.append(f); });
    } catch (const std::exception &e) {
        err(QCoreApplication::translate("CommandLine", "Campurile nu au putut fi listate: %1").arg(describe(e))
            + QStringLiteral("\n"));
        const QString saveMessage = project.save();
        if (!saveMessage.isEmpty())
            err(saveMessage + QStringLiteral("\n"));
        return kExitFailed;
    }
    printListing(listed, toLeiNoi, changeover);
    // Not needed by the run: a project of many thousand fields keeps its
    // memory for the report.
    listed = QList<conversion::ListedField>();

    if (options.list || (!options.yes && !askToContinue())) {
        if (!options.list)
            out(QCoreApplication::translate("CommandLine", "Conversia nu a fost facuta.") + QStringLiteral("\n"));
        const QString saveMessage = project.save();
        if (!saveMessage.isEmpty()) {
            err(saveMessage + QStringLiteral("\n"));
            return kExitFailed;
        }
        return kExitOk;
    }

    conversion::ReportLog log;
    log.setWantsTotals(!options.noTotals);
    log.setChangeover(changeover);
    const int jobs = options.jobs == 0 ? std::max(1, QThread::idealThreadCount()) : options.jobs;
    // The run's record in the project's history, written as it goes.
    const history::RunEntry entry = history::newRun(
        toLeiNoi, changeover,
        history::optionsText(options.noTotals, jobs, options.reconnect, options.lockTimeoutMs.value_or(-1)));
    history::Journal journal(history::journalPath(project.projectPath()));
    journal.start(entry);
    history::HistoryReport report(log, journal, entry.key, toLeiNoi);
    conversion::ConversionEngine::Result result;
    report.ConvertStart();
    bool sideBySide = false;
    try {
        sideBySide = jobs > 1 && conversion::onlineSourceCount(project.conn()) > 1;
    } catch (const std::exception &) {
    }
    if (sideBySide) {
        // Ctrl+C or SIGTERM: every source stops after its current field; a
        // second one ends the run at once.
        const volatile std::sig_atomic_t *stop = project.stopOnFirstSignal();
        conversion::JobsProgress progress(onlineFieldCount(project.conn()));
        conversion::JobsOptions jobsOptions;
        jobsOptions.jobs = jobs;
        jobsOptions.totals = !options.noTotals;
        jobsOptions.lockTimeoutMs = options.lockTimeoutMs;
        conversion::SourceJobs run(project.conn(), project.workingCopyPath(), report, stop, jobsOptions);
        result = run.run(toLeiNoi, progress);
    } else {
        // Ctrl+C or SIGTERM: stop after the current field; a second one ends at once.
        TerminalProgress progress(project.stopOnFirstSignal());
        progress.setTotalFields(onlineFieldCount(project.conn()));
        conversion::ConversionEngine engine(project.conn(), progress, report);
        result = engine.run(toLeiNoi);
    }
    report.ConvertEnd(result.cancelled ? convertStoppedStatus() : QString());
    journal.end(entry.key, QDateTime::currentDateTime(), result.cancelled ? history::kStopped : QString());
    if (!journal.error().isEmpty())
        err(journal.error() + QStringLiteral("\n"));

    int status = kExitOk;
    if (result.failed) {
        err(QCoreApplication::translate("CommandLine", "Conversia s-a oprit din cauza unei erori: %1: %2")
                .arg(QString::number(result.errorNumber), result.errorDescription)
            + QStringLiteral("\n"));
        status = kExitFailed;
    }
    QStringList named;
    for (const auto &skipped : result.skippedSources) {
        err(QCoreApplication::translate("CommandLine",
                                        "Sursa de date \"%1\" a fost sarita: %2; %n campuri ale ei nu au fost convertite.",
                                        nullptr, skipped.fieldCount)
                .arg(skipped.dataSource, skipped.reason)
            + QStringLiteral("\n"));
        named.append(skipped.dataSource);
        status = kExitFailed;
    }
    // A source without fields that could not be opened is still worth a word.
    for (const QString &source : result.offlineSources) {
        if (named.contains(source))
            continue;
        err(QCoreApplication::translate("CommandLine",
                                        "Sursa de date \"%1\" nu a putut fi deschisa si a fost marcata Deconectat.")
                .arg(source)
            + QStringLiteral("\n"));
        status = kExitFailed;
    }
    if (log.errorCount() > 0)
        status = kExitFailed;
    // A restore whose sum the database finds different from the old one.
    for (const auto &[index, totals] : log.fieldTotals()) {
        if (totals.toLeiNoi || !totals.available() || totals.approximate || totals.restoredMatches)
            continue;
        const auto &row = log.rows().at(index);
        err(QCoreApplication::translate("CommandLine",
                                        "Campul \"%1\" din tabelul \"%2\": suma restaurata %3 difera de suma veche %4.")
                .arg(row.fieldName, row.tableName, totals.restoredSum, totals.oldSum)
            + QStringLiteral("\n"));
        status = kExitFailed;
    }
    if (result.cancelled) {
        // What the stop left undone: every field still in the other currency.
        const QList<conversion::ListedField> left = fieldsLeft(project.conn(), toLeiNoi);
        err(QCoreApplication::translate("CommandLine",
                                        "Conversia a fost oprita inainte de sfarsit; %n campuri nu au fost convertite:",
                                        nullptr, static_cast<int>(left.size()))
            + QStringLiteral("\n"));
        for (const auto &f : left)
            err(QStringLiteral("  ") + f.dataSource + QStringLiteral(" / ") + f.tableName + QStringLiteral(" / ")
                + f.fieldName + QStringLiteral("\n"));
        status = kExitFailed;
    }

    const QString historyMessage = project.foldHistory();
    if (!historyMessage.isEmpty())
        err(historyMessage + QStringLiteral("\n"));
    const QString saveMessage = project.save();
    if (!saveMessage.isEmpty()) {
        err(saveMessage + QStringLiteral("\n"));
        status = kExitFailed;
    }

    out(QStringLiteral("\n"));
    log.writeText([](const QString &piece) { out(QString(piece).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))); });
    if (!options.report.isEmpty()) {
        try {
            if (conversion::isPdfPath(options.report))
                conversion::saveReportPdf(
                    log, {project.projectPath(), toLeiNoi, entry.user, entry.computer, entry.options},
                    options.report);
            else
                log.saveToFile(options.report);
        } catch (const std::exception &e) {
            err(QCoreApplication::translate("CommandLine", "Raportul nu a putut fi scris: %1").arg(describe(e))
                + QStringLiteral("\n"));
            status = kExitFailed;
        }
    }
    return status;
}

bool writesPdfReport(int argc, char **argv)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (qstrcmp(argv[i], "--report") == 0 && conversion::isPdfPath(QString::fromLocal8Bit(argv[i + 1])))
            return true;
    return false;
}

} // namespace

bool isCommandLineRun(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        // Any long option counts, known or not, so that one given without
        // --convert (or mistyped) is answered with a message rather than by
        // opening a window. "--" alone ends the options.
        const std::string arg = argv[i];
        if (arg == "--")
            return false;
        if (arg == "-h" || (arg.size() > 2 && arg.rfind("--", 0) == 0))
            return true;
    }
    return false;
}

int runCommandLine(int argc, char **argv)
{
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance()) {
        // A PDF report is drawn with fonts, which need the graphical side of
        // Qt, but never a screen.
        if (writesPdfReport(argc, argv)) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            app = std::make_unique<QGuiApplication>(argc, argv);
        } else {
            app = std::make_unique<QCoreApplication>(argc, argv);
        }
        language::installChosen();
    }

    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    // The conversion of one data source, started by a run of several.
    if (conversion::job::isPart(args))
        return conversion::job::runPart(args);
    if (history::isHistoryCommand(args))
        return history::runHistoryCommand(args);
    Options options;
    const QString message = parseOptions(args, options);
    if (!message.isEmpty()) {
        err(message + QStringLiteral("\n\n") + usageText());
        return kExitUsage;
    }
    if (options.help) {
        out(usageText());
        return kExitOk;
    }
    return run(options);
}
