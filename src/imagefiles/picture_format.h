// Which decoder a picture file needs, told by its first bytes (TGA has no
// signature: anything unrecognised is tried as TGA), and the file dialog filters.
#pragma once

#include "textures/bmp24.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kavlen {

enum class PictureFormat { Bmp, Jpeg, Png, Gif, Psd, Dds, Tga };

PictureFormat detectPictureFormat(std::span<const std::uint8_t> bytes);

// Largest picture accepted, in pixels, whatever the format: 4096 x 4096, sixteen
// times a page on each side (its decoded form takes 64 MiB). Checked from the
// file's header before anything is decoded.
inline constexpr int kMaxPictureSide = 4096;
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t(kMaxPictureSide) * kMaxPictureSide;

// Largest picture file read: an uncompressed picture of the largest size at 16
// bits per channel with alpha, and room for headers and Photoshop's layer data.
inline constexpr std::size_t kMaxPictureFileBytes = 256u * 1024 * 1024;

struct PictureSize {
    std::int64_t width = 0, height = 0;
};
// The size a picture file declares in its header, when the format's header
// holds one where this function looks (BMP, PSD, DDS, TGA; JPEG, PNG and GIF are
// asked through Qt).
std::optional<PictureSize> declaredPictureSize(std::span<const std::uint8_t> bytes,
                                               PictureFormat format);

struct PictureFilter {
    std::string caption;               // as the dialog lists it
    std::vector<std::string> patterns; // "*.bmp", ...
};

// "Supported Images (...)" first, then one filter per format.
const std::vector<PictureFilter>& pictureFileFilters();

} // namespace kavlen
