// Windows bitmap files without Qt. Writing produces the plain uncompressed 24-bit
// form (14-byte file header, 40-byte information header, rows bottom-up padded to
// four bytes). Reading accepts what paint programs write: 1, 4, 8, 16, 24 and
// 32 bits per pixel, palettes, bit-field masks, RLE4/RLE8, bottom-up or top-down
// rows, and every header version; the pixels are converted to 24 bits.
#pragma once

#include "textures/bitmap24.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace kavlen {

// Largest picture the reader accepts, in pixels (keeps hostile headers from
// asking for gigabytes).
inline constexpr std::int64_t kMaxBitmapPixels = 64 * 1024 * 1024;
// Largest bitmap file read: the largest picture at 32 bits per pixel, plus room
// for headers, palette and bit masks.
inline constexpr std::size_t kMaxBitmapFileBytes = 4 * std::size_t(kMaxBitmapPixels) + 65536;

// One colour channel stored under a bit mask (as bitmaps and DDS surfaces store
// them), scaled to 0..255.
class MaskChannel {
  public:
    explicit MaskChannel(std::uint32_t mask);
    std::uint8_t operator()(std::uint32_t pixel) const;

  private:
    std::uint32_t mask_ = 0;
    int shift_ = 0;
    int bits_ = 0;
};

std::vector<std::uint8_t> encodeBmp24(const Bitmap24& bitmap);

struct BmpReadResult {
    bool ok = false;
    Bitmap24 bitmap;
    std::vector<std::uint8_t> alpha; // one byte per pixel when the file has alpha bits
    int bitsPerPixel = 0;            // depth of the file
    std::string message;             // why the file was refused
};

// The headers alone, checked as decodeBmp checks them: the size a decode would
// allocate is known before any pixel is decoded.
struct BmpHeaderResult {
    bool ok = false;
    int width = 0, height = 0; // height in rows, whatever the row order
    int bitsPerPixel = 0;
    std::string message;
};
BmpHeaderResult readBmpHeader(std::span<const std::uint8_t> bytes);

// Decodes the picture; with keepRows >= 0 only its top keepRows rows are kept
// (and allocated).
BmpReadResult decodeBmp(std::span<const std::uint8_t> bytes, int keepRows = -1);
// Reads a regular file of at most kMaxBitmapFileBytes and decodes it.
BmpReadResult readBmpFile(const std::filesystem::path& path);

// Writes through a temporary file; on failure the old file stays and the message says why.
bool writeBmp24File(const std::filesystem::path& path, const Bitmap24& bitmap,
                    std::string& message);

} // namespace kavlen
