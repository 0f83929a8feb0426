// Filling a conversion template and splitting it at "[GO]", on any text.
//
// The input holds six parts separated by the byte 0x1F: the template, the
// field, the recovery column, the table, the row condition, and two bytes
// for the column (the decimals it keeps, -1 to 18, from the first; single
// precision or not from the second). Two checks:
//  - the raw parts: filling never fails, and the statements split from the
//    filled text join back (with "[GO]") into that text;
//  - a template built from the first part, where the bytes 0x01 to 0x06 stand
//    for [FIELD_NAME], [REC_FIELD_NAME], [TABLE_NAME], [WHERE], [AND] and
//    [GO], 0x07 for [AMOUNT], 0x08 followed by a character c for
//    [DECIMALS:N] (N = c mod 100), and every other character is kept as it
//    is, with names and condition that contain no "[" (names written bare or
//    in quotes): the filled text is exactly the template with each
//    placeholder replaced once by its value, none is left and none is
//    added, and the statements are the pieces between the [GO]s.

#include "tables/ConvertSql.h"
#include "tests/fuzz/FuzzSupport.h"

#include <QList>

namespace {

const QString kPlaceholders[] = {
    QStringLiteral("[FIELD_NAME]"), QStringLiteral("[REC_FIELD_NAME]"), QStringLiteral("[TABLE_NAME]"),
    QStringLiteral("[WHERE]"),      QStringLiteral("[AND]"),            QStringLiteral("[GO]"),
    QStringLiteral("[AMOUNT]"),
};

QString withoutOpeningBrackets(QString text)
{
    text.remove(QLatin1Char('['));
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> raw = fuzzsupport::bytesOf(data, size).split('\x1f');
    QStringList part;
    for (int i = 0; i < 5; ++i)
        part << (i < raw.size() ? QString::fromUtf8(raw.at(i)) : QString());
    const QByteArray column = raw.size() > 5 ? raw.at(5) : QByteArray();
    const int scale = column.size() > 0 ? static_cast<unsigned char>(column.at(0)) % 20 - 1 : -1;
    const bool single = column.size() > 1 && (column.at(1) & 1);

    // Raw parts.
    const QString filledRaw =
        convertsql::fillConvertTemplate(part[0], part[1], part[2], part[3], part[4], scale, single);
    const QStringList rawStatements = convertsql::splitStatements(filledRaw);
    FUZZ_CHECK(!rawStatements.isEmpty() && rawStatements.join(QStringLiteral("[GO]")) == filledRaw,
               QStringLiteral("split does not join back: ") + fuzzsupport::printable(filledRaw));

    // A template whose placeholders are known, and plain values.
    const QString field = withoutOpeningBrackets(part[1]);
    const QString rec = withoutOpeningBrackets(part[2]);
    const QString table = withoutOpeningBrackets(part[3]);
    const QString condition = withoutOpeningBrackets(part[4]);
    const QString values[] = {
        field,
        rec,
        table,
        condition.isEmpty() ? QString() : QStringLiteral(" WHERE (") + condition + QStringLiteral(")"),
        condition.isEmpty() ? QString() : QStringLiteral(" AND (") + condition + QStringLiteral(")"),
        QString(),
        single ? QStringLiteral("(") + field + QStringLiteral(" + 0E0)") : field,
    };
    QString tpl;
    QStringList expectedStatements{QString()};
    for (qsizetype i = 0; i < part[0].size(); ++i) {
        const QChar c = part[0].at(i);
        const int code = c.unicode();
        if ((code >= 1 && code <= 5) || code == 7) {
            tpl += kPlaceholders[code - 1];
            expectedStatements.last() += values[code - 1];
        } else if (code == 6) {
            tpl += kPlaceholders[5];
            expectedStatements << QString();
        } else if (code == 8 && i + 1 < part[0].size() && !part[0].at(i + 1).isSurrogate()) {
            // (A character outside the basic plane would be split in two.)
            // At most N decimals, fewer when the column keeps fewer.
            const int n = part[0].at(++i).unicode() % 100;
            tpl += QStringLiteral("[DECIMALS:%1]").arg(n);
            expectedStatements.last() += QString::number(scale >= 0 && scale < n ? scale : n);
        } else if (c != QLatin1Char('[')) {
            tpl += c;
            expectedStatements.last() += c;
        }
    }
    const QString filled = convertsql::fillConvertTemplate(tpl, field, rec, table, condition, scale, single);
    const QString expected = expectedStatements.join(QStringLiteral("[GO]"));
    FUZZ_CHECK(filled == expected,
               QStringLiteral("template %1\nfield %2 rec %3 table %4 condition %5 scale %6 single %7\nfilled   %8\nexpected %9")
                   .arg(fuzzsupport::printable(tpl), fuzzsupport::printable(field), fuzzsupport::printable(rec),
                        fuzzsupport::printable(table), fuzzsupport::printable(condition), QString::number(scale),
                        QString::number(single), fuzzsupport::printable(filled), fuzzsupport::printable(expected)));
    for (int i : {0, 1, 2, 3, 4, 6})
        FUZZ_CHECK(!filled.contains(kPlaceholders[i]),
                   QStringLiteral("%1 left in %2").arg(kPlaceholders[i], fuzzsupport::printable(filled)));
    const QStringList statements = convertsql::splitStatements(filled);
    FUZZ_CHECK(statements == expectedStatements,
               QStringLiteral("%1 statements instead of %2 from %3")
                   .arg(statements.size()).arg(expectedStatements.size()).arg(fuzzsupport::printable(filled)));
    return 0;
}
