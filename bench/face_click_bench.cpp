// From a click in the render window to the frame that shows its result: the pick
// from the last frame's matrices, the edit of the face, the scene compiled again
// and one frame drawn, in the editor's real windows on the demo package.
#include "app/editor.h"
#include "app/face_editing.h"
#include "app/main_window.h"
#include "app/render_window.h"
#include "app/scripted_dialogs.h"
#include "app/texture_panel.h"
#include "view3d/gl_format.h"
#include "view3d/gl_view.h"
#include "view3d/mesh_scene.h"

#include <QApplication>
#include <QListWidget>
#include <QtGui/qopengl.h>
#include <benchmark/benchmark.h>
#include <cmath>
#include <filesystem>
#include <memory>

namespace {

using namespace kavlen;

struct RunningEditor {
    ScriptedDialogs dialogs;
    std::unique_ptr<Editor> editor;
    FaceEditing* faces = nullptr;
};

// The editor with the demo package open, or null without a display.
RunningEditor* runningEditor() {
    static RunningEditor* running = []() -> RunningEditor* {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            return nullptr;
        setDefaultGLFormat();
        static int argc = 1;
        static char name[] = "face_click_bench";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv); // lives until the process ends
        auto* r = new RunningEditor;
        const auto dir = std::filesystem::temp_directory_path() / "kavlen_face_click_bench";
        std::filesystem::create_directories(dir);
        AppLocations locations;
        locations.settingsFile = dir / "kavlen3.INI";
        locations.dataDirs = {dir};
        r->editor = std::make_unique<Editor>(r->dialogs, locations);
        if (!r->editor->start(true) ||
            !r->editor->openPackage(std::string(KAVLEN_SAMPLES_DIR) + "/demo.wad"))
            return nullptr;
        r->faces = r->editor->mainWindow().findChild<FaceEditing*>();
        return r->faces ? r : nullptr;
    }();
    return running;
}

// Makes `slot` the render window's current mesh, fitted in the view.
void showMesh(RunningEditor& r, int slot) {
    RenderWindow& render = r.editor->renderWindow();
    render.showMesh(slot);
}

// Draws one frame of the view now, as its paint does, and waits for it.
void drawFrame(RenderWindow& render) {
    GLView& view = render.view();
    view.makeCurrent();
    const double ratio = view.devicePixelRatioF();
    render.viewport().renderFrame(int(std::lround(view.width() * ratio)),
                                  int(std::lround(view.height() * ratio)));
    glFinish();
    view.doneCurrent();
}

// A plain click that gives the face under the middle of the view another sample
// each time, in Textured mode; the argument is the mesh slot.
void BM_ClickToFrame(benchmark::State& state) {
    RunningEditor* r = runningEditor();
    if (!r) {
        state.SkipWithError("no display (run under xvfb-run)");
        return;
    }
    RenderWindow& render = r->editor->renderWindow();
    showMesh(*r, static_cast<int>(state.range(0)));
    r->faces->selectRenderMode(RenderModeEntry::Textured);
    render.view().grabFramebuffer(); // the context, the matrices and the list exist
    const QPointF middle(render.view().width() / 2.0, render.view().height() / 2.0);
    if (!r->faces->pickAt(middle).found()) {
        state.SkipWithError("no face under the middle of the view");
        return;
    }
    QListWidget* samples = r->editor->mainWindow().findChild<TexturePanel*>()->textureList();
    int sample = 1;
    for (auto _ : state) {
        state.PauseTiming();
        samples->setCurrentRow(sample);
        sample = sample % 30 + 1;
        state.ResumeTiming();
        const FaceClickResult result = r->faces->click(middle, Qt::LeftButton, {});
        if (!result.changed) {
            state.SkipWithError("the click changed nothing");
            return;
        }
        drawFrame(render);
    }
    state.counters["faces"] = r->editor->document().meshes[std::size_t(state.range(0))].faceCount;
}
BENCHMARK(BM_ClickToFrame)->Arg(0)->Arg(6)->Unit(benchmark::kMillisecond);

// The pick alone, from the view's own matrices, under the middle of the view.
void BM_PickInView(benchmark::State& state) {
    RunningEditor* r = runningEditor();
    if (!r) {
        state.SkipWithError("no display (run under xvfb-run)");
        return;
    }
    RenderWindow& render = r->editor->renderWindow();
    showMesh(*r, static_cast<int>(state.range(0)));
    render.view().grabFramebuffer();
    const QPointF middle(render.view().width() / 2.0, render.view().height() / 2.0);
    for (auto _ : state)
        benchmark::DoNotOptimize(r->faces->pickAt(middle));
}
BENCHMARK(BM_PickInView)->Arg(0)->Arg(6)->Unit(benchmark::kMicrosecond);

} // namespace
