#include "help/frmAbout.h"

#include "help/cDIBSection.h"
#include "help/frmTerms.h"
#include "util/core/AppInfo.h"
#include "util/core/ShellTools.h"
#include "util/widgets/ModalDialog.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

static void initHelpResources() { Q_INIT_RESOURCE(help); }

namespace {

QImage defaultPicture()
{
    initHelpResources();
    QSvgRenderer svg(QStringLiteral(":/help/about.svg"));
    QImage image(svg.defaultSize(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    svg.render(&painter);
    return image;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, const QRect &place, const QString &style)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(place);
    l->setWordWrap(true);
    l->setStyleSheet(style);
    // The surface under a label still drags the window.
    l->setAttribute(Qt::WA_TransparentForMouseEvents, !text.contains(QLatin1String("<a ")));
    return l;
}

QString link(const QString &target, const QString &text)
{
    return QStringLiteral("<a href=\"") + target + QStringLiteral("\" style=\"color:#17406b;\">") + text
           + QStringLiteral("</a>");
}

const QString kBody = QStringLiteral("color:#2b2b2b; font-size:10pt;");

} // namespace

QString frmAbout::webAddress() { return QStringLiteral("https://vamor.example.org"); }
QString frmAbout::emailAddress() { return QStringLiteral("contact@vamor.example.org"); }

frmAbout::frmAbout(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("Despre %1").arg(kAppTitle));
    setProperty("HelpContextID", 9);

    QString title = kAppTitle;
    if (!QCoreApplication::applicationVersion().isEmpty())
        title += QLatin1Char(' ') + QCoreApplication::applicationVersion();
    lblTitle = label(this, "lblTitle", title, QRect(176, 56, 330, 34),
                     QStringLiteral("color:white; font-size:20pt; font-weight:bold;"));
    label(this, "lblSubtitle", tr("Denominarea monedei nationale"), QRect(178, 92, 330, 24),
          QStringLiteral("color:#f3e2a9; font-size:11pt;"));
    label(this, "lblDescription1",
          tr("Aplicatia este destinata conversiei bazelor de date care contin sume de bani din Lei VECHI "
             "in Lei NOI."),
          QRect(176, 140, 330, 40), kBody);
    label(this, "lblDescription2",
          tr("Procesul de conversie se numeste DENOMINARE si a fost reglementat prin Legea nr. 348/2004."),
          QRect(176, 184, 330, 40), kBody);
    label(this, "lblDescription3", tr("Folosirea aplicatiei este gratuita."), QRect(176, 228, 330, 20),
          kBody + QStringLiteral("font-weight:bold;"));
    label(this, "lblContact", tr("Intrebari, sugestii si erori semnalate:"), QRect(50, 262, 300, 20), kBody);

    lblWeb = label(this, "lblWeb", link(QStringLiteral("web"), webAddress()), QRect(50, 284, 260, 20), kBody);
    lblEmail = label(this, "lblEmail", link(QStringLiteral("email"), emailAddress()), QRect(50, 306, 260, 20), kBody);
    lblTerms = label(this, "lblTerms", link(QStringLiteral("terms"), tr("Termene si Conditii")),
                     QRect(316, 306, 140, 20), kBody);
    lblClose = label(this, "lblClose", link(QStringLiteral("close"), tr("Inchide")),
                     QRect(462, 306, 56, 20), kBody + QStringLiteral("font-weight:bold;"));
    for (QLabel *l : {lblWeb, lblEmail, lblTerms, lblClose}) {
        l->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        l->setCursor(Qt::PointingHandCursor);
        l->setWordWrap(false);
        connect(l, &QLabel::linkActivated, this, &frmAbout::lbl_LinkActivated);
    }
    pFitTexts();

    setPicture(defaultPicture());
}

// The card's texts in any language: the description's lines take the
// height their words need, in a smaller font while they do not fit above the
// rule of the card; the two links at the bottom right take their own width.
void frmAbout::pFitTexts()
{
    const QStringList names{QStringLiteral("lblDescription1"), QStringLiteral("lblDescription2"),
                            QStringLiteral("lblDescription3")};
    constexpr int kTop = 140, kBottom = 256, kLeft = 176, kWidth = 330;
    for (int points = 10; points >= 7; --points) {
        int y = kTop;
        for (const QString &name : names) {
            auto *l = findChild<QLabel *>(name);
            QString style = l->styleSheet();
            style.replace(QRegularExpression(QStringLiteral("font-size:\\d+pt;")),
                          QStringLiteral("font-size:%1pt;").arg(points));
            l->setStyleSheet(style);
            QFont font = l->font();
            font.setPointSize(points);
            font.setBold(style.contains(QLatin1String("font-weight:bold")));
            const int height = QFontMetrics(font)
                                   .boundingRect(QRect(0, 0, kWidth, 1000), Qt::TextWordWrap, l->text())
                                   .height() + 2;
            l->setGeometry(kLeft, y, kWidth, height);
            y += height + 4;
        }
        if (y - 4 <= kBottom)
            break;
    }
    findChild<QLabel *>(QStringLiteral("lblContact"))->setGeometry(50, 262, 468, 20);
    constexpr int kRight = 518, kGap = 10;
    const int closeWidth = lblClose->sizeHint().width();
    lblClose->setGeometry(kRight - closeWidth, 306, closeWidth, 20);
    const int termsWidth = lblTerms->sizeHint().width();
    lblTerms->setGeometry(kRight - closeWidth - kGap - termsWidth, 306, termsWidth, 20);
}

void frmAbout::setPicture(const QImage &picture)
{
    mPicture = picture;
    setFixedSize(picture.size());
    cDIBSection dib;
    dib.Create(picture);
    cDIBSectionRegion region;
    region.Create(dib);
    setMask(region.region());
    update();
}

void frmAbout::lbl_LinkActivated(const QString &link)
{
    if (link == QLatin1String("web")) {
        shell::OpenUrl(webAddress(), true);
    } else if (link == QLatin1String("email")) {
        shell::OpenEmailProgram(emailAddress());
    } else if (link == QLatin1String("terms")) {
        frmTerms terms(this);
        ui::showModal(terms);
    } else if (link == QLatin1String("close")) {
        close();
    }
}

void frmAbout::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, mPicture);
}

void frmAbout::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        mDragFrom = event->position().toPoint();
    QDialog::mousePressEvent(event);
}

void frmAbout::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        move(pos() + event->position().toPoint() - mDragFrom);
    QDialog::mouseMoveEvent(event);
}
