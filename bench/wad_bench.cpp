// Loading and saving packages beside a raw read and a raw write of the same bytes.
#include "document/demo_package.h"
#include "document/package.h"
#include "document/safe_write.h"
#include "large_package.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace kavlen;
namespace fs = std::filesystem;

namespace {

struct BenchPackage {
    fs::path path;
    std::vector<std::uint8_t> bytes;
};

const BenchPackage& package(bool large) {
    static const BenchPackage packages[2] = {
        [] {
            BenchPackage p{fs::temp_directory_path() / "kavlen-bench-demo.wad", {}};
            auto wad = makeDemoPackage();
            saveWad(*wad, p.path);
            std::string m;
            readWholeFile(p.path, p.bytes, m);
            return p;
        }(),
        [] {
            BenchPackage p{fs::temp_directory_path() / "kavlen-bench-large.wad", {}};
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
    const BenchPackage& p = package(state.range(0));
    std::string message;
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes; // a fresh buffer, as a load needs
        readWholeFile(p.path, bytes, message);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * p.bytes.size());
}

void BM_LoadWad(benchmark::State& state) {
    const BenchPackage& p = package(state.range(0));
    auto wad = std::make_unique<Package>();
    for (auto _ : state) {
        if (!loadWad(*wad, p.path).ok())
            state.SkipWithError("load failed");
    }
    state.SetBytesProcessed(state.iterations() * p.bytes.size());
}

void BM_RawWrite(benchmark::State& state) {
    const BenchPackage& p = package(state.range(0));
    const fs::path out = fs::temp_directory_path() / "kavlen-bench-out.wad";
    for (auto _ : state) {
        std::ofstream f(out, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(p.bytes.data()),
                static_cast<std::streamsize>(p.bytes.size()));
    }
    state.SetBytesProcessed(state.iterations() * p.bytes.size());
}

void BM_RawSafeWrite(benchmark::State& state) {
    const BenchPackage& p = package(state.range(0));
    const fs::path out = fs::temp_directory_path() / "kavlen-bench-out.wad";
    for (auto _ : state)
        writeFileSafely(out, p.bytes);
    state.SetBytesProcessed(state.iterations() * p.bytes.size());
}

void BM_SaveWad(benchmark::State& state) {
    const BenchPackage& p = package(state.range(0));
    auto wad = std::make_unique<Package>();
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
