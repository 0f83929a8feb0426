#include "util/widgets/GuiPrompts.h"

#include "util/core/AppInfo.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

namespace ui {

namespace {

QMessageBox::Icon toQtIcon(Icon icon)
{
    switch (icon) {
    case Icon::None: return QMessageBox::NoIcon;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

// The entries of a "description|patterns|description|patterns" filter.
QList<QPair<QString, QString>> filterEntries(const QString &filter)
{
    QList<QPair<QString, QString>> entries;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries.append({parts.at(i).trimmed(), parts.at(i + 1).trimmed()});
    return entries;
}

QStringList patternsOf(const QString &patterns)
{
    QStringList result;
    for (QString pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        pattern = pattern.trimmed();
        if (pattern == QLatin1String("*.*"))
            pattern = QStringLiteral("*");
        if (!pattern.isEmpty())
            result.append(pattern);
    }
    return result;
}

void setUpFileDialog(QFileDialog &dialog, const FileRequest &request)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setWindowTitle(request.title.isEmpty() ? kAppTitle : request.title);
    // Patterns match without regard to case: "PROIECT.VMD" is a project file.
    dialog.setFilter((dialog.filter() & ~QDir::CaseSensitive) | QDir::AllDirs | QDir::Files);
    const QStringList filters = fgDialogNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.first());
    }
    if (!request.initialDir.isEmpty())
        dialog.setDirectory(request.initialDir);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
}

} // namespace

QStringList fgDialogNameFilters(const QString &filter)
{
    QStringList result;
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    for (const auto &entry : filterEntries(filter)) {
        QString description = entry.first;
        description.remove(trailingPatterns);
        result.append(description + QStringLiteral(" (") + patternsOf(entry.second).join(QLatin1Char(' '))
                      + QLatin1Char(')'));
    }
    return result;
}

QStringList fgFilterPatterns(const QString &filter, int entry)
{
    const auto entries = filterEntries(filter);
    if (entry < 0 || entry >= entries.size())
        return {};
    return patternsOf(entries.at(entry).second);
}

bool fgMatchesPatterns(const QString &fileName, const QStringList &patterns)
{
    for (const QString &pattern : patterns) {
        const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(pattern),
                                    QRegularExpression::CaseInsensitiveOption);
        if (re.match(fileName).hasMatch())
            return true;
    }
    return false;
}

Answer guiMessageBox(const MessageRequest &request)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(request.title.isEmpty() ? kAppTitle : request.title);
    box.setText(request.text);
    box.setIcon(toQtIcon(request.icon));

    QList<QPair<QPushButton *, Answer>> buttons;
    auto add = [&](const QString &caption, QMessageBox::ButtonRole role, Answer answer) {
        buttons.append({box.addButton(caption, role), answer});
    };
    switch (request.buttons) {
    case Buttons::Ok:
        add(QCoreApplication::translate("MessageBox", "OK"), QMessageBox::AcceptRole, Answer::Ok);
        break;
    case Buttons::OkCancel:
        add(QCoreApplication::translate("MessageBox", "OK"), QMessageBox::AcceptRole, Answer::Ok);
        add(QCoreApplication::translate("MessageBox", "Anulare"), QMessageBox::RejectRole, Answer::Cancel);
        break;
    case Buttons::YesNo:
        add(QCoreApplication::translate("MessageBox", "Da"), QMessageBox::YesRole, Answer::Yes);
        add(QCoreApplication::translate("MessageBox", "Nu"), QMessageBox::NoRole, Answer::No);
        break;
    case Buttons::YesNoCancel:
        add(QCoreApplication::translate("MessageBox", "Da"), QMessageBox::YesRole, Answer::Yes);
        add(QCoreApplication::translate("MessageBox", "Nu"), QMessageBox::NoRole, Answer::No);
        add(QCoreApplication::translate("MessageBox", "Anulare"), QMessageBox::RejectRole, Answer::Cancel);
        break;
    }
    const int defaultIndex = qBound(0, request.defaultButton, static_cast<int>(buttons.size()) - 1);
    box.setDefaultButton(buttons.at(defaultIndex).first);
    // Escape answers Cancel where there is one, otherwise the last button.
    box.setEscapeButton(buttons.last().first);

    box.exec();
    const QAbstractButton *clicked = box.clickedButton();
    for (const auto &button : buttons)
        if (button.first == clicked)
            return button.second;
    return buttons.last().second;
}

QString guiOpenFileName(const FileRequest &request)
{
    QFileDialog dialog(QApplication::activeWindow());
    setUpFileDialog(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

QString guiSaveFileName(const FileRequest &request)
{
    QFileDialog dialog(QApplication::activeWindow());
    setUpFileDialog(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

void installGuiPrompts()
{
    setMessageHandler(guiMessageBox);
    setOpenFileHandler(guiOpenFileName);
    setSaveFileHandler(guiSaveFileName);
}

} // namespace ui
