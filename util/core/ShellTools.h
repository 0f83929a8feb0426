#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Shell calls: a web page in the browser, a new message in the mail program.
namespace shell {

// Starts a program with its arguments without waiting for it; true when it
// started. The program installs none: the default starts a detached process.
using Launcher = std::function<bool(const QString &program, const QStringList &arguments)>;
// Reads the command line of the default web browser (the Exec line of its
// desktop entry), "" when none is registered.
using BrowserCommandReader = std::function<QString()>;

// Installs a launcher (an empty one restores the default); returns the previous.
Launcher setLauncher(Launcher launcher);
// Installs a reader (an empty one restores the default) and forgets the
// browser found so far; returns the previous reader.
BrowserCommandReader setBrowserCommandReader(BrowserCommandReader reader);

// The program part of a browser command line: the text between the quotes
// when it starts with a quoted path; otherwise the text before the first
// space after the last "/" (a bare program name: before the first space);
// otherwise the whole command.
QString fgBrowserProgram(const QString &command);

// The default reader: the desktop entry named by `xdg-settings get
// default-web-browser`, or by the handler of x-scheme-handler/http in the
// mimeapps.list files; its Exec line.
QString fgReadDefaultBrowserCommand();

// Opens "mailto:" + address with the desktop's mail program; true when the
// opener started.
bool OpenEmailProgram(const QString &pstrAddress);
// The program of the default web browser, "" when none is registered. Read
// once per run and kept.
QString GetBrowser();
// With pbUseBrowser the GetBrowser program is started with the address as its
// argument; without it the desktop opens the address itself. True when the
// program started (an empty browser fails quietly).
bool OpenUrl(const QString &pstrAddress, bool pbUseBrowser);

} // namespace shell
