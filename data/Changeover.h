#pragma once

#include <QString>

namespace db {
class Connection;
}

// The currency changeover a project converts: which currency its amounts
// leave and which they reach, at what rate, rounded to how many decimals and
// by which rule. It comes from the project's template (table tChangeover);
// a project without one is the 2005 denomination of the leu.
struct Changeover {
    QString oldName = QStringLiteral("Lei VECHI"); // as the user reads it
    QString newName = QStringLiteral("Lei NOI");
    QString oldCode = QStringLiteral("ROL");
    QString newCode = QStringLiteral("RON");
    QString rate = QStringLiteral("10000"); // old units for one new unit, exact decimal text
    int decimals = -1;      // decimals of the new amounts; -1: as the type's statements round them
    QString rounding;       // the fields' default rule: "" (halves up) or "SUS"
    QString description;    // one line: currencies, rate, date

    // The project's changeover; the 2005 leu when the project has none.
    // Throws when the project cannot be read.
    static Changeover of(db::Connection &project);

    // The currency a conversion reaches (to the new one when `toNew`), as
    // the user reads it: "Lei NOI", "EUR".
    QString name(bool toNew) const { return toNew ? newName : oldName; }
    // The name inside a sentence: a name of words starts in lower case
    // ("lei NOI"), a code stays as it is ("EUR").
    QString inSentence(bool toNew) const;
    // The name in a heading or a plain phrase: a name of words all in lower
    // case ("lei noi"), a code as it is ("BGN").
    QString inLowerCase(bool toNew) const;
    // "Conversie din Lei VECHI in Lei NOI", or the other way round.
    QString directionTitle(bool toNew) const;
    // True when `word` names the new currency ("noi" or its code), false
    // for the old one ("vechi" or its code); nothing for another word.
    int directionNamed(const QString &word) const; // 1 new, 0 old, -1 unknown
};

// The rule a field is rounded by: its own ("SUS"), or the changeover's when
// it has none. "" means halves away from zero.
QString effectiveRounding(const QString &fieldRule, const Changeover &changeover);
