// The texture atlas: the document's texel block seen as one 24-bit raster 256
// pixels wide, pages of 256 rows stacked with page 0 on top. Every picture of a
// page or of a sample is copied out of it, and pictures written into the atlas go
// straight into the document's texel block, so the two never disagree.
#pragma once

#include "document/messages.h"
#include "document/package.h"
#include "textures/bitmap24.h"

#include <filesystem>
#include <span>
#include <string>

namespace kavlen {

inline constexpr int kAtlasWidth = 256;
inline constexpr int kPageRows = 256;

// An inclusive rectangle of page texels.
struct PageRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    bool overlaps(const PageRect& o) const {
        return left <= o.right && right >= o.left && top <= o.bottom && bottom >= o.top;
    }
    bool contains(int x, int y) const { return left <= x && x <= right && top <= y && y <= bottom; }
    bool operator==(const PageRect&) const = default;
};

// "No wad opened." as an error; false when no package is loaded.
bool requirePackage(const Package& wad, Messages& messages);
Message noWadOpened();

// Whole rows of the atlas image: textureDataSize / 768.
int atlasRowCount(const Package& wad);

// Row copy between an image and a texel buffer: one image row per
// (image width x 3) buffer bytes, from the top; stops at whichever ends first,
// so a buffer tail shorter than a row is left as it is.
void rowCopyImageToBuffer(const Bitmap24& image, std::span<std::uint8_t> buffer);
void rowCopyBufferToImage(std::span<const std::uint8_t> buffer, Bitmap24& image);

// The whole atlas image (256 x atlasRowCount).
Bitmap24 buildAtlasImage(const Package& wad);
// Rows 256p .. 256p + 255; rows beyond the atlas are black.
Bitmap24 pagePicture(const Package& wad, int page);
// The texels of page p inside `rect`, taken from atlas rows rect.top + 256p ..
// rect.bottom + 256p (a rectangle taller than the page continues into the next
// page's rows, as the atlas image lies). Texels outside the atlas are black.
Bitmap24 copyPageRect(const Package& wad, int page, const PageRect& rect);
// Writes `picture` into the atlas with its top-left corner at (x, 256p + y);
// what falls outside the atlas is dropped.
void pasteIntoPage(Package& wad, int page, int x, int y, const Bitmap24& picture);

// "Export Atlas to Bitmap": the atlas as a 24-bit BMP, 256 wide, page 0 in the top
// band. Returns the messages to show (none on success).
Messages exportAtlasToBitmap(const Package& wad, const std::filesystem::path& path);

struct AtlasImportResult {
    bool changed = false; // page data replaced: rebuild the sample textures
    Messages messages;
};

// "Import Atlas from Bitmap": replaces the page data by the first 256 x page
// count rows of the bitmap. Refuses, changing nothing, a package without pages
// and a bitmap that is not 256 pixels wide or has fewer rows than the atlas (told
// from its headers, before decoding); other pixel depths are converted to 24
// bits, and only the rows the atlas holds are decoded.
AtlasImportResult importAtlasFromBitmap(Package& wad, const std::filesystem::path& path);
AtlasImportResult importAtlasFromBitmapBytes(Package& wad, std::span<const std::uint8_t> bytes);

// The largest atlas bitmap file read for this package: room for headers and a
// palette, and the atlas's rows plus 64 pages more at 32 bits per pixel (a taller
// bitmap is accepted; only its top rows are used). Larger files are refused unread.
std::size_t maxAtlasBitmapFileBytes(const Package& wad);

} // namespace kavlen
