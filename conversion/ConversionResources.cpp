#include "conversion/ConversionResources.h"

#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QtGlobal>

static void initConversionResources() { Q_INIT_RESOURCE(conversion); }

namespace conversion {

namespace {
constexpr int kMinSide = 3200 / 15; // twips to pixels

QString directionPicture(bool toLeiNoi)
{
    return toLeiNoi ? QStringLiteral(":/conversion/tolei_noi.svg") : QStringLiteral(":/conversion/tolei_vechi.svg");
}
} // namespace

void initResources()
{
    static const bool done = (initConversionResources(), true);
    Q_UNUSED(done);
}

void setUpDialog(QDialog *dialog, const QString &name, const QString &caption, int helpContext)
{
    initResources();
    dialog->setObjectName(name);
    dialog->setWindowTitle(caption);
    dialog->setProperty("HelpContextID", helpContext);
    dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    dialog->setSizeGripEnabled(true);
    dialog->setMinimumSize(kMinSide, kMinSide);
}

QLabel *makeDirectionImage(QWidget *parent, bool toLeiNoi)
{
    auto *image = new QLabel(parent);
    image->setObjectName(toLeiNoi ? QStringLiteral("imgToLeiNoi") : QStringLiteral("imgToLeiVechi"));
    image->setPixmap(QIcon(directionPicture(toLeiNoi)).pixmap(32, 32));
    image->hide();
    return image;
}

void showDirection(QWidget *window, QLabel *imgToLeiNoi, QLabel *imgToLeiVechi, bool toLeiNoi)
{
    (toLeiNoi ? imgToLeiNoi : imgToLeiVechi)->show();
    window->setWindowIcon(QIcon(directionPicture(toLeiNoi)));
}

} // namespace conversion
