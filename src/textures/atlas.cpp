#include "textures/atlas.h"

#include "document/regular_file.h"
#include "document/safe_write.h"
#include "textures/bmp24.h"

#include <algorithm>
#include <cstring>

namespace kavlen {

namespace {

std::span<const std::uint8_t> texels(const Package& wad) {
    return {wad.textureData.data(),
            std::min<std::size_t>(wad.textureData.size(), wad.textureDataSize)};
}

std::span<std::uint8_t> texels(Package& wad) {
    return {wad.textureData.data(),
            std::min<std::size_t>(wad.textureData.size(), wad.textureDataSize)};
}

std::string pagesText(int pages) {
    return std::to_string(pages) + (pages == 1 ? " page" : " pages");
}

} // namespace

Message noWadOpened() {
    return {MessageKind::Error, "No wad opened."};
}

bool requirePackage(const Package& wad, Messages& messages) {
    if (wad.isLoaded())
        return true;
    messages.push_back(noWadOpened());
    return false;
}

int atlasRowCount(const Package& wad) {
    return static_cast<int>(texels(wad).size() / kAtlasRowBytes);
}

void rowCopyImageToBuffer(const Bitmap24& image, std::span<std::uint8_t> buffer) {
    const std::size_t rowBytes = image.rowBytes();
    if (rowBytes == 0)
        return;
    const std::size_t rows = std::min<std::size_t>(buffer.size() / rowBytes, image.height);
    if (rows > 0)
        std::memcpy(buffer.data(), image.bgr.data(), rows * rowBytes);
}

void rowCopyBufferToImage(std::span<const std::uint8_t> buffer, Bitmap24& image) {
    const std::size_t rowBytes = image.rowBytes();
    if (rowBytes == 0)
        return;
    const std::size_t rows = std::min<std::size_t>(buffer.size() / rowBytes, image.height);
    if (rows > 0)
        std::memcpy(image.bgr.data(), buffer.data(), rows * rowBytes);
}

Bitmap24 buildAtlasImage(const Package& wad) {
    Bitmap24 image(kAtlasWidth, atlasRowCount(wad));
    rowCopyBufferToImage(texels(wad), image);
    return image;
}

Bitmap24 pagePicture(const Package& wad, int page) {
    return copyPageRect(wad, page, {0, 0, kAtlasWidth - 1, kPageRows - 1});
}

Bitmap24 copyPageRect(const Package& wad, int page, const PageRect& rect) {
    Bitmap24 out(rect.width(), rect.height());
    if (out.empty())
        return out;
    const auto data = texels(wad);
    const std::int64_t rows = atlasRowCount(wad);
    const int left = std::max(rect.left, 0);
    const int right = std::min(rect.right, kAtlasWidth - 1);
    if (left > right)
        return out;
    for (int y = 0; y < out.height; ++y) {
        const std::int64_t atlasRow = std::int64_t(page) * kPageRows + rect.top + y;
        if (atlasRow < 0 || atlasRow >= rows)
            continue;
        std::memcpy(out.row(y) + 3 * std::size_t(left - rect.left),
                    data.data() + std::size_t(atlasRow) * kAtlasRowBytes + 3 * std::size_t(left),
                    3 * std::size_t(right - left + 1));
    }
    return out;
}

void pasteIntoPage(Package& wad, int page, int x, int y, const Bitmap24& picture) {
    const auto data = texels(wad);
    const std::int64_t rows = atlasRowCount(wad);
    const int left = std::max(x, 0);
    const int right = std::min(x + picture.width, kAtlasWidth); // exclusive
    if (left >= right)
        return;
    for (int py = 0; py < picture.height; ++py) {
        const std::int64_t atlasRow = std::int64_t(page) * kPageRows + y + py;
        if (atlasRow < 0 || atlasRow >= rows)
            continue;
        std::memcpy(data.data() + std::size_t(atlasRow) * kAtlasRowBytes + 3 * std::size_t(left),
                    picture.row(py) + 3 * std::size_t(left - x), 3 * std::size_t(right - left));
    }
}

Messages exportAtlasToBitmap(const Package& wad, const std::filesystem::path& path) {
    Messages messages;
    if (!requirePackage(wad, messages))
        return messages;
    std::string why;
    if (!writeBmp24File(path, buildAtlasImage(wad), why))
        messages.push_back({MessageKind::Error, why});
    return messages;
}

AtlasImportResult importAtlasFromBitmapBytes(Package& wad, std::span<const std::uint8_t> bytes) {
    AtlasImportResult result;
    if (!requirePackage(wad, result.messages))
        return result;
    const int rows = atlasRowCount(wad);
    if (rows == 0) {
        result.messages.push_back(
            {MessageKind::Error, "This package has no texture pages to import into."});
        return result;
    }
    // The size the atlas needs is checked from the headers, before any pixel is decoded.
    const BmpHeaderResult header = readBmpHeader(bytes);
    if (!header.ok) {
        result.messages.push_back({MessageKind::Error, header.message});
        return result;
    }
    if (header.width != kAtlasWidth) {
        result.messages.push_back(
            {MessageKind::Error, "The bitmap is " + std::to_string(header.width) +
                                     " pixels wide; an atlas bitmap must be 256 pixels wide."});
        return result;
    }
    if (header.height < rows) {
        result.messages.push_back(
            {MessageKind::Error, "The bitmap has " + std::to_string(header.height) +
                                     " rows; the atlas of " + pagesText(wad.pageCount()) +
                                     " needs " + std::to_string(rows) + "."});
        return result;
    }
    // Only the rows the atlas holds are decoded.
    const BmpReadResult bmp = decodeBmp(bytes, rows);
    if (!bmp.ok) {
        result.messages.push_back({MessageKind::Error, bmp.message});
        return result;
    }
    rowCopyImageToBuffer(bmp.bitmap, texels(wad));
    result.changed = true;
    return result;
}

std::size_t maxAtlasBitmapFileBytes(const Package& wad) {
    // Headers, palette and masks, then four bytes a pixel (the deepest form) for
    // the atlas's rows and up to 64 pages more (a taller bitmap is accepted).
    constexpr std::size_t kExtraRows = 64 * kPageRows;
    return 65536 + std::size_t(4 * kAtlasWidth) * (std::size_t(atlasRowCount(wad)) + kExtraRows);
}

AtlasImportResult importAtlasFromBitmap(Package& wad, const std::filesystem::path& path) {
    AtlasImportResult result;
    if (!requirePackage(wad, result.messages))
        return result;
    std::vector<std::uint8_t> bytes;
    std::string why;
    if (!readRegularFile(path, maxAtlasBitmapFileBytes(wad), bytes, why)) {
        result.messages.push_back({MessageKind::Error, why});
        return result;
    }
    return importAtlasFromBitmapBytes(wad, bytes);
}

} // namespace kavlen
