// Writers for test pictures in the formats that neither Qt nor the project writes
// itself: Targa in all its variants, Photoshop, DirectDraw Surface and GIF.
#pragma once

#include "textures/image32.h"

#include <cstdint>
#include <map>
#include <squish.h>
#include <vector>

namespace kavlen::test {

using Bytes = std::vector<std::uint8_t>;

inline void le16(Bytes& b, std::uint32_t v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
inline void le32(Bytes& b, std::uint32_t v) {
    le16(b, v & 0xFFFF);
    le16(b, v >> 16);
}
inline void be16(Bytes& b, std::uint32_t v) {
    b.push_back((v >> 8) & 0xFF);
    b.push_back(v & 0xFF);
}
inline void be32(Bytes& b, std::uint32_t v) {
    be16(b, v >> 16);
    be16(b, v & 0xFFFF);
}

// ---- Targa ---------------------------------------------------------------

struct TgaOptions {
    enum Kind { TrueColour, Grey, ColourMapped } kind = TrueColour;
    int bpp = 24;         // TrueColour: 16, 24 or 32; Grey and ColourMapped: 8
    bool rle = false;     // image types 9, 10, 11
    bool topDown = false; // descriptor bit 5
};

// Colour-mapped pictures take their palette from the picture's distinct colours
// (at most 256); grey pictures store the blue channel.
inline Bytes writeTga(const Image32& image, const TgaOptions& o) {
    std::vector<Bgra> palette;
    std::map<std::uint32_t, int> paletteIndex;
    auto key = [](Bgra c) { return std::uint32_t(c.b) | (c.g << 8) | (c.r << 16); };
    if (o.kind == TgaOptions::ColourMapped)
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                if (paletteIndex.emplace(key(image.pixel(x, y)), int(palette.size())).second)
                    palette.push_back(image.pixel(x, y));

    const int type = (o.kind == TgaOptions::ColourMapped ? 1
                      : o.kind == TgaOptions::Grey       ? 3
                                                         : 2) +
                     (o.rle ? 8 : 0);
    Bytes b;
    b.push_back(0);                                          // no image id
    b.push_back(o.kind == TgaOptions::ColourMapped ? 1 : 0); // colour map type
    b.push_back(static_cast<std::uint8_t>(type));
    le16(b, 0);
    le16(b, static_cast<std::uint32_t>(palette.size()));
    b.push_back(palette.empty() ? 0 : 24);
    le16(b, 0);
    le16(b, 0);
    le16(b, static_cast<std::uint32_t>(image.width));
    le16(b, static_cast<std::uint32_t>(image.height));
    b.push_back(static_cast<std::uint8_t>(o.bpp));
    b.push_back(static_cast<std::uint8_t>((o.bpp == 32 ? 8 : 0) | (o.topDown ? 0x20 : 0)));
    for (const Bgra& c : palette)
        b.insert(b.end(), {c.b, c.g, c.r});

    auto pixelBytes = [&](Bgra c) -> Bytes {
        switch (o.kind) {
        case TgaOptions::ColourMapped:
            return {static_cast<std::uint8_t>(paletteIndex.at(key(c)))};
        case TgaOptions::Grey:
            return {c.b};
        default:
            if (o.bpp == 16) {
                const std::uint32_t v =
                    ((c.r >> 3) << 10) | ((c.g >> 3) << 5) | (c.b >> 3) | 0x8000;
                return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
            }
            if (o.bpp == 32)
                return {c.b, c.g, c.r, c.a};
            return {c.b, c.g, c.r};
        }
    };
    for (int row = 0; row < image.height; ++row) {
        const int y = o.topDown ? row : image.height - 1 - row;
        if (!o.rle) {
            for (int x = 0; x < image.width; ++x) {
                const Bytes p = pixelBytes(image.pixel(x, y));
                b.insert(b.end(), p.begin(), p.end());
            }
            continue;
        }
        // Run packets for repeats, raw packets otherwise, never crossing a row.
        for (int x = 0; x < image.width;) {
            int run = 1;
            while (x + run < image.width && run < 128 &&
                   image.pixel(x + run, y) == image.pixel(x, y))
                ++run;
            if (run > 1) {
                b.push_back(static_cast<std::uint8_t>(0x80 | (run - 1)));
                const Bytes p = pixelBytes(image.pixel(x, y));
                b.insert(b.end(), p.begin(), p.end());
                x += run;
                continue;
            }
            int raw = 1;
            while (x + raw < image.width && raw < 128 &&
                   !(x + raw + 1 < image.width &&
                     image.pixel(x + raw, y) == image.pixel(x + raw + 1, y)))
                ++raw;
            b.push_back(static_cast<std::uint8_t>(raw - 1));
            for (int k = 0; k < raw; ++k) {
                const Bytes p = pixelBytes(image.pixel(x + k, y));
                b.insert(b.end(), p.begin(), p.end());
            }
            x += raw;
        }
    }
    return b;
}

// ---- Photoshop -------------------------------------------------------------

// An RGB (or RGBA) composite, raw or PackBits-compressed, 8 or 16 bits per channel
// (16-bit samples repeat the 8-bit value in both bytes).
inline Bytes writePsd(const Image32& image, bool withAlpha, bool packBits, int depth = 8) {
    const int channels = withAlpha ? 4 : 3;
    Bytes b = {'8', 'B', 'P', 'S'};
    be16(b, 1);
    b.insert(b.end(), 6, 0);
    be16(b, static_cast<std::uint32_t>(channels));
    be32(b, static_cast<std::uint32_t>(image.height));
    be32(b, static_cast<std::uint32_t>(image.width));
    be16(b, static_cast<std::uint32_t>(depth));
    be16(b, 3); // RGB
    be32(b, 0); // colour mode data
    be32(b, 0); // image resources
    be32(b, 0); // layers and masks
    be16(b, packBits ? 1 : 0);
    const int order[4] = {2, 1, 0, 3}; // red, green, blue, alpha out of BGRA
    auto channelRow = [&](int c, int y) {
        Bytes row;
        for (int x = 0; x < image.width; ++x)
            for (int k = 0; k < depth / 8; ++k)
                row.push_back(image.bgra[(std::size_t(y) * image.width + x) * 4 + order[c]]);
        return row;
    };
    if (!packBits) {
        for (int c = 0; c < channels; ++c)
            for (int y = 0; y < image.height; ++y) {
                const Bytes row = channelRow(c, y);
                b.insert(b.end(), row.begin(), row.end());
            }
        return b;
    }
    std::vector<Bytes> packed;
    for (int c = 0; c < channels; ++c)
        for (int y = 0; y < image.height; ++y) {
            const Bytes row = channelRow(c, y);
            Bytes out;
            for (std::size_t x = 0; x < row.size();) {
                std::size_t run = 1;
                while (x + run < row.size() && run < 128 && row[x + run] == row[x])
                    ++run;
                if (run >= 2) {
                    out.push_back(static_cast<std::uint8_t>(257 - run));
                    out.push_back(row[x]);
                } else {
                    out.push_back(0);
                    out.push_back(row[x]);
                }
                x += run;
            }
            packed.push_back(out);
        }
    for (const Bytes& p : packed)
        be16(b, static_cast<std::uint32_t>(p.size()));
    for (const Bytes& p : packed)
        b.insert(b.end(), p.begin(), p.end());
    return b;
}

// ---- DirectDraw Surface ----------------------------------------------------

inline Bytes ddsHeader(int w, int h, std::uint32_t pfFlags, std::uint32_t fourCc, int bits,
                       std::uint32_t r, std::uint32_t g, std::uint32_t bl, std::uint32_t a) {
    Bytes b = {'D', 'D', 'S', ' '};
    le32(b, 124);
    le32(b, 0x1 | 0x2 | 0x4 | 0x1000); // caps, height, width, pixel format
    le32(b, static_cast<std::uint32_t>(h));
    le32(b, static_cast<std::uint32_t>(w));
    le32(b, 0); // pitch or linear size
    le32(b, 0); // depth
    le32(b, 1); // mipmaps
    b.insert(b.end(), 44, 0);
    le32(b, 32);
    le32(b, pfFlags);
    le32(b, fourCc);
    le32(b, static_cast<std::uint32_t>(bits));
    le32(b, r);
    le32(b, g);
    le32(b, bl);
    le32(b, a);
    le32(b, 0x1000); // texture
    b.insert(b.end(), 16, 0);
    return b;
}

// DXT1, DXT3 or DXT5 ("DXT1" etc.) through libsquish.
inline Bytes writeDdsCompressed(const Image32& image, const char* code) {
    const int flags = code[3] == '1'   ? squish::kDxt1
                      : code[3] == '3' ? squish::kDxt3
                                       : squish::kDxt5;
    std::vector<std::uint8_t> rgba(image.bgra);
    for (std::size_t i = 0; i < rgba.size(); i += 4)
        std::swap(rgba[i], rgba[i + 2]);
    Bytes blocks(
        static_cast<std::size_t>(squish::GetStorageRequirements(image.width, image.height, flags)));
    squish::CompressImage(rgba.data(), image.width, image.height, blocks.data(),
                          flags | squish::kColourRangeFit);
    const std::uint32_t fourCc = std::uint32_t(code[0]) | (std::uint32_t(code[1]) << 8) |
                                 (std::uint32_t(code[2]) << 16) | (std::uint32_t(code[3]) << 24);
    Bytes b = ddsHeader(image.width, image.height, 0x4, fourCc, 0, 0, 0, 0, 0);
    b.insert(b.end(), blocks.begin(), blocks.end());
    return b;
}

// Uncompressed: 32-bit BGRA, 24-bit BGR, 16-bit 5-6-5 or 8-bit luminance (blue channel).
inline Bytes writeDdsUncompressed(const Image32& image, int bits) {
    Bytes b =
        bits == 32
            ? ddsHeader(image.width, image.height, 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000)
        : bits == 24 ? ddsHeader(image.width, image.height, 0x40, 0, 24, 0xFF0000, 0xFF00, 0xFF, 0)
        : bits == 16 ? ddsHeader(image.width, image.height, 0x40, 0, 16, 0xF800, 0x07E0, 0x001F, 0)
                     : ddsHeader(image.width, image.height, 0x20000, 0, 8, 0xFF, 0, 0, 0);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const Bgra c = image.pixel(x, y);
            if (bits == 32)
                b.insert(b.end(), {c.b, c.g, c.r, c.a});
            else if (bits == 24)
                b.insert(b.end(), {c.b, c.g, c.r});
            else if (bits == 16)
                le16(b, ((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3));
            else
                b.push_back(c.b);
        }
    return b;
}

// ---- GIF -------------------------------------------------------------------

// A GIF89a with a 256-entry palette of the picture's colours (at most 256); pixels
// with alpha 0 use a transparent index. LZW codes stay 9 bits wide: a clear code
// follows every 250 literals, so the table never grows past 511 entries.
inline Bytes writeGif(const Image32& image) {
    std::vector<Bgra> palette;
    std::map<std::uint32_t, int> index;
    int transparent = -1;
    std::vector<int> pixels;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const Bgra c = image.pixel(x, y);
            if (c.a == 0) {
                if (transparent < 0) {
                    transparent = int(palette.size());
                    palette.push_back({0, 0, 0, 0});
                }
                pixels.push_back(transparent);
                continue;
            }
            const std::uint32_t k = std::uint32_t(c.b) | (c.g << 8) | (c.r << 16);
            auto [it, added] = index.emplace(k, int(palette.size()));
            if (added)
                palette.push_back(c);
            pixels.push_back(it->second);
        }
    palette.resize(256);

    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    le16(b, static_cast<std::uint32_t>(image.width));
    le16(b, static_cast<std::uint32_t>(image.height));
    b.insert(b.end(), {0xF7, 0, 0}); // global table of 256 colours
    for (const Bgra& c : palette)
        b.insert(b.end(), {c.r, c.g, c.b});
    if (transparent >= 0)
        b.insert(b.end(), {0x21, 0xF9, 4, 1, 0, 0, static_cast<std::uint8_t>(transparent), 0});
    b.push_back(0x2C);
    le16(b, 0);
    le16(b, 0);
    le16(b, static_cast<std::uint32_t>(image.width));
    le16(b, static_cast<std::uint32_t>(image.height));
    b.push_back(0);
    b.push_back(8); // minimum code size

    Bytes data;
    std::uint32_t acc = 0;
    int bits = 0;
    auto putCode = [&](int code) {
        acc |= std::uint32_t(code) << bits;
        bits += 9;
        while (bits >= 8) {
            data.push_back(acc & 0xFF);
            acc >>= 8;
            bits -= 8;
        }
    };
    putCode(256);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (i > 0 && i % 250 == 0)
            putCode(256);
        putCode(pixels[i]);
    }
    putCode(257);
    if (bits > 0)
        data.push_back(acc & 0xFF);
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, data.size() - at);
        b.push_back(static_cast<std::uint8_t>(n));
        b.insert(b.end(), data.begin() + at, data.begin() + at + n);
    }
    b.push_back(0);
    b.push_back(0x3B);
    return b;
}

} // namespace kavlen::test
