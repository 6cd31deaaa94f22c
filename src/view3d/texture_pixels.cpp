#include "view3d/texture_pixels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kavlen {

namespace {

// Filter taps of one output position along one axis.
struct AxisFilter {
    std::vector<int> first; // index into taps of each output position's first tap, plus an end
    std::vector<int> source;
    std::vector<float> weight;
};

AxisFilter makeAxisFilter(int sourceSize, int targetSize) {
    AxisFilter filter;
    const double scale = double(sourceSize) / double(targetSize);
    const double radius = std::max(1.0, scale);
    const auto taps = std::size_t(targetSize) * (2 * static_cast<std::size_t>(radius) + 2);
    filter.first.reserve(std::size_t(targetSize) + 1);
    filter.source.reserve(taps);
    filter.weight.reserve(taps);
    for (int j = 0; j < targetSize; ++j) {
        filter.first.push_back(static_cast<int>(filter.source.size()));
        const double center = (j + 0.5) * scale - 0.5;
        const int lo = static_cast<int>(std::ceil(center - radius));
        const int hi = static_cast<int>(std::floor(center + radius));
        double sum = 0;
        const std::size_t start = filter.weight.size();
        for (int x = lo; x <= hi; ++x) {
            const double w = 1.0 - std::fabs(x - center) / radius;
            if (w <= 0)
                continue;
            filter.source.push_back(std::clamp(x, 0, sourceSize - 1));
            filter.weight.push_back(static_cast<float>(w));
            sum += w;
        }
        for (std::size_t k = start; k < filter.weight.size(); ++k)
            filter.weight[k] = static_cast<float>(filter.weight[k] / sum);
    }
    filter.first.push_back(static_cast<int>(filter.source.size()));
    return filter;
}

std::uint8_t toByte(float value) {
    // The weights are positive and sum to 1, so value lies in 0..255 but for rounding.
    return static_cast<std::uint8_t>(std::clamp(value + 0.5f, 0.0f, 255.0f));
}

} // namespace

int bytesPerPixelForDepth(int colorBits) {
    return colorBits == 32 ? 4 : 3;
}

bool isTextureSide(int side) {
    return side >= 1 && side <= 256 && (side & (side - 1)) == 0;
}

void cutSamplePicture(const Package& wad, std::size_t n, int bytesPerPixel, TexturePicture& out) {
    out.bytesPerPixel = bytesPerPixel;
    if (n >= kMaxTexInfos) {
        out.width = out.height = 1;
        out.pixels.assign(std::size_t(bytesPerPixel), 0);
        return;
    }
    const TexInfo& t = wad.texInfos[n];
    out.width = t.width + 1;
    out.height = t.height + 1;
    out.pixels.assign(std::size_t(out.width) * out.height * bytesPerPixel, 0);

    const std::size_t atlasBytes =
        std::min<std::size_t>(wad.textureDataSize, wad.textureData.size());
    const std::size_t atlasRows = atlasBytes / kAtlasRowBytes;
    const int columns = std::min(out.width, 256 - int(t.x)); // texels left of the atlas' right edge
    const std::size_t top = std::size_t(t.page) * 256 + t.y;
    for (int r = 0; r < out.height; ++r) {
        std::uint8_t* dst = out.pixels.data() + std::size_t(r) * out.rowBytes();
        const std::size_t atlasRow = top + std::size_t(r);
        if (atlasRow < atlasRows) {
            const std::uint8_t* src = wad.textureData.data() + atlasRow * kAtlasRowBytes + 3 * t.x;
            if (bytesPerPixel == 3) {
                std::memcpy(dst, src, std::size_t(columns) * 3);
            } else {
                for (int c = 0; c < columns; ++c)
                    std::memcpy(dst + 4 * c, src + 3 * c, 3);
            }
        }
        if (bytesPerPixel == 4) {
            for (int c = 0; c < out.width; ++c)
                dst[4 * c + 3] = 255;
        }
    }
}

TexturePicture cutSamplePicture(const Package& wad, std::size_t n, int bytesPerPixel) {
    TexturePicture picture;
    cutSamplePicture(wad, n, bytesPerPixel, picture);
    return picture;
}

TexturePicture withBytesPerPixel(const TexturePicture& picture, int bytesPerPixel) {
    if (picture.bytesPerPixel == bytesPerPixel)
        return picture;
    TexturePicture out;
    out.width = picture.width;
    out.height = picture.height;
    out.bytesPerPixel = bytesPerPixel;
    const std::size_t count = std::size_t(picture.width) * picture.height;
    out.pixels.assign(count * bytesPerPixel, 255);
    for (std::size_t i = 0; i < count; ++i) {
        std::memcpy(out.pixels.data() + i * bytesPerPixel,
                    picture.pixels.data() + i * picture.bytesPerPixel, 3);
    }
    return out;
}

TexturePicture stretchPicture(const TexturePicture& picture, int width, int height) {
    TexturePicture out;
    out.width = width;
    out.height = height;
    out.bytesPerPixel = picture.bytesPerPixel;
    out.pixels.assign(std::size_t(width) * height * picture.bytesPerPixel, 0);
    if (picture.width <= 0 || picture.height <= 0 || width <= 0 || height <= 0)
        return out;

    const int bpp = picture.bytesPerPixel;
    const AxisFilter across = makeAxisFilter(picture.width, width);
    const AxisFilter down = makeAxisFilter(picture.height, height);

    // Horizontal pass: every source row resampled to the target width.
    std::vector<float> rows(std::size_t(width) * picture.height * bpp, 0.0f);
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* src = picture.pixels.data() + std::size_t(y) * picture.rowBytes();
        float* dst = rows.data() + std::size_t(y) * width * bpp;
        for (int j = 0; j < width; ++j) {
            for (int k = across.first[j]; k < across.first[j + 1]; ++k) {
                const std::uint8_t* s = src + std::size_t(across.source[k]) * bpp;
                const float w = across.weight[k];
                for (int c = 0; c < bpp; ++c)
                    dst[j * bpp + c] += w * s[c];
            }
        }
    }
    // Vertical pass into the target.
    std::vector<float> sum(std::size_t(width) * bpp);
    for (int i = 0; i < height; ++i) {
        std::fill(sum.begin(), sum.end(), 0.0f);
        for (int k = down.first[i]; k < down.first[i + 1]; ++k) {
            const float* s = rows.data() + std::size_t(down.source[k]) * width * bpp;
            const float w = down.weight[k];
            for (std::size_t c = 0; c < sum.size(); ++c)
                sum[c] += w * s[c];
        }
        std::uint8_t* dst = out.pixels.data() + std::size_t(i) * out.rowBytes();
        for (std::size_t c = 0; c < sum.size(); ++c)
            dst[c] = toByte(sum[c]);
    }
    return out;
}

TexturePicture texturePixels(TexturePicture picture, int colorBits) {
    const int bpp = bytesPerPixelForDepth(colorBits);
    if (picture.bytesPerPixel != bpp)
        picture = withBytesPerPixel(picture, bpp);
    if (isTextureSide(picture.width) && isTextureSide(picture.height))
        return picture;
    return stretchPicture(picture, kStretchedTextureSide, kStretchedTextureSide);
}

TexturePicture makeSolidPicture() {
    constexpr int side = 64;
    constexpr std::uint8_t border = 96, light = 236, shadow = 150, face = 200;
    TexturePicture picture;
    picture.width = picture.height = side;
    picture.bytesPerPixel = 4;
    picture.pixels.resize(std::size_t(side) * side * 4);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            std::uint8_t v = face;
            if (x < 2 || y < 2 || x >= side - 2 || y >= side - 2)
                v = border;
            else if (x >= side - 5 || y >= side - 5)
                v = shadow;
            else if (x < 5 || y < 5)
                v = light;
            std::uint8_t* p = picture.pixels.data() + (std::size_t(y) * side + x) * 4;
            p[0] = p[1] = p[2] = v;
            p[3] = 255;
        }
    }
    return picture;
}

} // namespace kavlen
