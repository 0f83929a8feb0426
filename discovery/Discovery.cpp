#include "discovery/Discovery.h"

#include "conversion/CommandLineProject.h"
#include "conversion/TerminalOutput.h"
#include "data/Lookups.h"
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "data/db/Recordset.h"
#include "datasources/ConnStrings.h"
#include "tables/RecoveryField.h"

#include <QCoreApplication>
#include <QSet>

#include <memory>

namespace discovery {

namespace {

QString csvField(const QString &value)
{
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QList<ProjectSource> projectSources(db::Connection &project)
{
    QList<ProjectSource> sources;
    db::Recordset rs = project.openRecordset(
        QStringLiteral("SELECT IdConn, IdConnType, Description, Offline FROM tConn ORDER BY IdConn"),
        db::CursorType::Static, db::LockType::ReadOnly);
    for (; !rs.eof(); rs.moveNext())
        sources.append({static_cast<qint32>(rs.value(0).toInt()), static_cast<qint32>(rs.value(1).toInt()),
                        rs.value(2).toString(), rs.value(3).toBool()});
    return sources;
}

SourceFindings discoverSource(db::Connection &project, const ProjectSource &source, const ReadProgress &progress)
{
    const QString connString = buildConnString(project, source.idConn);
    if (connString.isEmpty())
        throw db::DbError(db::E_FAIL, QStringLiteral("sursa de date nu are sir de conectare"));
    const KnownTables known = knownTables(project, source.idConn);
    db::Connection user;
    user.open(connString);
    return readSource(user, source.idConnType, known, progress);
}

Added addToProject(db::Connection &project, qint32 idConn, const QList<Finding> &chosen)
{
    Added added;
    KnownTables known = knownTables(project, idConn);
    db::inOneTransaction(project, [&] {
        db::Recordset tables = project.openRecordset(
            QStringLiteral("SELECT * FROM tTable WHERE IdConn = %1").arg(idConn), db::CursorType::Static,
            db::LockType::Optimistic);
        db::Recordset fields = project.openRecordset(QStringLiteral("SELECT * FROM tField WHERE IdField = 0"),
                                                     db::CursorType::Static, db::LockType::Optimistic);
        for (const Finding &f : chosen) {
            KnownTable &table = known[f.facts.table.toLower()];
            const QString name = f.facts.column.toLower();
            if (f.recovery || table.fields.contains(name) || table.recoveries.contains(name))
                continue;
            if (table.idTable == 0) {
                tables.addNew();
                tables.setValue(QStringLiteral("IdConn"), idConn);
                tables.setValue(QStringLiteral("TableName"), f.facts.table);
                tables.setValue(QStringLiteral("Owner"), fgZN(f.owner));
                tables.update();
                table.idTable = static_cast<qint32>(tables.value(QStringLiteral("IdTable")).toInt());
                ++added.tables;
            }
            fields.addNew();
            fields.setValue(QStringLiteral("IdTable"), table.idTable);
            fields.setValue(QStringLiteral("FieldName"), f.facts.column);
            fields.setValue(QStringLiteral("RecFieldName"), fgGetRecoveryFieldName(f.facts.column));
            fields.update();
            if (!added.fieldIds.contains(table.idTable))
                added.tableIds.append(table.idTable);
            added.fieldIds[table.idTable].append(fields.value(QStringLiteral("IdField")).toString());
            table.fields.insert(name);
            table.recoveries.insert(fgGetRecoveryFieldName(f.facts.column).toLower());
            ++added.fields;
        }
    });
    return added;
}

QString csvHeader()
{
    const QStringList names{QStringLiteral("Sursa Date"), QStringLiteral("Tabel"),      QStringLiteral("Camp"),
                            QStringLiteral("Tip"),        QStringLiteral("Inregistrari"), QStringLiteral("Completate"),
                            QStringLiteral("Minim"),      QStringLiteral("Maxim"),      QStringLiteral("Exemple"),
                            QStringLiteral("Propus"),     QStringLiteral("Stare"),      QStringLiteral("Dovezi")};
    QStringList quoted;
    for (const QString &name : names)
        quoted.append(csvField(name));
    return quoted.join(QLatin1Char(','));
}

QString csvLine(const QString &dataSource, const Finding &f)
{
    const QString state = f.recovery    ? QStringLiteral("coloana de restaurare")
                          : f.inProject ? QStringLiteral("in proiect")
                                        : QString();
    const QStringList values{dataSource,
                             f.facts.table,
                             f.facts.column,
                             f.facts.typeName,
                             f.rows < 0 ? QStringLiteral("?") : QString::number(f.rows),
                             QString::number(f.facts.filled),
                             f.facts.minValue,
                             f.facts.maxValue,
                             f.facts.examples.join(QStringLiteral("; ")),
                             f.proposed() ? QStringLiteral("da") : QStringLiteral("nu"),
                             state,
                             f.verdict.evidenceText()};
    QStringList quoted;
    for (const QString &value : values)
        quoted.append(csvField(value));
    return quoted.join(QLatin1Char(','));
}

bool isDiscoverCommand(const QStringList &args)
{
    for (const QString &arg : args)
        if (arg == QStringLiteral("--discover") || arg.startsWith(QStringLiteral("--discover=")))
            return true;
    return false;
}

namespace {

QString usage()
{
    return QStringLiteral(
        "Utilizare:\n"
        "  vamor --discover PROIECT.vmd [--source NUME] [--add]\n"
        "\n"
        "Cauta sumele: citeste fiecare tabel al surselor de date ale proiectului (sau\n"
        "doar al sursei NUME) si scrie, ca CSV, fiecare coloana numerica, cu dovezile\n"
        "pentru si impotriva unei sume de bani si coloana \"Propus\" (da/nu). Baza de\n"
        "date nu este schimbata.\n"
        "  --add   adauga in proiect coloanele propuse (si tabelele lor), cu numele\n"
        "          implicite ale coloanelor de restaurare, si salveaza proiectul\n"
        "\n"
        "Cod de iesire: 0 toate tabelele au fost citite, 1 unele nu au putut fi citite\n"
        "               (sunt numite), 2 argumente gresite sau proiectul nu poate fi deschis.\n");
}

} // namespace

int runDiscoverCommand(const QStringList &args)
{
    using terminal::err;
    using terminal::out;
    QString projectPath, sourceName;
    bool add = false, sourceGiven = false;
    QString problem;
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        out(usage());
        return 0;
    }
    for (qsizetype i = 1; i < args.size() && problem.isEmpty(); ++i) {
        QString arg = args.at(i);
        QString value;
        bool inlineValue = false;
        const qsizetype equals = arg.startsWith(QStringLiteral("--")) ? arg.indexOf(QLatin1Char('=')) : -1;
        if (equals > 0) {
            value = arg.mid(equals + 1);
            arg.truncate(equals);
            inlineValue = true;
        }
        const auto take = [&](QString &target) {
            if (!inlineValue) {
                if (i + 1 >= args.size() || args.at(i + 1).startsWith(QStringLiteral("--")))
                    return void(problem = QStringLiteral("Lipseste valoarea optiunii ") + arg + QLatin1Char('.'));
                value = args.at(++i);
            }
            if (!target.isEmpty() || (arg == QStringLiteral("--source") && sourceGiven))
                return void(problem = QStringLiteral("Optiunea ") + arg + QStringLiteral(" este data de doua ori."));
            if (value.isEmpty())
                return void(problem = QStringLiteral("Lipseste valoarea optiunii ") + arg + QLatin1Char('.'));
            target = value;
        };
        if (arg == QStringLiteral("--discover"))
            take(projectPath);
        else if (arg == QStringLiteral("--source")) {
            take(sourceName);
            sourceGiven = true;
        } else if (arg == QStringLiteral("--add") && !inlineValue) {
            if (add)
                problem = QStringLiteral("Optiunea --add este data de doua ori.");
            add = true;
        } else if (arg.startsWith(QLatin1Char('-')))
            problem = QStringLiteral("Optiune necunoscuta: ") + args.at(i);
        else
            problem = QStringLiteral("Argument neasteptat: ") + arg;
    }
    if (problem.isEmpty() && projectPath.isEmpty())
        problem = QStringLiteral("Lipseste proiectul: --discover PROIECT.vmd");
    if (!problem.isEmpty()) {
        err(problem + QStringLiteral("\n\n") + usage());
        return 2;
    }

    cli::OpenProject project;
    const QString openMessage = project.open(projectPath);
    if (!openMessage.isEmpty()) {
        err(openMessage + QStringLiteral("\n"));
        return 2;
    }
    QList<ProjectSource> sources;
    try {
        sources = projectSources(project.conn());
    } catch (const std::exception &e) {
        err(QStringLiteral("Sursele de date ale proiectului nu au putut fi citite: ") + terminal::describe(e)
            + QStringLiteral("\n"));
        return 2;
    }
    if (sourceGiven) {
        QList<ProjectSource> named;
        for (const ProjectSource &s : sources)
            if (s.description.compare(sourceName, Qt::CaseInsensitive) == 0)
                named.append(s);
        if (named.isEmpty()) {
            err(QStringLiteral("Proiectul nu are sursa de date \"") + sourceName + QStringLiteral("\".\n"));
            return 2;
        }
        sources = named;
    }

    int status = 0;
    Added total;
    out(csvHeader() + QStringLiteral("\n"));
    for (const ProjectSource &source : sources) {
        SourceFindings found;
        try {
            found = discoverSource(project.conn(), source);
        } catch (const std::exception &e) {
            err(QStringLiteral("Sursa de date \"") + source.description + QStringLiteral("\" nu a putut fi citita: ")
                + terminal::describe(e) + QStringLiteral("\n"));
            status = 1;
            continue;
        }
        for (const Finding &f : found.columns)
            out(csvLine(source.description, f) + QStringLiteral("\n"));
        for (const TableFailure &failure : found.failures) {
            err(QStringLiteral("Tabelul \"") + failure.table + QStringLiteral("\" al sursei de date \"")
                + source.description + QStringLiteral("\" nu a putut fi citit: ") + failure.message + QStringLiteral("\n"));
            status = 1;
        }
        if (!add)
            continue;
        QList<Finding> chosen;
        for (const Finding &f : found.columns)
            if (f.proposed())
                chosen.append(f);
        try {
            const Added added = addToProject(project.conn(), source.idConn, chosen);
            total.tables += added.tables;
            total.fields += added.fields;
        } catch (const std::exception &e) {
            err(QStringLiteral("Campurile sursei de date \"") + source.description
                + QStringLiteral("\" nu au putut fi adaugate in proiect: ") + terminal::describe(e) + QStringLiteral("\n"));
            status = 1;
        }
    }
    if (add) {
        err(QStringLiteral("Adaugate in proiect: %1 tabele, %2 campuri.\n").arg(total.tables).arg(total.fields));
        const QString saveMessage = project.save();
        if (!saveMessage.isEmpty()) {
            err(saveMessage + QStringLiteral("\n"));
            status = 1;
        }
    }
    return status;
}

} // namespace discovery
