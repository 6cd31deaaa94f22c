#include "imagefiles/qt_images.h"

#include <algorithm>
#include <cstring>

namespace kavlen {

QImage toQImage(const Bitmap24& bitmap) {
    QImage out(bitmap.width, bitmap.height, QImage::Format_RGB888);
    for (int y = 0; y < bitmap.height; ++y) {
        const std::uint8_t* in = bitmap.row(y);
        uchar* o = out.scanLine(y);
        for (int x = 0; x < bitmap.width; ++x) {
            o[3 * x] = in[3 * x + 2];
            o[3 * x + 1] = in[3 * x + 1];
            o[3 * x + 2] = in[3 * x];
        }
    }
    return out;
}

Image32 fromQImage(const QImage& image) {
    Image32 out(image.width(), image.height());
    // Converted a band of rows at a time, so that a large picture in another
    // format is never held twice more in memory.
    constexpr int kBandRows = 64;
    const bool argb = image.format() == QImage::Format_ARGB32;
    for (int top = 0; top < image.height(); top += kBandRows) {
        const int rows = std::min(kBandRows, image.height() - top);
        const QImage band =
            argb ? image
                 : image.copy(0, top, image.width(), rows).convertToFormat(QImage::Format_ARGB32);
        const int first = argb ? top : 0;
        for (int y = 0; y < rows; ++y) {
            // Format_ARGB32 holds 0xAARRGGBB words: blue, green, red, alpha in memory
            // on little-endian machines; read the words to be independent of that.
            const auto* in = reinterpret_cast<const QRgb*>(band.constScanLine(first + y));
            for (int x = 0; x < image.width(); ++x)
                out.setPixel(x, top + y,
                             {static_cast<std::uint8_t>(qBlue(in[x])),
                              static_cast<std::uint8_t>(qGreen(in[x])),
                              static_cast<std::uint8_t>(qRed(in[x])),
                              static_cast<std::uint8_t>(qAlpha(in[x]))});
        }
    }
    return out;
}

} // namespace kavlen
