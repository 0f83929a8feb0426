#include "conversion/CommandLine.h"

#include "conversion/ConversionEngine.h"
#include "conversion/ConversionListing.h"
#include "conversion/ReportLog.h"
#include "data/ProjectFile.h"
#include "data/ProjectHost.h"
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "util/core/AppInfo.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QTextStream>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

volatile std::sig_atomic_t gStopRequested = 0;

extern "C" void onInterrupt(int)
{
    gStopRequested = 1;
    // A second Ctrl+C ends the program at once.
    std::signal(SIGINT, SIG_DFL);
}

void out(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

void err(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

QString usageText()
{
    return QStringLiteral(
        "Utilizare:\n"
        "  vamor --convert PROIECT.vmd --to noi|vechi [--yes] [--report FISIER] [--list]\n"
        "  vamor --help\n"
        "\n"
        "Converteste sumele din bazele de date descrise de proiect, fara ferestre:\n"
        "  --to noi      din lei VECHI in lei NOI (10 000 lei vechi = 1 leu nou)\n"
        "  --to vechi    inapoi, din lei NOI in lei VECHI\n"
        "  --yes         nu mai intreaba \"Continuati? (d/n)\"\n"
        "  --report F    scrie raportul conversiei in fisierul F\n"
        "  --list        doar listeaza campurile care vor fi convertite (starea lor\n"
        "                este reimprospatata si proiectul salvat); nu converteste nimic\n"
        "\n"
        "Proiectul este deschis printr-o copie de lucru in folderul programului\n"
        "(sau in folderul dat de variabila VAMOR_HOME) si salvat la sfarsit.\n"
        "\n"
        "Cod de iesire: 0 toate campurile incercate au fost convertite,\n"
        "               1 cel putin un camp nu a putut fi convertit,\n"
        "               2 argumente gresite sau proiectul nu poate fi deschis.\n");
}

struct Options {
    bool help = false;
    QString project;
    QString to;
    bool yes = false;
    QString report;
    bool list = false;
};

// Returns "" when the arguments are good, otherwise the message.
QString parseOptions(const QStringList &args, Options &options)
{
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
                return target.isEmpty() ? QStringLiteral("Lipseste valoarea optiunii ") + arg + QLatin1Char('.')
                                        : QString();
            }
            if (i + 1 >= args.size() || args.at(i + 1).startsWith(QStringLiteral("--")))
                return QStringLiteral("Lipseste valoarea optiunii ") + arg + QLatin1Char('.');
            target = args.at(++i);
            return QString();
        };
        const bool isFlag = arg == QStringLiteral("--help") || arg == QStringLiteral("--yes")
                            || arg == QStringLiteral("--list");
        if (isFlag && equals > 0)
            return QStringLiteral("Optiunea ") + arg + QStringLiteral(" nu primeste o valoare.");
        QString message;
        if (arg == QStringLiteral("--help") || arg == QStringLiteral("-h"))
            options.help = true;
        else if (arg == QStringLiteral("--convert"))
            message = takeValue(options.project);
        else if (arg == QStringLiteral("--to"))
            message = takeValue(options.to);
        else if (arg == QStringLiteral("--report"))
            message = takeValue(options.report);
        else if (arg == QStringLiteral("--yes"))
            options.yes = true;
        else if (arg == QStringLiteral("--list"))
            options.list = true;
        else if (arg.startsWith(QLatin1Char('-')))
            message = QStringLiteral("Optiune necunoscuta: ") + args.at(i);
        else
            message = QStringLiteral("Argument neasteptat: ") + arg;
        if (!message.isEmpty())
            return message;
    }
    if (options.help)
        return QString();
    if (options.project.isEmpty())
        return QStringLiteral("Lipseste proiectul: --convert PROIECT.vmd");
    if (options.to.isEmpty())
        return QStringLiteral("Lipseste directia conversiei: --to noi sau --to vechi");
    if (options.to != QStringLiteral("noi") && options.to != QStringLiteral("vechi"))
        return QStringLiteral("Directie necunoscuta: ") + options.to + QStringLiteral(" (se accepta noi sau vechi)");
    return QString();
}

// The project host of the run: the working copy's connection and nothing else.
class CommandLineHost : public IProjectHost {
public:
    explicit CommandLineHost(db::Connection &conn) : mConn(conn) {}
    db::Connection &Conn() override { return mConn; }
    void SetDirty(bool pbDirty) override { mDirty = pbDirty; }
    void NodeTextChanged(const QString &, const QString &) override {}
    void SetFieldButtons(bool) override {}
    void UnloadChild(const QString &) override {}

private:
    db::Connection &mConn;
    bool mDirty = false;
};

// Progress on standard error: one line rewritten in place on a terminal, one
// line per field otherwise. Ctrl+C asks the run to stop after the current field.
class TerminalProgress : public IConversionProgress {
public:
    TerminalProgress() : mTty(::isatty(STDERR_FILENO) == 1) {}
    ~TerminalProgress() override
    {
        if (mTty && mDrawn)
            err(QStringLiteral("\n"));
    }

    bool Cancel() const override
    {
        if (gStopRequested && !mStopNoticed) {
            mStopNoticed = true;
            err(QStringLiteral("%1Oprire ceruta: conversia se opreste dupa campul curent.\n")
                    .arg(mTty && mDrawn ? QStringLiteral("\n") : QString()));
        }
        return gStopRequested != 0;
    }
    void InitProgress1(qint32 max, const QString &caption) override { init(0, max, caption); }
    void InitProgress2(qint32 max, const QString &caption) override { init(1, max, caption); }
    void InitProgress3(qint32 max, const QString &caption) override { init(2, max, caption); }
    void Progress1(qint32 progress, const QString &caption) override { step(0, progress, caption); }
    void Progress2(qint32 progress, const QString &caption) override { step(1, progress, caption); }
    void Progress3(qint32 progress, const QString &caption) override
    {
        step(2, progress, caption);
        if (!mTty)
            err(captions() + QLatin1Char('\n'));
    }

private:
    struct Level {
        qint32 max = 0;
        qint32 value = 0;
        QString caption;
    };

    void init(int level, qint32 max, const QString &caption)
    {
        mLevels[level] = {max, 0, caption};
        for (int deeper = level + 1; deeper < 3; ++deeper)
            mLevels[deeper].caption.clear();
        draw();
    }
    void step(int level, qint32 progress, const QString &caption)
    {
        Level &l = mLevels[level];
        l.value = progress == 0 ? l.value + 1 : progress;
        if (!caption.isEmpty())
            l.caption = caption;
        if (level < 2)
            for (int deeper = level + 1; deeper < 3; ++deeper)
                mLevels[deeper].caption.clear();
        draw();
    }
    QString captions() const
    {
        QStringList parts;
        for (const Level &l : mLevels)
            if (!l.caption.isEmpty())
                parts.append(l.caption);
        return parts.join(QStringLiteral(" | "));
    }
    // Share of the work done, from the three levels.
    double fraction() const
    {
        double done = 0.0;
        double scale = 1.0;
        for (const Level &l : mLevels) {
            if (l.max <= 0)
                break;
            scale /= l.max;
            done += std::max(0, l.value - 1) * scale;
        }
        return std::clamp(done, 0.0, 1.0);
    }
    void draw()
    {
        if (!mTty)
            return;
        constexpr int width = 30;
        const int filled = static_cast<int>(fraction() * width);
        QString line = QStringLiteral("\r[") + QString(filled, QLatin1Char('#'))
                       + QString(width - filled, QLatin1Char('.')) + QStringLiteral("] ") + captions();
        err(line.left(160) + QStringLiteral("\x1b[K"));
        mDrawn = true;
    }

    bool mTty;
    bool mDrawn = false;
    mutable bool mStopNoticed = false;
    Level mLevels[3];
};

void printListing(const QList<conversion::ListedField> &listed, bool toLeiNoi)
{
    out(conversion::directionTitle(toLeiNoi) + QStringLiteral("\n"));
    QString headers[3] = {QStringLiteral("Sursa Date"), QStringLiteral("Tabel"), QStringLiteral("Camp")};
    qsizetype widths[2] = {headers[0].size(), headers[1].size()};
    for (const auto &f : listed) {
        widths[0] = std::max(widths[0], f.dataSource.size());
        widths[1] = std::max(widths[1], f.tableName.size());
    }
    const auto row = [&](const QString &a, const QString &b, const QString &c) {
        out(QStringLiteral("  ") + a.leftJustified(widths[0]) + QStringLiteral("  ") + b.leftJustified(widths[1])
            + QStringLiteral("  ") + c + QStringLiteral("\n"));
    };
    if (!listed.isEmpty())
        row(headers[0], headers[1], headers[2]);
    for (const auto &f : listed)
        row(f.dataSource, f.tableName, f.fieldName);
    out(conversion::listedCountText(static_cast<int>(listed.size())) + QStringLiteral("\n"));
}

// Reads the answer to "Continuati? (d/n)"; no input counts as "n".
bool askToContinue()
{
    out(QStringLiteral("Continuati? (d/n) "));
    std::string answer;
    if (!std::getline(std::cin, answer)) {
        out(QStringLiteral("\n"));
        return false;
    }
    const QString a = QString::fromLocal8Bit(answer.c_str()).trimmed().toLower();
    return a == QStringLiteral("d") || a == QStringLiteral("da");
}

QString describe(const std::exception &e)
{
    if (const auto *dbError = dynamic_cast<const db::DbError *>(&e))
        return QString::number(dbError->number()) + QStringLiteral(": ") + dbError->description();
    return QString::fromUtf8(e.what());
}

// The open project of the run: its working copy, the connection to it and the
// registered host. Saved over the project file and removed at the end.
class OpenProject {
public:
    ~OpenProject()
    {
        setProjectHost(nullptr);
        mConn.close();
        if (!mWorkingCopy.isEmpty() && !mKeepWorkingCopy)
            QFile::remove(mWorkingCopy);
    }

    // Returns "" or the message.
    QString open(const QString &projectPath)
    {
        mProjectPath = QFileInfo(projectPath).absoluteFilePath();
        if (QFileInfo(mProjectPath).isDir())
            return QStringLiteral("\"") + projectPath + QStringLiteral("\" este un folder, nu un fisier de proiect.");
        if (!QFileInfo(mProjectPath).isFile())
            return QStringLiteral("Proiectul \"") + projectPath + QStringLiteral("\" nu exista.");
        try {
            mWorkingCopy = projectfile::createWorkingCopy(mProjectPath, fgAppPath());
        } catch (const std::exception &e) {
            return QStringLiteral("Nu se poate face copia de lucru a proiectului in folderul \"") + fgAppPath()
                   + QStringLiteral("\": ") + describe(e);
        }
        try {
            mConn.open(projectfile::projectConnectionString(mWorkingCopy));
            const QString version = projectfile::readProjectVersion(mConn);
            if (version != QStringLiteral("1.0"))
                return QStringLiteral("Proiectul are versiunea ") + version
                       + QStringLiteral(", pe care acest program nu o cunoaste.");
        } catch (const std::exception &e) {
            return QStringLiteral("Proiectul \"") + projectPath + QStringLiteral("\" nu poate fi deschis: ")
                   + describe(e);
        }
        setProjectHost(&mHost);
        return QString();
    }

    db::Connection &conn() { return mConn; }

    // Copies the working copy over the project file. Returns "" or the message;
    // on failure the working copy is kept so that nothing is lost.
    QString save()
    {
        mConn.close();
        try {
            projectfile::saveWorkingCopy(mWorkingCopy, mProjectPath);
        } catch (const std::exception &e) {
            mKeepWorkingCopy = true;
            return QStringLiteral("Proiectul nu a putut fi salvat: ") + describe(e)
                   + QStringLiteral("\nStarea campurilor a ramas in copia de lucru \"") + mWorkingCopy
                   + QStringLiteral("\".");
        }
        return QString();
    }

private:
    db::Connection mConn;
    CommandLineHost mHost{mConn};
    QString mProjectPath;
    QString mWorkingCopy;
    bool mKeepWorkingCopy = false;
};

int run(const Options &options)
{
    const bool toLeiNoi = options.to == QStringLiteral("noi");
    OpenProject project;
    const QString openMessage = project.open(options.project);
    if (!openMessage.isEmpty()) {
        err(openMessage + QStringLiteral("\n"));
        return kExitUsage;
    }

    QList<conversion::ListedField> listed;
    try {
        conversion::listFieldsToConvert(project.conn(), toLeiNoi,
                                        [&listed](const conversion::ListedField &f) { listed.append(f); });
    } catch (const std::exception &e) {
        err(QStringLiteral("Campurile nu au putut fi listate: ") + describe(e) + QStringLiteral("\n"));
        const QString saveMessage = project.save();
        if (!saveMessage.isEmpty())
            err(saveMessage + QStringLiteral("\n"));
        return kExitFailed;
    }
    printListing(listed, toLeiNoi);

    if (options.list || (!options.yes && !askToContinue())) {
        if (!options.list)
            out(QStringLiteral("Conversia nu a fost facuta.\n"));
        const QString saveMessage = project.save();
        if (!saveMessage.isEmpty()) {
            err(saveMessage + QStringLiteral("\n"));
            return kExitFailed;
        }
        return kExitOk;
    }

    conversion::ReportLog report;
    conversion::ConversionEngine::Result result;
    report.ConvertStart();
    {
        gStopRequested = 0;
        auto previous = std::signal(SIGINT, onInterrupt);
        TerminalProgress progress;
        conversion::ConversionEngine engine(project.conn(), progress, report);
        result = engine.run(toLeiNoi);
        std::signal(SIGINT, previous);
    }
    report.ConvertEnd(result.cancelled ? kConvertStoppedStatus : QString());

    int status = kExitOk;
    if (result.failed) {
        err(QStringLiteral("Conversia s-a oprit din cauza unei erori: ") + QString::number(result.errorNumber)
            + QStringLiteral(": ") + result.errorDescription + QStringLiteral("\n"));
        status = kExitFailed;
    }
    for (const QString &source : result.offlineSources) {
        err(QStringLiteral("Sursa de date \"") + source
            + QStringLiteral("\" nu a putut fi deschisa si a fost marcata Deconectat; campurile ei nu au fost "
                             "convertite.\n"));
        status = kExitFailed;
    }
    if (report.errorCount() > 0)
        status = kExitFailed;

    const QString saveMessage = project.save();
    if (!saveMessage.isEmpty()) {
        err(saveMessage + QStringLiteral("\n"));
        status = kExitFailed;
    }

    out(QStringLiteral("\n") + report.fileText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    if (!options.report.isEmpty()) {
        try {
            report.saveToFile(options.report);
        } catch (const std::exception &e) {
            err(QStringLiteral("Raportul nu a putut fi scris: ") + describe(e) + QStringLiteral("\n"));
            status = kExitFailed;
        }
    }
    return status;
}

} // namespace

bool isCommandLineRun(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        // Any option of the run counts, so that one given without --convert
        // is answered with a message rather than by opening a window.
        const std::string arg = argv[i];
        for (const char *option : {"--convert", "--to", "--report", "--yes", "--list", "--help", "-h"}) {
            const std::string name = option;
            if (arg == name || arg.rfind(name + "=", 0) == 0)
                return true;
        }
    }
    return false;
}

int runCommandLine(int argc, char **argv)
{
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance())
        app = std::make_unique<QCoreApplication>(argc, argv);

    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
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
