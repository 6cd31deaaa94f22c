// Compacting the atlas: how many pages the rectangle packer needs for generated
// sets of mixed sample sizes, against the area bound ceil(texel area / 65536) and
// against first fit (each sample in turn at the first free place of the first
// page with room, as new textures are placed); and the time of a whole
// compaction of 4096 used samples.
#include "textures/atlas_compaction.h"
#include "textures/placement.h"
#include "textures/rectangle_packer.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

using namespace kavlen;

namespace {

// Mixed sizes as level textures come: mostly powers of two (square or not),
// the rest any size from 4 to 128, now and then a large one.
std::vector<PackSize> mixedSizes(int count, unsigned seed) {
    std::mt19937 rng(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    std::vector<PackSize> sizes(static_cast<std::size_t>(count));
    for (PackSize& s : sizes) {
        const int kind = pick(0, 9);
        if (kind < 5) {
            s = {8 << pick(0, 3), 8 << pick(0, 3)};
        } else if (kind < 9) {
            s = {pick(4, 128), pick(4, 128)};
        } else {
            s = {pick(64, 256), pick(64, 256)};
        }
    }
    return sizes;
}

long areaBound(const std::vector<PackSize>& sizes) {
    long area = 0;
    for (const PackSize& s : sizes)
        area += long(s.width) * s.height;
    return (area + 65535) / 65536;
}

int firstFitPages(const std::vector<PackSize>& sizes) {
    std::vector<PageOccupancy> pages;
    for (const PackSize& s : sizes) {
        bool placed = false;
        for (PageOccupancy& page : pages) {
            if (const auto at = page.firstFit(s.width, s.height)) {
                page.cover(at->x, at->y, at->x + s.width - 1, at->y + s.height - 1);
                placed = true;
                break;
            }
        }
        if (!placed) {
            pages.emplace_back();
            pages.back().cover(0, 0, s.width - 1, s.height - 1);
        }
    }
    return int(pages.size());
}

constexpr int kSeeds = 5;

// Pages of the packer and of first fit over the bound, averaged over kSeeds sets.
void BM_PackQuality(benchmark::State& state) {
    const int count = int(state.range(0));
    double packedOverBound = 0, firstFitOverBound = 0, bound = 0, packed = 0, firstFit = 0;
    for (auto _ : state) {
        packedOverBound = firstFitOverBound = bound = packed = firstFit = 0;
        for (int seed = 0; seed < kSeeds; ++seed) {
            const std::vector<PackSize> sizes = mixedSizes(count, unsigned(seed + 1));
            const long b = areaBound(sizes);
            const auto layout = packRectangles(sizes);
            const int f = firstFitPages(sizes);
            benchmark::DoNotOptimize(layout);
            bound += double(b);
            packed += layout->pages;
            firstFit += f;
            packedOverBound += double(layout->pages) / double(b);
            firstFitOverBound += double(f) / double(b);
        }
    }
    state.counters["bound"] = bound / kSeeds;
    state.counters["packed"] = packed / kSeeds;
    state.counters["firstFit"] = firstFit / kSeeds;
    state.counters["packed/bound"] = packedOverBound / kSeeds;
    state.counters["firstFit/bound"] = firstFitOverBound / kSeeds;
}
BENCHMARK(BM_PackQuality)
    ->Arg(200)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(4000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_PackRectangles(benchmark::State& state) {
    const std::vector<PackSize> sizes = mixedSizes(int(state.range(0)), 7);
    for (auto _ : state)
        benchmark::DoNotOptimize(packRectangles(sizes));
}
BENCHMARK(BM_PackRectangles)->Arg(4096)->Unit(benchmark::kMillisecond);

// 4096 samples of mixed sizes, each used by a face, spread loosely over pages
// with first fit on half-empty pages; the whole "Compact Atlas" command.
std::unique_ptr<Package> looseAtlas() {
    const std::vector<PackSize> sizes = mixedSizes(4096, 11);
    auto wad = std::make_unique<Package>();
    wad->version = 129;
    std::vector<PageOccupancy> pages;
    for (const PackSize& s : sizes) {
        std::optional<PagePosition> at;
        std::size_t p = pages.size() > 0 ? pages.size() - 1 : 0;
        if (!pages.empty())
            at = pages.back().firstFit(s.width, s.height);
        if (!at || at->y > 128) { // leave half of every page empty
            pages.emplace_back();
            p = pages.size() - 1;
            at = PagePosition{0, 0};
        }
        pages[p].cover(at->x, at->y, at->x + s.width - 1, at->y + s.height - 1);
        TexInfo& t = wad->texInfos[wad->texInfoCount++];
        t = {std::uint8_t(at->x),       std::uint8_t(at->y),
             std::uint16_t(p),          -1,
             std::uint8_t(s.width - 1), -1,
             std::uint8_t(s.height - 1)};
    }
    wad->textureDataSize = static_cast<std::uint32_t>(pages.size() * kPageBytes);
    wad->textureData.resize(wad->textureDataSize);
    std::mt19937 rng(3);
    for (std::uint8_t& b : wad->textureData)
        b = static_cast<std::uint8_t>(rng());
    for (int sample = 0; sample < 4096;) {
        Mesh& mesh = wad->appendMeshSlot();
        for (; sample < 4096 && mesh.faceCount < 1500; ++sample)
            mesh.faces[mesh.faceCount++] = {.shape = kShapeTriangle,
                                            .texture = std::uint16_t(sample)};
    }
    return wad;
}

void BM_CompactAtlas(benchmark::State& state) {
    const std::unique_ptr<Package> loose = looseAtlas();
    Package wad;
    int pagesAfter = 0;
    for (auto _ : state) {
        state.PauseTiming();
        wad = *loose;
        state.ResumeTiming();
        pagesAfter = compactAtlas(wad).pagesAfter;
    }
    state.counters["pagesBefore"] = loose->pageCount();
    state.counters["pagesAfter"] = pagesAfter;
}
BENCHMARK(BM_CompactAtlas)->Unit(benchmark::kMillisecond);

} // namespace
