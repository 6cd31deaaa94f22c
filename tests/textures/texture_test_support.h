// Small packages and pictures for the texture tests.
#pragma once

#include "document/package.h"
#include "textures/bitmap24.h"
#include "textures/image32.h"

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace kavlen::test {

// A loaded package with `pages` atlas pages whose texel (x, y) of page p is
// blue x, green y, red p * 40 + 1, and no samples or meshes.
inline std::unique_ptr<Package> makeAtlasPackage(int pages) {
    auto wad = std::make_unique<Package>();
    wad->version = 129;
    wad->textureDataSize = static_cast<std::uint32_t>(pages * kPageBytes);
    wad->textureData.resize(wad->textureDataSize);
    for (int p = 0; p < pages; ++p)
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                const std::size_t at = p * kPageBytes + y * kAtlasRowBytes + 3 * x;
                wad->textureData[at] = static_cast<std::uint8_t>(x);
                wad->textureData[at + 1] = static_cast<std::uint8_t>(y);
                wad->textureData[at + 2] = static_cast<std::uint8_t>(p * 40 + 1);
            }
    return wad;
}

inline Bgr atlasTexel(int page, int x, int y) {
    return {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
            static_cast<std::uint8_t>(page * 40 + 1)};
}

// Appends a sample of w x h texels at (x, y) of `page`; returns its index.
inline int addSample(Package& wad, int page, int x, int y, int w, int h) {
    TexInfo& t = wad.texInfos[wad.texInfoCount];
    t.x = static_cast<std::uint8_t>(x);
    t.y = static_cast<std::uint8_t>(y);
    t.page = static_cast<std::uint16_t>(page);
    t.xFlag = -1;
    t.width = static_cast<std::uint8_t>(w - 1);
    t.yFlag = -1;
    t.height = static_cast<std::uint8_t>(h - 1);
    return static_cast<int>(wad.texInfoCount++);
}

// An opaque picture whose pixel (x, y) is blue x * 3, green y * 5, red 200.
inline Image32 makePicture(int w, int h) {
    Image32 image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(
                x, y,
                {static_cast<std::uint8_t>(x * 3), static_cast<std::uint8_t>(y * 5), 200, 255});
    return image;
}

// A directory of its own under the system's temporary directory, removed at the end.
class TempDir {
  public:
    TempDir()
        : path_(std::filesystem::temp_directory_path() /
                ("kavlen-textures-" + std::to_string(::getpid()) + "-" +
                 std::to_string(counter()++))) {
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    static int& counter() {
        static int n = 0;
        return n;
    }
    std::filesystem::path path_;
};

} // namespace kavlen::test
