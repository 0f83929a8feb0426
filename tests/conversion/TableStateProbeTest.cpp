// The states of a table's fields read together, on the built-in SQLite and
// on real PostgreSQL and MariaDB servers: the same answers as the probe of
// each field on its own, and a field that cannot be read never hides the
// states of the others, in the probe and in the confirmation's list.
#include "conversion/ConversionListing.h"
#include "conversion/TableStateProbe.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/tables/UserDatabase.h"

#include <gtest/gtest.h>

using conversion::StateProbeField;
using conversion::StateProbeResult;
using testsupport::Engine;
using testsupport::UserDatabase;

namespace {

// One field of the table below and what its probe must tell: 1, 0, -1, or
// "error" when its state cannot be read.
struct StateCase {
    const char *field;
    const char *recovery;
    const char *condition;
    const char *expected;
};

// a: converted (its recovery column holds a value on the first row only);
// b: recovery column there but empty; c: no recovery column; d: both empty;
// e: its column does not exist.
const StateCase kCases[] = {
    {"a", "a_vm", "", "1"},
    {"a", "a_vm", "kind = 2", "1"},       // a recovery value outside the rows still counts
    {"a", "a_vm", "nu_exista = 1", "1"},  // the recovery column answers before the condition is read
    {"b", "b_vm", "", "0"},
    {"b", "b_vm", "kind = 3", "-1"},      // no row selected
    {"b", "b_vm", "nu_exista = 1", "error"},
    {"c", "c_vm", "", "0"},               // a recovery column not made yet
    {"c", "c_vm", "nu_exista = 1", "0"},
    {"d", "d_vm", "", "-1"},
    {"e", "e_vm", "", "error"},           // the amount column is missing
};

QString told(const StateProbeResult &r)
{
    return r.error.isEmpty() ? QString::number(r.state) : QStringLiteral("error");
}

class TableStates : public ::testing::TestWithParam<Engine> {};

TEST_P(TableStates, ReadTogetherTheyAnswerAsEachFieldAloneAndAFailureHidesNoNeighbour)
{
    VAMOR_OPEN_USER_DB(user, GetParam());
    const QString table = UserDatabase::tableName(QStringLiteral("vm_stari"));
    user.createTable(table, QStringLiteral("id INTEGER, kind INTEGER, a DECIMAL(18,2), a_vm DECIMAL(18,2), "
                                           "b DECIMAL(18,2), b_vm DECIMAL(18,2), c DECIMAL(18,2), "
                                           "d DECIMAL(18,2), d_vm DECIMAL(18,2), e_vm DECIMAL(18,2)"));
    user.execute(QStringLiteral("INSERT INTO %1 VALUES (1, 1, 1.00, 10000.00, 5.00, NULL, 7.00, NULL, NULL, NULL)")
                     .arg(table));
    user.execute(QStringLiteral("INSERT INTO %1 VALUES (2, 2, NULL, NULL, 6.00, NULL, 8.00, NULL, NULL, NULL)")
                     .arg(table));

    std::vector<StateProbeField> fields;
    for (const StateCase &c : kCases)
        fields.push_back({QString::fromLatin1(c.field), QString::fromLatin1(c.field), QString::fromLatin1(c.recovery),
                          QString::fromLatin1(c.recovery), QString::fromLatin1(c.condition)});

    // All together, the failing ones among them; then each field alone.
    const std::vector<StateProbeResult> together =
        conversion::probeTableStates(user.conn(), table, QString(), table, fields);
    ASSERT_EQ(together.size(), fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const StateCase &c = kCases[i];
        SCOPED_TRACE(std::string(c.field) + " where " + c.condition);
        EXPECT_EQ(told(together[i]).toStdString(), c.expected) << together[i].error.toStdString();
        EXPECT_EQ(told(conversion::probeFieldState(user.conn(), table, QString(), table, fields[i])).toStdString(),
                  c.expected);
    }

    // Without the fields whose queries fail the others are read by one query,
    // the table's columns listed with their types or without: the same answers.
    std::vector<StateProbeField> readable;
    std::vector<const char *> expected;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (std::string(kCases[i].expected) != "error" && std::string(kCases[i].condition) != "nu_exista = 1") {
            readable.push_back(fields[i]);
            expected.push_back(kCases[i].expected);
        }
    for (bool typesWanted : {false, true}) {
        const std::vector<StateProbeResult> clean =
            conversion::probeTableStates(user.conn(), table, QString(), table, readable, typesWanted);
        for (std::size_t i = 0; i < readable.size(); ++i)
            EXPECT_EQ(told(clean[i]).toStdString(), expected[i])
                << readable[i].fieldName.toStdString() << " where " << readable[i].condition.toStdString()
                << (typesWanted ? " (types wanted)" : "");
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, TableStates,
                         ::testing::Values(Engine::Sqlite, Engine::Postgres, Engine::MariaDb),
                         [](const auto &info) { return testsupport::engineName(info.param).toStdString(); });

// In the confirmation's list a field whose state cannot be read shows why,
// keeps its stored state, and its neighbours are listed by their own states;
// a field whose probe tells nothing keeps its stored state too.
TEST(TableStatesListing, AFieldThatCannotBeReadShowsItsErrorBesideItsNeighbours)
{
    testsupport::ProjectFixture project;
    VAMOR_OPEN_USER_DB(user, Engine::Sqlite);
    user.createTable(QStringLiteral("Facturi"), QStringLiteral("Id INTEGER, Suma DECIMAL(18,2), Suma_VM DECIMAL(18,2), "
                                                               "Tva DECIMAL(18,2), Rest DECIMAL(18,2), "
                                                               "Rest_VM DECIMAL(18,2), Gol DECIMAL(18,2), "
                                                               "Gol_VM DECIMAL(18,2), Lipsa_VM DECIMAL(18,2)"));
    user.execute(QStringLiteral("INSERT INTO Facturi VALUES (1, 1.5, 15000, 10, 3, NULL, NULL, NULL, NULL)"));
    const int table = testsupport::addUserTable(project, user, QStringLiteral("Facturi"));
    const int suma = project.addField(table, QStringLiteral("Suma"));   // converted
    const int tva = project.addField(table, QStringLiteral("Tva"));     // no recovery column yet
    const int rest = project.addField(table, QStringLiteral("Rest"));   // recovery column empty
    const int gol = project.addField(table, QStringLiteral("Gol"));     // nothing tells: stored state stands
    const int lipsa = project.addField(table, QStringLiteral("Lipsa")); // its column is missing
    const auto setStored = [&](int field, bool converted) {
        project.Conn().execute(QStringLiteral("UPDATE tField SET Converted = %1 WHERE IdField = %2")
                                   .arg(converted ? QStringLiteral("True") : QStringLiteral("False"))
                                   .arg(field));
    };
    setStored(tva, true);
    setStored(gol, true);
    setStored(lipsa, true);
    const auto stored = [&](int field) {
        return project.scalar(QStringLiteral("SELECT Converted FROM tField WHERE IdField = %1").arg(field)).toBool();
    };

    QStringList rows;
    conversion::listFieldsToConvert(project.Conn(), false, [&](const conversion::ListedField &f) {
        rows.append(f.fieldName + QLatin1Char('|') + f.note.left(37));
    });
    EXPECT_EQ(rows.join(QLatin1Char('/')).toStdString(), "Gol|/Lipsa|Starea campului nu a putut fi citita:/Suma|");
    EXPECT_TRUE(stored(suma));
    EXPECT_FALSE(stored(tva));
    EXPECT_FALSE(stored(rest));
    EXPECT_TRUE(stored(gol));
    EXPECT_TRUE(stored(lipsa));

    rows.clear();
    conversion::listFieldsToConvert(project.Conn(), true, [&](const conversion::ListedField &f) {
        rows.append(f.fieldName);
    });
    EXPECT_EQ(rows.join(QLatin1Char('/')).toStdString(), "Rest/Tva");
}

} // namespace
