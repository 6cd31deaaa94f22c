#include "imagefiles/dds_reader.h"

#include "imagefiles/picture_format.h"
#include "textures/bmp24.h"

#include <cstring>
#include <squish.h>

namespace kavlen {

namespace {

constexpr std::size_t kHeaderBytes = 128; // "DDS " and the 124-byte header
constexpr std::uint32_t kAlphaPixels = 0x1, kFourCc = 0x4, kRgb = 0x40, kLuminance = 0x20000;

std::uint32_t u32(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint32_t(b[at]) | (std::uint32_t(b[at + 1]) << 8) |
           (std::uint32_t(b[at + 2]) << 16) | (std::uint32_t(b[at + 3]) << 24);
}

constexpr std::uint32_t fourCc(const char (&s)[5]) {
    return std::uint32_t(std::uint8_t(s[0])) | (std::uint32_t(std::uint8_t(s[1])) << 8) |
           (std::uint32_t(std::uint8_t(s[2])) << 16) | (std::uint32_t(std::uint8_t(s[3])) << 24);
}

int squishFlags(DdsHeader::Kind kind) {
    switch (kind) {
    case DdsHeader::Kind::Dxt1:
        return squish::kDxt1;
    case DdsHeader::Kind::Dxt3:
        return squish::kDxt3;
    default:
        return squish::kDxt5;
    }
}

} // namespace

std::optional<DdsHeader> readDdsHeader(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderBytes || std::memcmp(bytes.data(), "DDS ", 4) != 0)
        return std::nullopt;
    DdsHeader h;
    const std::uint32_t height = u32(bytes, 12);
    const std::uint32_t width = u32(bytes, 16);
    if (width == 0 || height == 0 || width > 65536 || height > 65536 ||
        std::int64_t(width) * height > kMaxPicturePixels)
        return std::nullopt;
    h.width = static_cast<int>(width);
    h.height = static_cast<int>(height);

    const std::uint32_t flags = u32(bytes, 80);
    const std::size_t available = bytes.size() - kHeaderBytes;
    if (flags & kFourCc) {
        const std::uint32_t code = u32(bytes, 84);
        if (code == fourCc("DXT1"))
            h.kind = DdsHeader::Kind::Dxt1;
        else if (code == fourCc("DXT3"))
            h.kind = DdsHeader::Kind::Dxt3;
        else if (code == fourCc("DXT5"))
            h.kind = DdsHeader::Kind::Dxt5;
        else
            return std::nullopt;
        const std::size_t blocks = std::size_t((width + 3) / 4) * ((height + 3) / 4);
        h.dataBytes = blocks * (h.kind == DdsHeader::Kind::Dxt1 ? 8 : 16);
    } else if (flags & (kRgb | kLuminance)) {
        h.kind = DdsHeader::Kind::Masked;
        h.bitCount = static_cast<int>(u32(bytes, 88));
        if (h.bitCount != 8 && h.bitCount != 16 && h.bitCount != 24 && h.bitCount != 32)
            return std::nullopt;
        h.luminance = (flags & kRgb) == 0;
        h.masks = {u32(bytes, 92), u32(bytes, 96), u32(bytes, 100),
                   (flags & kAlphaPixels) ? u32(bytes, 104) : 0};
        const std::uint64_t limit = h.bitCount == 32 ? 0xFFFFFFFFull : (1ull << h.bitCount) - 1;
        for (std::uint32_t m : h.masks)
            if (m > limit)
                return std::nullopt;
        h.dataBytes = std::size_t(width) * (h.bitCount / 8) * height;
    } else {
        return std::nullopt;
    }
    if (h.dataBytes > available)
        return std::nullopt;
    return h;
}

std::optional<Image32> decodeDds(std::span<const std::uint8_t> bytes) {
    const std::optional<DdsHeader> h = readDdsHeader(bytes);
    if (!h)
        return std::nullopt;
    const std::uint8_t* data = bytes.data() + kHeaderBytes;
    Image32 image(h->width, h->height);
    const std::size_t pixels = std::size_t(h->width) * h->height;

    if (h->kind != DdsHeader::Kind::Masked) {
        squish::DecompressImage(image.bgra.data(), h->width, h->height, data, squishFlags(h->kind));
        for (std::size_t i = 0; i < pixels; ++i) // RGBA to BGRA
            std::swap(image.bgra[4 * i], image.bgra[4 * i + 2]);
        return image;
    }

    const MaskChannel red(h->masks[0]), green(h->masks[1]), blue(h->masks[2]), alpha(h->masks[3]);
    const std::size_t step = std::size_t(h->bitCount / 8);
    for (std::size_t i = 0; i < pixels; ++i) {
        std::uint32_t v = 0;
        for (std::size_t b = 0; b < step; ++b)
            v |= std::uint32_t(data[i * step + b]) << (8 * b);
        std::uint8_t* p = image.bgra.data() + 4 * i;
        const std::uint8_t r = red(v);
        p[0] = h->luminance ? r : blue(v);
        p[1] = h->luminance ? r : green(v);
        p[2] = r;
        p[3] = h->masks[3] ? alpha(v) : 255;
    }
    return image;
}

} // namespace kavlen
