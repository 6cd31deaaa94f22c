#include "imagefiles/picture_format.h"

#include <cstring>

namespace kavlen {

namespace {

bool startsWith(std::span<const std::uint8_t> bytes, const char* magic, std::size_t n) {
    return bytes.size() >= n && std::memcmp(bytes.data(), magic, n) == 0;
}

} // namespace

PictureFormat detectPictureFormat(std::span<const std::uint8_t> bytes) {
    if (startsWith(bytes, "BM", 2))
        return PictureFormat::Bmp;
    if (startsWith(bytes, "\xFF\xD8\xFF", 3))
        return PictureFormat::Jpeg;
    if (startsWith(bytes, "\x89PNG\r\n\x1A\n", 8))
        return PictureFormat::Png;
    if (startsWith(bytes, "GIF87a", 6) || startsWith(bytes, "GIF89a", 6))
        return PictureFormat::Gif;
    if (startsWith(bytes, "8BPS", 4))
        return PictureFormat::Psd;
    if (startsWith(bytes, "DDS ", 4))
        return PictureFormat::Dds;
    return PictureFormat::Tga;
}

std::optional<PictureSize> declaredPictureSize(std::span<const std::uint8_t> bytes,
                                               PictureFormat format) {
    auto le = [&](std::size_t at, int n) {
        std::uint32_t v = 0;
        for (int i = n - 1; i >= 0; --i)
            v = (v << 8) | bytes[at + std::size_t(i)];
        return v;
    };
    auto be32 = [&](std::size_t at) {
        return (std::uint32_t(bytes[at]) << 24) | (std::uint32_t(bytes[at + 1]) << 16) |
               (std::uint32_t(bytes[at + 2]) << 8) | bytes[at + 3];
    };
    switch (format) {
    case PictureFormat::Bmp: {
        const BmpHeaderResult h = readBmpHeader(bytes);
        if (!h.ok)
            return std::nullopt;
        return PictureSize{h.width, h.height};
    }
    case PictureFormat::Psd:
        if (bytes.size() < 22)
            return std::nullopt;
        return PictureSize{be32(18), be32(14)};
    case PictureFormat::Dds:
        if (bytes.size() < 20)
            return std::nullopt;
        return PictureSize{le(16, 4), le(12, 4)};
    case PictureFormat::Tga:
        if (bytes.size() < 18)
            return std::nullopt;
        return PictureSize{le(12, 2), le(14, 2)};
    default:
        return std::nullopt;
    }
}

const std::vector<PictureFilter>& pictureFileFilters() {
    static const std::vector<PictureFilter> filters = {
        {"Supported Images (*.bmp,*.jpg,*.jpeg,*.png,*.tga,*.psd,*.pdd,*.dds,*.gif)",
         {"*.bmp", "*.jpg", "*.jpeg", "*.png", "*.tga", "*.psd", "*.pdd", "*.dds", "*.gif"}},
        {"Windows Bitmaps (*.bmp)", {"*.bmp"}},
        {"JPEG Images (*.jpg,*.jpeg)", {"*.jpg", "*.jpeg"}},
        {"Portable Network Graphics (*.png)", {"*.png"}},
        {"Truevision Targa (*.tga)", {"*.tga"}},
        {"Photoshop (*.psd,*.pdd)", {"*.psd", "*.pdd"}},
        {"DirectDraw Surface (*.dds)", {"*.dds"}},
        {"Graphics Interchange Format (*.gif)", {"*.gif"}},
    };
    return filters;
}

} // namespace kavlen
