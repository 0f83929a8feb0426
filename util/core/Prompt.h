#pragma once

#include <QString>
#include <functional>

// Every place that waits for a person goes through one of these functions.
// The program installs handlers that show real dialogs (or ask on the
// terminal); tests install handlers that answer from a script and record
// what was asked.
namespace ui {

enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
// Button numbers as the message-box function returns them.
enum class Answer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

struct MessageRequest {
    QString text;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    QString title;
    int defaultButton = 0; // 0 = first button, 1 = second, 2 = third
};

using MessageHandler = std::function<Answer(const MessageRequest &)>;

// Shows a message box; the title defaults to the application title.
Answer msgBox(const QString &text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
              const QString &title = QString(), int defaultButton = 0);
Answer msgBox(const MessageRequest &request);
// Installs the handler; returns the previous one.
MessageHandler setMessageHandler(MessageHandler handler);

struct FileRequest {
    QString title;
    QString filter;       // "Vamor Files (*.vmd)|*.vmd|All Files (*.*)|*.*"
    QString initialDir;
    QString fileName;     // proposed name
    bool mustExist = false;        // open dialogs
    bool confirmOverwrite = false; // save dialogs
};

// The chosen path, or "" when the user cancelled.
using FileHandler = std::function<QString(const FileRequest &)>;

QString getOpenFileName(const FileRequest &request);
QString getSaveFileName(const FileRequest &request);
FileHandler setOpenFileHandler(FileHandler handler);
FileHandler setSaveFileHandler(FileHandler handler);

} // namespace ui
