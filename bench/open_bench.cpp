// The whole open of a package in the real editor windows, up to the first frame
// of the render window read back from the GL view. Needs a display: run under
// xvfb-run (Mesa's software renderer there).
#include "app/editor.h"
#include "app/main_window.h"
#include "app/render_window.h"
#include "app/scripted_dialogs.h"
#include "document/demo_package.h"
#include "large_package.h"
#include "view3d/gl_view.h"

#include <QApplication>
#include <QTest>
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

using namespace kavlen;
namespace fs = std::filesystem;

namespace {

QApplication* application() {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return nullptr;
    static int argc = 1;
    static char name[] = "open_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv); // lives until the process ends
    return app;
}

// Range 0: the demo package; 1: 60 pages, 4096 samples, 400 meshes of 1400 vertices.
void BM_OpenToFirstFrame(benchmark::State& state) {
    if (!application()) {
        state.SkipWithError("no display (run under xvfb-run)");
        return;
    }
    const fs::path dir = fs::temp_directory_path() / "kavlen-open-bench";
    fs::create_directories(dir);
    const fs::path wad = dir / (state.range(0) ? "large.wad" : "demo.wad");
    if (!saveWad(*(state.range(0) ? makeLargePackage() : makeDemoPackage()), wad).ok) {
        state.SkipWithError("could not write the package");
        return;
    }
    AppLocations locations;
    locations.settingsFile = dir / "kavlen3.INI";
    locations.dataDirs = {dir};
    ScriptedDialogs dialogs;
    Editor editor(dialogs, locations);
    if (!editor.start(true) || !QTest::qWaitForWindowExposed(&editor.mainWindow()) ||
        !QTest::qWaitFor([&] { return editor.renderWindow().isVisible(); }) ||
        !QTest::qWaitForWindowExposed(&editor.renderWindow())) {
        state.SkipWithError("the editor did not start");
        return;
    }
    GLView& view = editor.renderWindow().view();
    view.grabFramebuffer(); // the GL context exists before the first open
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!editor.openPackage(wad.string()))
            state.SkipWithError("open failed");
        const QImage frame = view.grabFramebuffer();
        const auto end = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(frame.constBits());
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    editor.shutdown();
    fs::remove_all(dir);
}
BENCHMARK(BM_OpenToFirstFrame)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
