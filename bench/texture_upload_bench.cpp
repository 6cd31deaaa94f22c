// Texture upload and scene drawing of the 3D view.
//
// The pixel-buffer benchmarks need no display. The GL benchmarks make an
// offscreen GL context and are skipped when none can be made (run them under
// xvfb-run for Mesa's software renderer).
#include "document/package.h"
#include "textures/adding.h"
#include "textures/texture_numbers.h"
#include "view3d/mesh_scene.h"
#include "view3d/texture_pixels.h"
#include "view3d/texture_upload.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QSurfaceFormat>
#include <qopengl.h>

#include <GL/glu.h>
#include <benchmark/benchmark.h>

#include <memory>

using namespace kavlen;

namespace {

// A package of 4096 samples on 16 pages: half 32 x 32, a quarter 64 x 64 and a
// quarter 48 x 40 (stretched to 64 x 64 on upload).
std::unique_ptr<Package> makeSamplePackage() {
    auto wad = std::make_unique<Package>();
    wad->version = 129;
    const int pages = 16;
    wad->textureDataSize = static_cast<std::uint32_t>(pages * kPageBytes);
    wad->textureData.resize(wad->textureDataSize);
    for (std::size_t i = 0; i < wad->textureData.size(); ++i)
        wad->textureData[i] = static_cast<std::uint8_t>(i * 7 + (i >> 9));
    for (std::size_t n = 0; n < kMaxTexInfos; ++n) {
        TexInfo& t = wad->texInfos[n];
        const int kind = n % 4;
        const int side = kind < 2 ? 32 : 64;
        t.page = static_cast<std::uint16_t>(n % pages);
        t.x = static_cast<std::uint8_t>((n / pages) % 4 * 64);
        t.y = static_cast<std::uint8_t>((n / pages / 4) % 4 * 64);
        t.width = static_cast<std::uint8_t>((kind == 3 ? 48 : side) - 1);
        t.height = static_cast<std::uint8_t>((kind == 3 ? 40 : side) - 1);
    }
    wad->texInfoCount = kMaxTexInfos;
    return wad;
}

// A mesh of 1500 quads (of 1500 vertices' worth of corners shared in a grid).
void addGridMesh(Package& wad) {
    Mesh& mesh = wad.appendMeshSlot();
    const int side = 38; // 38 x 38 = 1444 vertices
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            mesh.vertices[mesh.vertexCount++] = {static_cast<std::int16_t>(x * 20 - 380),
                                                 static_cast<std::int16_t>(y * 20 - 380),
                                                 static_cast<std::int16_t>((x * y) % 17)};
    for (int i = 0; mesh.faceCount < 1500; ++i) {
        const int cell = i % ((side - 1) * (side - 1));
        const int x = cell % (side - 1), y = cell / (side - 1);
        MeshFace& f = mesh.faces[static_cast<std::size_t>(mesh.faceCount++)];
        const auto v = [&](int dx, int dy) {
            return static_cast<std::uint16_t>((y + dy) * side + x + dx);
        };
        if (i % 3 == 0) {
            f.shape = kShapeTriangle;
            f.vertexIndex = {v(0, 0), v(1, 0), v(0, 1), 0};
            f.texture = static_cast<std::uint16_t>(((i % 4) * 2 << 12) | (i % 4000 + 1));
        } else {
            f.shape = kShapeQuad;
            f.vertexIndex = {v(0, 0), v(1, 0), v(1, 1), v(0, 1)};
            f.texture = static_cast<std::uint16_t>(i % 4000 + 1);
        }
        f.attributes = static_cast<std::uint16_t>(i % 128);
        f.visible = 1;
    }
}

void BM_SamplePixelBuffers4096(benchmark::State& state) {
    const auto wad = makeSamplePackage();
    const int colorBits = static_cast<int>(state.range(0));
    const int bpp = bytesPerPixelForDepth(colorBits);
    TexturePicture picture;
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (std::size_t n = 0; n < wad->texInfoCount; ++n) {
            cutSamplePicture(*wad, n, bpp, picture);
            const TexturePicture pixels = texturePixels(picture, colorBits);
            bytes += pixels.pixels.size();
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * wad->texInfoCount);
}
BENCHMARK(BM_SamplePixelBuffers4096)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond);

void BM_StretchTo64(benchmark::State& state) {
    TexturePicture picture;
    picture.width = 48;
    picture.height = 40;
    picture.pixels.assign(48 * 40 * 3, 77);
    for (auto _ : state)
        benchmark::DoNotOptimize(stretchPicture(picture, 64, 64));
}
BENCHMARK(BM_StretchTo64)->Unit(benchmark::kMicrosecond);

// One offscreen GL context for the GL benchmarks, made on first use.
class GlContext {
  public:
    static GlContext* get() {
        static GlContext* instance = make();
        return instance;
    }

  private:
    static GlContext* make() {
        // Without a display the windowing platform would end the process.
        if (qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            return nullptr;
        QSurfaceFormat format;
        format.setRenderableType(QSurfaceFormat::OpenGL);
        format.setProfile(QSurfaceFormat::CompatibilityProfile);
        format.setVersion(2, 1);
        format.setDepthBufferSize(24);
        QSurfaceFormat::setDefaultFormat(format);
        static int argc = 1;
        static char name[] = "texture_upload_bench";
        static char* argv[] = {name, nullptr};
        if (!QGuiApplication::instance())
            new QGuiApplication(argc, argv); // lives until the process ends
        auto* gl = new GlContext;
        gl->surface.setFormat(format);
        gl->surface.create();
        gl->context.setFormat(format);
        if (!gl->context.create() || !gl->context.makeCurrent(&gl->surface))
            return nullptr;
        return gl;
    }

    QOffscreenSurface surface;
    QOpenGLContext context;
};

void BM_UploadAllSamples4096(benchmark::State& state) {
    if (!GlContext::get()) {
        state.SkipWithError("no GL context (run under xvfb-run)");
        return;
    }
    const auto wad = makeSamplePackage();
    const bool bilinear = state.range(0) != 0;
    SceneTextures textures;
    for (auto _ : state) {
        benchmark::DoNotOptimize(uploadAllSamples(textures, *wad, 24, bilinear));
        glFinish();
    }
    textures.removeAll();
    state.SetItemsProcessed(state.iterations() * wad->texInfoCount);
}
BENCHMARK(BM_UploadAllSamples4096)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// What the render window does after "Swap Texture Numbers": swap two samples'
// records and remake the textures of both (b, then a). Range 1: with mipmaps.
void BM_SwapThenUpload(benchmark::State& state) {
    if (!GlContext::get()) {
        state.SkipWithError("no GL context (run under xvfb-run)");
        return;
    }
    auto wad = makeSamplePackage();
    const bool bilinear = state.range(0) != 0;
    SceneTextures textures;
    uploadAllSamples(textures, *wad, 24, bilinear);
    for (auto _ : state) {
        const SwapResult swap = swapTextureNumbers(*wad, 3, 2050); // 64 x 64 and 32 x 32
        if (!swap.swapped)
            state.SkipWithError("not swapped");
        for (int n : swap.rebuild)
            uploadSample(textures, *wad, static_cast<std::size_t>(n), 24, bilinear);
        glFinish();
    }
    textures.removeAll();
}
BENCHMARK(BM_SwapThenUpload)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// "Import Texture" of a 512 x 512 picture into a 256 x 256 sample that 16 other
// samples overlap, then the upload of every texture the import lists.
void BM_ImportThenUpload(benchmark::State& state) {
    if (!GlContext::get()) {
        state.SkipWithError("no GL context (run under xvfb-run)");
        return;
    }
    auto wad = std::make_unique<Package>();
    wad->version = 129;
    wad->textureDataSize = kPageBytes;
    wad->textureData.assign(kPageBytes, 0x40);
    const auto add = [&](int x, int y, int w, int h) {
        TexInfo& t = wad->texInfos[wad->texInfoCount++];
        t.x = static_cast<std::uint8_t>(x);
        t.y = static_cast<std::uint8_t>(y);
        t.width = static_cast<std::uint8_t>(w - 1);
        t.height = static_cast<std::uint8_t>(h - 1);
    };
    add(0, 0, 256, 256);
    for (int i = 0; i < 16; ++i)
        add((i % 4) * 64, (i / 4) * 64, 64, 64);
    Image32 picture(512, 512);
    const ChoosePicture choose = [&] {
        return PictureChoice{PictureChoice::Status::Loaded, picture};
    };
    SceneTextures textures;
    uploadAllSamples(textures, *wad, 24, false);
    std::size_t uploaded = 0;
    for (auto _ : state) {
        const ImportTextureResult r = importTexture(*wad, 0, choose);
        if (!r.changed || r.rebuild.size() != 17)
            state.SkipWithError("the import should list the sample and its 16 neighbours");
        for (int n : r.rebuild)
            uploadSample(textures, *wad, static_cast<std::size_t>(n), 24, false);
        uploaded += r.rebuild.size();
        glFinish();
    }
    textures.removeAll();
    state.SetItemsProcessed(static_cast<std::int64_t>(uploaded));
}
BENCHMARK(BM_ImportThenUpload)->Unit(benchmark::kMillisecond);

// The sample package with the 1500-face grid mesh as the scene's current mesh,
// drawn in the render mode `mode`, every sample uploaded.
struct GridScene {
    explicit GridScene(int mode) : wad(makeSamplePackage()) {
        addGridMesh(*wad);
        scene = std::make_unique<MeshScene>(*wad);
        scene->currentMesh = 0;
        scene->renderMode = static_cast<std::uint8_t>(mode);
        uploadAllSamples(scene->textures, *wad, 24, false);
    }
    ~GridScene() { scene->textures.removeAll(); }

    std::unique_ptr<Package> wad;
    std::unique_ptr<MeshScene> scene;
};

// Compiling the scene of a 1500-face mesh into a display list, per render mode.
void BM_CompileScene1500Faces(benchmark::State& state) {
    if (!GlContext::get()) {
        state.SkipWithError("no GL context (run under xvfb-run)");
        return;
    }
    GridScene grid(static_cast<int>(state.range(0)));
    MeshScene& scene = *grid.scene;
    const GLuint list = glGenLists(1);
    for (auto _ : state) {
        glNewList(list, GL_COMPILE);
        glInitNames();
        glPushName(0);
        scene.Draw();
        glEndList();
        glFinish();
    }
    glDeleteLists(list, 1);
}
BENCHMARK(BM_CompileScene1500Faces)
    ->Arg(kModeWireframe)
    ->Arg(kModeTextured)
    ->Arg(kModeShine)
    ->Arg(kModePointsWire)
    ->Unit(benchmark::kMillisecond);

// One frame into 1280 x 960 pixels: clear, projection, replay of the compiled
// scene, finish.
void BM_SceneFrame1500Faces(benchmark::State& state) {
    if (!GlContext::get()) {
        state.SkipWithError("no GL context (run under xvfb-run)");
        return;
    }
    GridScene grid(static_cast<int>(state.range(0)));
    MeshScene& scene = *grid.scene;
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glInitNames();
    glPushName(0);
    scene.Draw();
    glEndList();
    // A render window's drawing panel of 1280 x 960 device pixels.
    QOpenGLFramebufferObject target(1280, 960, QOpenGLFramebufferObject::Depth);
    target.bind();
    glViewport(0, 0, 1280, 960);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CW);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45, 1280.0 / 960.0, 0.1, 100);
        glTranslated(0, 0, -12);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glCallList(list);
        glFinish();
    }
    target.release();
    glDeleteLists(list, 1);
}
BENCHMARK(BM_SceneFrame1500Faces)
    ->Arg(kModeWireframe)
    ->Arg(kModeTextured)
    ->Arg(kModeShine)
    ->Unit(benchmark::kMillisecond);

} // namespace
