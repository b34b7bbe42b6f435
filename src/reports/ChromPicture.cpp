// The chromatogram picture: fitted to the page, printed whole or as a column of 30-pixel strips
// so that a long chromatogram can break across pages.

#include "ChromReport.h"
#include "PictureView.h"
#include "TDataModule1.h"

#include <QColor>
#include <algorithm>
#include <cstring>

namespace {

constexpr int kStripHeight = 30;

// Pixels can be written one by one only in a format without a colour table.
QImage::Format directFormat(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_Invalid:
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
        return QImage::Format_RGB888;
    default:
        return image.format();
    }
}

// A quarter turn clockwise into 24 bits per pixel: new (x, y) is old (y, height - 1 - x).
QImage rotateClockwise(const QImage& picture) {
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    const int oldHeight = source.height();
    QImage rotated(oldHeight, source.width(), QImage::Format_RGB888);
    for (int y = 0; y < rotated.height(); ++y) {
        uchar* out = rotated.scanLine(y);
        for (int x = 0; x < rotated.width(); ++x) {
            const QRgb pixel = reinterpret_cast<const QRgb*>(source.constScanLine(oldHeight - 1 - x))[y];
            out[3 * x] = static_cast<uchar>(qRed(pixel));
            out[3 * x + 1] = static_cast<uchar>(qGreen(pixel));
            out[3 * x + 2] = static_cast<uchar>(qBlue(pixel));
        }
    }
    return rotated;
}

// A one-pixel black line along the outer edge; the interior stays as it is.
void frame(QImage& image) {
    const int w = image.width();
    const int h = image.height();
    for (int x = 0; x < w; ++x) {
        image.setPixelColor(x, 0, Qt::black);
        image.setPixelColor(x, h - 1, Qt::black);
    }
    for (int y = 0; y < h; ++y) {
        image.setPixelColor(0, y, Qt::black);
        image.setPixelColor(w - 1, y, Qt::black);
    }
}

} // namespace

void FitChromPicture(TDataModule1& data) {
    if (data.designMode || data.chromPicture.isNull())
        return;
    if (data.chromPicture.width() > data.pageWidth + 20)
        data.chromPicture = rotateClockwise(data.chromPicture);
    if (directFormat(data.chromPicture) != data.chromPicture.format())
        data.chromPicture = data.chromPicture.convertToFormat(directFormat(data.chromPicture));
    frame(data.chromPicture);
}

void PutWholePicture(TDataModule1& data) {
    if (data.designMode)
        return;
    auto* whole = data.CommonReport().findObject<tarvex::engine::PictureView>(QStringLiteral("Picture2"));
    if (!whole)
        return;
    whole->picture = QImage();
    whole->picture = data.chromPicture;
}

void CutStrip(TDataModule1& data) {
    if (data.designMode)
        return;
    const QImage& picture = data.chromPicture;
    const QImage::Format format = directFormat(picture);
    const QImage source = picture.format() == format ? picture : picture.convertToFormat(format);
    QImage strip(picture.width(), kStripHeight, format);
    strip.fill(Qt::white);
    const std::int64_t first = static_cast<std::int64_t>(data.rowIndex(QStringLiteral("BitmapPartDataSet"))) * kStripHeight;
    const qsizetype bytes = std::min(strip.bytesPerLine(), source.bytesPerLine());
    for (int y = 0; y < kStripHeight && !source.isNull(); ++y) {
        const std::int64_t row = first + y;
        if (row >= 0 && row < source.height())
            std::memcpy(strip.scanLine(y), source.constScanLine(static_cast<int>(row)), static_cast<std::size_t>(bytes));
    }
    data.chromStrip = strip;
}
