// Import and export of the interchange formats, texture-set files and normal
// recalculation. With KAVLEN_BENCH_FILES=DIR set, the generated input files are
// also written to DIR so that other readers can be timed on the same files.
#include "document/demo_package.h"
#include "interchange/dxf.h"
#include "interchange/mqo_document.h"
#include "interchange/obj_export.h"
#include "interchange/obj_model.h"
#include "meshedit/lighting.h"
#include "textures/buffered_file.h"
#include "textures/texture_set.h"

#include <array>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

using namespace kavlen;

namespace {

void keepFile(const std::string& name, const std::string& text) {
    if (const char* dir = std::getenv("KAVLEN_BENCH_FILES")) {
        std::filesystem::create_directories(dir);
        std::ofstream(std::filesystem::path(dir) / name, std::ios::binary) << text;
    }
}

std::string dxfFace(const std::string& layer, const double (&c)[4][3]) {
    std::string s = "  0\r\n3DFACE\r\n  8\r\n" + layer + "\r\n";
    for (int k = 0; k < 4; ++k)
        for (int a = 0; a < 3; ++a)
            s += " " + std::to_string(10 * (a + 1) + k) + "\r\n" + std::to_string(c[k][a]) + "\r\n";
    return s;
}

// A sheet of `columns` x `rows` points: one quad per cell on the front, and
// triangles on the back of the first cells until `polygons` faces are written.
std::string gridDxf(int columns, int rows, int polygons) {
    std::string faces;
    int written = 0;
    const auto p = [](int i, int j) {
        return std::array<double, 3>{i * 0.1, j * 0.1, std::sin(i * 0.3) * 0.5};
    };
    for (int pass = 0; pass < 2 && written < polygons; ++pass) {
        for (int j = 0; j + 1 < rows && written < polygons; ++j) {
            for (int i = 0; i + 1 < columns && written < polygons; ++i, ++written) {
                const auto a = p(i, j), b = p(i + 1, j), c = p(i + 1, j + 1), d = p(i, j + 1);
                if (pass == 0) {
                    const double q[4][3] = {{a[0], a[1], a[2]},
                                            {b[0], b[1], b[2]},
                                            {c[0], c[1], c[2]},
                                            {d[0], d[1], d[2]}};
                    faces += dxfFace("TEXTUR_" + std::string(i % 2 ? "0001" : "0002") + "_0_0", q);
                } else {
                    const double t[4][3] = {{a[0], a[1], a[2]},
                                            {c[0], c[1], c[2]},
                                            {b[0], b[1], b[2]},
                                            {b[0], b[1], b[2]}};
                    faces += dxfFace("FLIPED_0003_2_0", t);
                }
            }
        }
    }
    return "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n" + faces + "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
}

// A mesh of 1500 vertices (a 50 x 30 sheet) and 1500 faces (quads and triangles).
Mesh largeMesh() {
    Mesh m;
    for (int j = 0; j < 30; ++j)
        for (int i = 0; i < 50; ++i)
            m.vertices[m.vertexCount++] = {std::int16_t(i * 40 - 1000),
                                           std::int16_t(std::lround(std::sin(i * 0.3) * 200)),
                                           std::int16_t(j * 40 - 600)};
    for (int j = 0; j + 1 < 30 && m.faceCount < 1500; ++j) {
        for (int i = 0; i + 1 < 50 && m.faceCount < 1500; ++i) {
            MeshFace& f = m.faces[std::size_t(m.faceCount++)];
            const auto v = [](int a, int b) { return std::uint16_t(b * 50 + a); };
            if ((i + j) % 3 == 0) {
                f = {kShapeTriangle,
                     {v(i, j), v(i + 1, j + 1), v(i + 1, j), 0},
                     std::uint16_t(0x2000 | (i % 40)),
                     0,
                     1,
                     0};
            } else {
                f = {kShapeQuad,
                     {v(i, j), v(i, j + 1), v(i + 1, j + 1), v(i + 1, j)},
                     std::uint16_t(i % 40),
                     2,
                     1,
                     0};
            }
        }
    }
    while (m.faceCount < 1500) { // close the count with back faces
        MeshFace& f = m.faces[std::size_t(m.faceCount)];
        f = m.faces[std::size_t(m.faceCount - 1400)];
        std::swap(f.vertexIndex[0], f.vertexIndex[1]);
        ++m.faceCount;
    }
    m.normalCount = static_cast<std::int16_t>(m.vertexCount);
    return m;
}

std::string largeObj() {
    const Mesh m = largeMesh();
    std::string s = "# 1500 vertices, 1500 faces\n";
    for (int k = 0; k < m.vertexCount; ++k)
        s += "v " + std::to_string(m.vertices[k].x) + ".25 " + std::to_string(-m.vertices[k].y) +
             ".5 " + std::to_string(-m.vertices[k].z) + ".75\n";
    s += "g sheet\n";
    for (int f = 0; f < m.faceCount; ++f) {
        const MeshFace& face = m.faces[std::size_t(f)];
        s += "f";
        for (int k = face.cornerCount() - 1; k >= 0; --k)
            s += " " + std::to_string(face.vertexIndex[std::size_t(k)] + 1);
        s += "\n";
    }
    return s;
}

std::unique_ptr<Package> packageWithLargeMesh() {
    auto wad = makeDemoPackage();
    wad->meshes[0] = largeMesh();
    return wad;
}

void BM_DxfImport4250PolygonsOver3000Points(benchmark::State& state) {
    const std::string text = gridDxf(100, 30, 4250);
    keepFile("grid-4250.dxf", text);
    auto wad = makeDemoPackage();
    for (auto _ : state) {
        const ImportResult r = importDxfText(*wad, 0, text, {});
        benchmark::DoNotOptimize(r.messages.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}
BENCHMARK(BM_DxfImport4250PolygonsOver3000Points)->Unit(benchmark::kMillisecond);

void BM_DxfImport1450Polygons(benchmark::State& state) {
    const std::string text = gridDxf(39, 38, 1450);
    keepFile("grid-1450.dxf", text);
    auto wad = makeDemoPackage();
    for (auto _ : state) {
        const ImportResult r = importDxfText(*wad, 0, text, {});
        if (!r.imported)
            state.SkipWithError("import refused");
    }
}
BENCHMARK(BM_DxfImport1450Polygons)->Unit(benchmark::kMillisecond);

void BM_DxfExportAndImportOfLargestDemoMesh(benchmark::State& state) {
    auto wad = makeDemoPackage();
    for (auto _ : state) {
        const std::string text = buildDxf(wad->meshes[6]);
        const ImportResult r = importDxfText(*wad, 6, text, {});
        benchmark::DoNotOptimize(r.imported);
    }
}
BENCHMARK(BM_DxfExportAndImportOfLargestDemoMesh)->Unit(benchmark::kMicrosecond);

// A hostile drawing: a layer table of 150,000 entries (about 8.4 MB) and 1000
// faces each on a layer of its own. Layer lookups must stay linear overall.
void BM_DxfImport150000Layers(benchmark::State& state) {
    std::string text = "  0\r\nSECTION\r\n  2\r\nTABLES\r\n  0\r\nTABLE\r\n  2\r\nLAYER\r\n";
    for (int i = 0; i < 150000; ++i)
        text += "  0\r\nLAYER\r\n  2\r\nTEXTUR_" + std::to_string(1000 + i % 9000) + "_0_" +
                std::to_string(i) + "\r\n 70\r\n0\r\n 62\r\n7\r\n  6\r\nCONTINUOUS\r\n";
    text += "  0\r\nENDTAB\r\n  0\r\nENDSEC\r\n  0\r\nSECTION\r\n  2\r\nENTITIES\r\n";
    for (int i = 0; i < 1000; ++i) {
        const double x = i % 40, y = double(i / 40);
        const double c[4][3] = {{x, y, 0}, {x + 1, y, 0}, {x + 1, y + 1, 0}, {x, y + 1, 0}};
        text += dxfFace("TEXTUR_0001_0_" + std::to_string(i * 150), c);
    }
    text += "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
    keepFile("layers-150000.dxf", text);
    auto wad = makeDemoPackage();
    for (auto _ : state) {
        const ImportResult r = importDxfText(*wad, 0, text, {});
        if (!r.imported)
            state.SkipWithError("import refused");
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}
BENCHMARK(BM_DxfImport150000Layers)->Unit(benchmark::kMillisecond);

void BM_DxfExport1500Faces(benchmark::State& state) {
    const Mesh m = largeMesh();
    for (auto _ : state)
        benchmark::DoNotOptimize(buildDxf(m));
}
BENCHMARK(BM_DxfExport1500Faces)->Unit(benchmark::kMicrosecond);

void BM_MqoImport1500(benchmark::State& state) {
    auto wad = packageWithLargeMesh();
    const std::string text = buildMqo(wad->meshes[0], 0);
    keepFile("sheet-1500.mqo", text);
    for (auto _ : state) {
        const ImportResult r = importMqoBytes(*wad, 0, text, {});
        if (!r.imported)
            state.SkipWithError("import refused");
    }
}
BENCHMARK(BM_MqoImport1500)->Unit(benchmark::kMicrosecond);

void BM_MqoExport1500(benchmark::State& state) {
    const Mesh m = largeMesh();
    for (auto _ : state)
        benchmark::DoNotOptimize(buildMqo(m, 0));
}
BENCHMARK(BM_MqoExport1500)->Unit(benchmark::kMicrosecond);

void BM_MqoExportAndImportOfLargestDemoMesh(benchmark::State& state) {
    auto wad = makeDemoPackage();
    for (auto _ : state) {
        const std::string text = buildMqo(wad->meshes[6], 6);
        benchmark::DoNotOptimize(importMqoBytes(*wad, 6, text, {}).imported);
    }
}
BENCHMARK(BM_MqoExportAndImportOfLargestDemoMesh)->Unit(benchmark::kMicrosecond);

void BM_ObjImport1500(benchmark::State& state) {
    const std::string text = largeObj();
    keepFile("sheet-1500.obj", text);
    auto wad = makeDemoPackage();
    for (auto _ : state) {
        const ImportResult r = importObjText(*wad, 0, text, {}, {});
        if (!r.imported)
            state.SkipWithError("import refused");
    }
}
BENCHMARK(BM_ObjImport1500)->Unit(benchmark::kMicrosecond);

// One face line of 1,000,000 corners (about 7 MB): read in one pass and refused
// (more than 1500 triangles) before any split.
void BM_ObjFaceOfAMillionCorners(benchmark::State& state) {
    std::string text = "v 0 0 0\nv 10 0 0\nv 0 10 0\nf";
    for (int i = 0; i < 1000000; ++i)
        text += i % 3 == 0 ? " 1" : i % 3 == 1 ? " 2" : " 3";
    text += "\n";
    auto wad = makeDemoPackage();
    for (auto _ : state) {
        const ImportResult r = importObjText(*wad, 0, text, {}, {});
        if (r.imported)
            state.SkipWithError("a face of a million corners was imported");
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}
BENCHMARK(BM_ObjFaceOfAMillionCorners)->Unit(benchmark::kMillisecond);

// Export of the largest demo mesh with its material file text, then import.
void BM_ObjExportAndImportOfLargestDemoMesh(benchmark::State& state) {
    auto wad = makeDemoPackage();
    for (auto _ : state) {
        const ObjFiles files = buildObj(*wad, {{6, {0, 0, 0}, objObjectName(6)}}, "mesh");
        const MtlSource mtl = [&files](const std::string&) { return files.mtl; };
        benchmark::DoNotOptimize(importObjText(*wad, 6, files.obj, mtl, {}).imported);
    }
}
BENCHMARK(BM_ObjExportAndImportOfLargestDemoMesh)->Unit(benchmark::kMicrosecond);

std::unique_ptr<Package> fullPackage() {
    auto wad = makeDemoPackage();
    wad->texInfoCount = kMaxTexInfos;
    const Mesh sphere = wad->meshes[6];
    wad->meshes.resize(kMaxMeshes, sphere);
    wad->meshCount = kMaxMeshes;
    return wad;
}

void BM_TavSaveDemo(benchmark::State& state) {
    auto wad = makeDemoPackage();
    const auto file = std::filesystem::temp_directory_path() / "kavlen-bench-demo.tav";
    for (auto _ : state)
        benchmark::DoNotOptimize(saveTextureSet(*wad, file).ok);
}
BENCHMARK(BM_TavSaveDemo)->Unit(benchmark::kMicrosecond);

// Two sets that differ in one sample, restored in turn: each restore changes the package.
std::array<std::filesystem::path, 2> alternateTextureSets(Package& wad, const char* name) {
    const auto dir = std::filesystem::temp_directory_path();
    const std::array<std::filesystem::path, 2> files = {
        dir / (std::string("kavlen-bench-") + name + "-a.tav"),
        dir / (std::string("kavlen-bench-") + name + "-b.tav")};
    saveTextureSet(wad, files[0]);
    ++wad.texInfos[0].x;
    saveTextureSet(wad, files[1]);
    return files;
}

bool yes(const UserQuestion&) {
    return true;
}

void BM_TavRestoreDemo(benchmark::State& state) {
    auto wad = makeDemoPackage();
    const auto files = alternateTextureSets(*wad, "demo");
    std::size_t turn = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(restoreTextureSet(*wad, files[turn++ % 2], yes).ok);
}
BENCHMARK(BM_TavRestoreDemo)->Unit(benchmark::kMicrosecond);

void BM_TavSaveFullPackage(benchmark::State& state) {
    auto wad = fullPackage();
    const auto file = std::filesystem::temp_directory_path() / "kavlen-bench-full.tav";
    for (auto _ : state)
        benchmark::DoNotOptimize(saveTextureSet(*wad, file).ok);
    state.counters["content_bytes"] = double(buildTextureSetContent(*wad).size());
    state.counters["file_bytes"] = double(std::filesystem::file_size(file));
}
BENCHMARK(BM_TavSaveFullPackage)->Unit(benchmark::kMillisecond);

void BM_TavRestoreFullPackage(benchmark::State& state) {
    auto wad = fullPackage();
    const auto files = alternateTextureSets(*wad, "full");
    std::size_t turn = 0;
    for (auto _ : state)
        if (!restoreTextureSet(*wad, files[turn++ % 2], yes).ok)
            state.SkipWithError("restore refused");
}
BENCHMARK(BM_TavRestoreFullPackage)->Unit(benchmark::kMillisecond);

void BM_RecalcNormals1500(benchmark::State& state) {
    Mesh m = largeMesh();
    const bool averaged = state.range(0) != 0;
    for (auto _ : state) {
        recalcNormals(m, averaged);
        benchmark::DoNotOptimize(m.normals[0].x);
    }
}
BENCHMARK(BM_RecalcNormals1500)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

} // namespace
