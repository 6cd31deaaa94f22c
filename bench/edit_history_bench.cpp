// The edit history on the large package (60 pages, 4096 samples, 400 meshes):
// what a step costs in memory and how long edits, undos and redos take.
#include "document/edit_history.h"
#include "large_package.h"
#include "meshedit/face_attributes.h"
#include "meshedit/mirror_mesh.h"
#include "textures/texture_numbers.h"

#include <benchmark/benchmark.h>

namespace kavlen {
namespace {

Package& largePackage() {
    static const std::unique_ptr<Package> wad = makeLargePackage();
    return *wad;
}

// One mirror of one mesh: the step holds that mesh slot.
void BM_MeshEditStep(benchmark::State& state) {
    Package& wad = largePackage();
    EditHistory history(wad);
    for (auto _ : state) {
        history.edit("Mirror Mesh XZ", EditScope::meshAndStatics(7),
                     [&] { mirrorMesh(wad, 7, mirrorAxis(MirrorPlane::XZ)); });
    }
    state.counters["bytes_per_step"] = double(history.lastStepBytes());
    state.counters["mesh_slot_bytes"] = double(sizeof(Mesh));
    while (history.canUndo())
        history.undo();
}
BENCHMARK(BM_MeshEditStep)->Unit(benchmark::kMicrosecond);

// A sample renumbering names every slot in its scope; the step keeps only the
// slots whose faces changed.
void BM_SwapTextureNumbersStep(benchmark::State& state) {
    Package& wad = largePackage();
    EditHistory history(wad);
    EditScope scope;
    scope.allMeshSlots = scope.samples = true;
    for (auto _ : state)
        history.edit("Swap Texture Numbers", scope, [&] { swapTextureNumbers(wad, 1, 2); });
    state.counters["bytes_per_step"] = double(history.lastStepBytes());
    while (history.canUndo())
        history.undo();
}
BENCHMARK(BM_SwapTextureNumbersStep)->Unit(benchmark::kMillisecond);

// Undo and redo of an atlas import that replaced every texel of 60 pages.
void BM_UndoRedoAtlasImport(benchmark::State& state) {
    Package& wad = largePackage();
    EditHistory history(wad);
    EditScope scope;
    scope.wholeAtlas = true;
    history.edit("Import Atlas", scope, [&] {
        for (auto& texel : wad.textureData)
            texel = static_cast<std::uint8_t>(~texel);
    });
    const std::size_t stepBytes = history.lastStepBytes();
    for (auto _ : state) {
        history.undo();
        history.redo();
    }
    state.counters["bytes_per_step"] = double(stepBytes);
    state.counters["atlas_bytes"] = double(wad.textureData.size());
    history.undo();
}
BENCHMARK(BM_UndoRedoAtlasImport)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kavlen
