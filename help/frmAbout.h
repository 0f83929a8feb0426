#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>

class QLabel;

// The About window: a window without a frame, shaped by its picture (every
// black pixel is cut away), dragged by its surface, with the product's
// description and its links (web, e-mail, terms, close).
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    // The background picture; the window takes its size and its shape.
    void setPicture(const QImage &picture);
    const QImage &picture() const { return mPicture; }

    static QString webAddress();
    static QString emailAddress();

    QLabel *lblTitle = nullptr;
    QLabel *lblWeb = nullptr;
    QLabel *lblEmail = nullptr;
    QLabel *lblTerms = nullptr;
    QLabel *lblClose = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void lbl_LinkActivated(const QString &link);
    void pFitTexts();

    QImage mPicture;
    // Where the left button was pressed, in the window's coordinates.
    QPoint mDragFrom;
};
