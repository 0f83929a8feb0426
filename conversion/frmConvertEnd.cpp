#include "conversion/frmConvertEnd.h"

#include "conversion/ConversionResources.h"
#include "conversion/ReportLog.h"
#include "data/ErrorTrap.h"
#include "util/core/AppInfo.h"
#include "util/core/Prompt.h"
#include "util/widgets/FormTools.h"
#include "util/widgets/ListViewTools.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString kModule = QStringLiteral("frmConvertEnd");

QPlainTextEdit *makeTextBox(QWidget *parent, const char *name, int lines)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setTabChangesFocus(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    const int lineHeight = box->fontMetrics().lineSpacing();
    box->setFixedHeight(lineHeight * lines + 2 * box->frameWidth() + 8);
    return box;
}
} // namespace

frmConvertEnd::frmConvertEnd(QWidget *parentWindow) : QDialog(parentWindow)
{
    conversion::setUpDialog(this, QStringLiteral("frmConvertEnd"), QStringLiteral("Raport Conversie"), 21);
    resize(720, 420);

    imgToLeiNoi = conversion::makeDirectionImage(this, true);
    imgToLeiVechi = conversion::makeDirectionImage(this, false);

    txtTitle = makeTextBox(this, "txtTitle", 3);
    lsv = new QTreeWidget(this);
    lsv->setObjectName(QStringLiteral("lsv"));
    pgMakeReportList(lsv);
    lsv->setHeaderLabels({QStringLiteral("Sursa Date"), QStringLiteral("Tabel"), QStringLiteral("Camp"),
                          QStringLiteral("Numar Inregistrari"), QStringLiteral("Eroare"),
                          QStringLiteral("Observatii")});
    lsv->setIconSize(QSize(16, 16));
    // The control totals beside the rows: a second page of the same place.
    lsvTotals = new QTreeWidget(this);
    lsvTotals->setObjectName(QStringLiteral("lsvTotals"));
    pgMakeReportList(lsvTotals);
    tabLists = new QTabWidget(this);
    tabLists->setObjectName(QStringLiteral("tabLists"));
    tabLists->addTab(lsv, QStringLiteral("Campuri"));
    tabLists->addTab(lsvTotals, QStringLiteral("Totaluri de control"));
    tabLists->setTabVisible(1, false);
    tabLists->tabBar()->setVisible(false); // one page: the list as it always was
    // The pages are reached through the lists themselves and, when there are
    // two, the tab bar; the tab widget, whose focus would go to a hidden bar,
    // takes none.
    tabLists->setFocusPolicy(Qt::NoFocus);
    txtTotal = makeTextBox(this, "txtTotal", 3);
    cmdSave = new QPushButton(QStringLiteral("Salveaza..."), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdCancel = new QPushButton(QStringLiteral("Inchide"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto *top = new QHBoxLayout;
    top->addWidget(imgToLeiNoi, 0, Qt::AlignTop);
    top->addWidget(imgToLeiVechi, 0, Qt::AlignTop);
    top->addWidget(txtTitle, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(txtTotal, 1);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);
    bottom->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tabLists, 1);
    layout->addLayout(bottom);

    // Tab in reading order; the lists, moved into the pages, would otherwise
    // keep the focus from the buttons.
    const QList<QWidget *> order{txtTitle, tabLists->tabBar(), lsv, lsvTotals, txtTotal, cmdSave, cmdCancel};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));

    connect(cmdSave, &QPushButton::clicked, this, &frmConvertEnd::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmConvertEnd::cmdCancel_Click);
}

void frmConvertEnd::Load()
{
    fgTrap(kModule, QStringLiteral("Form_Load"), [&] {
        pgLoadFormSettings(this);
        conversion::showDirection(this, imgToLeiNoi, imgToLeiVechi, ToLeiNoi);
        setWindowTitle(conversion::directionTitle(ToLeiNoi, mLog.changeover()));
    });
}

void frmConvertEnd::ConvertStart()
{
    fgTrap(kModule, QStringLiteral("ConvertStart"), [&] { mLog.ConvertStart(); });
}

void frmConvertEnd::AddField(const QString &pstrDataSource, const QString &pstrTableName,
                             const QString &pstrFieldName, qint32 plngRecCount, const QString &pstrError,
                             const QString &pstrNote)
{
    fgTrap(kModule, QStringLiteral("AddField"), [&] {
        mLog.AddField(pstrDataSource, pstrTableName, pstrFieldName, plngRecCount, pstrError, pstrNote);
        auto *item = new QTreeWidgetItem(lsv, {pstrDataSource, pstrTableName, pstrFieldName,
                                               QString::number(plngRecCount), pstrError, pstrNote});
        item->setIcon(0, QIcon(pstrError.isEmpty() ? QStringLiteral(":/conversion/ok.svg")
                                                   : QStringLiteral(":/conversion/err.svg")));
        item->setData(0, Qt::UserRole, pstrError.isEmpty() ? QStringLiteral("ok") : QStringLiteral("err"));
    });
}

void frmConvertEnd::AddSourceSkipped(const QString &pstrDataSource, const QString &pstrReason,
                                     qint32 plngFieldCount)
{
    fgTrap(kModule, QStringLiteral("AddSourceSkipped"),
           [&] { mLog.AddSourceSkipped(pstrDataSource, pstrReason, plngFieldCount); });
}

void frmConvertEnd::ConvertEnd(const QString &pstrEndStatus)
{
    fgTrap(kModule, QStringLiteral("ConvertEnd"), [&] {
        mLog.ConvertEnd(pstrEndStatus);
        txtTitle->setPlainText(mLog.titleLines().join(QLatin1Char('\n')));
        txtTotal->setPlainText(mLog.totalLines().join(QLatin1Char('\n')));
        pgWideListView(lsv, 0, -1);
        fillTotals();
    });
}

void frmConvertEnd::AddFieldTotals(const conversion::FieldTotals &totals)
{
    fgTrap(kModule, QStringLiteral("AddFieldTotals"), [&] { mLog.AddFieldTotals(totals); });
}

void frmConvertEnd::fillTotals()
{
    using Row = conversion::ReportLog::TotalsRow;
    lsvTotals->clear();
    const QList<Row> rows = mLog.totalsRows();
    tabLists->setTabVisible(1, !rows.isEmpty());
    tabLists->tabBar()->setVisible(!rows.isEmpty());
    if (rows.isEmpty())
        return;
    const QStringList amounts = conversion::totalsHeader(ToLeiNoi, mLog.changeover());
    lsvTotals->setHeaderLabels(QStringList{QStringLiteral("Sursa Date"), QStringLiteral("Tabel"),
                                           QStringLiteral("Camp")}
                               + amounts);
    const int remarkColumn = static_cast<int>(amounts.size()) + 2;
    for (const Row &row : rows) {
        auto *item = new QTreeWidgetItem(lsvTotals, QStringList{row.dataSource, row.tableName, row.fieldName}
                                                        + row.values);
        for (int column = 3; column < remarkColumn; ++column)
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        if (row.kind != Row::Kind::Field) {
            QFont bold = item->font(0);
            bold.setBold(true);
            for (int column = 0; column <= remarkColumn; ++column)
                item->setFont(column, bold);
            if (row.kind == Row::Kind::Run)
                item->setText(0, QStringLiteral("Total"));
        }
        // A restore whose sum differs from the old one stands out.
        if (!ToLeiNoi && row.values.value(3) == QStringLiteral("DIFERIT"))
            item->setForeground(3, Qt::red);
    }
    pgWideListView(lsvTotals, 0, -1);
}

void frmConvertEnd::cmdSave_Click()
{
    fgTrap(kModule, QStringLiteral("cmdSave_Click"), [&] {
        ui::FileRequest request;
        request.title = QStringLiteral("Salveaza raport conversie");
        request.filter = QStringLiteral("Fisiere Text (*.txt)|*.txt|Toate Fisierele (*.*)|*.*");
        request.initialDir = fgAppPath();
        request.confirmOverwrite = true;
        const QString fileName = ui::getSaveFileName(request);
        if (fileName.isEmpty())
            return;
        mLog.saveToFile(fileName);
    });
}

void frmConvertEnd::cmdCancel_Click()
{
    fgTrap(kModule, QStringLiteral("cmdCancel_Click"), [&] { accept(); });
}

void frmConvertEnd::done(int result)
{
    if (!mSettingsSaved) {
        mSettingsSaved = true;
        fgTrap(kModule, QStringLiteral("Form_Unload"), [&] { pgSaveFormSettings(this); });
    }
    QDialog::done(result);
}
