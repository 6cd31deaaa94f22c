#include "imagefiles/stb_reader.h"

#include "imagefiles/picture_format.h"

#include <climits>
#include <cstring>

// stb_image compiled with only the two decoders needed here, private to this file.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_TGA
#define STBI_ONLY_PSD
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 65536
#include <stb_image.h>

namespace kavlen {

namespace {

std::optional<Image32> decodeWithStb(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > std::size_t(INT_MAX))
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

} // namespace

std::optional<Image32> decodeTga(std::span<const std::uint8_t> bytes) {
    return decodeWithStb(bytes);
}

std::optional<Image32> decodePsd(std::span<const std::uint8_t> bytes) {
    if (detectPictureFormat(bytes) != PictureFormat::Psd)
        return std::nullopt;
    return decodeWithStb(bytes);
}

} // namespace kavlen
