#include "document/bounds.h"
#include "document/demo_package.h"
#include "interchange/obj_export.h"
#include "interchange/obj_material_name.h"
#include "interchange/obj_mesh_builder.h"
#include "interchange/obj_model.h"
#include "interchange/obj_moveable.h"
#include "interchange/polygon_split.h"
#include "test_util.h"

#include <cmath>
#include <map>
#include <random>

using namespace kavlen;
using namespace kavlen::test;

namespace {

const ImportOptions kMoveable{true, 16};
const ImportOptions kStatic{false, 16};

const std::string kTriangle = "v 0 0 0\nv 10 0 0\nv 0 10 0\n";
const std::string kUnable = "OBJ importer unable to load file.\r\rError message is:\r";
const std::string kEmpty =
    "The file holds no faces that can be imported; the mesh was not changed.";

ImportResult import(Package& wad, const std::string& text, const ImportOptions& options = kMoveable,
                    const MtlSource& mtl = {}) {
    return importObjText(wad, 0, text, mtl, options);
}

std::string firstMessage(const ImportResult& r) {
    return r.messages.empty() ? std::string() : r.messages.front().text;
}

std::vector<std::uint8_t> packageBytes(const Package& wad) {
    std::array<std::uint32_t, kMaxMeshPointers> pointers{};
    std::uint32_t words = 0;
    return serializeWad(wad, pointers, words);
}

// The corner positions of each face with its texture word and attributes, so that
// meshes whose vertices are numbered differently can be compared.
using FaceKey = std::vector<int>;
std::multimap<FaceKey, std::pair<std::uint16_t, std::uint16_t>> facesByPosition(const Mesh& m) {
    std::multimap<FaceKey, std::pair<std::uint16_t, std::uint16_t>> out;
    for (int f = 0; f < m.faceCount; ++f) {
        const MeshFace& face = m.faces[std::size_t(f)];
        FaceKey key{face.shape};
        for (int k = 0; k < face.cornerCount(); ++k) {
            const MeshVertex& v = m.vertices[face.vertexIndex[std::size_t(k)]];
            key.insert(key.end(), {v.x, v.y, v.z});
        }
        out.insert({key, {face.texture, face.attributes}});
    }
    return out;
}

// A package of random meshes: quads and triangles on random samples with every
// texture word form (mirrored, odd corners, quad words up to -32768) and random
// attribute words, moveable and static lighting.
std::unique_ptr<Package> randomPackage(std::uint32_t seed) {
    auto wad = makeDemoPackage();
    std::mt19937 rng(seed);
    const auto pick = [&rng](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    for (int n = 0; n < 4; ++n) {
        Mesh& m = wad->appendMeshSlot();
        const int vertices = pick(4, 60);
        for (int k = 0; k < vertices; ++k)
            addVertex(m, pick(-32768, 32767), pick(-2000, 2000), pick(-300, 300));
        for (int f = pick(1, 80); f > 0; --f) {
            const std::uint16_t attributes = std::uint16_t(pick(0, 65535));
            if (pick(0, 1)) {
                const int sample = pick(0, int(wad->texInfoCount) - 1);
                addQuad(m, pick(0, vertices - 1), pick(0, vertices - 1), pick(0, vertices - 1),
                        pick(0, vertices - 1),
                        std::uint16_t(std::int16_t(pick(0, 1) ? -sample : sample)), attributes);
            } else {
                const std::uint16_t word =
                    std::uint16_t((pick(0, 15) << 12) | pick(0, int(wad->texInfoCount) - 1));
                addTriangle(m, pick(0, vertices - 1), pick(0, vertices - 1), pick(0, vertices - 1),
                            word, attributes);
            }
        }
        m.normalCount = std::int16_t(n % 2 ? -m.vertexCount : m.vertexCount);
        for (int k = 0; k < vertices; ++k) {
            m.shades[std::size_t(k)] = std::int16_t(pick(0, 8191));
            if (m.normalCount > 0)
                m.normals[std::size_t(k)] = {std::int16_t(pick(-16300, 16300)), 0, 0};
        }
    }
    wad->meshCount = std::uint16_t(wad->meshes.size());
    return wad;
}

} // namespace

TEST(ObjImport, ReversesWindingAndTurnsTheAxes) {
    auto wad = smallPackage();
    ImportResult r = import(*wad, kTriangle + "v 5 5 5\nf 1 2 3\nf 1 2 3 4\n");
    ASSERT_TRUE(r.imported) << firstMessage(r);
    EXPECT_TRUE(r.messages.empty());
    const Mesh& m = wad->meshes[0];
    EXPECT_EQ(m.faces[0].shape, kShapeTriangle);
    EXPECT_EQ(m.faces[0].vertexIndex, (std::array<std::uint16_t, 4>{2, 1, 0, 3}));
    EXPECT_EQ(m.faces[1].shape, kShapeQuad);
    EXPECT_EQ(m.faces[1].vertexIndex, (std::array<std::uint16_t, 4>{2, 1, 0, 3}));
    EXPECT_EQ(m.faces[0].texture, 0);
    EXPECT_EQ(m.faces[1].attributes, 0);
    EXPECT_EQ(m.vertices[2].y, -10);
    EXPECT_EQ(m.vertices[3].z, -5);
    EXPECT_EQ(m.normalCount, 4);
}

// Files as tools write them: each case with the counts it must give.
TEST(ObjImport, FormsThatToolsWrite) {
    struct Case {
        std::string text;
        int vertices, faces;
        std::string notice; // empty: none
    };
    std::string utf16 = "\xFF\xFE", utf16be;
    for (const char c : kTriangle + "f 1 2 3\n") {
        utf16 += {c, '\0'};
        utf16be += {'\0', c};
    }
    const Case cases[] = {
        {"v\t0  0\t\t0\nv 10 0 0 1\nv 0 10 0 0.5 0.5 0.5\nvt 0.5\nvt 0.5 0.5 0\nvn 0 0 1\n"
         "f 1/1/1 2/2/1 3//1\nf 1/1 2/2 3/2\n",
         3, 2, ""},
        {"\xEF\xBB\xBF" + kTriangle + "f 1 2 3\r\n", 3, 1, ""},
        {utf16, 3, 1, ""},
        {utf16be, 3, 1, ""},
        {kTriangle + "f -3 -2 -1\nv 1 1 1\nf -4 -3 \\\n -1\n", 4, 2, ""},
        {"o a b\ns 1\nusemtl x y\ng c\n" + kTriangle +
             "s off\ng d\nusemtl z\nf 1 2 3\nl 1 2\nf 1 2\n",
         3, 1, "2 faces read: 1 face of fewer than 3 points was dropped."},
        {"v 0 0 0\nv 200 0 0\nv 200 100 0\nv 100 100 0\nv 100 300 0\nv 0 300 0\n"
         "f 1 2 3 4 5 6\nf 1 2 3\n",
         6, 5, "2 faces read: 1 face of 5 or more points was split into 4 triangles."},
        {kTriangle + "f 1 2 3 # comment\n# f 1 2 3\nvt 1 0 # w\n", 3, 1, ""},
    };
    for (const Case& c : cases) {
        auto wad = smallPackage();
        const ImportResult r = import(*wad, c.text);
        ASSERT_TRUE(r.imported) << c.text << firstMessage(r);
        EXPECT_EQ(r.vertexCount, c.vertices) << c.text;
        EXPECT_EQ(r.faceCount, c.faces) << c.text;
        EXPECT_EQ(firstMessage(r), c.notice) << c.text;
    }
}

TEST(ObjImport, RefusalsLeaveTheMeshAlone) {
    auto wad = smallPackage();
    const std::string before = meshDump(wad->meshes[0]);
    std::string many;
    for (int i = 0; i < 1501; ++i)
        many += "v 0 0 0\n";
    std::string manyFaces = kTriangle;
    for (int i = 0; i < 1501; ++i)
        manyFaces += "f 1 2 3\n";
    std::string hugePolygon = kTriangle + "f";
    for (int i = 0; i < 1503; ++i)
        hugePolygon += " " + std::to_string(i % 3 + 1);
    const std::pair<std::string, std::string> cases[] = {
        {"", kEmpty},
        {kTriangle, kEmpty},
        {kTriangle + "f 1 2\n", kEmpty},
        {many + "f 1 2 3\n", "Too many vertices 1501"},
        {manyFaces, "Too many faces 1501"},
        {hugePolygon, "Too many faces 1501"},
        {kTriangle + "f 1 2 3\nf 1 2 4\n",
         kUnable + "Line 5: a face uses vertex 4, but the file has 3"},
        {kTriangle + "f 0 1 2\n",
         kUnable + "Line 4: a face uses vertex 0; OBJ numbers them from 1"},
        {kTriangle + "f -4 1 2\n",
         kUnable + "Line 4: a face uses vertex -4, but only 3 were read before it"},
        {kTriangle + "f 1 2 -2147483648\n",
         kUnable + "Line 4: a face uses vertex -2147483648, but only 3 were read before it"},
        {kTriangle + "f 1 2 -9223372036854775808\n",
         kUnable +
             "Line 4: a face uses vertex -9223372036854775808, but only 3 were read before it"},
        {kTriangle + "f 1 2 99999999999999999999\n",
         kUnable + "Line 4: '99999999999999999999' is not a valid integer value"},
        {kTriangle + "f 1 2 4294967298\n",
         kUnable + "Line 4: a face uses vertex 4294967298, beyond any file this program reads"},
        {kTriangle + "f 1/9 2 3\n",
         kUnable + "Line 4: a face uses texture coordinate 9, but the file has 0"},
        {"v 1 2 3 4 5\n", kUnable + "Line 1: a vertex has 3, 4 or 6 numbers, not 5"},
        {"v 1,5 2 3\n", kUnable + "Line 1: '1,5' is not a valid floating point value"},
        {"vt 0.5 0.5 0 1\n", kUnable + "Line 1: a texture coordinate has 1 to 3 numbers, not 4"},
        {kTriangle + "f 1 2 x\n", kUnable + "Line 4: 'x' is not a valid integer value"},
        {kTriangle + "f 1 2 /3\n", kUnable + "Line 4: '/3' names no vertex"},
        {"v 40000 0 0\nv 0 0 0\nv 1 1 1\nf 1 2 3\n",
         "Coordinate 40000.0000 (40000 in the mesh) does not fit in the mesh range -32768 .. "
         "32767."},
    };
    for (const auto& [text, message] : cases) {
        const ImportResult r = import(*wad, text);
        EXPECT_FALSE(r.imported) << message;
        EXPECT_EQ(r.messages, (Messages{{MessageKind::Information, message}}));
        EXPECT_EQ(meshDump(wad->meshes[0]), before) << message;
    }
    const ImportResult none = importObjText(*wad, 1, kTriangle + "f 1 2 3\n", {}, kMoveable);
    EXPECT_EQ(none.messages, (Messages{{MessageKind::Error, kNoMeshMessage}}));
    const ImportResult missing = importObj(*wad, 0, "/nonexistent/model.obj", kMoveable);
    EXPECT_EQ(
        missing.messages,
        (Messages{{MessageKind::Information, "Cannot find the model : /nonexistent/model.obj"},
                  {MessageKind::Information,
                   "model.obj holds no faces that can be imported; the mesh was not changed."}}));
    EXPECT_EQ(meshDump(wad->meshes[0]), before);
}

// Only "newmtl" and "map_Kd" of the materials the faces use are read; material
// files are read only beside the model, small and regular.
TEST(ObjImport, MaterialFiles) {
    const auto dir = tempDir("obj");
    std::filesystem::create_directories(dir / "models" / "sub");
    writeText(dir / "secret.mtl", "newmtl TEXTUR_0005_0_0\n");
    writeText(dir / "models" / "sub" / "ok.mtl",
              "newmtl unused\nKs 0\nNi not a number\nnewmtl my wood\nKd x\n"
              "map_Kd -s 1 1 1 wood_page1.png\nnewmtl other\nmap_Kd a b.png\n");
    writeText(dir / "models" / "big.mtl", std::string(kMaxMtlFileBytes + 1, '#'));
    std::filesystem::create_directories(dir / "models" / "folder.mtl");
    const std::string body = kTriangle + "usemtl my wood\nf 1 2 3\n";
    const std::pair<std::string, std::string> cases[] = {
        {"mtllib sub/ok.mtl\n", ""},
        {"mtllib ../secret.mtl\n",
         "The material file ../secret.mtl was not read: its name is not a file beside the model."},
        {"mtllib " + (dir / "secret.mtl").string() + "\n",
         "The material file " + (dir / "secret.mtl").string() +
             " was not read: its name is not a file beside the model."},
        {"mtllib big.mtl\n", "The material file big.mtl was not read: it is larger than 1024 KB."},
        {"mtllib folder.mtl\n",
         "The material file folder.mtl was not read: it is not a regular file."},
        {"mtllib gone.mtl\n", "Cannot find the material file : gone.mtl"},
    };
    for (const auto& [mtllib, message] : cases) {
        writeText(dir / "models" / "m.obj", mtllib + body);
        ObjModel model;
        const Messages notes = loadObj(dir / "models" / "m.obj", model);
        if (message.empty()) {
            EXPECT_TRUE(notes.empty()) << mtllib;
            ASSERT_EQ(model.materials.size(), 1u);
            EXPECT_EQ(model.materials[0].name, "my wood");
            EXPECT_EQ(model.materials[0].diffuseMap, "wood_page1.png");
        } else {
            EXPECT_EQ(notes, (Messages{{MessageKind::Information, message}})) << mtllib;
            EXPECT_TRUE(model.materials.empty()) << mtllib;
        }
        auto wad = smallPackage();
        EXPECT_TRUE(importObj(*wad, 0, dir / "models" / "m.obj", kStatic).imported) << mtllib;
    }
    EXPECT_EQ(pageOfPictureName("dir/x_page12.png"), 12);
    EXPECT_EQ(pageOfPictureName("PAGE3.PNG"), 3);
    EXPECT_EQ(pageOfPictureName("wood.png"), std::nullopt);
    EXPECT_EQ(pageOfPictureName("page99999.png"), std::nullopt);
}

TEST(ObjMaterialName, WritesAndReadsEveryTextureWord) {
    MeshFace quad{kShapeQuad, {}, std::uint16_t(-37), 2, 1, 0};
    EXPECT_EQ(objMaterialName(quad), "FLIPED_0037_0_2");
    MeshFace triangle{kShapeTriangle, {}, 0xC00C, 0xFFFF, 1, 0};
    EXPECT_EQ(objMaterialName(triangle), "FLIPED_0012_2_65535");
    for (int word = 0; word < 0x10000; ++word) {
        for (const std::uint16_t shape : {kShapeQuad, kShapeTriangle}) {
            const MeshFace face{shape, {}, std::uint16_t(word), std::uint16_t(word * 7), 1, 0};
            const auto parsed = parseObjMaterialName(objMaterialName(face));
            ASSERT_TRUE(parsed) << objMaterialName(face);
            EXPECT_EQ(parsed->textureWord(shape == kShapeQuad), word) << objMaterialName(face);
            EXPECT_EQ(parsed->attributes, std::uint16_t(word * 7));
        }
    }
    const auto copy = parseObjMaterialName("textur_0005_1_-2.001");
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->attributes, 0xFFFE);
    for (const char* bad : {"TEXTUR_0005_0", "TEXTUR_5000_1_0", "TEXTUR_32768_0_0",
                            "TEXTUR_0005_9_0", "TEXTUR_0005_0_70000", "TEXTUR_0005_0_-2147483648",
                            "TEXTUR_99999999999999999999_0_0", "wood", "$Material_0"})
        EXPECT_FALSE(parseObjMaterialName(bad)) << bad;
}

// Export then import gives the same mesh (vertices, order, faces, texture words,
// attributes, normals or shades) for every mesh of the demo package and of
// random packages, written through files and read back.
TEST(ObjExport, ExportThenImportIsTheIdentity) {
    const auto dir = tempDir("obj");
    for (const std::uint32_t seed : {0u, 1u, 2u, 3u}) {
        auto wad = seed == 0 ? makeDemoPackage() : randomPackage(seed);
        const auto original = std::make_unique<Package>(*wad);
        for (int slot = 0; slot < wad->meshCount; ++slot) {
            const Mesh& before = original->meshes[std::size_t(slot)];
            const ImportOptions options{before.normalCount >= 0, 16};
            ImportResult r;
            if (seed == 0) {
                const auto file = dir / ("m" + std::to_string(slot) + ".obj");
                const ExportResult e = exportObj(*wad, slot, file);
                ASSERT_TRUE(e.written);
                EXPECT_EQ(e.faceCount, std::size_t(before.faceCount));
                r = importObj(*wad, slot, file, options);
            } else {
                const ObjFiles files = buildObj(*wad, {{slot, {0, 0, 0}, "m"}}, "m");
                const MtlSource mtl = [&files](const std::string&) { return files.mtl; };
                r = importObjText(*wad, slot, files.obj, mtl, options);
            }
            ASSERT_TRUE(r.imported) << seed << " " << slot << firstMessage(r);
            EXPECT_TRUE(r.messages.empty()) << firstMessage(r);
            EXPECT_EQ(meshDump(wad->meshes[std::size_t(slot)]), meshDump(before))
                << "seed " << seed << " slot " << slot;
        }
        EXPECT_EQ(packageBytes(*wad), packageBytes(*original));
    }
    // One picture per page used, a PNG of the page.
    auto wad = makeDemoPackage();
    ASSERT_TRUE(exportObj(*wad, 9, dir / "ring.obj").written);
    for (const char* page : {"ring_page0.png", "ring_page1.png", "ring_page2.png"}) {
        const std::string png = readText(dir / page);
        EXPECT_EQ(png.substr(1, 3), "PNG") << page;
        EXPECT_GT(png.size(), 100u);
    }
    const std::string mtl = readText(dir / "ring.mtl");
    EXPECT_NE(mtl.find("map_Kd ring_page2.png\r\n"), std::string::npos);
}

// Files written by other tools, among them exports rewritten by assimp and a
// textured model whose materials carry no texture words.
TEST(ObjImport, Corpus) {
    const std::filesystem::path corpus = KAVLEN_OBJ_CORPUS;
    std::istringstream table(readText(corpus / "expected.tsv"));
    std::string line;
    int files = 0;
    while (std::getline(table, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> f;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');)
            f.push_back(field);
        ASSERT_EQ(f.size(), 5u) << line;
        auto wad = makeDemoPackage();
        const auto original = std::make_unique<Package>(*wad);
        const ImportResult r = importObj(*wad, 2, corpus / f[0], kMoveable);
        ASSERT_TRUE(r.imported) << f[0] << ": " << firstMessage(r);
        EXPECT_EQ(r.vertexCount, std::stoi(f[1])) << f[0];
        EXPECT_EQ(r.faceCount, std::stoi(f[2])) << f[0];
        EXPECT_EQ(firstMessage(r), f[3] == "-" ? "" : f[3]) << f[0];
        if (f[4] != "-") {
            // Same faces with the same texture words (and attributes, unless the
            // words come from texture coordinates) as the exported demo mesh.
            const bool uvOnly = f[4].ends_with(" uv");
            auto expected = facesByPosition(original->meshes[std::size_t(std::stoi(f[4]))]);
            auto got = facesByPosition(wad->meshes[2]);
            if (uvOnly)
                for (auto* faces : {&expected, &got})
                    for (auto& [key, words] : *faces)
                        words.second = 0;
            EXPECT_EQ(got, expected) << f[0];
        }
        ++files;
    }
    EXPECT_EQ(files, 10);
}

// Faces whose texture coordinates match a sample of their page picture get it;
// the others get sample 0 and one message counts them.
TEST(ObjImport, TextureCoordinatesFindSamples) {
    auto wad = makeDemoPackage();
    const ObjFiles files = buildObj(*wad, {{2, {0, 0, 0}, "wedge"}}, "wedge");
    std::string obj;
    std::istringstream lines(files.obj);
    int moved = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("usemtl"))
            line = "usemtl plain";
        if (line.starts_with("vt ") && moved++ == 0)
            line = "vt 0.9 0.9\r"; // one corner off its sample
        obj += line + "\n";
    }
    const MtlSource mtl = [](const std::string&) -> std::optional<std::string> {
        return std::string("newmtl plain\nmap_Kd wedge_page0.png\n");
    };
    const Mesh before = wad->meshes[2];
    const ImportResult r = importObjText(*wad, 2, obj, mtl, kMoveable);
    ASSERT_TRUE(r.imported) << firstMessage(r);
    EXPECT_EQ(firstMessage(r), "5 faces read: 1 textured face gets sample 0: their texture "
                               "coordinates match no sample of their page.");
    int same = 0;
    for (int f = 0; f < 5; ++f)
        same +=
            wad->meshes[2].faces[std::size_t(f)].texture == before.faces[std::size_t(f)].texture;
    EXPECT_EQ(same, 4);
}

TEST(ObjMoveable, ExportThenImportIsTheIdentityAndRefusalsChangeNothing) {
    const auto dir = tempDir("obj");
    auto wad = makeDemoPackage();
    const auto original = packageBytes(*wad);
    for (int m = 0; m < int(wad->moveables.size()); ++m) {
        const auto file = dir / ("moveable" + std::to_string(m) + ".obj");
        ASSERT_TRUE(exportMoveableObj(*wad, m, file).written) << m;
        const ImportResult r = importMoveableObj(*wad, m, file, kMoveable);
        ASSERT_TRUE(r.imported) << m << firstMessage(r);
        EXPECT_EQ(packageBytes(*wad), original) << m;
    }
    // Moveable 0: root at the origin; mesh 1 pushed the root, mesh 2 popped it.
    const MoveablePlacement p = placeMoveable(*wad, 0);
    ASSERT_TRUE(p.refusal.empty());
    EXPECT_EQ(p.offsets, (std::vector<std::array<double, 3>>{
                             {0, 0, 0}, {0, -200, 0}, {150, 0, 0}, {150, -100, 50}}));

    const std::string text = readText(dir / "moveable0.obj");
    const auto broken = [&](const std::string& from, const std::string& to) {
        std::string t = text;
        t.replace(t.find(from), from.size(), to);
        writeText(dir / "broken.obj", t);
        return importMoveableObj(*wad, 0, dir / "broken.obj", kMoveable);
    };
    for (const ImportResult& r : {broken("o Mesh_3", "o Other"), broken("f ", "f 1 2 1499 ")}) {
        EXPECT_FALSE(r.imported);
        EXPECT_EQ(packageBytes(*wad), original);
    }
    EXPECT_EQ(broken("o Mesh_3", "o Other").messages.back().text,
              "broken.obj has no object Mesh_3 for mesh slot 3. Nothing was imported.");
    EXPECT_FALSE(exportMoveableObj(*wad, 4, dir / "none.obj").written);
    wad->meshTreeCount = 4;
    EXPECT_EQ(placeMoveable(*wad, 0).refusal,
              "Moveable #0's mesh tree (words 0 to 11) lies outside the package's mesh tree of 4 "
              "words.");
}

