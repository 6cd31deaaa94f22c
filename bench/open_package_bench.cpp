// The whole open of a large package in the running editor: reading the file,
// every refill step of the open procedure (texture upload, atlas, lists, the
// render window's lists and first mesh) and the first frame of the render
// window. Needs a display: run it under xvfb-run (Mesa's software renderer).
#include "app/editor.h"
#include "app/render_window.h"
#include "app/scripted_dialogs.h"
#include "document/wad.h"
#include "view3d/gl_format.h"
#include "view3d/gl_view.h"

#include <QApplication>
#include <QTest>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>
#include <unistd.h>

using namespace kavlen;

namespace {

constexpr int kPages = 16;
constexpr int kMeshes = 600;
constexpr int kMeshesPerMoveable = 6;

// A mesh of 10 x 10 quads over 11 x 11 vertices, its samples taken in turn.
void fillGridMesh(Mesh& mesh, int seed) {
    constexpr int side = 11;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            mesh.vertices[mesh.vertexCount++] = {static_cast<std::int16_t>(x * 50 - 250),
                                                 static_cast<std::int16_t>(y * 50 - 250),
                                                 static_cast<std::int16_t>((x * y + seed) % 40)};
    for (int y = 0; y + 1 < side; ++y)
        for (int x = 0; x + 1 < side; ++x) {
            MeshFace& f = mesh.faces[static_cast<std::size_t>(mesh.faceCount++)];
            const auto v = [&](int dx, int dy) {
                return static_cast<std::uint16_t>((y + dy) * side + x + dx);
            };
            f.shape = kShapeQuad;
            f.vertexIndex = {v(0, 0), v(1, 0), v(1, 1), v(0, 1)};
            f.texture = static_cast<std::uint16_t>((seed * 100 + y * 10 + x) % 4000 + 1);
            f.visible = 1;
        }
    mesh.sphereRadius = 400;
}

// 4096 samples on 16 pages, 600 meshes of 100 quads, 100 moveables of 6 meshes.
std::unique_ptr<twad> makeLargePackage() {
    auto wad = std::make_unique<twad>();
    wad->version = 129;
    wad->textureDataSize = static_cast<std::uint32_t>(kPages * kPageBytes);
    wad->textureData.resize(wad->textureDataSize);
    for (std::size_t i = 0; i < wad->textureData.size(); ++i)
        wad->textureData[i] = static_cast<std::uint8_t>(i * 7 + (i >> 9));
    for (std::size_t n = 0; n < kMaxTexInfos; ++n) {
        TexInfo& t = wad->texInfos[n];
        t.page = static_cast<std::uint16_t>(n % kPages);
        t.x = static_cast<std::uint8_t>((n / kPages) % 4 * 64);
        t.y = static_cast<std::uint8_t>((n / kPages / 4) % 4 * 64);
        t.width = t.height = n % 2 ? 63 : 31;
    }
    wad->texInfoCount = kMaxTexInfos;

    std::uint32_t offset = 0;
    for (int m = 0; m < kMeshes; ++m) {
        fillGridMesh(wad->appendMeshSlot(), m);
        wad->meshPointers[wad->meshPointerCount++] = offset;
        offset += static_cast<std::uint32_t>(wad->meshes.back().fileSize());
    }
    wad->meshDataWords = offset / 2;
    buildMeshDirectory(*wad);
    for (int m = 0; m < kMeshes / kMeshesPerMoveable; ++m) {
        Moveable mv;
        mv.objectId = static_cast<std::uint32_t>(m);
        mv.firstPointer = static_cast<std::uint16_t>(m * kMeshesPerMoveable);
        mv.pointerCount = kMeshesPerMoveable;
        wad->moveables.push_back(mv);
    }
    wad->moveableCount = static_cast<std::uint32_t>(wad->moveables.size());
    computeMeshUsage(*wad);
    return wad;
}

void BM_OpenLargePackageToFirstFrame(benchmark::State& state) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        state.SkipWithError("no display (run under xvfb-run)");
        return;
    }
    setDefaultGLFormat();
    static int argc = 1;
    static char name[] = "open_package_bench";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance())
        new QApplication(argc, argv); // lives until the process ends
    if (!openGLAvailable()) {
        state.SkipWithError("no legacy OpenGL");
        return;
    }

    const auto dir =
        std::filesystem::temp_directory_path() / ("kavlen_open_bench_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const auto path = dir / "large.wad";
    {
        auto wad = makeLargePackage();
        if (!saveWad(*wad, path).ok) {
            state.SkipWithError("could not write the package");
            return;
        }
    }
    ScriptedDialogs dialogs;
    AppLocations locations;
    locations.settingsFile = dir / "kavlen3.INI";
    locations.dataDirs = {dir};
    {
        Editor editor(dialogs, locations);
        const bool started =
            editor.start(true) && QTest::qWaitForWindowExposed(&editor.renderWindow());
        if (!started)
            state.SkipWithError("the editor did not start");
        else
            editor.renderWindow().view().grabFramebuffer(); // the GL context exists
        for (auto _ : state) {
            if (!editor.openPackage(path.string())) {
                state.SkipWithError("the package did not open");
                break;
            }
            benchmark::DoNotOptimize(editor.renderWindow().view().grabFramebuffer());
        }
        state.counters["samples"] = editor.document().texInfoCount;
        state.counters["meshes"] = editor.document().meshCount;
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_OpenLargePackageToFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
