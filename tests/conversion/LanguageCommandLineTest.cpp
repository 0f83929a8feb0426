// The terminal run in the user's language: the locale (or VAMOR_LANG, or
// the saved choice) picks English, Bulgarian or Romanian for the listing,
// the question and its answers, the conversion's lines and the saved report;
// the report's numbers and the stored project stay the same in every one.
#include "tests/conversion/CommandLineFixture.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

struct LanguageCase {
    const char *name;
    const char *lang; // LANG
    const char *yes;  // the answer that means yes
    // What the user reads: the direction, the listing's count, the totals
    // line, the question, a report record.
    const char *direction;
    const char *listed;
    const char *converted;
    const char *question;
    const char *reportRecord;
    const char *reportStart;
};

// Written out by hand from the translations, not read from them.
const LanguageCase kCases[] = {
    {"English", "en_US.UTF-8", "y", "Conversion from OLD lei to NEW lei", "2 fields will be converted",
     "2 fields of 2 converted successfully", "Continue? (y/n)", "\"Firma\",\"Facturi\",\"Tva\",\"2 records\",\"\"\r\n",
     "Conversion Start: "},
    {"Bulgarian", "bg_BG.UTF-8", "да",
     "Конвертиране от СТАРИ леи в НОВИ леи", "2 полета ще бъдат конвертирани",
     "2 полета от 2 са конвертирани успешно", "Продължавате ли? (д/н)",
     "\"Firma\",\"Facturi\",\"Tva\",\"2 записа\",\"\"\r\n", "Начало на конвертирането: "},
    {"Romanian", "ro_RO.UTF-8", "d", "Conversie din Lei VECHI in Lei NOI", "2 campuri vor fi convertite",
     "2 campuri din 2 convertite cu succes", "Continuati? (d/n)",
     "\"Firma\",\"Facturi\",\"Tva\",\"2 inregistrari\",\"\"\r\n", "Inceput Conversie: "},
    {"C", "C.UTF-8", "da", "Conversie din Lei VECHI in Lei NOI", "2 campuri vor fi convertite",
     "2 campuri din 2 convertite cu succes", "Continuati? (d/n)",
     "\"Firma\",\"Facturi\",\"Tva\",\"2 inregistrari\",\"\"\r\n", "Inceput Conversie: "},
};

class LanguageCommandLine : public convtest::CommandLineFixture,
                            public ::testing::WithParamInterface<LanguageCase> {
protected:
    // Only what the test sets decides the language: no VAMOR_LANG, no other
    // locale variable, settings of its own.
    QProcessEnvironment environment() const override
    {
        QProcessEnvironment env = CommandLineFixture::environment();
        for (const char *name : {"VAMOR_LANG", "LC_ALL", "LC_MESSAGES", "LANGUAGE"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome());
        for (auto it = mEnv.cbegin(); it != mEnv.cend(); ++it)
            env.insert(it.key(), it.value());
        return env;
    }
    QString configHome() const { return QDir(home.path()).filePath(QStringLiteral("config")); }
    QString firstLineOfHelp()
    {
        const Outcome r = vamor({QStringLiteral("--help")});
        return r.out.section(QLatin1Char('\n'), 0, 0);
    }

    QHash<QString, QString> mEnv;
};

TEST_P(LanguageCommandLine, ListingQuestionConversionAndReportSpeakTheLanguageOfTheLocale)
{
    const LanguageCase &c = GetParam();
    mEnv.insert(QStringLiteral("LANG"), QString::fromLatin1(c.lang));

    Outcome r = vamor({"--convert", projectPath, "--to", "noi", "--list"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QString::fromUtf8(c.direction))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QString::fromUtf8(c.listed))) << r.out.toStdString();

    const QString reportPath = QDir(home.path()).filePath(QStringLiteral("report.txt"));
    r = vamor({"--convert", projectPath, "--to", "noi", "--report", reportPath}, QByteArray(c.yes) + "\n");
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QString::fromUtf8(c.question))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QString::fromUtf8(c.converted))) << r.out.toStdString();
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 100) << "the answer meant yes";

    QFile report(reportPath);
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(report.readAll());
    EXPECT_TRUE(text.startsWith(QString::fromUtf8(c.reportStart))) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8(c.reportRecord))) << text.toStdString();
    // The control totals keep the decimal point in every language: the
    // VAT column held 19000.5 + 250000 old lei, 26.90 new lei.
    EXPECT_TRUE(text.contains(QStringLiteral("269000.50"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("26.90"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("26,90"))) << text.toStdString();

    // What the project keeps is the same in every language.
    EXPECT_EQ(projectScalar("SELECT Count(*) FROM tField WHERE Converted = True").toInt(), 2);
    EXPECT_EQ(projectScalar("SELECT NewName FROM tChangeover").toString(), QStringLiteral("Lei NOI"));
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageCommandLine, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<LanguageCase> &info) {
                             return std::string(info.param.name);
                         });

// VAMOR_LANG beats the saved choice, which beats the locale; a language
// without a translation, and a locale of C, are Romanian.
TEST_F(LanguageCommandLine, TheVariableThenTheSavedChoiceThenTheLocaleChooseTheLanguage)
{
    struct Step {
        const char *lang, *vamorLang, *language, *saved, *firstLine;
    };
    const Step steps[] = {
        {"en_US.UTF-8", "", "", "", "Usage:"},
        {"de_DE.UTF-8", "", "", "", "Utilizare:"},
        {"en_US.UTF-8", "", "bg:en", "", "Употреба:"},
        {"C", "", "bg", "", "Utilizare:"},
        {"C.UTF-8", "", "", "en", "Usage:"},
        {"en_US.UTF-8", "", "", "ro", "Utilizare:"},
        {"en_US.UTF-8", "bg", "", "ro", "Употреба:"},
        {"bg_BG.UTF-8", "ro", "", "en", "Utilizare:"},
        {"en_US.UTF-8", "xx", "", "", "Usage:"},
    };
    for (const Step &s : steps) {
        mEnv = {{QStringLiteral("LANG"), QString::fromLatin1(s.lang)}};
        if (*s.vamorLang)
            mEnv.insert(QStringLiteral("VAMOR_LANG"), QString::fromLatin1(s.vamorLang));
        if (*s.language)
            mEnv.insert(QStringLiteral("LANGUAGE"), QString::fromLatin1(s.language));
        QSettings settings(QDir(configHome()).filePath(QStringLiteral("Vamor/Vamor.conf")), QSettings::IniFormat);
        if (*s.saved)
            settings.setValue(QStringLiteral("Language/Choice"), QString::fromLatin1(s.saved));
        else
            settings.remove(QStringLiteral("Language/Choice"));
        settings.sync();
        EXPECT_EQ(firstLineOfHelp(), QString::fromUtf8(s.firstLine))
            << "LANG=" << s.lang << " VAMOR_LANG=" << s.vamorLang << " LANGUAGE=" << s.language << " saved=" << s.saved;
    }
}

} // namespace
