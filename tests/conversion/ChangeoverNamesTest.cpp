// The changeover as the user reads it: the names and the line the templates
// stored, shown in the language in force; names written by hand and codes
// shown as they are; the project itself never rewritten.
#include "data/Changeover.h"
#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "tests/support/ProjectFixture.h"
#include "util/core/Language.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using testsupport::ProjectFixture;

namespace {

// The translators need an application object.
QCoreApplication &application()
{
    static int argc = 1;
    static char name[] = "test_changeover";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    return app ? *app : *QCoreApplication::instance();
}

struct NamesCase {
    const char *language;
    const char *oldName, *newName, *inSentence, *inLowerCase, *title, *descriptionStart;
};

const NamesCase kCases[] = {
    {"ro", "Lei VECHI", "Lei NOI", "lei NOI", "lei noi", "Conversie din Lei VECHI in Lei NOI", "Leu romanesc: 10 000"},
    {"en", "OLD lei", "NEW lei", "NEW lei", "new lei", "Conversion from OLD lei to NEW lei", "Romanian leu: 10,000"},
    {"bg", "СТАРИ леи", "НОВИ леи", "НОВИ леи", "нови леи", "Конвертиране от СТАРИ леи в НОВИ леи",
     "Румънска лея: 10 000"},
};

class ChangeoverNames : public ::testing::TestWithParam<NamesCase> {
protected:
    void SetUp() override { application(); }
    void TearDown() override { language::install(QStringLiteral("ro")); }
};

TEST_P(ChangeoverNames, TemplateTextsAreShownInTheLanguageAndTheProjectKeepsItsOwn)
{
    const NamesCase &c = GetParam();
    ASSERT_EQ(language::install(QString::fromLatin1(c.language)), QString::fromLatin1(c.language));

    ProjectFixture lei;
    ASSERT_TRUE(lei.ok());
    const Changeover shown = Changeover::of(lei.Conn());
    EXPECT_EQ(shown.oldName, QString::fromUtf8(c.oldName));
    EXPECT_EQ(shown.newName, QString::fromUtf8(c.newName));
    EXPECT_EQ(shown.inSentence(true), QString::fromUtf8(c.inSentence));
    EXPECT_EQ(shown.inLowerCase(true), QString::fromUtf8(c.inLowerCase));
    EXPECT_EQ(shown.directionTitle(true), QString::fromUtf8(c.title));
    EXPECT_TRUE(shown.description.startsWith(QString::fromUtf8(c.descriptionStart))) << shown.description.toStdString();
    // Reading the names back does not touch the stored words.
    db::Recordset rs = lei.Conn().openRecordset(QStringLiteral("SELECT OldName, NewName FROM tChangeover"));
    EXPECT_EQ(rs.value(0).toString(), QStringLiteral("Lei VECHI"));
    EXPECT_EQ(rs.value(1).toString(), QStringLiteral("Lei NOI"));

    // Codes, and names the user wrote himself, stay as they are.
    ProjectFixture leva(QStringLiteral("Vamor BGN-EUR.vmt"));
    ASSERT_TRUE(leva.ok());
    leva.Conn().execute(QStringLiteral("UPDATE tChangeover SET OldName = 'Leva vechi de test'"));
    const Changeover codes = Changeover::of(leva.Conn());
    EXPECT_EQ(codes.newName, QStringLiteral("EUR"));
    EXPECT_EQ(codes.inSentence(true), QStringLiteral("EUR"));
    EXPECT_EQ(codes.oldName, QStringLiteral("Leva vechi de test"));
    EXPECT_EQ(codes.inSentence(false), QStringLiteral("leva vechi de test"));
}

INSTANTIATE_TEST_SUITE_P(Languages, ChangeoverNames, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<NamesCase> &info) {
                             return std::string(info.param.language);
                         });

} // namespace
