#pragma once

#include <QImage>
#include <QRegion>
#include <QtGlobal>

// A device-independent bitmap of 24 bits per pixel, made from a picture.
class cDIBSection {
public:
    // Copies the picture into a 24-bit bitmap of its size.
    bool Create(const QImage &picture);
    int Width() const { return mImage.width(); }
    int Height() const { return mImage.height(); }
    // The colour of a pixel as 0xRRGGBB.
    quint32 Pixel(int x, int y) const;
    const QImage &image() const { return mImage; }

private:
    QImage mImage;
};

// A window region built from a bitmap: the whole picture less every pixel of
// the transparent colour, taken column by column in vertical runs.
class cDIBSectionRegion {
public:
    void Create(const cDIBSection &dib, quint32 transparentColour = 0);
    const QRegion &region() const { return mRegion; }

private:
    QRegion mRegion;
};
