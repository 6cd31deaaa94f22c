// The shared import path and the files other tools write: a corpus of DXF
// drawings written by ezdxf, Metasequoia documents laid out as Metasequoia 3
// and 4 write them and OBJ files, vertex order through the DXF and OBJ round
// trips, scale and fit, hostile numbers and inputs that are not regular files.
#include "document/bounds.h"
#include "interchange/dxf.h"
#include "interchange/import_report.h"
#include "interchange/mqo_document.h"
#include "interchange/obj_model.h"
#include "interchange/polygon_split.h"
#include "interchange/zip_member.h"
#include "test_util.h"

#include <sys/stat.h>

#include <cmath>
#include <random>

using namespace kavlen;
using namespace kavlen::test;

namespace {

const std::filesystem::path kCorpus = std::filesystem::path(KAVLEN_TEST_SOURCE_DIR) / "corpus";

std::vector<std::uint8_t> packageBytes(const Package& wad) {
    std::array<std::uint32_t, kMaxMeshPointers> pointers{};
    std::uint32_t words = 0;
    return serializeWad(wad, pointers, words);
}

std::string refusedBecause(const std::string& file, const std::string& holds) {
    return noFacesMessage(file, holds);
}

ImportResult importFile(Package& wad, const std::filesystem::path& file,
                        const ImportOptions& options = {}) {
    const auto kind = file.extension();
    if (kind == ".dxf")
        return importDxf(wad, 0, file, options);
    if (kind == ".obj")
        return importObj(wad, 0, file, options);
    return importMqo(wad, 0, file, options);
}

// The mesh as an OBJ file as programs that renumber vertices write it: the
// vertices that faces use in the reverse of the mesh's order (vertices without
// faces left out, as assimp does); faces in mesh order, winding and axes turned
// as the import turns them back.
std::string reversedObj(const Mesh& m) {
    std::vector<int> fileIndex(m.vertexCount, 0);
    for (int f = 0; f < m.faceCount; ++f)
        for (int k = 0; k < m.faces[std::size_t(f)].cornerCount(); ++k)
            fileIndex[m.faces[std::size_t(f)].vertexIndex[std::size_t(k)]] = 1;
    std::string text;
    int written = 0;
    for (int i = m.vertexCount; i-- > 0;) {
        if (!fileIndex[std::size_t(i)])
            continue;
        const MeshVertex& v = m.vertices[std::size_t(i)];
        text += "v " + std::to_string(v.x) + " " + std::to_string(-v.y) + " " +
                std::to_string(-v.z) + "\n";
        fileIndex[std::size_t(i)] = ++written;
    }
    for (int f = 0; f < m.faceCount; ++f) {
        const MeshFace& face = m.faces[std::size_t(f)];
        const auto at = [&](int k) { return " " + std::to_string(fileIndex[face.vertexIndex[k]]); };
        text += "f" + at(2) + at(1) + at(0) + (face.shape == kShapeQuad ? at(3) : "") + "\n";
    }
    return text;
}

} // namespace

// Each file as another tool wrote it, with the counts an independent reader gives
// (ezdxf for the drawings: see corpus/make_dxf_corpus.py); refusals leave the
// package byte-identical.
TEST(ImportCorpus, FilesFromOtherToolsImportWithTheirCounts) {
    struct Case {
        const char* file;
        bool imported;
        int vertices, faces;
        Messages messages;
        int firstTexture = -1; // texture word of face 0 when checked
    };
    const std::string split = "5 faces read: 2 faces of 5 or more points were split into "
                              "triangles; 1 face of fewer than 3 points was left out.";
    const Case cases[] = {
        {"polyface_cube_r12.dxf", true, 8, 6, {}, 3},
        {"polyface_pyramid_r2018.dxf", true, 9, 6, {}, std::uint16_t(-2)},
        // Entities on layer 0 in a block take the inserting entity's layer.
        {"block_insert_r2000.dxf", true, 8, 6, {}, 4},
        {"3dface_r2010.dxf", true, 4, 2, {}, 0x6001},
        {"lines_points_r2013.dxf",
         false,
         0,
         0,
         {{MessageKind::Error,
           refusedBecause("lines_points_r2013.dxf",
                          "It holds only LINE, POINT and POLYLINE entities.")}}},
        {"polyface_cube_binary.dxf",
         false,
         0,
         0,
         {{MessageKind::Error, refusedBecause("polyface_cube_binary.dxf",
                                              "It is a binary DXF; save it as an ASCII DXF.")}}},
        {"mq4_materialex2_polygons.mqo", true, 11, 9, {{MessageKind::Information, split}}, 1},
        {"mq4_compressed.mqoz", true, 11, 9, {{MessageKind::Information, split}}, 1},
        {"mq3_mirror_thumbnail.mqo",
         true,
         14,
         4,
         {{MessageKind::Information, "More than one visible object"}},
         3},
        {"hidden_only.mqo",
         false,
         0,
         0,
         {{MessageKind::Error,
           refusedBecause("hidden_only.mqo", "It has no vertices in visible objects.")}}},
        {"../obj_corpus/ngons.obj",
         true,
         14,
         11,
         {{MessageKind::Information,
           "3 faces read: 2 faces of 5 or more points were split into 10 triangles."}}},
        {"../obj_corpus/demo9_assimp.obj", true, 15, 12, {}},
    };
    for (const Case& c : cases) {
        auto wad = makeDemoPackage();
        const std::vector<std::uint8_t> before = packageBytes(*wad);
        const std::filesystem::path file = kCorpus / c.file;
        const ImportResult r = importFile(*wad, file);
        if (file.extension() == ".mqoz" && !canReadZipArchives()) {
            // A build without libzip (the Windows one) refuses it and says why.
            EXPECT_FALSE(r.imported);
            ASSERT_EQ(r.messages.size(), 1u);
            EXPECT_NE(r.messages[0].text.find("this build cannot unpack zip archives"),
                      std::string::npos)
                << r.messages[0].text;
            EXPECT_EQ(packageBytes(*wad), before);
            continue;
        }
        EXPECT_EQ(r.imported, c.imported) << c.file;
        EXPECT_EQ(r.messages, c.messages) << c.file;
        if (!c.imported) {
            EXPECT_EQ(packageBytes(*wad), before) << c.file;
            continue;
        }
        const Mesh& m = wad->meshes[0];
        EXPECT_EQ(m.vertexCount, c.vertices) << c.file;
        EXPECT_EQ(m.faceCount, c.faces) << c.file;
        if (c.firstTexture >= 0) {
            EXPECT_EQ(m.faces[0].texture, c.firstTexture) << c.file;
        }
        EXPECT_EQ((Sphere{m.sphereX, m.sphereY, m.sphereZ, m.sphereRadius}), *boundingSphere(m))
            << c.file;
    }
}

// Metasequoia mirrors about the object's local origin; a connected mirror shares
// the points within mirror_dis of the plane, and the mirrored faces turn the
// other way round.
TEST(ImportCorpus, MirrorObjectsComeInWithBothHalves) {
    auto wad = smallPackage();
    ASSERT_TRUE(importMqo(*wad, 0, kCorpus / "mq3_mirror_thumbnail.mqo", {}).imported);
    const Mesh& m = wad->meshes[0];
    // Object "half": file x 10..50, mirrored to -50..-10 (mesh x is minus file x).
    EXPECT_EQ(m.vertices[0].x, -10);
    EXPECT_EQ(m.vertices[4].x, 10);
    EXPECT_EQ(m.faces[1].vertexIndex, (std::array<std::uint16_t, 4>{7, 6, 5, 4}));
    // Object "seam" (vertices from 8): corners 0 and 3 lie on the plane and are shared.
    EXPECT_EQ(m.faces[3].vertexIndex[0], 11); // reversed: corner 3 first
    EXPECT_EQ(m.faces[3].vertexIndex[3], 8);
    EXPECT_EQ(m.faces[3].vertexIndex[1], 13);
    EXPECT_EQ(m.vertices[13].x, 40);
}

// Export then import keeps every vertex index, also when vertices share a point
// (seams) or have no face, for the demo package's meshes and random meshes:
// through DXF, which has no vertex list, and through OBJ files that list the
// vertices in reverse and leave out those without a face.
TEST(ImportVertexOrder, RoundTripsKeepVertexIndices) {
    std::vector<Mesh> meshes;
    auto demo = makeDemoPackage();
    for (int slot = 0; slot < demo->meshCount; ++slot)
        meshes.push_back(demo->meshes[std::size_t(slot)]);
    std::mt19937 random(7);
    for (int n = 0; n < 20; ++n) {
        Mesh m;
        const int vertices = 3 * (3 + int(random() % 20));
        for (int k = 0; k < vertices; ++k) // a small grid, so that points repeat
            addVertex(m, int(random() % 4) * 50, int(random() % 4) * 50, int(random() % 3) * 50);
        std::vector<int> order(static_cast<std::size_t>(vertices));
        for (int k = 0; k < vertices; ++k)
            order[std::size_t(k)] = k;
        std::shuffle(order.begin(), order.end(), random);
        // Every vertex in a face, or in every other mesh three without a face.
        const std::size_t inFaces = order.size() - (n % 2 ? 3 : 0);
        for (std::size_t k = 0; k + 2 < inFaces; k += 3)
            addTriangle(m, order[k], order[k + 1], order[k + 2], 0);
        meshes.push_back(m);
    }
    ASSERT_GT(meshes.size(), 20u);
    for (std::size_t n = 0; n < 2 * meshes.size(); ++n) {
        const Mesh& original = meshes[n / 2];
        auto wad = smallPackage();
        wad->meshes[0] = original;
        const ImportResult r = n % 2 ? importObjText(*wad, 0, reversedObj(original), {}, {})
                                     : importDxfText(*wad, 0, buildDxf(original), {});
        ASSERT_TRUE(r.imported) << n << ": " << r.messages.at(0).text;
        const Mesh& back = wad->meshes[0];
        ASSERT_EQ(back.vertexCount, original.vertexCount) << n;
        for (int k = 0; k < original.vertexCount; ++k) {
            const MeshVertex &a = original.vertices[std::size_t(k)],
                             &b = back.vertices[std::size_t(k)];
            EXPECT_EQ(std::tie(a.x, a.y, a.z), std::tie(b.x, b.y, b.z)) << n << " vertex " << k;
        }
        ASSERT_EQ(back.faceCount, original.faceCount);
        for (int f = 0; f < original.faceCount; ++f) {
            const MeshFace &a = original.faces[std::size_t(f)], &b = back.faces[std::size_t(f)];
            for (int k = 0; k < a.cornerCount(); ++k)
                EXPECT_EQ(b.vertexIndex[std::size_t(k)], a.vertexIndex[std::size_t(k)])
                    << n << " face " << f;
        }
    }
}

// A model in metres collapses at scale 1 and one in millimetres does not fit:
// both are refused with a scale that works, and import at that scale or with
// fit; the same for a DXF drawing and an OBJ file (whose own mapping is 100
// times smaller).
TEST(ImportScale, RefusalsSuggestAScaleThatWorks) {
    // Ten squares of `side` in a row, as DXF 3DFACEs or as OBJ quads.
    const auto squares = [](double side, bool obj) {
        std::string dxf, vertices, faces;
        for (int i = 0; i < 10; ++i) {
            const double x = i * side * 2;
            dxf += "  0\n3DFACE\n  8\nL\n";
            const double xs[4] = {x, x + side, x + side, x};
            const double ys[4] = {0, 0, side, side};
            for (int k = 0; k < 4; ++k) {
                dxf += " 1" + std::to_string(k) + "\n" + std::to_string(xs[k]) + "\n 2" +
                       std::to_string(k) + "\n" + std::to_string(ys[k]) + "\n 3" +
                       std::to_string(k) + "\n0\n";
                vertices +=
                    "v " + std::to_string(xs[k] * 100) + " " + std::to_string(ys[k] * 100) + " 0\n";
            }
            faces += "f";
            for (int k = 1; k <= 4; ++k)
                faces += " " + std::to_string(4 * i + k);
            faces += "\n";
        }
        return obj ? vertices + faces
                   : "  0\nSECTION\n  2\nENTITIES\n" + dxf + "  0\nENDSEC\n  0\nEOF\n";
    };
    struct Case {
        double side;
        ImportOptions options;
        std::string refusal; // start of the refusal (NAME: the file), empty when it imports
    };
    const double metres = 0.002, millimetres = 500;
    const Case cases[] = {
        {metres, {}, "At scale 1, 10 of 10 faces of NAME collapse to zero area"},
        {millimetres, {}, "At scale 1 the coordinates of NAME reach 950000,"},
        {metres, {true, 16, 100}, ""},
        {millimetres, {true, 16, 0.01}, ""},
        {millimetres, {true, 16, 1, true}, ""},
        {metres, {true, 16, -1}, "The scale must be a number above 0, not -1."},
    };
    for (const bool obj : {false, true}) {
        const std::string name = obj ? "The file" : "The drawing";
        const auto import = [obj](Package& wad, const std::string& text, ImportOptions options) {
            return obj ? importObjText(wad, 0, text, {}, options)
                       : importDxfText(wad, 0, text, options);
        };
        for (const Case& c : cases) {
            const std::string text = squares(c.side, obj);
            std::string refusal = c.refusal;
            if (const auto at = refusal.find("NAME"); at != std::string::npos)
                refusal.replace(at, 4, name);
            auto wad = smallPackage();
            const std::string before = meshDump(wad->meshes[0]);
            const ImportResult r = import(*wad, text, c.options);
            if (refusal.empty()) {
                EXPECT_TRUE(r.imported) << name << ": " << r.messages.at(0).text;
                continue;
            }
            ASSERT_FALSE(r.imported) << name;
            ASSERT_EQ(r.messages.size(), 1u);
            const std::string& message = r.messages[0].text;
            EXPECT_EQ(message.substr(0, refusal.size()), refusal) << message;
            EXPECT_EQ(meshDump(wad->meshes[0]), before);
            // The suggested scale imports.
            const std::size_t at = message.find("The scale ");
            if (at == std::string::npos || c.options.scale <= 0)
                continue;
            ImportOptions suggested;
            suggested.scale = std::stod(message.substr(at + 10));
            EXPECT_TRUE(import(*wad, text, suggested).imported) << message;
        }
        // Fit gives the model the largest side of the mesh it replaces (40 units).
        auto wad = smallPackage();
        ASSERT_TRUE(import(*wad, squares(millimetres, obj), {true, 16, 1, true}).imported) << name;
        const auto box = *meshExtents(wad->meshes[0]);
        EXPECT_EQ(box[1] - box[0], 40) << name;
    }
}

// The sanitizer build catches undefined behaviour on these numbers.
TEST(ImportHostileNumbers, SmallestIntsAndHugeCountsAreRangeChecked) {
    auto wad = smallPackage();
    const std::string material =
        "Metasequoia Document\nFormat Text Ver 1.0\nMaterial 2 {\n\t\"-2147483648_0_0\"\n"
        "\t\"5_-2147483648_-2147483648\"\n}\nObject \"o\" {\n\tvisible 15\n\tvertex 3 {\n"
        "\t\t0 0 0\n\t\t10 0 0\n\t\t0 10 0\n\t}\n\tface 2 {\n\t\t3 V(0 1 2) M(0)\n"
        "\t\t3 V(0 2 1) M(1)\n\t}\n}\nEof\n";
    ImportResult r = importMqoBytes(*wad, 0, material, {});
    ASSERT_TRUE(r.imported) << r.messages.at(0).text;
    EXPECT_EQ(wad->meshes[0].faces[0].texture, 0); // out of range: sample 0, not mirrored
    EXPECT_EQ(wad->meshes[0].faces[1].texture, 5);
    EXPECT_EQ(wad->meshes[0].faces[1].attributes, 0);

    const std::string layer = "  0\nSECTION\n  2\nENTITIES\n  0\n3DFACE\n  8\n"
                              "TEXTUR_0001_0_-2147483648\n 10\n0\n 20\n0\n 30\n0\n 11\n1\n 21\n0\n"
                              " 31\n0\n 12\n0\n 22\n1\n 32\n0\n  0\nENDSEC\n  0\nEOF\n";
    r = importDxfText(*wad, 0, layer, {});
    ASSERT_TRUE(r.imported);
    EXPECT_EQ(wad->meshes[0].faces[0].attributes, 127);

    // Counts and indices past int and past the file.
    const std::string counts[] = {
        "Metasequoia Document\nFormat Text Ver 1.0\nObject \"o\" {\n\tvisible 15\n"
        "\tvertex 99999999999 {\n\t\t0 0 0\n\t\t1 0 0\n\t\t0 1 0\n\t}\n\tface 1 {\n"
        "\t\t2147483647 V(0 1 2)\n\t}\n}\n",
        "Metasequoia Document\nFormat Text Ver 1.0\nObject \"o\" {\n\tvisible 15\n"
        "\tvertex 3 {\n\t\t0 0 0\n\t\t1 0 0\n\t\t0 1 0\n\t}\n\tface 1 {\n"
        "\t\t3 V(0 1 -2147483648)\n\t}\n}\n",
    };
    for (const std::string& text : counts)
        EXPECT_FALSE(importMqoBytes(*wad, 0, text, {}).imported);
    r = importDxfText(*wad, 0,
                      "  0\nSECTION\n  2\nENTITIES\n  0\nPOLYLINE\n 70\n64\n  0\nVERTEX\n 70\n192\n"
                      "  0\nVERTEX\n 70\n128\n 71\n-2147483648\n 72\n1\n 73\n1\n  0\nSEQEND\n"
                      "  0\nENDSEC\n  0\nEOF\n",
                      {});
    EXPECT_FALSE(r.imported);
}

// Splits keep the polygon's area, also for concave ones, and its winding.
TEST(PolygonSplit, TrianglesCoverTheConcavePolygonOnce) {
    const std::vector<std::vector<Point3>> polygons = {
        {{0, 0, 0}, {200, 0, 0}, {200, 100, 0}, {100, 100, 0}, {100, 200, 0}, {0, 200, 0}},
        {{0, 0, 0}, {0, 0, 4}, {0, 1, 1}, {0, 4, 0}},              // concave, in the yz plane
        {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {2, 1, 0}, {0, 4, 0}},   // arrow head
        {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {1.5, 1, 0}}, // collinear run
    };
    const auto area = [](const Point3& a, const Point3& b, const Point3& c) {
        const double u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const double v[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        const double n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                             u[0] * v[1] - u[1] * v[0]};
        return n[0] + n[1] + n[2]; // signed along (1, 1, 1): all test polygons face it
    };
    for (const auto& p : polygons) {
        const auto triangles = splitPolygon(p);
        ASSERT_EQ(triangles.size(), p.size() - 2);
        double fan = 0, sum = 0;
        for (std::size_t k = 1; k + 1 < p.size(); ++k)
            fan += area(p[0], p[k], p[k + 1]);
        for (const auto& t : triangles) {
            const double a = area(p[t[0]], p[t[1]], p[t[2]]);
            EXPECT_GE(a * fan, 0) << "a triangle turns against the polygon";
            sum += a;
        }
        EXPECT_NEAR(sum, fan, 1e-9);
    }
}

// Folders, FIFOs and oversized files are refused before anything is read.
TEST(ImportInputs, OnlyRegularFilesOfASensibleSize) {
    const auto dir = tempDir("inputs");
    std::vector<const char*> names = {"folder.mqo", "big.dxf"};
#ifndef _WIN32 // FIFOs
    ASSERT_EQ(mkfifo((dir / "fifo.dxf").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo((dir / "fifo.mqo").c_str(), 0600), 0);
    names.insert(names.end(), {"fifo.dxf", "fifo.mqo"});
#endif
    std::filesystem::create_directory(dir / "folder.mqo");
    {
        std::ofstream big(dir / "big.dxf", std::ios::binary);
        big.seekp(std::streamoff(kDxfMaxFileBytes));
        big.put('\n');
    }
    auto wad = smallPackage();
    const std::string before = meshDump(wad->meshes[0]);
    for (const char* name : names) {
        const std::filesystem::path p = dir / name;
        const ImportResult r =
            p.extension() == ".dxf" ? importDxf(*wad, 0, p, {}) : importMqo(*wad, 0, p, {});
        EXPECT_FALSE(r.imported) << name;
        ASSERT_EQ(r.messages.size(), 1u) << name;
        EXPECT_EQ(r.messages[0].kind, MessageKind::Error);
        EXPECT_EQ(r.messages[0].text.rfind("Cannot open ", 0), 0u) << r.messages[0].text;
    }
    EXPECT_EQ(meshDump(wad->meshes[0]), before);
}
