// PNG pictures of atlas pages: 8-bit RGB, no interlace, deflated with zlib.
#pragma once

#include <cstdint>
#include <vector>

namespace kavlen {

// The PNG file of a picture given as rows of red, green, blue bytes, top row first.
std::vector<std::uint8_t> encodeRgbPng(int width, int height, const std::vector<std::uint8_t>& rgb);

// Page `page` of the atlas (blue, green, red in memory) as a 256 x 256 PNG file.
struct Package;
std::vector<std::uint8_t> encodePagePng(const Package& wad, int page);

} // namespace kavlen
