#pragma once

#include <QString>

// The application title: message-box titles, the settings store's
// application name, the default template's name.
inline const QString kAppTitle = QStringLiteral("Vamor");

// The program folder: the executable's folder, or the folder named by the
// environment variable VAMOR_HOME. Templates, working copies and help live here.
QString fgAppPath();
