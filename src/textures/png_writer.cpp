#include "textures/png_writer.h"

#include "document/package.h"

#include <zlib.h>

#include <string_view>

namespace kavlen {

namespace {

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void chunk(std::vector<std::uint8_t>& out, std::string_view type,
           const std::vector<std::uint8_t>& data) {
    put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
    put32(out, static_cast<std::uint32_t>(crc));
}

} // namespace

std::vector<std::uint8_t> encodeRgbPng(int width, int height,
                                       const std::vector<std::uint8_t>& rgb) {
    const std::size_t row = std::size_t(width) * 3;
    // Each row starts with filter type 0 (none).
    std::vector<std::uint8_t> raw;
    raw.reserve((row + 1) * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const auto begin = rgb.begin() + std::ptrdiff_t(row * std::size_t(y));
        raw.insert(raw.end(), begin, begin + std::ptrdiff_t(row));
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) !=
        Z_OK)
        return {};
    packed.resize(packedSize);

    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    put32(header, static_cast<std::uint32_t>(width));
    put32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8 bits, RGB, deflate, filters, no interlace
    chunk(out, "IHDR", header);
    chunk(out, "IDAT", packed);
    chunk(out, "IEND", {});
    return out;
}

std::vector<std::uint8_t> encodePagePng(const Package& wad, int page) {
    std::vector<std::uint8_t> rgb(kPageBytes, 0);
    const std::size_t start = std::size_t(page) * kPageBytes;
    if (page < 0 || start + kPageBytes > wad.textureData.size())
        return {};
    for (std::size_t i = 0; i < kPageBytes; i += 3) {
        rgb[i] = wad.textureData[start + i + 2];
        rgb[i + 1] = wad.textureData[start + i + 1];
        rgb[i + 2] = wad.textureData[start + i];
    }
    return encodeRgbPng(256, 256, rgb);
}

} // namespace kavlen
