#include "data/Changeover.h"

#include "data/TemplateTexts.h"
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "data/db/RateDivision.h"
#include "data/db/Recordset.h"

#include <QCoreApplication>

namespace {

// A code is written in capitals and digits only ("EUR", "BGN").
bool isCode(const QString &name)
{
    for (QChar c : name)
        if (c.isLower())
            return false;
    return true;
}

QString textOf(const db::Recordset &rs, const char *column)
{
    const db::Variant v = rs.value(QString::fromLatin1(column));
    return v.isNull() || v.isEmpty() ? QString() : v.toString().trimmed();
}

// The names and the line the templates wrote, in the user's language.
Changeover shown(Changeover changeover)
{
    changeover.oldName = templatetext::shown(changeover.oldName);
    changeover.newName = templatetext::shown(changeover.newName);
    changeover.description = templatetext::shown(changeover.description);
    return changeover;
}

} // namespace

Changeover Changeover::of(db::Connection &project)
{
    Changeover changeover;
    db::Recordset exists = project.openRecordset(
        QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name = 'tChangeover'"),
        db::CursorType::ForwardOnly, db::LockType::ReadOnly);
    if (exists.eof())
        return shown(changeover);
    db::Recordset rs = project.openRecordset(QStringLiteral("SELECT * FROM tChangeover"), db::CursorType::ForwardOnly,
                                             db::LockType::ReadOnly);
    if (rs.eof())
        return shown(changeover);
    const auto take = [&](QString &into, const char *column) {
        const QString value = textOf(rs, column);
        if (!value.isEmpty())
            into = value;
    };
    take(changeover.oldName, "OldName");
    take(changeover.newName, "NewName");
    take(changeover.oldCode, "OldCode");
    take(changeover.newCode, "NewCode");
    take(changeover.rate, "Rate");
    take(changeover.rounding, "Rounding");
    take(changeover.description, "Description");
    const db::Variant decimals = rs.value(QStringLiteral("Decimals"));
    if (!decimals.isNull() && !decimals.isEmpty())
        changeover.decimals = decimals.toInt();
    // A rate or a rule that cannot be used would convert nothing right.
    if (!db::rate::divide(QStringLiteral("1"), changeover.rate, 0, db::rate::Rounding::HalfUp)
        || changeover.decimals > 18)
        throw db::DbError(db::E_FAIL, QCoreApplication::translate("Changeover", "Cursul de schimb din proiect (\"%1\") "
                                                                              "nu este un numar zecimal pozitiv.")
                                          .arg(changeover.rate));
    if (!db::rate::roundingNamed(changeover.rounding))
        throw db::DbError(db::E_FAIL, QCoreApplication::translate("Changeover",
                                                                  "Regula de rotunjire din proiect (\"%1\") nu este "
                                                                  "cunoscuta.")
                                          .arg(changeover.rounding));
    return shown(changeover);
}

QString Changeover::inSentence(bool toNew) const
{
    // Only a first word written "Lei" loses its capital: "OLD lei" and
    // "СТАРИ леи" read the same inside a sentence.
    QString text = name(toNew);
    if (!isCode(text) && text.size() > 1 && text.at(0).isUpper() && text.at(1).isLower())
        text[0] = text.at(0).toLower();
    return text;
}

QString Changeover::inLowerCase(bool toNew) const
{
    const QString text = name(toNew);
    return isCode(text) ? text : text.toLower();
}

QString Changeover::directionTitle(bool toNew) const
{
    //: %1 is the currency the amounts leave, %2 the one they reach.
    return QCoreApplication::translate("Changeover", "Conversie din %1 in %2").arg(name(!toNew), name(toNew));
}

int Changeover::directionNamed(const QString &word) const
{
    if (word == QLatin1String("noi") || (!newCode.isEmpty() && word.compare(newCode, Qt::CaseInsensitive) == 0))
        return 1;
    if (word == QLatin1String("vechi") || (!oldCode.isEmpty() && word.compare(oldCode, Qt::CaseInsensitive) == 0))
        return 0;
    return -1;
}

QString effectiveRounding(const QString &fieldRule, const Changeover &changeover)
{
    const QString own = fieldRule.trimmed().toUpper();
    return own.isEmpty() ? changeover.rounding.trimmed().toUpper() : own;
}
