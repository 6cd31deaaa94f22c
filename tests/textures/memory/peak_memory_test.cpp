// Peak heap use of the picture and atlas paths, measured by counting every
// allocation of this test program (operator new is replaced below). Pictures go
// through large decoded forms; these tests hold the working memory beyond the
// input and the result to a small, fixed amount.
#include "textures/atlas.h"
#include "textures/bmp24.h"
#include "textures/image32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> liveBytes{0};
std::atomic<std::size_t> peakBytes{0};

// Each block carries its size in front, so that every form of delete can count it.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* allocate(std::size_t size) {
    void* block = std::malloc(size + kHeader);
    if (!block)
        throw std::bad_alloc();
    *static_cast<std::size_t*>(block) = size;
    const std::size_t live = liveBytes += size;
    std::size_t peak = peakBytes.load();
    while (live > peak && !peakBytes.compare_exchange_weak(peak, live)) {
    }
    return static_cast<char*>(block) + kHeader;
}

void release(void* p) noexcept {
    if (!p)
        return;
    void* block = static_cast<char*>(p) - kHeader;
    liveBytes -= *static_cast<std::size_t*>(block);
    std::free(block);
}

// Heap growth above what was live when it started.
class PeakMeter {
  public:
    PeakMeter() : base_(liveBytes.load()) { peakBytes = base_; }
    std::size_t growth() const { return peakBytes.load() - base_; }

  private:
    std::size_t base_;
};

constexpr std::size_t MiB = 1024 * 1024;

} // namespace

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void operator delete(void* p) noexcept {
    release(p);
}
void operator delete[](void* p) noexcept {
    release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    release(p);
}

using namespace kavlen;

// Shrinking a 4096 x 4096 picture (64 MiB) to a page: besides the 256 KiB
// result only a band of filtered rows is held, not a 4096-row intermediate.
TEST(PeakMemory, ResizeHoldsABandOfRows) {
    const Image32 large(4096, 4096);
    PeakMeter meter;
    const Image32 page = resizeCatmullRom(large, 256, 256);
    EXPECT_EQ(page.bgra.size(), 256u * 256 * 4);
    EXPECT_LT(meter.growth(), 2 * MiB) << "peak growth " << meter.growth();
}

// An RLE8 bitmap of a few bytes that declares 256 x 262,144 pixels (the largest
// bitmap read): importing it into a one-page atlas decodes only the atlas's rows.
TEST(PeakMemory, AtlasImportDecodesOnlyTheAtlasRows) {
    Package wad;
    wad.version = 129;
    wad.textureDataSize = static_cast<std::uint32_t>(kPageBytes);
    wad.textureData.assign(kPageBytes, 0x55);
    std::vector<std::uint8_t> file = {'B', 'M'};
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    const std::uint32_t rows = 262144;
    put32(0);
    put32(0);
    put32(14 + 40 + 8);
    put32(40);
    put32(256);
    put32(rows);
    file.insert(file.end(), {1, 0, 8, 0});
    put32(1); // RLE8
    for (int i = 0; i < 5; ++i)
        put32(i == 3 ? 2 : 0);
    file.insert(file.end(), {0, 0, 0, 0, 30, 20, 10, 0});
    // Every row: 256 pixels of colour 1 in two runs, then end of line.
    for (std::uint32_t r = 0; r < 300; ++r)
        file.insert(file.end(), {128, 1, 128, 1, 0, 0});
    file.insert(file.end(), {0, 1});

    PeakMeter meter;
    const AtlasImportResult r = importAtlasFromBitmapBytes(wad, file);
    ASSERT_TRUE(r.changed) << (r.messages.empty() ? "" : r.messages[0].text);
    EXPECT_LT(meter.growth(), 2 * kPageBytes) << "peak growth " << meter.growth();
    // The top rows of a bottom-up bitmap are the last rows stored: beyond the data, black.
    EXPECT_EQ(wad.textureData[0], 0);

    // The same header on a two-page atlas refuses a narrow picture before decoding.
    file[18] = 0;
    file[19] = 2; // 512 wide
    PeakMeter refusal;
    EXPECT_FALSE(importAtlasFromBitmapBytes(wad, file).changed);
    EXPECT_LT(refusal.growth(), 64 * 1024u);
}
