#include "help/cDIBSection.h"

bool cDIBSection::Create(const QImage &picture)
{
    if (picture.isNull()) {
        mImage = QImage();
        return false;
    }
    mImage = picture.convertToFormat(QImage::Format_RGB888);
    return !mImage.isNull();
}

quint32 cDIBSection::Pixel(int x, int y) const
{
    const uchar *p = mImage.constScanLine(y) + 3 * x;
    return (quint32(p[0]) << 16) | (quint32(p[1]) << 8) | quint32(p[2]);
}

void cDIBSectionRegion::Create(const cDIBSection &dib, quint32 transparentColour)
{
    mRegion = QRegion(0, 0, dib.Width(), dib.Height());
    for (int x = 0; x < dib.Width(); ++x) {
        int y = 0;
        while (y < dib.Height()) {
            if (dib.Pixel(x, y) != transparentColour) {
                ++y;
                continue;
            }
            const int start = y;
            while (y < dib.Height() && dib.Pixel(x, y) == transparentColour)
                ++y;
            // The run lies inside the region: the exclusive or removes it.
            mRegion ^= QRegion(x, start, 1, y - start);
        }
    }
}
