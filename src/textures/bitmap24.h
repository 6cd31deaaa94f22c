// A 24-bit raster: rows top first, three bytes per pixel in blue, green, red order,
// no padding between rows. Atlas pages, sample pictures and previews are Bitmap24s.
#pragma once

#include <cstdint>
#include <vector>

namespace kavlen {

struct Bgr {
    std::uint8_t b = 0, g = 0, r = 0;
    bool operator==(const Bgr&) const = default;
};

struct Bitmap24 {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgr; // width * height * 3 bytes

    Bitmap24() = default;
    // A black bitmap; negative sizes count as 0.
    Bitmap24(int w, int h);

    bool empty() const { return width <= 0 || height <= 0; }
    std::size_t rowBytes() const { return std::size_t(width) * 3; }
    std::uint8_t* row(int y) { return bgr.data() + std::size_t(y) * rowBytes(); }
    const std::uint8_t* row(int y) const { return bgr.data() + std::size_t(y) * rowBytes(); }

    Bgr pixel(int x, int y) const {
        const std::uint8_t* p = row(y) + 3 * std::size_t(x);
        return {p[0], p[1], p[2]};
    }
    void setPixel(int x, int y, Bgr c) {
        std::uint8_t* p = row(y) + 3 * std::size_t(x);
        p[0] = c.b;
        p[1] = c.g;
        p[2] = c.r;
    }

    bool operator==(const Bitmap24&) const = default;
};

// Copies `src` into `dst` with its top-left corner at (x, y); the parts that fall
// outside `dst` are dropped.
void pasteBitmap(Bitmap24& dst, const Bitmap24& src, int x, int y);

// Each pixel becomes a zoom x zoom block.
Bitmap24 enlargeBitmap(const Bitmap24& src, int zoom);

} // namespace kavlen
