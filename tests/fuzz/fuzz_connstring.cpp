// The connection-string parser on any text. Whatever it accepts must come
// back as the same pairs when written out again, in braces or, where a value
// allows it, bare; whatever it refuses must be refused with a DbError.

#include "data/db/ConnString.h"
#include "data/db/DbError.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using Items = QList<QPair<QString, QString>>;

QString describe(const Items &items)
{
    QString out;
    for (const auto &item : items)
        out += QStringLiteral("  ") + fuzzsupport::printable(item.first) + QStringLiteral(" = ")
               + fuzzsupport::printable(item.second) + QLatin1Char('\n');
    return out;
}

// Every value in braces, a "}" inside written "}}".
QString braced(const Items &items)
{
    QString out;
    for (const auto &item : items) {
        QString value = item.second;
        value.replace(QStringLiteral("}"), QStringLiteral("}}"));
        out += item.first + QStringLiteral("={") + value + QStringLiteral("};");
    }
    return out;
}

// A value may go without braces when nothing in it would be read otherwise.
bool fitsBare(const QString &value)
{
    return !value.contains(QLatin1Char(';')) && !value.startsWith(QLatin1Char('{')) && value == value.trimmed();
}

void checkRoundTrip(const QString &input, const Items &items, const QString &written, const char *how)
{
    Items again;
    try {
        again = db::ConnString::parse(written).items();
    } catch (const db::DbError &e) {
        FUZZ_CHECK(false, QStringLiteral("%1 form refused: %2\ninput %3\nwritten %4")
                              .arg(QLatin1String(how), e.description(), fuzzsupport::printable(input),
                                   fuzzsupport::printable(written)));
    }
    FUZZ_CHECK(again == items, QStringLiteral("%1 form read differently\ninput %2\nwritten %3\nfirst:\n%4again:\n%5")
                                   .arg(QLatin1String(how), fuzzsupport::printable(input),
                                        fuzzsupport::printable(written), describe(items), describe(again)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = fuzzsupport::textOf(data, size);
    db::ConnString parsed;
    try {
        parsed = db::ConnString::parse(input);
    } catch (const db::DbError &e) {
        FUZZ_CHECK(!e.description().isEmpty(), QStringLiteral("refused without a message: ") + fuzzsupport::printable(input));
        return 0;
    }
    const Items &items = parsed.items();
    for (const auto &item : items) {
        FUZZ_CHECK(!item.first.isEmpty() && item.first == item.first.trimmed()
                       && !item.first.contains(QLatin1Char('=')) && !item.first.contains(QLatin1Char(';')),
                   QStringLiteral("key %1 from %2").arg(fuzzsupport::printable(item.first), fuzzsupport::printable(input)));
    }
    checkRoundTrip(input, items, braced(items), "braced");

    bool allBare = true;
    QString bare;
    for (const auto &item : items) {
        allBare = allBare && fitsBare(item.second);
        bare += item.first + QLatin1Char('=') + item.second + QLatin1Char(';');
    }
    if (allBare)
        checkRoundTrip(input, items, bare, "bare");

    // The provider chosen never depends on how the string was written.
    FUZZ_CHECK(db::ConnString::parse(braced(items)).isBuiltInSqlite() == parsed.isBuiltInSqlite(),
               fuzzsupport::printable(input));
    return 0;
}
