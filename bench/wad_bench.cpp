// Loading and saving packages beside a raw read and a raw write of the same bytes.
#include "document/demo_package.h"
#include "document/safe_write.h"
#include "document/wad.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace kavlen;
namespace fs = std::filesystem;

namespace {

// 60 pages, 4096 samples, 400 meshes near the vertex and face capacities.
std::unique_ptr<twad> makeLargePackage() {
    auto wad = makeDemoPackage();
    wad->textureDataSize = static_cast<std::uint32_t>(60 * kPageBytes);
    wad->textureData.resize(wad->textureDataSize);
    for (std::size_t i = 0; i < wad->textureData.size(); ++i)
        wad->textureData[i] = static_cast<std::uint8_t>(i * 31 + i / 768);
    wad->texInfoCount = kMaxTexInfos;
    for (std::size_t t = 0; t < kMaxTexInfos; ++t)
        wad->texInfos[t] = {static_cast<std::uint8_t>(t % 8 * 32),
                            static_cast<std::uint8_t>(t / 8 % 8 * 32),
                            static_cast<std::uint16_t>(t % 60),
                            -1,
                            31,
                            -1,
                            31};
    const std::size_t meshCount = 400;
    wad->meshes.resize(meshCount);
    wad->meshCount = static_cast<std::uint16_t>(meshCount);
    wad->meshPointerCount = static_cast<std::uint32_t>(meshCount);
    std::uint32_t offset = 0;
    for (std::size_t k = 0; k < meshCount; ++k) {
        Mesh& m = wad->meshes[k];
        m = Mesh{};
        m.vertexCount = 1400;
        m.normalCount = k % 2 ? 1400 : -1400;
        for (int i = 0; i < 1400; ++i) {
            m.vertices[i] = {static_cast<std::int16_t>(i), static_cast<std::int16_t>(-i),
                             static_cast<std::int16_t>(k)};
            m.normals[i] = {0, -16300, 0};
            m.shades[i] = static_cast<std::int16_t>(i);
        }
        m.faceCount = 1401; // an odd number of quads
        for (int f = 0; f < m.faceCount; ++f) {
            MeshFace& face = m.faces[f];
            face.shape = f % 3 ? kShapeQuad : kShapeTriangle;
            face.vertexIndex = {std::uint16_t(f % 1400), std::uint16_t((f + 1) % 1400),
                                std::uint16_t((f + 2) % 1400), std::uint16_t((f + 3) % 1400)};
            face.texture = static_cast<std::uint16_t>(f % 4096);
            face.visible = 1;
        }
        wad->meshPointers[k] = offset;
        offset += static_cast<std::uint32_t>(m.fileSize());
    }
    wad->meshDataWords = offset / 2;
    wad->moveables.clear();
    Moveable mv;
    mv.pointerCount = static_cast<std::uint16_t>(meshCount);
    wad->moveables.push_back(mv);
    wad->moveableCount = 1;
    wad->statics.clear();
    wad->staticCount = 0;
    buildMeshDirectory(*wad);
    computeMeshUsage(*wad);
    return wad;
}

struct Package {
    fs::path path;
    std::vector<std::uint8_t> bytes;
};

const Package& package(bool large) {
    static const Package packages[2] = {
        [] {
            Package p{fs::temp_directory_path() / "kavlen-bench-demo.wad", {}};
            auto wad = makeDemoPackage();
            saveWad(*wad, p.path);
            std::string m;
            readWholeFile(p.path, p.bytes, m);
            return p;
        }(),
        [] {
            Package p{fs::temp_directory_path() / "kavlen-bench-large.wad", {}};
            auto wad = makeLargePackage();
            saveWad(*wad, p.path);
            std::string m;
            readWholeFile(p.path, p.bytes, m);
            return p;
        }(),
    };
    return packages[large ? 1 : 0];
}

void BM_RawRead(benchmark::State& state) {
    const Package& p = package(state.range(0));
    std::string message;
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes; // a fresh buffer, as a load needs
        readWholeFile(p.path, bytes, message);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * p.bytes.size());
}

void BM_LoadWad(benchmark::State& state) {
    const Package& p = package(state.range(0));
    auto wad = std::make_unique<twad>();
    for (auto _ : state) {
        if (!loadWad(*wad, p.path).ok())
            state.SkipWithError("load failed");
    }
    state.SetBytesProcessed(state.iterations() * p.bytes.size());
}

void BM_RawWrite(benchmark::State& state) {
    const Package& p = package(state.range(0));
    const fs::path out = fs::temp_directory_path() / "kavlen-bench-out.wad";
    for (auto _ : state) {
        std::ofstream f(out, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(p.bytes.data()),
                static_cast<std::streamsize>(p.bytes.size()));
    }
    state.SetBytesProcessed(state.iterations() * p.bytes.size());
}

void BM_RawSafeWrite(benchmark::State& state) {
    const Package& p = package(state.range(0));
    const fs::path out = fs::temp_directory_path() / "kavlen-bench-out.wad";
    for (auto _ : state)
        writeFileSafely(out, p.bytes);
    state.SetBytesProcessed(state.iterations() * p.bytes.size());
}

void BM_SaveWad(benchmark::State& state) {
    const Package& p = package(state.range(0));
    auto wad = std::make_unique<twad>();
    loadWad(*wad, p.path);
    const fs::path out = fs::temp_directory_path() / "kavlen-bench-out.wad";
    for (auto _ : state) {
        if (!saveWad(*wad, out).ok)
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * p.bytes.size());
}

} // namespace

// Argument 0: the demo package; 1: the large package.
BENCHMARK(BM_RawRead)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadWad)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawSafeWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveWad)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
