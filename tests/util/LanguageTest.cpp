// Which language the program speaks, from VAMOR_LANG, the menu's choice and
// the locale, read the way gettext reads it.
#include "util/core/Language.h"

#include <gtest/gtest.h>

namespace {

struct LanguageCase {
    const char *name;
    language::Sources sources;
    const char *expected;
};

class LanguageChoice : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(LanguageChoice, FollowsTheOverridesAndTheLocale)
{
    EXPECT_EQ(language::choose(GetParam().sources).toStdString(), GetParam().expected);
}

language::Sources locale(const char *lcAll, const char *lang, const char *languageList = "")
{
    language::Sources s;
    s.lcAll = QString::fromLatin1(lcAll);
    s.lang = QString::fromLatin1(lang);
    s.languageList = QString::fromLatin1(languageList);
    return s;
}

language::Sources with(language::Sources s, const char *vamorLang, const char *saved)
{
    s.vamorLang = QString::fromLatin1(vamorLang);
    s.saved = QString::fromLatin1(saved);
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Languages, LanguageChoice,
    ::testing::Values(
        LanguageCase{"Romanian", locale("", "ro_RO.UTF-8"), "ro"},
        LanguageCase{"English", locale("", "en_US.UTF-8"), "en"},
        LanguageCase{"EnglishOfBritain", locale("", "en_GB"), "en"},
        LanguageCase{"Bulgarian", locale("", "bg_BG.UTF-8"), "bg"},
        LanguageCase{"CIsRomanian", locale("", "C.UTF-8"), "ro"},
        LanguageCase{"PosixIsRomanian", locale("POSIX", "en_US.UTF-8"), "ro"},
        LanguageCase{"NothingSetIsRomanian", locale("", ""), "ro"},
        LanguageCase{"UntranslatedLanguageIsRomanian", locale("", "de_DE.UTF-8"), "ro"},
        LanguageCase{"LcAllBeforeLang", locale("bg_BG.UTF-8", "en_US.UTF-8"), "bg"},
        LanguageCase{"LanguageListBeforeTheLocale", locale("", "de_DE.UTF-8", "fr:bg:en"), "bg"},
        LanguageCase{"LanguageListIgnoredUnderC", locale("", "C", "en"), "ro"},
        LanguageCase{"LanguageListWithoutTranslationKeepsTheLocale", locale("", "en_US.UTF-8", "de:fr"), "en"},
        LanguageCase{"MenuChoiceBeforeTheLocale", with(locale("", "en_US.UTF-8"), "", "bg"), "bg"},
        LanguageCase{"VamorLangBeforeEverything", with(locale("", "en_US.UTF-8"), "ro", "bg"), "ro"},
        LanguageCase{"UnknownVamorLangIsPassedOver", with(locale("", "bg_BG.UTF-8"), "fr", ""), "bg"}),
    [](const ::testing::TestParamInfo<LanguageCase> &info) { return std::string(info.param.name); });

} // namespace
