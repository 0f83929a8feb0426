// Where a command-line run is: one line redrawn in place on a terminal,
// plain lines in a log, the time of each field after the report's rows.
// Nothing here asserts on how long anything took, only on what is shown.

#include "conversion/TerminalOutput.h"
#include "tests/conversion/CommandLineFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

#include <csignal>
#include <mutex>

namespace {

using convtest::CommandLineFixture;
using terminal::TerminalProgress;

// Control characters other than the line end.
bool hasControlCharacters(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() < 0x20 && c != QLatin1Char('\n'))
            return true;
    return false;
}

class ProgressDisplayTest : public CommandLineFixture {
protected:
    void SetUp() override
    {
        CommandLineFixture::SetUp();
        // A third field whose column does not exist: attempted, and failed.
        project(QStringLiteral("INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (1, 'Lipsa', 'Lipsa_VM')"));
    }

    // The program on a pseudo-terminal `columns` wide (through script(1)):
    // everything it wrote.
    QString vamorOnTerminal(const QStringList &args, int columns)
    {
        QString command = QStringLiteral("stty cols %1 rows 40; exec '%2'").arg(columns).arg(QStringLiteral(VAMOR_CLI));
        for (const QString &a : args)
            command += QStringLiteral(" '") + QString(a).replace(QStringLiteral("'"), QStringLiteral("'\\''")) + QLatin1Char('\'');
        std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment());
        process->start(QStringLiteral("script"), {QStringLiteral("-qec"), command, QStringLiteral("/dev/null")});
        const Outcome r = finish(*process);
        EXPECT_EQ(r.status, 1) << r.out.toStdString(); // the missing column fails its field
        return r.out;
    }
};

// Not a terminal: one plain line per field naming it, with the count of
// fields done of all; no carriage return or escape sequence in the log.
TEST_F(ProgressDisplayTest, LogGetsOnePlainLinePerField)
{
    const Outcome r = vamor({QStringLiteral("--convert"), projectPath, QStringLiteral("--to"), QStringLiteral("noi"),
                             QStringLiteral("--yes")});
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    EXPECT_FALSE(hasControlCharacters(r.err)) << r.err.toStdString();
    QStringList progressLines;
    for (const QString &line : r.err.split(QLatin1Char('\n')))
        if (line.startsWith(QStringLiteral("campuri ")))
            progressLines.append(line);
    ASSERT_EQ(progressLines.size(), 3) << r.err.toStdString();
    // The fields in the order the run takes them (by their row in the project).
    const char *names[] = {"(Suma)", "(Tva)", "(Lipsa)"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(progressLines[i].startsWith(QStringLiteral("campuri %1/3 | scurs ").arg(i)))
            << progressLines[i].toStdString();
        EXPECT_TRUE(progressLines[i].contains(QStringLiteral("Firma")) && progressLines[i].contains(QStringLiteral("Facturi"))
                    && progressLines[i].contains(QLatin1String(names[i])))
            << progressLines[i].toStdString();
    }
}

// The saved report keeps its rows exactly as they were, and a section after
// them gives the time of every field the run attempted, the failed one too.
TEST_F(ProgressDisplayTest, ReportFileListsTheTimeOfEveryAttemptedField)
{
    const QString reportPath = QDir(home.path()).filePath(QStringLiteral("raport.txt"));
    const Outcome r = vamor({QStringLiteral("--convert"), projectPath, QStringLiteral("--to"), QStringLiteral("noi"),
                             QStringLiteral("--yes"), QStringLiteral("--report"), reportPath});
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    QFile file(reportPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    const QString rule = QStringLiteral("------------------------------\r\n");
    const qsizetype rowsAt = text.indexOf(QStringLiteral("\"Firma\",\"Facturi\",\"Suma\","));
    ASSERT_GE(rowsAt, 0) << text.toStdString();
    const qsizetype timesAt = text.indexOf(rule + QStringLiteral("Durata pe camp\r\n"), rowsAt);
    ASSERT_GT(timesAt, rowsAt) << text.toStdString();
    const QStringList rows = text.mid(rowsAt, timesAt - rowsAt).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 3) << text.toStdString();
    EXPECT_EQ(rows[0], QStringLiteral("\"Firma\",\"Facturi\",\"Suma\",\"1 inregistrari (Sume rotunjite la 0 zecimale)\",\"\""));
    EXPECT_EQ(rows[1], QStringLiteral("\"Firma\",\"Facturi\",\"Tva\",\"2 inregistrari\",\"\""));
    EXPECT_TRUE(rows[2].startsWith(QStringLiteral("\"Firma\",\"Facturi\",\"Lipsa\",\"0 inregistrari\",\""))
                && rows[2] != QStringLiteral("\"Firma\",\"Facturi\",\"Lipsa\",\"0 inregistrari\",\"\""))
        << rows[2].toStdString();

    QStringList times = text.mid(timesAt + rule.size()).split(QStringLiteral("\r\n"));
    ASSERT_GE(times.size(), 4) << text.toStdString();
    const QRegularExpression timeRow(
        QStringLiteral("^\"Firma\",\"Facturi\",\"(\\w+)\",\"\\d\\d:\\d\\d:\\d\\d\\.\\d\"$"));
    const char *names[] = {"Suma", "Tva", "Lipsa"};
    for (int i = 0; i < 3; ++i) {
        const QRegularExpressionMatch m = timeRow.match(times[i + 1]);
        ASSERT_TRUE(m.hasMatch()) << times[i + 1].toStdString();
        EXPECT_EQ(m.captured(1), QLatin1String(names[i]));
    }
    // The headless output carries the same section.
    EXPECT_TRUE(r.out.contains(QStringLiteral("Durata pe camp\n\"Firma\",\"Facturi\",\"Suma\",\""))) << r.out.toStdString();
}

// On a terminal: one line redrawn in place (carriage returns, no line end
// until the run is over), with the count and the time since the start; the
// estimate of the time left appears only once a field has finished. On a
// narrow terminal the line never wraps and the field with its time stays.
TEST_F(ProgressDisplayTest, TerminalRedrawsOneLineWithCountTimeAndLaterAnEstimate)
{
    for (const int columns : {120, 60}) {
        SCOPED_TRACE(columns);
        if (columns == 60) { // the first run converted the fields: back to old lei first (the
                             // field whose column is missing fails this way too)
            EXPECT_EQ(vamor({QStringLiteral("--convert"), projectPath, QStringLiteral("--to"), QStringLiteral("vechi"),
                             QStringLiteral("--yes")}).status, 1);
        }
        const QString all = vamorOnTerminal({QStringLiteral("--convert"), projectPath, QStringLiteral("--to"),
                                             QStringLiteral("noi"), QStringLiteral("--yes")}, columns);
        const qsizetype first = all.indexOf(QStringLiteral("\rcampuri "));
        ASSERT_GE(first, 0) << all.toStdString();
        // The terminal turns a line end into CR LF: the progress ends at the first one.
        const qsizetype end = all.indexOf(QLatin1Char('\n'), first);
        ASSERT_GT(end, first);
        const QStringList draws = all.mid(first + 1, end - first - 1).split(QLatin1Char('\r'), Qt::SkipEmptyParts);
        ASSERT_GE(draws.size(), 3) << all.toStdString();
        bool estimated = false;
        for (const QString &draw : draws) {
            EXPECT_TRUE(draw.endsWith(QStringLiteral("\x1b[K"))) << draw.toStdString();
            EXPECT_LT(draw.size() - 3, columns) << draw.toStdString();
            if (draw.startsWith(QStringLiteral("campuri 2/3")) && draw.contains(QStringLiteral("Lipsa"))) {
                EXPECT_TRUE(QRegularExpression(QStringLiteral("Lipsa\\)? \\d\\d:\\d\\d:\\d\\d\x1b\\[K$")).match(draw).hasMatch())
                    << draw.toStdString();
            }
            const QRegularExpressionMatch m =
                QRegularExpression(QStringLiteral("^campuri (\\d)/3 \\| scurs \\d\\d:\\d\\d:\\d\\d")).match(draw);
            ASSERT_TRUE(m.hasMatch()) << draw.toStdString();
            if (draw.contains(QStringLiteral("ramas "))) {
                EXPECT_GE(m.captured(1).toInt(), 1) << draw.toStdString();
                estimated = true;
            }
        }
        EXPECT_FALSE(draws.first().contains(QStringLiteral("ramas"))) << draws.first().toStdString();
        EXPECT_TRUE(estimated) << all.toStdString();
        EXPECT_TRUE(draws.last().startsWith(QStringLiteral("campuri 3/3 | "))) << draws.last().toStdString();
        EXPECT_TRUE(all.contains(QStringLiteral("Lipsa"))) << all.toStdString();
    }
}

// The display on its own, fed as the engine feeds it. A field that runs long
// keeps being redrawn by the timer thread with its own running time, on a
// terminal; in a log it gets a plain line now and then.
TEST(TerminalProgressTest, LongFieldKeepsTicking)
{
    struct Case {
        int tty;
        const char *expect; // in a line written while no progress call came
    };
    for (const Case c : {Case{1, "\rcampuri 0/2 | scurs "}, Case{0, " (in lucru)\n"}}) {
        SCOPED_TRACE(c.tty);
        std::mutex mutex;
        QStringList written;
        static volatile std::sig_atomic_t stop = 0;
        TerminalProgress::Options options;
        options.tty = c.tty;
        options.redrawMs = 10;
        options.plainNoticeMs = 10;
        options.write = [&](const QString &text) {
            std::lock_guard<std::mutex> lock(mutex);
            written.append(text);
        };
        TerminalProgress progress(&stop, options);
        progress.setTotalFields(2);
        progress.InitProgress1(1, QStringLiteral("Sursa de Date"));
        progress.Progress1(0, QStringLiteral("Sursa de Date 1/1 (Firma)"));
        progress.InitProgress3(2, QStringLiteral("Camp"));
        progress.Progress3(0, QStringLiteral("Camp 1/2 (Suma)"));
        qsizetype before = 0;
        {
            std::lock_guard<std::mutex> lock(mutex);
            before = written.size();
        }
        QElapsedTimer waited;
        waited.start();
        QStringList ticks;
        while (ticks.size() < 2 && waited.elapsed() < 10000) {
            QThread::msleep(20);
            std::lock_guard<std::mutex> lock(mutex);
            ticks = written.mid(before);
        }
        ASSERT_GE(ticks.size(), 2);
        for (const QString &tick : ticks) {
            EXPECT_TRUE(tick.contains(QLatin1String(c.expect))) << tick.toStdString();
            EXPECT_TRUE(QRegularExpression(QStringLiteral("Suma\\)? \\d\\d:\\d\\d:\\d\\d")).match(tick).hasMatch())
                << tick.toStdString();
            EXPECT_EQ(hasControlCharacters(tick), c.tty == 1) << tick.toStdString();
        }
    }
}

} // namespace
