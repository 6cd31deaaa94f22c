#include "textures/bitmap24.h"

#include <algorithm>
#include <cstring>

namespace kavlen {

Bitmap24::Bitmap24(int w, int h)
    : width(std::max(w, 0)), height(std::max(h, 0)), bgr(std::size_t(width) * height * 3, 0) {}

void pasteBitmap(Bitmap24& dst, const Bitmap24& src, int x, int y) {
    const int left = std::max(x, 0);
    const int right = std::min(x + src.width, dst.width); // exclusive
    if (left >= right)
        return;
    const int top = std::max(y, 0);
    const int bottom = std::min(y + src.height, dst.height);
    for (int row = top; row < bottom; ++row)
        std::memcpy(dst.row(row) + 3 * std::size_t(left),
                    src.row(row - y) + 3 * std::size_t(left - x), 3 * std::size_t(right - left));
}

Bitmap24 enlargeBitmap(const Bitmap24& src, int zoom) {
    zoom = std::max(zoom, 1);
    Bitmap24 out(src.width * zoom, src.height * zoom);
    for (int y = 0; y < out.height; ++y) {
        const std::uint8_t* in = src.row(y / zoom);
        std::uint8_t* o = out.row(y);
        for (int x = 0; x < out.width; ++x)
            std::memcpy(o + 3 * std::size_t(x), in + 3 * std::size_t(x / zoom), 3);
    }
    return out;
}

} // namespace kavlen
