#pragma once

#include <QString>

class QDialog;
class QLabel;
class QWidget;

namespace conversion {
// Makes the conversion windows' pictures available (resources of a static library).
void initResources();

// The common frame of the conversion dialogs: name, caption, help topic, a
// size grip and the smallest size they may take.
void setUpDialog(QDialog *dialog, const QString &name, const QString &caption, int helpContext);

// A hidden picture of one direction of conversion, named imgToLeiNoi or imgToLeiVechi.
QLabel *makeDirectionImage(QWidget *parent, bool toLeiNoi);
// Shows the picture of the run's direction and makes it the window's icon.
void showDirection(QWidget *window, QLabel *imgToLeiNoi, QLabel *imgToLeiVechi, bool toLeiNoi);
} // namespace conversion
