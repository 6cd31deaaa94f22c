// Loading, saving and resaving packages beside a raw read, a raw write and a plain
// copy (as `cat IN > OUT` does it) of the same file, and the memory a resave
// needs. Argument 0: the demo package; 1: the large package (25 MB); 2: a package
// of 60 MB, mostly atlas pages.
#include "document/demo_package.h"
#include "document/package.h"
#include "document/safe_write.h"
#include "large_package.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <unistd.h>

using namespace kavlen;
namespace fs = std::filesystem;

namespace {

struct BenchPackage {
    fs::path path;
    std::size_t size = 0;
};

BenchPackage writePackage(const char* name, std::unique_ptr<Package> wad) {
    BenchPackage p{fs::temp_directory_path() / name, 0};
    if (!saveWad(*wad, p.path).ok)
        std::fprintf(stderr, "cannot write %s\n", p.path.c_str());
    p.size = fs::file_size(p.path);
    return p;
}

const BenchPackage& package(std::int64_t which) {
    static const BenchPackage packages[3] = {
        writePackage("kavlen-bench-demo.wad", makeDemoPackage()),
        writePackage("kavlen-bench-large.wad", makeLargePackage()),
        writePackage("kavlen-bench-60mb.wad", makeLargePackage(240)),
    };
    return packages[which];
}

const fs::path& outPath() {
    static const fs::path out = fs::temp_directory_path() / "kavlen-bench-out.wad";
    return out;
}

std::vector<std::uint8_t> fileBytes(const fs::path& path) {
    std::vector<std::uint8_t> bytes;
    std::string message;
    readWholeFile(path, bytes, message);
    return bytes;
}

void BM_RawRead(benchmark::State& state) {
    const BenchPackage& p = package(state.range(0));
    for (auto _ : state) {
        const auto bytes = fileBytes(p.path); // a fresh buffer, as a load needs
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(p.size));
}

void BM_LoadWad(benchmark::State& state) {
    const BenchPackage& p = package(state.range(0));
    for (auto _ : state) {
        auto wad = std::make_unique<Package>();
        if (!loadWad(*wad, p.path).ok())
            state.SkipWithError("load failed");
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(p.size));
}

void BM_RawWrite(benchmark::State& state) {
    const BenchPackage& p = package(state.range(0));
    const auto bytes = fileBytes(p.path);
    for (auto _ : state) {
        std::ofstream f(outPath(), std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(p.size));
}

void BM_RawSafeWrite(benchmark::State& state) {
    const BenchPackage& p = package(state.range(0));
    const auto bytes = fileBytes(p.path);
    for (auto _ : state)
        writeFileSafely(outPath(), bytes);
    state.SetBytesProcessed(state.iterations() * std::int64_t(p.size));
}

// What `cat IN > OUT` does: a small buffer read and written in turn.
void BM_Copy(benchmark::State& state) {
    const BenchPackage& p = package(state.range(0));
    std::vector<char> buffer(128 * 1024);
    for (auto _ : state) {
        const int in = ::open(p.path.c_str(), O_RDONLY);
        const int out = ::open(outPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ssize_t n = 0;
        while ((n = ::read(in, buffer.data(), buffer.size())) > 0) {
            if (::write(out, buffer.data(), std::size_t(n)) != n) {
                state.SkipWithError("write failed");
                break;
            }
        }
        ::close(in);
        ::close(out);
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(p.size));
}

void BM_SaveWad(benchmark::State& state) {
    const BenchPackage& p = package(state.range(0));
    auto wad = std::make_unique<Package>();
    loadWad(*wad, p.path);
    for (auto _ : state) {
        if (!saveWad(*wad, outPath()).ok)
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(p.size));
}

// Kibibytes of the process's resident set ("VmRSS") or its peak ("VmHWM").
long statusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size() + 1));
    }
    return -1;
}

// Load and save, as `kavlen-cli resave` does; the counters give the peak of the
// resident set during the resave over the resident set before it, against the
// file size.
void BM_Resave(benchmark::State& state) {
    const BenchPackage& p = package(state.range(0));
    long growth = 0;
    for (auto _ : state) {
        std::ofstream("/proc/self/clear_refs") << "5"; // resets the peak to the present
        const long before = statusKiB("VmRSS:");
        {
            auto wad = std::make_unique<Package>();
            if (!loadWad(*wad, p.path).ok() || !saveWad(*wad, outPath()).ok)
                state.SkipWithError("resave failed");
        }
        growth = std::max(growth, statusKiB("VmHWM:") - before);
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(p.size));
    state.counters["file_MB"] = double(p.size) / 1e6;
    state.counters["peak_growth_MB"] = double(growth) * 1024 / 1e6;
    state.counters["peak_per_file"] = double(growth) * 1024 / double(p.size);
}

} // namespace

BENCHMARK(BM_RawRead)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadWad)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawWrite)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawSafeWrite)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveWad)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Copy)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Resave)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
