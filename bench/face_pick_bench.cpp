// Picking under the mouse and the click that follows, over meshes of 1500 faces
// seen through the render window's own projection.
#include "document/demo_package.h"
#include "meshedit/face_click.h"
#include "meshedit/face_pick.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

namespace {

using namespace kavlen;

// A closed sphere of radius 500 model units: 28 bands of 50 quads and a fan of 50
// triangles at each pole, 1500 faces on 1452 vertices, wound to face outwards.
void makeSphere(Mesh& m) {
    constexpr int kSlices = 50, kRings = 29;
    const auto put = [&](double x, double y, double z) {
        m.vertices[m.vertexCount++] = {std::int16_t(std::lround(x)), std::int16_t(std::lround(y)),
                                       std::int16_t(std::lround(z))};
        return m.vertexCount - 1;
    };
    const int top = put(0, -500, 0);
    for (int r = 1; r <= kRings; ++r) {
        const double phi = r * std::numbers::pi / (kRings + 1);
        for (int s = 0; s < kSlices; ++s) {
            const double theta = s * 2 * std::numbers::pi / kSlices;
            put(500 * std::sin(phi) * std::cos(theta), -500 * std::cos(phi),
                500 * std::sin(phi) * std::sin(theta));
        }
    }
    const int bottom = put(0, 500, 0);
    const auto ring = [&](int r, int s) { return 1 + (r - 1) * kSlices + (s % kSlices); };
    const auto face = [&](std::initializer_list<int> corners) {
        MeshFace& f = m.faces[m.faceCount++];
        f.shape = corners.size() == 4 ? kShapeQuad : kShapeTriangle;
        int c = 0;
        for (int v : corners)
            f.vertexIndex[c++] = std::uint16_t(v);
        f.visible = 1;
    };
    for (int s = 0; s < kSlices; ++s)
        face({top, ring(1, s + 1), ring(1, s)});
    for (int r = 1; r < kRings; ++r)
        for (int s = 0; s < kSlices; ++s)
            face({ring(r, s), ring(r, s + 1), ring(r + 1, s + 1), ring(r + 1, s)});
    for (int s = 0; s < kSlices; ++s)
        face({bottom, ring(kRings, s), ring(kRings, s + 1)});
    m.normalCount = static_cast<std::int16_t>(m.vertexCount);
}

// 1500 squares stacked in depth, every one under the centre of the view: the
// worst case, where every face has to be clipped to the pick region. 375 squares of
// four vertices, each drawn as four faces starting at a different corner.
void makeStack(Mesh& m) {
    for (int level = 0; level < 375; ++level) {
        const auto z = std::int16_t(-2 * level);
        m.vertices[m.vertexCount++] = {-400, -400, z};
        m.vertices[m.vertexCount++] = {400, -400, z};
        m.vertices[m.vertexCount++] = {400, 400, z};
        m.vertices[m.vertexCount++] = {-400, 400, z};
    }
    for (int f = 0; f < 1500; ++f) {
        MeshFace& face = m.faces[m.faceCount++];
        face.shape = kShapeQuad;
        const int base = 4 * (f % 375), turn = f / 375;
        for (int c = 0; c < 4; ++c)
            face.vertexIndex[c] = std::uint16_t(base + (c + turn) % 4);
        face.visible = 1;
    }
}

// The render window's view of a 1000 x 800 pixel panel, turned a little so the
// sphere shows its side.
PickView windowView() {
    PickView view;
    view.viewportWidth = 1000;
    view.viewportHeight = 800;
    view.projection =
        multiply(perspectiveMatrix(45, 1000.0 / 800.0, 0.1, 100), translationMatrix(0, 0, -14));
    view.modelview = multiply(rotationMatrix(20, 1, 0, 0), rotationMatrix(30, 0, 1, 0));
    return view;
}

struct Scene {
    std::unique_ptr<Package> wad = makeDemoPackage();
    int slot = 0;
    explicit Scene(void (*build)(Mesh&)) {
        slot = wad->meshCount;
        Mesh& m = wad->appendMeshSlot();
        build(m);
    }
    const Mesh& mesh() const { return wad->meshes[slot]; }
};

void pickBench(benchmark::State& state, void (*build)(Mesh&), RenderModeEntry mode,
               PickCursor cursor) {
    const Scene scene(build);
    const PickView view = windowView();
    const PickHit first = pickInMesh(scene.mesh(), mode, view, cursor);
    for (auto _ : state)
        benchmark::DoNotOptimize(pickInMesh(scene.mesh(), mode, view, cursor));
    state.SetLabel(first.found() ? "hit " + std::to_string(first.index) : "no hit");
}

void BM_PickSphereFace(benchmark::State& state) {
    pickBench(state, makeSphere, RenderModeEntry::Textured, {500, 400});
}
void BM_PickSphereBackground(benchmark::State& state) {
    pickBench(state, makeSphere, RenderModeEntry::Textured, {20, 20});
}
void BM_PickStackedFaces(benchmark::State& state) {
    pickBench(state, makeStack, RenderModeEntry::Solid, {500, 400});
}
// The cursor right on the vertex drawn nearest the middle of the view.
PickCursor onVertexNearTheMiddle(void (*build)(Mesh&)) {
    const Scene scene(build);
    const PickView view = windowView();
    PickCursor best{0, 0};
    double bestDistance = 1e300;
    for (int i = 0; i < scene.mesh().vertexCount; ++i) {
        const auto p = projectToWindow(viewUnits(scene.mesh().vertices[i]), view);
        const double d = p ? std::hypot(p->x - 500, p->y - 400) : 1e300;
        if (d < bestDistance) {
            bestDistance = d;
            best = {p->x - 0.5, p->y - 0.5};
        }
    }
    return best;
}
void BM_PickSphereVertexPoints(benchmark::State& state) {
    pickBench(state, makeSphere, RenderModeEntry::Points, onVertexNearTheMiddle(makeSphere));
}
void BM_PickSphereVertexPointsWire(benchmark::State& state) {
    pickBench(state, makeSphere, RenderModeEntry::PointsWire, onVertexNearTheMiddle(makeSphere));
}

// The whole click without drawing: pick, then apply sample, opacity and shine.
void BM_PickAndApply(benchmark::State& state) {
    Scene scene(makeSphere);
    const PickView view = windowView();
    FaceClickInput in;
    in.mode = RenderModeEntry::Textured;
    in.currentSample = 1;
    in.opacity = OpacityChoice::SemiTransparent;
    in.shining = 5;
    for (auto _ : state) {
        const PickHit hit =
            pickInCurrentMesh(*scene.wad, scene.slot, in.mode, view, PickCursor{500, 400});
        benchmark::DoNotOptimize(clickInView(*scene.wad, scene.slot, hit, in));
    }
}

BENCHMARK(BM_PickSphereFace);
BENCHMARK(BM_PickSphereBackground);
BENCHMARK(BM_PickStackedFaces);
BENCHMARK(BM_PickSphereVertexPoints);
BENCHMARK(BM_PickSphereVertexPointsWire);
BENCHMARK(BM_PickAndApply);

} // namespace
