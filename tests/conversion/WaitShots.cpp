// Pictures of the windows while Vamor waits on a database, for looking at
// them under a real X server (xvfb-run): wait_shots OUTPUT_DIR
//   wait_listing.png  the confirmation filling while another session keeps
//                     a PostgreSQL table locked (Ok waits, Renunta stops)
//   wait_run.png      the progress of a run waiting for the same table
//   wait_columns.png  the wait window of a column list from a server that
//                     accepts the connection and never answers
//   wait_connection.png  the data-source window testing its connection to
//                     that server
// Needs VAMOR_TEST_PG (tests/servers.sh) and VAMOR_TEMPLATES.
#include "conversion/ConversionCommand.h"
#include "conversion/frmConvertEnd.h"
#include "conversion/frmConvertStart.h"
#include "conversion/frmProgress.h"
#include "data/db/Connection.h"
#include "datasources/frmConn.h"
#include "tables/frmFieldAdd.h"
#include "tests/conversion/SavedProjectHost.h"
#include "tests/support/Shots.h"
#include "util/core/Prompt.h"
#include "util/widgets/ModalDialog.h"
#include "util/core/Language.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

void waitMs(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

QWidget *visibleWindow(const char *name)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name) && w->isVisible())
            return w;
    return nullptr;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    language::installChosen(); // VAMOR_LANG=en or bg for the translated windows
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const QString pg = qEnvironmentVariable("VAMOR_TEST_PG");
    if (pg.isEmpty()) {
        std::fprintf(stderr, "wait_shots: VAMOR_TEST_PG is not set (tests/servers.sh)\n");
        return 2;
    }
    QTemporaryDir dir;
    const QString projectDb = QDir(dir.path()).filePath(QStringLiteral("p.vmd"));
    QFile::copy(QDir(qEnvironmentVariable("VAMOR_TEMPLATES")).filePath(QStringLiteral("Vamor.vmt")), projectDb);
    QFile::setPermissions(projectDb, QFile::ReadOwner | QFile::WriteOwner);
    shots::Host host;
    host.conn.open(QStringLiteral("Provider=SQLite;Data Source=") + projectDb);
    setProjectHost(&host);
    // Every answer a person would give: Yes to the Stop question, Ok to the rest.
    ui::setMessageHandler([](const ui::MessageRequest &) { return ui::Answer::Yes; });

    db::Connection server;
    server.open(pg);
    server.execute(QStringLiteral("DROP TABLE IF EXISTS vm_shot_plati"));
    server.execute(QStringLiteral("CREATE TABLE vm_shot_plati (id integer PRIMARY KEY, suma numeric(18,2), "
                                  "suma_vm numeric(18,2))"));
    server.execute(QStringLiteral("INSERT INTO vm_shot_plati (id, suma) VALUES (1, 14875000), (2, 10000)"));
    host.conn.execute(QStringLiteral("INSERT INTO tConn (IdConnType, Description, ConnString, Offline) "
                                     "VALUES (6, 'Server', '%1;LockTimeout=120;', False)")
                          .arg(pg));
    host.conn.execute(QStringLiteral("INSERT INTO tTable (IdConn, TableName) VALUES (1, 'vm_shot_plati')"));
    host.conn.execute(QStringLiteral("INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (1, 'suma', 'suma_VM')"));

    {
        db::Connection locker;
        locker.open(pg);
        locker.beginTrans();
        locker.execute(QStringLiteral("LOCK TABLE vm_shot_plati IN ACCESS EXCLUSIVE MODE"));

        frmConvertStart confirm;
        confirm.ToLeiNoi = true;
        confirm.Load();
        confirm.show();
        waitMs(2600);
        confirm.grab().save(QDir(out).filePath(QStringLiteral("wait_listing.png")));
        confirm.cmdCancel_Click();
        while (confirm.listing())
            waitMs(50);

        convtest::SavedProjectHost runHost(host.conn);
        ConversionCommand command(runHost);
        const ui::ModalHandler previous = ui::setModalHandler([&](QDialog &dialog) {
            if (auto *progress = qobject_cast<frmProgress *>(&dialog)) {
                QTimer::singleShot(3600, progress, [progress, &out] {
                    progress->grab().save(QDir(out).filePath(QStringLiteral("wait_run.png")));
                    progress->stopButton()->click();
                });
                return dialog.exec();
            }
            return int(QDialog::Accepted);
        });
        frmProgress progress;
        command.mfrmProgress = &progress;
        progress.Parent = &command;
        progress.RunMethod = QStringLiteral("pConvertToLeiNoi");
        ui::showModal(progress);
        command.mfrmProgress = nullptr;
        ui::setModalHandler(previous);
        locker.rollbackTrans();
    }

    // A server that takes the connection and never answers: the column list waits.
    const int silent = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(silent, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 || listen(silent, 4) != 0
        || getsockname(silent, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        std::fprintf(stderr, "wait_shots: no loopback port\n");
        return 1;
    }
    host.conn.execute(QStringLiteral("INSERT INTO tConn (IdConnType, Description, ConnString, Offline) VALUES (6, "
                                     "'Tacut', 'Driver=PostgreSQL Unicode;Server=127.0.0.1;Port=%1;Database=x;"
                                     "Uid=x;Pwd=x;', False)")
                          .arg(ntohs(address.sin_port)));
    host.conn.execute(QStringLiteral("INSERT INTO tTable (IdConn, TableName) VALUES (2, 'facturi')"));
    frmFieldAdd add;
    add.IdConn = 2;
    add.IdTable = 2;
    QTimer::singleShot(2500, [&out] {
        if (QWidget *wait = visibleWindow("frmWait")) {
            wait->grab().save(QDir(out).filePath(QStringLiteral("wait_columns.png")));
            if (auto *stop = wait->findChild<QPushButton *>(QStringLiteral("cmdStop")))
                stop->click();
        }
    });
    add.Load();

    // The data-source window testing its connection to the same server.
    {
        QMdiArea area;
        area.resize(620, 520);
        auto *window = new frmConn;
        window->IdConn = 2;
        window->Key = QStringLiteral("C_2");
        area.addSubWindow(window);
        area.show();
        window->show();
        QTimer::singleShot(2500, [&out, &area] {
            if (QWidget *wait = visibleWindow("frmWait")) {
                // The wait window over the data-source window, as on the screen.
                QPixmap picture = area.grab();
                QPainter painter(&picture);
                const QPixmap waiting = wait->grab();
                painter.drawPixmap((picture.width() - waiting.width()) / 2, (picture.height() - waiting.height()) / 2,
                                   waiting);
                painter.end();
                picture.save(QDir(out).filePath(QStringLiteral("wait_connection.png")));
                if (auto *stop = wait->findChild<QPushButton *>(QStringLiteral("cmdStop")))
                    stop->click();
            }
        });
        window->Load(); // fills the window, then tests the connection
    }
    close(silent);
    server.execute(QStringLiteral("DROP TABLE vm_shot_plati"));
    setProjectHost(nullptr);
    return 0;
}
