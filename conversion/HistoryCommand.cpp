#include "conversion/HistoryCommand.h"

#include "conversion/CommandLineProject.h"
#include "conversion/RunHistory.h"
#include "conversion/TerminalOutput.h"

#include <QCoreApplication>

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
    if (toLeiNoi)
        //: Control totals of a run or a field: the old sum, the new sum, the expected sum, the difference.
        return QStringLiteral("; ")
               + QCoreApplication::translate("HistoryCommand", "totaluri: vechi %1, noi %2, asteptat %3, diferenta %4")
                     .arg(oldSum, newSum, expected, difference);
    //: Control totals of a run or a field converted back: the old sum, the restored sum.
    return QStringLiteral("; ")
           + QCoreApplication::translate("HistoryCommand", "totaluri: vechi %1, restaurat %2").arg(oldSum, restored);
}

// The heads of the CSV columns.
const char *const kCsvHeads[] = {
    QT_TRANSLATE_NOOP("HistoryCommand", "Conversie"),       QT_TRANSLATE_NOOP("HistoryCommand", "Inceput"),
    QT_TRANSLATE_NOOP("HistoryCommand", "Sfarsit"),         QT_TRANSLATE_NOOP("HistoryCommand", "Utilizator"),
    QT_TRANSLATE_NOOP("HistoryCommand", "Calculator"),      QT_TRANSLATE_NOOP("HistoryCommand", "Directie"),
    QT_TRANSLATE_NOOP("HistoryCommand", "Optiuni"),         QT_TRANSLATE_NOOP("HistoryCommand", "Stare conversie"),
    QT_TRANSLATE_NOOP("HistoryCommand", "Sursa Date"),      QT_TRANSLATE_NOOP("HistoryCommand", "Tabel"),
    QT_TRANSLATE_NOOP("HistoryCommand", "Camp"),            QT_TRANSLATE_NOOP("HistoryCommand", "Inregistrari"),
    QT_TRANSLATE_NOOP("HistoryCommand", "Stare inainte"),   QT_TRANSLATE_NOOP("HistoryCommand", "Stare dupa"),
    QT_TRANSLATE_NOOP("HistoryCommand", "Eroare"),          QT_TRANSLATE_NOOP("HistoryCommand", "Durata (ms)"),
    QT_TRANSLATE_NOOP("HistoryCommand", "Randuri"),         QT_TRANSLATE_NOOP("HistoryCommand", "Suma veche"),
    QT_TRANSLATE_NOOP("HistoryCommand", "Suma noua"),       QT_TRANSLATE_NOOP("HistoryCommand", "Suma asteptata"),
    QT_TRANSLATE_NOOP("HistoryCommand", "Diferenta"),       QT_TRANSLATE_NOOP("HistoryCommand", "Suma restaurata"),
    QT_TRANSLATE_NOOP("HistoryCommand", "Conditie"),        QT_TRANSLATE_NOOP("HistoryCommand", "Observatii"),
};

QString usage()
{
    //: The option names (--history, --csv) stay as they are: the user types them.
    return QCoreApplication::translate(
        "HistoryCommand",
        "Utilizare:\n"
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
                problem = QCoreApplication::translate("HistoryCommand", "Optiunea %1 este data de doua ori.")
                              .arg(QStringLiteral("--history"));
            else if (arg.contains(QLatin1Char('=')))
                projectPath = arg.mid(arg.indexOf(QLatin1Char('=')) + 1);
            else if (i + 1 < args.size() && !args.at(i + 1).startsWith(QStringLiteral("--")))
                projectPath = args.at(++i);
            if (problem.isEmpty() && projectPath.isEmpty())
                problem = QCoreApplication::translate("HistoryCommand", "Lipseste valoarea optiunii %1.")
                              .arg(QStringLiteral("--history"));
        } else if (arg == QStringLiteral("--csv") && !csvOutput) {
            csvOutput = true;
        } else if (arg == QStringLiteral("--csv")) {
            problem = QCoreApplication::translate("HistoryCommand", "Optiunea %1 este data de doua ori.")
                          .arg(QStringLiteral("--csv"));
        } else if (arg.startsWith(QLatin1Char('-'))) {
            problem = QCoreApplication::translate("HistoryCommand", "Optiune necunoscuta: %1").arg(arg);
        } else {
            problem = QCoreApplication::translate("HistoryCommand", "Argument neasteptat: %1").arg(arg);
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
        err(QCoreApplication::translate("HistoryCommand", "Istoricul nu a putut fi citit: %1").arg(terminal::describe(e))
            + QStringLiteral("\n"));
        return 2;
    }
    if (csvOutput) {
        QStringList heads;
        for (const char *head : kCsvHeads)
            heads.append(QCoreApplication::translate("HistoryCommand", head));
        out(csv(heads));
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
        out(QCoreApplication::translate("HistoryCommand", "Proiectul nu are nicio conversie inregistrata.")
            + QStringLiteral("\n"));
    int number = 0;
    for (const RunEntry &run : runs) {
        const conversion::TotalsSum sum = runTotals(run);
        out(QCoreApplication::translate("HistoryCommand",
                                        "Conversia %1: %2 - %3, %4 pe %5, %6, %n campuri convertite, %7 esuate, %8%9%10",
                                        nullptr, run.converted())
                .arg(QString::number(++number), when(run.started), when(run.ended), run.user, run.computer,
                     directionText(run), QString::number(run.failed()), statusText(run),
                     run.options.isEmpty() ? QString() : QStringLiteral(" (") + run.options + QLatin1Char(')'),
                     sum.fields == 0 ? QString()
                                     : totalsText(run.toLeiNoi, sum.oldSum, sum.newSum, sum.expectedSum,
                                                  sum.difference, sum.restoredSum))
            + QLatin1Char('\n'));
        for (const FieldEntry &f : run.fields) {
            //: A field of a run: its data source, table and field, and the records converted.
            QString line = QStringLiteral("  ")
                           + QCoreApplication::translate("HistoryCommand", "%1 / %2 / %3: %n inregistrari", nullptr,
                                                         f.records)
                                 .arg(f.dataSource, f.table, f.field);
            if (!f.condition.isEmpty())
                line += QStringLiteral(" (WHERE ") + f.condition + QLatin1Char(')');
            if (!f.note.isEmpty())
                line += QStringLiteral(", ") + f.note;
            if (!f.error.isEmpty())
                line += QStringLiteral(", ")
                        + QCoreApplication::translate("HistoryCommand", "eroare: %1").arg(f.error);
            const conversion::FieldTotals &t = f.totals;
            if (f.hasTotals && t.available())
                line += totalsText(run.toLeiNoi, t.oldSum, t.newSum, t.expectedSum, t.difference, t.restoredSum);
            out(line + QLatin1Char('\n'));
        }
    }
    return 0;
}

} // namespace history
