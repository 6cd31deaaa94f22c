// Whole-package mesh reports and the largest single-mesh edits, on a package of
// 1000 meshes of 1500 vertices and 1500 faces each.
#include "document/demo_package.h"
#include "meshedit/mesh_reports.h"
#include "meshedit/mirror_mesh.h"
#include "meshedit/move_mesh.h"
#include "meshedit/swap_vertices.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kavlen;

// The demo package grown to 1000 full meshes, each pointer naming its own mesh.
std::unique_ptr<Package> fullPackage() {
    auto wad = makeDemoPackage();
    wad->meshes.resize(kMaxMeshes);
    wad->meshCount = static_cast<std::uint16_t>(kMaxMeshes);
    for (std::size_t k = 0; k < kMaxMeshes; ++k) {
        Mesh& m = wad->meshes[k];
        m.vertexCount = static_cast<std::uint16_t>(kMaxMeshVertices);
        m.normalCount = static_cast<std::int16_t>(kMaxMeshVertices);
        m.faceCount = static_cast<std::int16_t>(kMaxMeshVertices);
        for (std::size_t i = 0; i < kMaxMeshVertices; ++i) {
            m.vertices[i] = {std::int16_t(i % 50), std::int16_t(i / 50), std::int16_t(k % 7)};
            MeshFace& f = m.faces[i];
            f.shape = i % 2 ? kShapeQuad : kShapeTriangle;
            f.vertexIndex = {std::uint16_t(i), std::uint16_t((i + 1) % 1500),
                             std::uint16_t((i + 50) % 1500), std::uint16_t((i + 51) % 1500)};
            f.texture = static_cast<std::uint16_t>((i * 7 + k) % 70); // some beyond the samples
            f.attributes = static_cast<std::uint16_t>(i == 1499 ? 3 : 0);
            f.visible = 1;
        }
    }
    wad->meshPointerCount = static_cast<std::uint32_t>(kMaxMeshes);
    for (std::size_t k = 0; k < kMaxMeshes; ++k)
        wad->meshPointers[k] = static_cast<std::uint32_t>(k * 20000);
    buildMeshDirectory(*wad);
    computeMeshUsage(*wad);
    return wad;
}

void BM_AboutMeshes(benchmark::State& state) {
    const auto wad = fullPackage();
    for (auto _ : state)
        benchmark::DoNotOptimize(aboutMeshes(*wad));
}
BENCHMARK(BM_AboutMeshes)->Unit(benchmark::kMillisecond);

void BM_AboutMesh(benchmark::State& state) {
    const auto wad = fullPackage();
    for (auto _ : state)
        benchmark::DoNotOptimize(aboutMesh(*wad, 500));
}
BENCHMARK(BM_AboutMesh)->Unit(benchmark::kMicrosecond);

void BM_MoveablesUsingMesh(benchmark::State& state) {
    const auto wad = fullPackage();
    for (auto _ : state)
        benchmark::DoNotOptimize(moveablesUsingMesh(*wad, 2));
}
BENCHMARK(BM_MoveablesUsingMesh)->Unit(benchmark::kMicrosecond);

void BM_MirrorMesh(benchmark::State& state) {
    auto wad = fullPackage();
    for (auto _ : state)
        benchmark::DoNotOptimize(mirrorMesh(*wad, 500, Axis::X));
}
BENCHMARK(BM_MirrorMesh)->Unit(benchmark::kMicrosecond);

void BM_MoveMesh(benchmark::State& state) {
    auto wad = fullPackage();
    int step = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(moveMesh(*wad, 500, step, -step, step));
        step = -step;
    }
}
BENCHMARK(BM_MoveMesh)->Unit(benchmark::kMicrosecond);

void BM_SwapVertices(benchmark::State& state) {
    auto wad = fullPackage();
    for (auto _ : state)
        benchmark::DoNotOptimize(swapVertices(*wad, 500, 3, 1400));
}
BENCHMARK(BM_SwapVertices)->Unit(benchmark::kMicrosecond);

} // namespace
