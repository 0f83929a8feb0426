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
        throw db::DbError(db::E_FAIL, QCoreApplication::translate("DiscoverCommand",
                                                                   "sursa de date nu are sir de conectare"));
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
    // The columns' names are read by people; the program reads the CSV by
    // position.
    const QStringList names{
        QCoreApplication::translate("DiscoverCommand", "Sursa Date"),
        QCoreApplication::translate("DiscoverCommand", "Tabel"),
        QCoreApplication::translate("DiscoverCommand", "Camp"),
        //: The column's data type
        QCoreApplication::translate("DiscoverCommand", "Tip"),
        //: Number of rows of the table
        QCoreApplication::translate("DiscoverCommand", "Inregistrari"),
        //: Number of rows with a value in the column
        QCoreApplication::translate("DiscoverCommand", "Completate"),
        QCoreApplication::translate("DiscoverCommand", "Minim"),
        QCoreApplication::translate("DiscoverCommand", "Maxim"),
        QCoreApplication::translate("DiscoverCommand", "Exemple"),
        //: Whether the column is proposed as money; the same word as in the usage text
        QCoreApplication::translate("DiscoverCommand", "Propus"),
        QCoreApplication::translate("DiscoverCommand", "Stare"),
        //: Evidence for and against the column holding money
        QCoreApplication::translate("DiscoverCommand", "Dovezi")};
    QStringList quoted;
    for (const QString &name : names)
        quoted.append(csvField(name));
    return quoted.join(QLatin1Char(','));
}

QString csvLine(const QString &dataSource, const Finding &f)
{
    const QString state = f.recovery    ? QCoreApplication::translate("DiscoverCommand", "coloana de restaurare")
                          : f.inProject ? QCoreApplication::translate("DiscoverCommand", "in proiect")
                                        : QString();
    //: Value of the "Propus" column: proposed; the same word as in the usage text
    const QString yes = QCoreApplication::translate("DiscoverCommand", "da");
    //: Value of the "Propus" column: not proposed; the same word as in the usage text
    const QString no = QCoreApplication::translate("DiscoverCommand", "nu");
    const QStringList values{dataSource,
                             f.facts.table,
                             f.facts.column,
                             f.facts.typeName,
                             f.rows < 0 ? QStringLiteral("?") : QString::number(f.rows),
                             QString::number(f.facts.filled),
                             f.facts.minValue,
                             f.facts.maxValue,
                             f.facts.examples.join(QStringLiteral("; ")),
                             f.proposed() ? yes : no,
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
    return QCoreApplication::translate(
        "DiscoverCommand",
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
                    return void(problem = QCoreApplication::translate("DiscoverCommand",
                                                                      "Lipseste valoarea optiunii %1.")
                                                .arg(arg));
                value = args.at(++i);
            }
            if (!target.isEmpty() || (arg == QStringLiteral("--source") && sourceGiven))
                return void(problem = QCoreApplication::translate("DiscoverCommand",
                                                                  "Optiunea %1 este data de doua ori.")
                                            .arg(arg));
            if (value.isEmpty())
                return void(problem = QCoreApplication::translate("DiscoverCommand", "Lipseste valoarea optiunii %1.")
                                            .arg(arg));
            target = value;
        };
        if (arg == QStringLiteral("--discover"))
            take(projectPath);
        else if (arg == QStringLiteral("--source")) {
            take(sourceName);
            sourceGiven = true;
        } else if (arg == QStringLiteral("--add") && !inlineValue) {
            if (add)
                problem = QCoreApplication::translate("DiscoverCommand", "Optiunea %1 este data de doua ori.")
                              .arg(QStringLiteral("--add"));
            add = true;
        } else if (arg.startsWith(QLatin1Char('-')))
            problem = QCoreApplication::translate("DiscoverCommand", "Optiune necunoscuta: %1").arg(args.at(i));
        else
            problem = QCoreApplication::translate("DiscoverCommand", "Argument neasteptat: %1").arg(arg);
    }
    if (problem.isEmpty() && projectPath.isEmpty())
        problem = QCoreApplication::translate("DiscoverCommand", "Lipseste proiectul: --discover PROIECT.vmd");
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
        err(QCoreApplication::translate("DiscoverCommand", "Sursele de date ale proiectului nu au putut fi citite: %1")
                .arg(terminal::describe(e))
            + QLatin1Char('\n'));
        return 2;
    }
    if (sourceGiven) {
        QList<ProjectSource> named;
        for (const ProjectSource &s : sources)
            if (s.description.compare(sourceName, Qt::CaseInsensitive) == 0)
                named.append(s);
        if (named.isEmpty()) {
            err(QCoreApplication::translate("DiscoverCommand", "Proiectul nu are sursa de date \"%1\".").arg(sourceName)
                + QLatin1Char('\n'));
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
            err(QCoreApplication::translate("DiscoverCommand", "Sursa de date \"%1\" nu a putut fi citita: %2")
                    .arg(source.description, terminal::describe(e))
                + QLatin1Char('\n'));
            status = 1;
            continue;
        }
        for (const Finding &f : found.columns)
            out(csvLine(source.description, f) + QStringLiteral("\n"));
        for (const TableFailure &failure : found.failures) {
            err(QCoreApplication::translate("DiscoverCommand",
                                            "Tabelul \"%1\" al sursei de date \"%2\" nu a putut fi citit: %3")
                    .arg(failure.table, source.description, failure.message)
                + QLatin1Char('\n'));
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
            err(QCoreApplication::translate("DiscoverCommand",
                                            "Campurile sursei de date \"%1\" nu au putut fi adaugate in proiect: %2")
                    .arg(source.description, terminal::describe(e))
                + QLatin1Char('\n'));
            status = 1;
        }
    }
    if (add) {
        //: %1 tables and %n fields added to the project
        err(QCoreApplication::translate("DiscoverCommand", "Adaugate in proiect: %1 tabele, %n campuri.", nullptr,
                                        total.fields)
                .arg(total.tables)
            + QLatin1Char('\n'));
        const QString saveMessage = project.save();
        if (!saveMessage.isEmpty()) {
            err(saveMessage + QStringLiteral("\n"));
            status = 1;
        }
    }
    return status;
}

} // namespace discovery
