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
