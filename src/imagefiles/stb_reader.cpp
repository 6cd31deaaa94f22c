#include "imagefiles/stb_reader.h"

#include "imagefiles/picture_format.h"

#include <climits>
#include <cstring>

// stb_image compiled with only its Targa decoder, private to this file.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 65536
#include <stb_image.h>

namespace kavlen {

namespace {

std::uint32_t le16(std::span<const std::uint8_t> b, std::size_t at) {
    return b[at] | (std::uint32_t(b[at + 1]) << 8);
}

// Whether a Targa file holds enough data for the size it declares. stb_image
// fills a short file up with zeros; a truncated file is refused instead (which
// also keeps a few hostile bytes from costing a huge picture's decoding time).
bool tgaDataSuffices(std::span<const std::uint8_t> b) {
    if (b.size() < 18)
        return false;
    const int type = b[2];
    const std::uint64_t pixels = std::uint64_t(le16(b, 12)) * le16(b, 14);
    const std::uint64_t bytesPerPixel = (b[16] + 7u) / 8;
    const std::uint64_t head =
        18 + b[0] + (b[1] ? std::uint64_t(le16(b, 5)) * ((b[7] + 7u) / 8) : 0);
    if (head > b.size() || bytesPerPixel == 0)
        return false;
    const std::uint64_t data = b.size() - head;
    if (type == 1 || type == 2 || type == 3)
        return pixels * bytesPerPixel <= data;
    // RLE: a packet of 1 + bytesPerPixel bytes makes at most 128 pixels.
    if (type == 9 || type == 10 || type == 11)
        return pixels <= data / (1 + bytesPerPixel) * 128 + 128;
    return false;
}

} // namespace

std::optional<Image32> decodeTga(std::span<const std::uint8_t> bytes) {
    if (!tgaDataSuffices(bytes) || bytes.size() > std::size_t(INT_MAX))
        return std::nullopt;
    const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    const int size = static_cast<int>(bytes.size());
    int w = 0, h = 0, channels = 0;
    if (!stbi_info_from_memory(data, size, &w, &h, &channels) || w <= 0 || h <= 0 ||
        std::int64_t(w) * h > kMaxPicturePixels)
        return std::nullopt;
    stbi_uc* rgba = stbi_load_from_memory(data, size, &w, &h, &channels, 4);
    if (!rgba)
        return std::nullopt;
    Image32 image;
    if (w > 0 && h > 0 && std::int64_t(w) * h <= kMaxPicturePixels) {
        image = Image32(w, h);
        std::memcpy(image.bgra.data(), rgba, image.bgra.size());
        for (std::size_t i = 0; i < image.bgra.size(); i += 4) // RGBA to BGRA
            std::swap(image.bgra[i], image.bgra[i + 2]);
    }
    stbi_image_free(rgba);
    if (image.empty())
        return std::nullopt;
    return image;
}

} // namespace kavlen
