// The translation files are complete: every text of the program, as lupdate
// reads the sources now, has a finished translation in every language, with
// exactly the placeholders of its source text.
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

struct Message {
    QString context, source;
    bool numerus = false;
    bool finished = false;
    QStringList translations; // one, or one per plural form
};

// The text of the element the reader is at, with the characters that XML
// cannot hold as they are (a carriage return) written as <byte value="xd"/>.
QString elementText(QXmlStreamReader &xml)
{
    QString text;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters())
            text += xml.text();
        else if (xml.isStartElement() && xml.name() == QLatin1String("byte")) {
            bool ok = false;
            const QString value = xml.attributes().value(QStringLiteral("value")).toString();
            const uint code = value.startsWith(QLatin1Char('x')) ? value.mid(1).toUInt(&ok, 16) : value.toUInt(&ok);
            if (ok)
                text += QChar(char16_t(code));
        } else if (xml.isEndElement() && xml.name() != QLatin1String("byte"))
            break;
    }
    return text;
}

// The messages of a .ts file, by context and source text.
QHash<QString, Message> readTs(const QString &path, QString *error)
{
    QHash<QString, Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return messages;
    }
    QXmlStreamReader xml(&file);
    QString context;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("name") && message.source.isNull() && !xml.attributes().hasAttribute(QStringLiteral("type")))
                context = xml.readElementText();
            else if (name == QLatin1String("message")) {
                message = Message();
                message.context = context;
                message.numerus = xml.attributes().value(QStringLiteral("numerus")) == QLatin1String("yes");
            } else if (name == QLatin1String("source"))
                message.source = elementText(xml);
            else if (name == QLatin1String("translation")) {
                const QString type = xml.attributes().value(QStringLiteral("type")).toString();
                message.finished = type.isEmpty();
                if (!message.numerus)
                    message.translations.append(elementText(xml));
            } else if (name == QLatin1String("numerusform"))
                message.translations.append(elementText(xml));
        } else if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            messages.insert(message.context + QLatin1Char('\x1f') + message.source, message);
            message = Message();
        } else if (xml.isEndElement() && xml.name() == QLatin1String("context")) {
            context.clear();
        }
    }
    if (xml.hasError())
        *error = path + QStringLiteral(": ") + xml.errorString();
    return messages;
}

// "%1", "%n", "%L2" ... of a text, sorted, each as often as it appears.
QStringList placeholders(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("%L?(\\d{1,2}|n)"));
    QStringList found;
    for (auto it = pattern.globalMatch(text); it.hasNext();)
        found.append(it.next().captured(0).remove(QLatin1Char('L')));
    found.sort();
    return found;
}

// Placeholders that differ: only the set counts, not how often (a translation
// may say "%1" twice), except that %n must appear when the source has it.
QString placeholderProblem(const QString &source, const QString &translation)
{
    QStringList a = placeholders(source), b = placeholders(translation);
    a.removeDuplicates();
    b.removeDuplicates();
    if (a == b)
        return QString();
    return QStringLiteral("placeholders %1 in the source, %2 in the translation")
        .arg(a.join(QLatin1Char(' ')), b.join(QLatin1Char(' ')));
}

QStringList languagesUnderTest()
{
    return QString::fromLatin1(VAMOR_LANGUAGES).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

class TranslationFiles : public ::testing::TestWithParam<QString> {};

TEST_P(TranslationFiles, EveryTextOfTheProgramHasAFinishedTranslationWithItsPlaceholders)
{
    const QString lang = GetParam();
    const QString repoTs = QStringLiteral(VAMOR_SOURCE_DIR "/translations/vamor_%1.ts").arg(lang);
    QString error;
    const QHash<QString, Message> kept = readTs(repoTs, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();

    // The texts of the program as they are now: lupdate over the sources
    // into a file of its own.
    QTemporaryDir dir;
    const QString fresh = QDir(dir.path()).filePath(QStringLiteral("fresh.ts"));
    QProcess lupdate;
    lupdate.setWorkingDirectory(QStringLiteral(VAMOR_SOURCE_DIR));
    lupdate.start(QStringLiteral(VAMOR_LUPDATE),
                  {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"), QStringLiteral("-I"),
                   QStringLiteral("."),
                   QStringLiteral("-source-language"), QStringLiteral("ro"), QStringLiteral("-target-language"), lang,
                   QStringLiteral("-extensions"), QStringLiteral("cpp,h"), QStringLiteral("app"),
                   QStringLiteral("conversion"), QStringLiteral("data"), QStringLiteral("datasources"),
                   QStringLiteral("discovery"), QStringLiteral("help"), QStringLiteral("tables"),
                   QStringLiteral("util"), QStringLiteral("-ts"), fresh});
    ASSERT_TRUE(lupdate.waitForFinished(120000)) << lupdate.errorString().toStdString();
    ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
    const QHash<QString, Message> now = readTs(fresh, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_GT(now.size(), 100) << "lupdate found too few texts in the sources";

    QStringList problems;
    for (const Message &m : now) {
        const auto found = kept.constFind(m.context + QLatin1Char('\x1f') + m.source);
        const QString where = m.context + QStringLiteral(": \"") + m.source.left(70) + QStringLiteral("\"");
        if (found == kept.constEnd()) {
            problems.append(where + QStringLiteral(" is not in the file (run scripts/update-translations.sh)"));
            continue;
        }
        if (!found->finished || found->translations.isEmpty()
            || std::any_of(found->translations.cbegin(), found->translations.cend(),
                           [](const QString &t) { return t.trimmed().isEmpty(); })) {
            problems.append(where + QStringLiteral(" has no finished translation"));
            continue;
        }
        for (const QString &translation : found->translations) {
            // A plural form of one thing may name it without the number
            // ("one field"); every other form keeps every placeholder.
            QString source = m.source;
            QString text = translation;
            if (found->numerus && !text.contains(QStringLiteral("%n")))
                source.remove(QStringLiteral("%n"));
            const QString problem = placeholderProblem(source, text);
            if (!problem.isEmpty())
                problems.append(where + QStringLiteral(": ") + problem);
        }
    }
    EXPECT_TRUE(problems.isEmpty()) << problems.size() << " problems in " << repoTs.toStdString() << ":\n"
                                    << problems.mid(0, 40).join(QLatin1Char('\n')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Languages, TranslationFiles, ::testing::ValuesIn(languagesUnderTest()),
                         [](const ::testing::TestParamInfo<QString> &info) { return info.param.toStdString(); });

// The check itself: placeholders dropped, added or renumbered are found.
TEST(TranslationPlaceholders, DroppedAddedAndRenumberedPlaceholdersAreFound)
{
    EXPECT_EQ(placeholderProblem(QStringLiteral("Sursa \"%1\" sarita: %2"), QStringLiteral("Source \"%1\" skipped: %2")),
              QString());
    EXPECT_EQ(placeholderProblem(QStringLiteral("%2 din %1"), QStringLiteral("%1 of %2")), QString());
    EXPECT_FALSE(placeholderProblem(QStringLiteral("Sursa \"%1\" sarita: %2"), QStringLiteral("Source skipped: %2")).isEmpty());
    EXPECT_FALSE(placeholderProblem(QStringLiteral("Tabel %1"), QStringLiteral("Table %1 %2")).isEmpty());
    EXPECT_FALSE(placeholderProblem(QStringLiteral("%n campuri"), QStringLiteral("fields")).isEmpty());
    EXPECT_FALSE(placeholderProblem(QStringLiteral("%1 zecimale"), QStringLiteral("%L2 decimals")).isEmpty());
    EXPECT_EQ(placeholderProblem(QStringLiteral("%1 zecimale"), QStringLiteral("%L1 decimals")), QString());
}

} // namespace
