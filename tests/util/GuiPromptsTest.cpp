// The windowed message boxes and file dialogs, and the modal-window seam.
#include "tests/util/Sandbox.h"
#include "util/widgets/GuiPrompts.h"
#include "util/widgets/ModalDialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kFilter = QStringLiteral("Vamor Files (*.vmd)|*.vmd|All Files (*.*)|*.*");

// Runs `act` on the first modal window that comes up.
void whenModalShows(std::function<void(QWidget *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start();
}

QStringList buttonTexts(QMessageBox *box)
{
    QStringList texts;
    for (QAbstractButton *button : box->buttons())
        texts.append(button->text());
    texts.sort();
    return texts;
}

QPushButton *buttonWithText(QMessageBox *box, const QString &text)
{
    for (QAbstractButton *button : box->buttons())
        if (button->text() == text)
            return qobject_cast<QPushButton *>(button);
    return nullptr;
}

} // namespace

TEST(GuiPrompts, ProjectFilterBecomesDialogFiltersMatchingWithoutRegardToCase)
{
    EXPECT_EQ(ui::fgDialogNameFilters(kFilter), QStringList({"Vamor Files (*.vmd)", "All Files (*)"}));
    EXPECT_EQ(ui::fgFilterPatterns(kFilter, 0), QStringList({"*.vmd"}));
    EXPECT_EQ(ui::fgFilterPatterns(kFilter, 1), QStringList({"*"}));
    EXPECT_EQ(ui::fgDialogNameFilters(QStringLiteral("Text (*.txt;*.log)|*.txt;*.log")),
              QStringList({"Text (*.txt *.log)"}));
    const QStringList vmd = ui::fgFilterPatterns(kFilter, 0);
    EXPECT_TRUE(ui::fgMatchesPatterns(QStringLiteral("SALARII.VMD"), vmd));
    EXPECT_TRUE(ui::fgMatchesPatterns(QStringLiteral("salarii.vmd"), vmd));
    EXPECT_FALSE(ui::fgMatchesPatterns(QStringLiteral("salarii.vmd.bak"), vmd));
    // "*.*" takes names without a dot as well.
    EXPECT_TRUE(ui::fgMatchesPatterns(QStringLiteral("Makefile"), ui::fgFilterPatterns(kFilter, 1)));
}

TEST(GuiPrompts, MessageBoxShowsRomanianButtonsAndTheDefaultOne)
{
    QStringList seen;
    QString defaultText;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenModalShows([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        ASSERT_NE(box, nullptr);
        seen = buttonTexts(box);
        defaultText = box->defaultButton() ? box->defaultButton()->text() : QString();
        title = box->windowTitle();
        icon = box->icon();
        buttonWithText(box, QStringLiteral("Nu"))->click();
    });
    const ui::Answer answer = ui::guiMessageBox(
        {QStringLiteral("Doriti sa salvati?"), ui::Buttons::YesNoCancel, ui::Icon::Question, QString(), 1});
    EXPECT_EQ(answer, ui::Answer::No);
    EXPECT_EQ(seen, QStringList({"Anulare", "Da", "Nu"}));
    EXPECT_EQ(defaultText, QStringLiteral("Nu"));
    EXPECT_EQ(title, QStringLiteral("Vamor"));
    EXPECT_EQ(icon, QMessageBox::Question);

    whenModalShows([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        ASSERT_NE(box, nullptr);
        seen = buttonTexts(box);
        icon = box->icon();
        box->reject(); // Escape
    });
    EXPECT_EQ(ui::guiMessageBox({QStringLiteral("1: x"), ui::Buttons::Ok, ui::Icon::Critical, QStringLiteral("t"), 0}),
              ui::Answer::Ok);
    EXPECT_EQ(seen, QStringList({"OK"}));
    EXPECT_EQ(icon, QMessageBox::Critical);

    whenModalShows([&](QWidget *modal) { qobject_cast<QMessageBox *>(modal)->reject(); });
    EXPECT_EQ(ui::guiMessageBox({QStringLiteral("?"), ui::Buttons::YesNo, ui::Icon::Question, QString(), 1}),
              ui::Answer::No);
}

TEST(GuiPrompts, OpenDialogUsesTheFiltersAndReturnsTheChosenFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = QDir(dir.path()).filePath(QStringLiteral("SALARII.VMD"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    QStringList filters;
    QString title;
    bool caseSensitive = true;
    whenModalShows([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        ASSERT_NE(dialog, nullptr);
        filters = dialog->nameFilters();
        title = dialog->windowTitle();
        caseSensitive = dialog->filter().testFlag(QDir::CaseSensitive);
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    ui::FileRequest request;
    request.title = QStringLiteral("Vamor File");
    request.filter = kFilter;
    request.initialDir = dir.path();
    request.mustExist = true;
    EXPECT_EQ(ui::guiOpenFileName(request), path);
    EXPECT_EQ(filters, QStringList({"Vamor Files (*.vmd)", "All Files (*)"}));
    EXPECT_EQ(title, QStringLiteral("Vamor File"));
    EXPECT_FALSE(caseSensitive);

    whenModalShows([&](QWidget *modal) { qobject_cast<QFileDialog *>(modal)->reject(); });
    EXPECT_EQ(ui::guiSaveFileName(request), QString());
}

TEST(GuiPrompts, ModalSeamHandsTheDialogToTheHandlerInsteadOfRunningIt)
{
    QDialog dialog;
    bool polishedBeforeHandler = false;
    const ui::ModalHandler previous = ui::setModalHandler([&](QDialog &d) {
        polishedBeforeHandler = d.testAttribute(Qt::WA_WState_Polished);
        d.setWindowTitle(QStringLiteral("vazut"));
        return static_cast<int>(QDialog::Accepted);
    });
    EXPECT_EQ(ui::showModal(dialog), QDialog::Accepted);
    EXPECT_TRUE(polishedBeforeHandler);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("vazut"));
    ui::setModalHandler(previous);
}
