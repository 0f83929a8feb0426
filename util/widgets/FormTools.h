#pragma once

#include <QString>

class QWidget;

// Window placement kept from one run to the next, in the settings store under
// "FormSettings", keyed by the window's object name (its class name when it
// has none). The line is "2|left|top|state|width|height", lengths in twips
// (pixels x 15), state 0 normal or 2 maximised.

// Places the window from its stored line, or centres it on the screen when
// there is none. A fixed-size window takes only the stored position.
void pgLoadFormSettings(QWidget *window);
// Stores the window's current placement line.
void pgSaveFormSettings(QWidget *window);

// The placement line of a window as it would be stored.
QString fgFormSettingsLine(QWidget *window);
// True when the window cannot be resized by the user.
bool fgHasFixedBorder(const QWidget *window);
