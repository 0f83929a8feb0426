// Pictures of the data-source windows in each of the seven panels, for
// looking at them under a real X server (xvfb-run): DataSourceShots OUTPUT_DIR
// (VAMOR_TEMPLATES names the folder of the built templates).
#include "tests/support/Shots.h"
#include "data/ProjectHost.h"
#include "data/db/Connection.h"
#include "datasources/ctlConnDetails.h"
#include "datasources/frmConn.h"
#include "datasources/frmConnAdd.h"
#include "util/core/Language.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QThread>

using shots::Host;
using shots::settle;
using shots::shoot;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    language::installChosen(); // VAMOR_LANG=en or bg for the translated windows
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    auto file = [&](const QString &name) { return QDir(out).filePath(name); };
    QTemporaryDir dir;
    const QString projectDb = QDir(dir.path()).filePath(QStringLiteral("p.vmd"));
    QFile::copy(QDir(qEnvironmentVariable("VAMOR_TEMPLATES")).filePath(QStringLiteral("Vamor.vmt")), projectDb);
    QFile::setPermissions(projectDb, QFile::ReadOwner | QFile::WriteOwner);
    Host host;
    host.conn.open(QStringLiteral("Provider=SQLite;Data Source=") + projectDb);
    setProjectHost(&host);
    host.conn.execute(QStringLiteral("UPDATE tConnType SET Enabled = True"));

    // The control alone, at its smallest size, in each panel.
    for (int type = 0; type < ctlConnDetails::kPanelCount; ++type) {
        ctlConnDetails details;
        details.setConnType(type);
        details.setDataSource(QStringLiteral("/home/contabil/date/firma"));
        details.setSecurityFile(type == 0 ? QStringLiteral("/home/contabil/date/system.mdw") : QString());
        details.setConnString(QStringLiteral("Provider=SQLite;Data Source=/home/contabil/date/firma.db"));
        details.resize(ctlConnDetails::kMinimumSize, ctlConnDetails::kMinimumSize);
        shoot(details, file(QStringLiteral("ctlConnDetails_%1.png").arg(type)));
    }

    // The wizard: the first page, then the second in each panel.
    for (int type = -1; type < ctlConnDetails::kPanelCount; ++type) {
        frmConnAdd wizard;
        wizard.Conn = &host.conn;
        wizard.ensurePolished();
        if (type >= 0) {
            wizard.txtDescription->setText(QStringLiteral("Contabilitate"));
            wizard.optConnType(type)->click();
            wizard.cmdNext->click();
        }
        shoot(wizard, file(type < 0 ? QStringLiteral("frmConnAdd_page0.png")
                                    : QStringLiteral("frmConnAdd_%1.png").arg(type)));
    }

    // The data-source window of each type, in a main-window area.
    for (int type = 0; type < ctlConnDetails::kPanelCount; ++type) {
        host.conn.execute(QStringLiteral("INSERT INTO tConn (IdConnType, Description, DataSource, Offline) "
                                         "VALUES (%1, 'Sursa de tip %1', '/home/contabil/date', %2)")
                              .arg(type)
                              .arg(type == 1 ? QStringLiteral("False") : QStringLiteral("True")));
        QMdiArea area;
        area.resize(620, 600);
        auto *window = new frmConn;
        window->IdConn = static_cast<qint32>(
            host.conn.openRecordset(QStringLiteral("SELECT Max(IdConn) AS Id FROM tConn")).value(0).toInt());
        window->Key = QStringLiteral("C_%1").arg(window->IdConn);
        area.addSubWindow(window);
        window->Load();
        area.show();
        window->show();
        settle();
        area.grab().save(file(QStringLiteral("frmConn_%1.png").arg(type)));
    }
    setProjectHost(nullptr);
    return 0;
}
