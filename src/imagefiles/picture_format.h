// Which decoder a picture file needs, told by its first bytes (TGA has no
// signature: anything unrecognised is tried as TGA), and the file dialog filters.
#pragma once

#include "textures/bmp24.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kavlen {

enum class PictureFormat { Bmp, Jpeg, Png, Gif, Psd, Dds, Tga };

PictureFormat detectPictureFormat(std::span<const std::uint8_t> bytes);

// Largest picture accepted, in pixels, whatever the format.
inline constexpr std::int64_t kMaxPicturePixels = kMaxBitmapPixels;

struct PictureFilter {
    std::string caption;               // as the dialog lists it
    std::vector<std::string> patterns; // "*.bmp", ...
};

// "Supported Images (...)" first, then one filter per format.
const std::vector<PictureFilter>& pictureFileFilters();

} // namespace kavlen
