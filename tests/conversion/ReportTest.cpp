#include "conversion/CommandLineProject.h"
#include "conversion/ReportLog.h"
#include "data/db/DbError.h"
#include "tests/conversion/ConversionTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTranslator>
#include <gtest/gtest.h>

#include <optional>

using conversion::ReportLog;

namespace {

ReportLog twelveRowsTwoFailed()
{
    ReportLog log;
    for (int i = 1; i <= 12; ++i)
        log.AddField(QStringLiteral("Contabilitate"), QStringLiteral("Facturi"), QStringLiteral("Suma%1").arg(i), i * 10,
                     i == 4 || i == 9 ? QStringLiteral("eroare %1").arg(i) : QString());
    log.setTimes(QDateTime(QDate(2005, 7, 1), QTime(9, 0, 5)), QDateTime(QDate(2005, 7, 1), QTime(9, 1, 7)));
    return log;
}

TEST(ReportLogTest, TotalsCountSuccessesAndErrors)
{
    const ReportLog log = twelveRowsTwoFailed();
    EXPECT_EQ(log.totalLines(), (QStringList{"10 campuri din 12 convertite cu succes", "2 erori de conversie"}));

    ReportLog none;
    EXPECT_EQ(none.totalLines(), QStringList{"0 campuri din 0 convertite cu succes"});

    ReportLog allFailed;
    allFailed.AddField("A", "T", "F1", 0, "x");
    allFailed.AddField("A", "T", "F2", 0, "y");
    EXPECT_EQ(allFailed.totalLines(), (QStringList{"0 campuri din 2 convertite cu succes", "2 erori de conversie"}));
}

TEST(ReportLogTest, TitleHasTwoTimeLinesAndTheStopLineAfterAStop)
{
    ReportLog log = twelveRowsTwoFailed();
    log.ConvertEnd(QString());
    ASSERT_EQ(log.titleLines().size(), 2);
    EXPECT_TRUE(log.titleLines().at(0).startsWith(QStringLiteral("Inceput Conversie: ")));
    EXPECT_TRUE(log.titleLines().at(1).startsWith(QStringLiteral("Final Conversie: ")));

    ReportLog stopped;
    stopped.ConvertStart();
    stopped.ConvertEnd(convertStoppedStatus());
    ASSERT_EQ(stopped.titleLines().size(), 3);
    EXPECT_EQ(stopped.titleLines().at(2), QStringLiteral("Conversie intrerupta de utilizator"));
    EXPECT_LE(stopped.startTime(), stopped.endTime());
}

TEST(ReportLogTest, TimesAreWrittenWithDateAndSecondsAndNoZone)
{
    const QString text = ReportLog::formatTime(QDateTime(QDate(2005, 7, 1), QTime(9, 1, 7)));
    EXPECT_TRUE(text.contains(QStringLiteral("07"))) << text.toStdString(); // the seconds
    EXPECT_TRUE(text.contains(QStringLiteral("05")) || text.contains(QStringLiteral("2005"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("UTC"))) << text.toStdString();
}

// The saved file: title, 30 hyphens, totals, 30 hyphens, one quoted record
// per row with " inregistrari" after the count; CR LF after every line;
// UTF-8; an error of several lines continues over several lines.
TEST(ReportLogTest, SavedFileHasTheReportFormat)
{
    ReportLog log;
    log.AddField(QStringLiteral("Contabilitate"), QStringLiteral("Facturi"), QStringLiteral("Suma"), 0, QString());
    log.AddField(QStringLiteral("Salarii şi plăţi"), QStringLiteral("Stat"), QStringLiteral("Brut"), 1250,
                 QStringLiteral("no such table: X\r\nnear \"GO\": syntax error"));
    const QDateTime start(QDate(2005, 7, 1), QTime(9, 0, 5));
    const QDateTime end(QDate(2005, 7, 1), QTime(9, 1, 7));
    log.ConvertEnd(convertStoppedStatus());
    log.setTimes(start, end);

    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("raport.txt"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'x'));
    }
    log.saveToFile(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString expected =
        QStringLiteral("Inceput Conversie: ") + ReportLog::formatTime(start) + QStringLiteral("\r\n")
        + QStringLiteral("Final Conversie: ") + ReportLog::formatTime(end) + QStringLiteral("\r\n")
        + QStringLiteral("Conversie intrerupta de utilizator\r\n")
        + QStringLiteral("------------------------------\r\n")
        + QStringLiteral("1 campuri din 2 convertite cu succes\r\n2 erori de conversie\r\n").replace("2 erori", "1 erori")
        + QStringLiteral("------------------------------\r\n")
        + QStringLiteral("\"Contabilitate\",\"Facturi\",\"Suma\",\"0 inregistrari\",\"\"\r\n")
        + QStringLiteral("\"Salarii şi plăţi\",\"Stat\",\"Brut\",\"1250 inregistrari\",\"no such table: X\r\nnear \"GO\": syntax error\"\r\n");
    EXPECT_EQ(QString::fromUtf8(bytes), expected);
    EXPECT_EQ(bytes, expected.toUtf8()); // the whole old file replaced
}

// Another language for a few texts of the report, as an installed
// translation gives them.
class ReportInEnglish : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        static const QHash<QString, QString> texts{
            {QStringLiteral("Inceput Conversie: %1"), QStringLiteral("Conversion started: %1")},
            {QStringLiteral("Final Conversie: %1"), QStringLiteral("Conversion ended: %1")},
            {QStringLiteral("%n campuri din %1 convertite cu succes"), QStringLiteral("%1 fields tried, %n converted")},
        };
        return qstrcmp(context, "ReportLog") == 0 ? texts.value(QString::fromUtf8(source)) : QString();
    }
};

// A report written in the language the program shows is known as one of its
// own, so that the next --report may replace it, and so is one written in
// Romanian; a sentence's counts keep their places in the other language.
TEST(ReportLogTest, ReportInTheShownLanguageIsKnownAsAReport)
{
    int argc = 1;
    char name[] = "test_conversion";
    char *argv[] = {name, nullptr};
    std::optional<QCoreApplication> app;
    if (!QCoreApplication::instance())
        app.emplace(argc, argv);
    const QByteArray romanian = twelveRowsTwoFailed().fileText().toUtf8();

    ReportInEnglish english;
    ASSERT_TRUE(QCoreApplication::installTranslator(&english));
    const ReportLog log = twelveRowsTwoFailed();
    const QString text = log.fileText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Conversion started: "))) << text.toStdString();
    EXPECT_EQ(log.totalLines().first(), QStringLiteral("12 fields tried, 10 converted"));
    EXPECT_TRUE(cli::looksLikeReport(text.toUtf8()));
    EXPECT_TRUE(cli::looksLikeReport(romanian));
    // The first title alone is not enough.
    EXPECT_FALSE(cli::looksLikeReport(QByteArray("Conversion started: 1\r\nAltceva\r\n-\r\n-\r\n")));
    QCoreApplication::removeTranslator(&english);
}

TEST(ReportLogTest, FileThatCannotBeWrittenThrowsWithTheReason)
{
    ReportLog log;
    EXPECT_THROW(log.saveToFile(QStringLiteral("/nu/exista/raport.txt")), db::DbError);
}

} // namespace
