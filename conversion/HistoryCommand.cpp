#include "conversion/HistoryCommand.h"

#include "conversion/CommandLineProject.h"
#include "conversion/RunHistory.h"
#include "conversion/TerminalOutput.h"

namespace history {

namespace {

QString when(const QDateTime &t) { return t.isValid() ? t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QStringLiteral("-"); }

QString csv(const QStringList &values)
{
    QStringList quoted;
    for (QString value : values)
        quoted.append(QLatin1Char('"') + value.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"'));
    return quoted.join(QLatin1Char(',')) + QLatin1Char('\n');
}

// "; totaluri: vechi 100, noi 0.01, ..." of a field's or a run's totals.
QString totalsText(bool toLeiNoi, const QString &oldSum, const QString &newSum, const QString &expected,
                   const QString &difference, const QString &restored)
{
    return toLeiNoi ? QStringLiteral("; totaluri: vechi %1, noi %2, asteptat %3, diferenta %4")
                          .arg(oldSum, newSum, expected, difference)
                    : QStringLiteral("; totaluri: vechi %1, restaurat %2").arg(oldSum, restored);
}

QString usage()
{
    return QStringLiteral("Utilizare:\n"
                          "  vamor --history PROIECT.vmd [--csv]\n"
                          "\n"
                          "Listeaza conversiile inregistrate in proiect, de la cea mai veche: inceputul si\n"
                          "sfarsitul, utilizatorul si calculatorul, directia, campurile convertite si esuate,\n"
                          "apoi campurile fiecarei conversii cu totalurile lor de control. --csv scrie cate o\n"
                          "linie CSV pentru fiecare camp.\n"
                          "\n"
                          "Cod de iesire: 0, sau 2 pentru argumente gresite sau un proiect care nu poate fi deschis.\n");
}

} // namespace

bool isHistoryCommand(const QStringList &args)
{
    for (const QString &arg : args)
        if (arg == QStringLiteral("--history") || arg.startsWith(QStringLiteral("--history=")))
            return true;
    return false;
}

int runHistoryCommand(const QStringList &args)
{
    using terminal::err;
    using terminal::out;
    QString projectPath, problem;
    bool csvOutput = false;
    if (args.contains(QStringLiteral("--help"))) {
        out(usage());
        return 0;
    }
    for (qsizetype i = 1; i < args.size() && problem.isEmpty(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QStringLiteral("--history") || arg.startsWith(QStringLiteral("--history="))) {
            if (!projectPath.isEmpty())
                problem = QStringLiteral("Optiunea --history este data de doua ori.");
            else if (arg.contains(QLatin1Char('=')))
                projectPath = arg.mid(arg.indexOf(QLatin1Char('=')) + 1);
            else if (i + 1 < args.size() && !args.at(i + 1).startsWith(QStringLiteral("--")))
                projectPath = args.at(++i);
            if (problem.isEmpty() && projectPath.isEmpty())
                problem = QStringLiteral("Lipseste valoarea optiunii --history.");
        } else if (arg == QStringLiteral("--csv") && !csvOutput) {
            csvOutput = true;
        } else if (arg == QStringLiteral("--csv")) {
            problem = QStringLiteral("Optiunea --csv este data de doua ori.");
        } else if (arg.startsWith(QLatin1Char('-'))) {
            problem = QStringLiteral("Optiune necunoscuta: ") + arg;
        } else {
            problem = QStringLiteral("Argument neasteptat: ") + arg;
        }
    }
    if (!problem.isEmpty()) {
        err(problem + QStringLiteral("\n\n") + usage());
        return 2;
    }
    cli::OpenProject project;
    const QString openMessage = project.open(projectPath);
    if (!openMessage.isEmpty()) {
        err(openMessage + QStringLiteral("\n"));
        return 2;
    }
    QList<RunEntry> runs;
    try {
        runs = readHistory(project.conn());
    } catch (const std::exception &e) {
        err(QStringLiteral("Istoricul nu a putut fi citit: ") + terminal::describe(e) + QStringLiteral("\n"));
        return 2;
    }
    if (csvOutput) {
        out(csv({"Conversie", "Inceput", "Sfarsit", "Utilizator", "Calculator", "Directie", "Optiuni", "Stare conversie",
                 "Sursa Date", "Tabel", "Camp", "Inregistrari", "Stare inainte", "Stare dupa", "Eroare", "Durata (ms)",
                 "Randuri", "Suma veche", "Suma noua", "Suma asteptata", "Diferenta", "Suma restaurata", "Conditie",
                 "Observatii"}));
        int number = 0;
        for (const RunEntry &run : runs) {
            ++number;
            const QStringList head{QString::number(number), when(run.started), when(run.ended), run.user, run.computer,
                                   directionText(run), run.options, statusText(run)};
            if (run.fields.isEmpty())
                out(csv(head + QStringList(16, QString())));
            for (const FieldEntry &f : run.fields) {
                const conversion::FieldTotals &t = f.totals;
                out(csv(head + QStringList{f.dataSource, f.table, f.field, QString::number(f.records), f.stateBefore,
                                           f.stateAfter, f.error,
                                           f.durationMs < 0 ? QString() : QString::number(f.durationMs), t.rows,
                                           t.oldSum, t.newSum, t.expectedSum, t.difference, t.restoredSum,
                                           f.condition, f.note}));
            }
        }
        return 0;
    }
    if (runs.isEmpty())
        out(QStringLiteral("Proiectul nu are nicio conversie inregistrata.\n"));
    int number = 0;
    for (const RunEntry &run : runs) {
        const conversion::TotalsSum sum = runTotals(run);
        out(QStringLiteral("Conversia %1: %2 - %3, %4 pe %5, %6, %7 campuri convertite, %8 esuate, %9%10%11\n")
                .arg(++number)
                .arg(when(run.started), when(run.ended), run.user, run.computer, directionText(run))
                .arg(run.converted())
                .arg(run.failed())
                .arg(statusText(run), run.options.isEmpty() ? QString() : QStringLiteral(" (") + run.options + QLatin1Char(')'),
                     sum.fields == 0 ? QString()
                                     : totalsText(run.toLeiNoi, sum.oldSum, sum.newSum, sum.expectedSum,
                                                  sum.difference, sum.restoredSum)));
        for (const FieldEntry &f : run.fields) {
            QString line = QStringLiteral("  ") + f.dataSource + QStringLiteral(" / ") + f.table + QStringLiteral(" / ")
                           + f.field + QStringLiteral(": ") + QString::number(f.records) + QStringLiteral(" inregistrari");
            if (!f.condition.isEmpty())
                line += QStringLiteral(" (WHERE ") + f.condition + QLatin1Char(')');
            if (!f.note.isEmpty())
                line += QStringLiteral(", ") + f.note;
            if (!f.error.isEmpty())
                line += QStringLiteral(", eroare: ") + f.error;
            const conversion::FieldTotals &t = f.totals;
            if (f.hasTotals && t.available())
                line += totalsText(run.toLeiNoi, t.oldSum, t.newSum, t.expectedSum, t.difference, t.restoredSum);
            out(line + QLatin1Char('\n'));
        }
    }
    return 0;
}

} // namespace history
