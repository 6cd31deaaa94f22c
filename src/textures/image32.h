// A 32-bit picture as loaded from a picture file: rows top first, four bytes per
// pixel in blue, green, red, alpha order (alpha 255 is opaque). Pictures enter
// the atlas through this type: resized with a Catmull-Rom filter, their fully
// transparent pixels keyed to magenta, and converted to 24 bits.
#pragma once

#include "textures/bitmap24.h"

#include <cstdint>
#include <vector>

namespace kavlen {

struct Bgra {
    std::uint8_t b = 0, g = 0, r = 0, a = 255;
    bool operator==(const Bgra&) const = default;
};

struct Image32 {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgra; // width * height * 4 bytes

    Image32() = default;
    // A transparent black picture; negative sizes count as 0.
    Image32(int w, int h);

    bool empty() const { return width <= 0 || height <= 0; }
    Bgra pixel(int x, int y) const {
        const std::uint8_t* p = bgra.data() + (std::size_t(y) * width + x) * 4;
        return {p[0], p[1], p[2], p[3]};
    }
    void setPixel(int x, int y, Bgra c) {
        std::uint8_t* p = bgra.data() + (std::size_t(y) * width + x) * 4;
        p[0] = c.b;
        p[1] = c.g;
        p[2] = c.r;
        p[3] = c.a;
    }

    bool operator==(const Image32&) const = default;
};

// Resamples to w x h with the Catmull-Rom cubic (a = -0.5), separably. When
// shrinking, the kernel is widened by the reduction factor so that every source
// pixel contributes; edges repeat the border pixels. Channels are filtered
// independently (straight alpha) and rounded to the nearest value in 0..255.
// Besides the result it holds only the filter's height of rows at a time.
Image32 resizeCatmullRom(const Image32& src, int w, int h);

// The Catmull-Rom kernel value at distance x.
double catmullRomWeight(double x);

// Drops the alpha channel.
Bitmap24 toBitmap24(const Image32& src);

// Replaces every pixel whose alpha is 0 by opaque magenta (the atlas's
// transparency key).
void keyTransparentToMagenta(Image32& image);

inline constexpr Bgra kMagenta{255, 0, 255, 255};

} // namespace kavlen
