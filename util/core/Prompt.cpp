#include "util/core/Prompt.h"

#include "util/core/AppInfo.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <cstdio>

namespace ui {

namespace {

// Without a display nobody can answer: the message is written to standard
// error and the safest answer (Cancel, No or Ok) is returned.
Answer defaultMessage(const MessageRequest &request)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(request.title), qPrintable(request.text));
    switch (request.buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::OkCancel: return Answer::Cancel;
    case Buttons::YesNo: return Answer::No;
    case Buttons::YesNoCancel: return Answer::Cancel;
    }
    return Answer::Cancel;
}

MessageHandler &messageHandler()
{
    static MessageHandler handler = defaultMessage;
    return handler;
}

FileHandler &openHandler()
{
    static FileHandler handler = [](const FileRequest &) { return QString(); };
    return handler;
}

FileHandler &saveHandler()
{
    static FileHandler handler = [](const FileRequest &) { return QString(); };
    return handler;
}

} // namespace

Answer msgBox(const QString &text, Buttons buttons, Icon icon, const QString &title, int defaultButton)
{
    MessageRequest request;
    request.text = text;
    request.buttons = buttons;
    request.icon = icon;
    request.title = title.isEmpty() ? kAppTitle : title;
    request.defaultButton = defaultButton;
    return msgBox(request);
}

Answer msgBox(const MessageRequest &request)
{
    MessageRequest r = request;
    if (r.title.isEmpty())
        r.title = kAppTitle;
    // Work on a thread of its own (a run, a listing) that meets an error
    // asks the window's thread, which keeps its event loop going meanwhile,
    // and waits for the answer.
    QCoreApplication *app = QCoreApplication::instance();
    if (app && QThread::currentThread() != app->thread()) {
        Answer answer = Answer::Ok;
        QMetaObject::invokeMethod(app, [&] { answer = messageHandler()(r); }, Qt::BlockingQueuedConnection);
        return answer;
    }
    return messageHandler()(r);
}

MessageHandler setMessageHandler(MessageHandler handler)
{
    MessageHandler previous = messageHandler();
    messageHandler() = handler ? std::move(handler) : MessageHandler(defaultMessage);
    return previous;
}

QString getOpenFileName(const FileRequest &request) { return openHandler()(request); }
QString getSaveFileName(const FileRequest &request) { return saveHandler()(request); }

FileHandler setOpenFileHandler(FileHandler handler)
{
    FileHandler previous = openHandler();
    openHandler() = std::move(handler);
    return previous;
}

FileHandler setSaveFileHandler(FileHandler handler)
{
    FileHandler previous = saveHandler();
    saveHandler() = std::move(handler);
    return previous;
}

} // namespace ui
