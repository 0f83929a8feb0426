// Pictures of the table windows and dialogs, for looking at them under a
// real X server (xvfb-run): table_shots OUTPUT_DIR
#include "tests/support/OpenThroughStart.h"
#include "tests/support/Shots.h"
#include "app/frmMain.h"
#include "app/frmStart.h"
#include "data/ProjectHost.h"
#include "data/db/Connection.h"
#include "tables/frmField.h"
#include "tables/frmFieldAdd.h"
#include "tables/frmTable.h"
#include "tables/frmTableAdd.h"
#include "util/widgets/ModalDialog.h"
#include "util/core/Language.h"

#include <QLineEdit>
#include <QPushButton>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>

using shots::Host;
using shots::shoot;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    language::installChosen(); // VAMOR_LANG=en or bg for the translated windows
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const QString templates = qEnvironmentVariable("VAMOR_TEMPLATES");
    QTemporaryDir dir;
    const QString userDb = QDir(dir.path()).filePath(QStringLiteral("firma.db"));
    const QString projectDb = QDir(dir.path()).filePath(QStringLiteral("p.vmd"));
    QFile::copy(QDir(templates).filePath(QStringLiteral("Vamor.vmt")), projectDb);
    QFile::setPermissions(projectDb, QFile::ReadOwner | QFile::WriteOwner);
    for (const char *name : {"Clienti.dbf", "Facturi.DBF", "Plati.dbf"}) {
        QFile f(QDir(dir.path()).filePath(QString::fromLatin1(name)));
        f.open(QIODevice::WriteOnly);
    }
    { QFile f(userDb); f.open(QIODevice::WriteOnly); }
    {
        db::Connection user;
        user.open(QStringLiteral("Provider=SQLite;Data Source=") + userDb);
        user.execute(QStringLiteral("CREATE TABLE \"Facturi Furnizori\" (Id INTEGER PRIMARY KEY, Valoare DECIMAL(18,2), "
                                    "Valoare_VM DECIMAL(18,2), TVA DECIMAL(18,2), DataFacturii DATE, Total INTEGER)"));
    }
    Host host;
    host.conn.open(QStringLiteral("Provider=SQLite;Data Source=") + projectDb);
    setProjectHost(&host);
    db::Connection &p = host.conn;
    p.execute(QStringLiteral("INSERT INTO tConn (IdConnType, Description, ConnString) VALUES (6, 'Firma', 'Provider=SQLite;Data Source=")
              + userDb + QStringLiteral("')"));
    p.execute(QStringLiteral("INSERT INTO tConn (IdConnType, Description, DataSource) VALUES (5, 'Arhiva', '") + dir.path()
              + QStringLiteral("')"));
    p.execute(QStringLiteral("INSERT INTO tTable (IdConn, TableName, Owner, SQLWhere) VALUES (1, 'Facturi Furnizori', 'CONTA', "
                             "'DataFacturii < ''2005-07-01''')"));
    p.execute(QStringLiteral("INSERT INTO tTable (IdConn, TableName) VALUES (1, 'Facturi Furnizori')"));
    p.execute(QStringLiteral("INSERT INTO tField (IdTable, FieldName, RecFieldName, Converted, Error, SQLWhere) VALUES "
                             "(1, 'Valoare', 'Valoare_VM', 1, NULL, NULL), "
                             "(1, 'TVA', 'TVA_VM', 0, 'Tabelul este blocat de un alt utilizator', 'TVA > 0'), "
                             "(1, 'Total', 'Total_VM', 0, NULL, NULL)"));

    frmTable table;
    table.IdConn = 1;
    table.IdTable = 1;
    table.Key = QStringLiteral("T_1");
    table.Load();
    shoot(table, out + QStringLiteral("/frmTable.png"));

    frmTableAdd list;
    list.IdConn = 2;
    list.Load();
    shoot(list, out + QStringLiteral("/frmTableAdd-list.png"));
    frmTableAdd manual;
    manual.IdConn = 1;
    manual.Load();
    shoot(manual, out + QStringLiteral("/frmTableAdd-manual.png"));

    frmFieldAdd fields;
    fields.IdConn = 1;
    fields.IdTable = 2;
    fields.Load();
    shoot(fields, out + QStringLiteral("/frmFieldAdd-list.png"));
    frmFieldAdd typed;
    typed.IdConn = 1;
    typed.IdTable = 2;
    typed.Offline = true;
    typed.Load();
    shoot(typed, out + QStringLiteral("/frmFieldAdd-manual.png"));

    frmField field;
    field.IdField = 2;
    field.Form_Load();
    shoot(field, out + QStringLiteral("/frmField.png"));
    setProjectHost(nullptr);
    host.conn.close();

    // The main window with the project open and the table's window in front.
    qputenv("VAMOR_HOME", dir.path().toLocal8Bit());
    testsupport::openThroughStartDialog(projectDb);
    {
        frmMain w;
        // The first activation offers the start dialog, which opens the project.
        w.show();
        for (int i = 0; i < 200 && w.trv->topLevelItemCount() == 0; ++i) {
            QApplication::processEvents();
            QThread::msleep(10);
        }
        w.selectNode(QStringLiteral("T_1"));
        shoot(w, out + QStringLiteral("/frmMain-table.png"));
        w.SetDirty(false);
    }
    return 0;
}
