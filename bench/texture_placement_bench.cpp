// Free-space search for new samples: the occupancy search against the plain
// candidate-by-candidate scan, on single pages and across a crowded atlas, and
// "Add new texture " and "Import Texture" end to end.
#include "textures/adding.h"
#include "textures/placement.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

using namespace kavlen;

namespace {

std::unique_ptr<Package> emptyAtlas(int pages) {
    auto wad = std::make_unique<Package>();
    wad->version = 129;
    wad->textureDataSize = static_cast<std::uint32_t>(pages * kPageBytes);
    wad->textureData.assign(wad->textureDataSize, 0x40);
    return wad;
}

void sample(Package& wad, int page, int x, int y, int w, int h) {
    TexInfo& t = wad.texInfos[wad.texInfoCount++];
    t.x = static_cast<std::uint8_t>(x);
    t.y = static_cast<std::uint8_t>(y);
    t.page = static_cast<std::uint16_t>(page);
    t.width = static_cast<std::uint8_t>(w - 1);
    t.height = static_cast<std::uint8_t>(h - 1);
}

// Sparse: five large samples; a 64 x 64 picture fits in the second band.
std::unique_ptr<Package> sparsePage() {
    auto wad = emptyAtlas(1);
    sample(*wad, 0, 0, 0, 128, 64);
    sample(*wad, 0, 128, 0, 100, 40);
    sample(*wad, 0, 200, 30, 56, 70);
    sample(*wad, 0, 0, 64, 90, 90);
    sample(*wad, 0, 100, 120, 60, 60);
    return wad;
}

// Dense: a grid of 16 x 16 samples with one 32 x 32 hole near the bottom right.
std::unique_ptr<Package> densePage() {
    auto wad = emptyAtlas(1);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (!(x >= 12 && x <= 13 && y >= 13 && y <= 14))
                sample(*wad, 0, x * 16, y * 16, 16, 16);
    return wad;
}

// Adversarial: 4096 single texels on a 4-texel lattice; no 4 x 4 square is free,
// so every candidate of the page must be rejected.
std::unique_ptr<Package> adversarialPage() {
    auto wad = emptyAtlas(1);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            sample(*wad, 0, x * 4 + (y % 4), y * 4, 1, 1);
    return wad;
}

// 60 pages, each crowded with 64 random samples of 8..40 texels plus four
// 128 x 128 quarter samples that leave no room for 64 x 64 except on the last page.
std::unique_ptr<Package> crowdedAtlas() {
    auto wad = emptyAtlas(60);
    std::mt19937 rng(60);
    for (int p = 0; p < 60; ++p) {
        for (int i = 0; i < 64; ++i)
            sample(*wad, p, int(rng() % 240), int(rng() % 240), 8 + int(rng() % 33),
                   8 + int(rng() % 33));
        if (p < 59)
            for (int q = 0; q < 4; ++q)
                sample(*wad, p, (q % 2) * 128 + 32, (q / 2) * 128 + 32, 97, 97);
    }
    return wad;
}

template <typename Search>
void searchPage(benchmark::State& state, std::unique_ptr<Package> (*make)(), int w, int h,
                Search search) {
    const auto wad = make();
    for (auto _ : state)
        benchmark::DoNotOptimize(search(*wad, 0, w, h));
}

void BM_Sparse_Fast(benchmark::State& s) {
    searchPage(s, sparsePage, 64, 64, findFreePosition);
}
void BM_Sparse_Reference(benchmark::State& s) {
    searchPage(s, sparsePage, 64, 64, findFreePositionReference);
}
void BM_Dense_Fast(benchmark::State& s) {
    searchPage(s, densePage, 32, 32, findFreePosition);
}
void BM_Dense_Reference(benchmark::State& s) {
    searchPage(s, densePage, 32, 32, findFreePositionReference);
}
void BM_Adversarial_Fast(benchmark::State& s) {
    searchPage(s, adversarialPage, 4, 4, findFreePosition);
}
void BM_Adversarial_Reference(benchmark::State& s) {
    searchPage(s, adversarialPage, 4, 4, findFreePositionReference);
}

// The search of "Add new texture " over every page in order.
void BM_Atlas60_Fast(benchmark::State& state) {
    const auto wad = crowdedAtlas();
    for (auto _ : state) {
        const auto at = findFreePositionOnPages(*wad, wad->pageCount(), 64, 64);
        if (!at || at->page != 59)
            state.SkipWithError("the crowded atlas should have room on its last page only");
        benchmark::DoNotOptimize(at);
    }
}

void BM_Atlas60_Reference(benchmark::State& state) {
    const auto wad = crowdedAtlas();
    for (auto _ : state) {
        std::optional<PagePosition> at;
        int page = 0;
        for (; page < wad->pageCount() && !at; ++page)
            at = findFreePositionReference(*wad, page, 64, 64);
        if (!at || page != 60)
            state.SkipWithError("the crowded atlas should have room on its last page only");
        benchmark::DoNotOptimize(at);
    }
}

void BM_AddNewTexture_Atlas60(benchmark::State& state) {
    auto wad = crowdedAtlas();
    Image32 picture(64, 64);
    const ChoosePicture choose = [&] {
        return PictureChoice{PictureChoice::Status::Loaded, picture};
    };
    for (auto _ : state) {
        const AddTextureResult r = addNewTexture(*wad, choose, {});
        if (!r.added || r.page != 59)
            state.SkipWithError("not placed on the last page");
        --wad->texInfoCount; // take the sample back so every round searches the same atlas
    }
}

void BM_AddNewTexture_Resize1024(benchmark::State& state) {
    auto wad = emptyAtlas(1);
    Image32 picture(1024, 768);
    const ChoosePicture choose = [&] {
        return PictureChoice{PictureChoice::Status::Loaded, picture};
    };
    const AskUser yes = [](const UserQuestion&) { return true; };
    for (auto _ : state) {
        if (!addNewTexture(*wad, choose, yes).added)
            state.SkipWithError("not added");
        --wad->texInfoCount;
    }
}

void BM_ImportTexture_256(benchmark::State& state) {
    auto wad = emptyAtlas(1);
    sample(*wad, 0, 0, 0, 256, 256);
    for (int i = 0; i < 40; ++i)
        sample(*wad, 0, i * 6, i * 6, 16, 16);
    Image32 picture(512, 512);
    const ChoosePicture choose = [&] {
        return PictureChoice{PictureChoice::Status::Loaded, picture};
    };
    for (auto _ : state)
        benchmark::DoNotOptimize(importTexture(*wad, 0, choose));
}

} // namespace

BENCHMARK(BM_Sparse_Fast)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sparse_Reference)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Dense_Fast)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Dense_Reference)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Adversarial_Fast)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Adversarial_Reference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Atlas60_Fast)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Atlas60_Reference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddNewTexture_Atlas60)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddNewTexture_Resize1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportTexture_256)->Unit(benchmark::kMillisecond);
