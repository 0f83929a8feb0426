// The recordset filter on any text, over a snapshot shaped like the project's
// lists (numbers, names, flags, Null and Empty cells). A filter is refused
// with a DbError or applied; when applied:
//  - it reads the same with every ASCII letter in upper case (names, AND,
//    True/False and quoted text all compare without regard to case);
//  - "F AND G" shows the rows F and G both show;
//  - any text written as a quoted value ('' for a quote) finds exactly the
//    rows holding that text;
//  - an empty filter shows every row again.
// The input is F, a line break, then G.

#include "data/db/AdoTypes.h"
#include "data/db/DbError.h"
#include "data/db/Recordset.h"
#include "tests/fuzz/FuzzSupport.h"

#include <optional>
#include <set>

namespace {

using db::Variant;

db::Recordset snapshot(const QString &extraName)
{
    const QList<db::Column> columns = {
        {QStringLiteral("IdConn"), db::adInteger},     {QStringLiteral("FieldName"), db::adVarWChar},
        {QStringLiteral("Converted"), db::adBoolean},  {QStringLiteral("Suma"), db::adNumeric},
        {QStringLiteral("Rata"), db::adDouble},        {QStringLiteral("Nume Lung"), db::adVarWChar},
        {QStringLiteral("Row"), db::adInteger},
    };
    std::vector<QList<Variant>> rows;
    rows.push_back({Variant(1), Variant("Suma"), Variant(true), Variant::decimal(QStringLiteral("12500000.50")),
                    Variant(0.5), Variant("5")});
    rows.push_back({Variant(2), Variant("suma"), Variant(false), Variant::decimal(QStringLiteral("-3")),
                    Variant(-3.0), Variant(" 7 ")});
    rows.push_back({Variant(5), Variant("O'Brien"), Variant(true), Variant::null(), Variant::null(), Variant::null()});
    rows.push_back({Variant(5), Variant(""), Variant::null(), Variant(qint64(0)), Variant(1e15), Variant("abc")});
    rows.push_back({Variant::null(), Variant::null(), Variant(false), Variant::decimal(QStringLiteral("0.10")),
                    Variant(0.1), Variant()});
    rows.push_back({Variant(qint64(9007199254740993)), Variant(extraName), Variant(true),
                    Variant::decimal(QStringLiteral("5")), Variant(5.0), Variant(extraName)});
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        rows[r].append(Variant(r));
    return db::Recordset(columns, std::move(rows));
}

int rowCountOf(const db::Recordset &rs) { return static_cast<int>(rs.recordCount()); }

// The visible rows (their positions in the snapshot), or nothing when refused.
std::optional<std::set<int>> visibleRows(db::Recordset &rs, const QString &filter)
{
    try {
        rs.setFilter(filter);
    } catch (const db::DbError &e) {
        FUZZ_CHECK(!e.description().isEmpty(), fuzzsupport::printable(filter));
        return std::nullopt;
    }
    std::set<int> rows;
    for (; !rs.eof(); rs.moveNext())
        rows.insert(static_cast<int>(rs.value(QStringLiteral("Row")).toInt()));
    return rows;
}

QString asciiUpper(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = fuzzsupport::textOf(data, size);
    const qsizetype cut = input.indexOf(QLatin1Char('\n'));
    const QString f = cut < 0 ? input : input.left(cut);
    const QString g = cut < 0 ? QString() : input.mid(cut + 1);

    db::Recordset rs = snapshot(g);
    const int all = rowCountOf(rs);

    const auto rowsF = visibleRows(rs, f);
    const auto rowsUpper = visibleRows(rs, asciiUpper(f));
    FUZZ_CHECK(rowsF.has_value() == rowsUpper.has_value() && (!rowsF || *rowsF == *rowsUpper),
               QStringLiteral("upper case reads differently: ") + fuzzsupport::printable(f));

    if (!f.trimmed().isEmpty() && !g.trimmed().isEmpty()) {
        const auto rowsG = visibleRows(rs, g);
        const auto rowsBoth = visibleRows(rs, f + QStringLiteral(" AND ") + g);
        if (rowsF && rowsG && rowsBoth) {
            std::set<int> common;
            for (int r : *rowsF)
                if (rowsG->count(r))
                    common.insert(r);
            FUZZ_CHECK(common == *rowsBoth, QStringLiteral("F AND G is not F and G: F %1, G %2")
                                                .arg(fuzzsupport::printable(f), fuzzsupport::printable(g)));
        }
    }

    // Any text quoted as the windows quote it finds the row that holds it.
    QString quoted = g;
    quoted.replace(QStringLiteral("'"), QStringLiteral("''"));
    const QString byName = QStringLiteral("FieldName = '") + quoted + QStringLiteral("'");
    try {
        rs.setFilter(byName);
    } catch (const db::DbError &e) {
        FUZZ_CHECK(false, QStringLiteral("quoted text refused (%1): %2").arg(e.description(), fuzzsupport::printable(byName)));
    }
    int expected = 0;
    for (const QString &name : {QStringLiteral("Suma"), QStringLiteral("suma"), QStringLiteral("O'Brien"), QString(), g})
        if (name.compare(g, Qt::CaseInsensitive) == 0)
            ++expected;
    FUZZ_CHECK(rowCountOf(rs) == expected, QStringLiteral("%1 rows instead of %2 for %3")
                                               .arg(rowCountOf(rs)).arg(expected).arg(fuzzsupport::printable(byName)));
    FUZZ_CHECK(!rs.eof() && rs.value(QStringLiteral("FieldName")).toString().compare(g, Qt::CaseInsensitive) == 0,
               fuzzsupport::printable(byName));

    rs.setFilter(QString());
    FUZZ_CHECK(rowCountOf(rs) == all, QStringLiteral("an empty filter hides rows"));
    return 0;
}
