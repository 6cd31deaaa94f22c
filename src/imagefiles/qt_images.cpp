#include "imagefiles/qt_images.h"

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
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    Image32 out(argb.width(), argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        // Format_ARGB32 holds 0xAARRGGBB words: blue, green, red, alpha in memory
        // on little-endian machines; read the words to be independent of that.
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            out.setPixel(
                x, y,
                {static_cast<std::uint8_t>(qBlue(in[x])), static_cast<std::uint8_t>(qGreen(in[x])),
                 static_cast<std::uint8_t>(qRed(in[x])), static_cast<std::uint8_t>(qAlpha(in[x]))});
    }
    return out;
}

} // namespace kavlen
