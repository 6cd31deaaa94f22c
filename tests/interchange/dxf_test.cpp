#include "document/bounds.h"
#include "interchange/dxf.h"
#include "test_util.h"

#include <algorithm>
#include <set>
#include <tuple>

using namespace kavlen;
using namespace kavlen::test;

namespace {

const ImportOptions kMoveable{true, 16};
const ImportOptions kStatic{false, 16};

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) {
            out.push_back(text.substr(pos));
            break;
        }
        out.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return out;
}

// One 3DFACE on `layer`; corners as DXF coordinate texts (X Y Z each), three or four.
std::string face(const std::string& layer, const std::vector<std::array<const char*, 3>>& corners) {
    std::string s = "  0\n3DFACE\n  8\n" + layer + "\n";
    for (std::size_t k = 0; k < corners.size(); ++k)
        for (int a = 0; a < 3; ++a)
            s += " " + std::to_string(10 * (a + 1) + int(k)) + "\n" + corners[k][std::size_t(a)] +
                 "\n";
    return s;
}

std::string drawing(const std::string& faces) {
    return "  0\nSECTION\n  2\nENTITIES\n" + faces + "  0\nENDSEC\n  0\nEOF\n";
}

// A drawing of n unit squares on a grid; `shared` makes them all the same square.
std::string gridDrawing(int n, bool shared) {
    std::string faces;
    for (int i = 0; i < n; ++i) {
        const int col = shared ? 0 : i % 100, row = shared ? 0 : i / 100;
        const std::string x0 = std::to_string(col * 2) + ".0",
                          x1 = std::to_string(col * 2 + 1) + ".0";
        const std::string y0 = std::to_string(row * 2) + ".0",
                          y1 = std::to_string(row * 2 + 1) + ".0";
        faces += face("TEXTUR_0001_0_0", {{x0.c_str(), y0.c_str(), "0"},
                                          {x1.c_str(), y0.c_str(), "0"},
                                          {x1.c_str(), y1.c_str(), "0"},
                                          {x0.c_str(), y1.c_str(), "0"}});
    }
    return drawing(faces);
}

std::set<std::tuple<int, int, int>> positions(const Mesh& m) {
    std::set<std::tuple<int, int, int>> out;
    for (int k = 0; k < m.vertexCount; ++k)
        out.insert({m.vertices[k].x, m.vertices[k].y, m.vertices[k].z});
    return out;
}

} // namespace

TEST(DxfLayerName, EncodesSampleMirrorCornerAndAttributes) {
    MeshFace quad{kShapeQuad, {0, 1, 2, 3}, static_cast<std::uint16_t>(-37), 2, 1, 0};
    EXPECT_EQ(dxfLayerName(quad), "FLIPED_0037_0_2");
    quad.texture = 5;
    quad.attributes = 0;
    EXPECT_EQ(dxfLayerName(quad), "TEXTUR_0005_0_0");
    quad.attributes = 12; // strength without the shine flag is dropped
    EXPECT_EQ(dxfLayerName(quad), "TEXTUR_0005_0_0");
    quad.attributes = 14;
    EXPECT_EQ(dxfLayerName(quad), "TEXTUR_0005_0_14");
    quad.attributes = 13;
    EXPECT_EQ(dxfLayerName(quad), "TEXTUR_0005_0_1");
    quad.attributes = 0x8002; // a signed 16-bit number
    EXPECT_EQ(dxfLayerName(quad), "TEXTUR_0005_0_-32766");
    quad.texture = 12345;
    EXPECT_EQ(dxfLayerName(quad), "TEXTUR_12345_0_-32766");

    MeshFace tri{kShapeTriangle, {0, 1, 2, 0}, 0xC00C, 7, 1, 0}; // sample 12, corner 4, mirrored
    EXPECT_EQ(dxfLayerName(tri), "FLIPED_0012_2_7");
    const std::pair<std::uint16_t, const char*> corners[] = {{0x0009, "TEXTUR_0009_1_0"},
                                                             {0x2009, "TEXTUR_0009_4_0"},
                                                             {0x4009, "TEXTUR_0009_2_0"},
                                                             {0x6009, "TEXTUR_0009_3_0"},
                                                             {0x1009, "TEXTUR_0009_0"}};
    tri.attributes = 0;
    for (const auto& [word, name] : corners) {
        tri.texture = word;
        EXPECT_EQ(dxfLayerName(tri), name) << std::hex << word;
    }
}

TEST(DxfLayerName, ParsesByCharacterPosition) {
    DxfLayer l = parseDxfLayer("FLIPED_0005_0_14", 200, false);
    EXPECT_TRUE(l.mirrored);
    EXPECT_EQ(l.sample, 5);
    EXPECT_EQ(l.attribute, 14);
    EXPECT_EQ(parseDxfLayer("FLIPED_0005_0_14", 200, true).attribute, 0);
    EXPECT_EQ(parseDxfLayer("FLIPED_0005_0_13", 200, true).attribute, 1);
    EXPECT_EQ(parseDxfLayer("TEXTUR_0005_0_12", 200, false).attribute, 0); // no shine flag
    EXPECT_EQ(parseDxfLayer("TEXTUR_9999_0_0", 200, false).sample, 0);
    EXPECT_EQ(parseDxfLayer("TEXTUR_0199_0_0", 200, false).sample, 199);
    EXPECT_EQ(parseDxfLayer("TEXTUR_0200_0_0", 200, false).sample, 0);
    EXPECT_EQ(parseDxfLayer("TEXTUR_0001_0_-6", 200, false).attribute, 6);
    EXPECT_EQ(parseDxfLayer("TEXTUR_0001_0_-32766", 200, false).attribute, 127);
    // The smallest int has no int magnitude; it must not be negated as an int.
    EXPECT_EQ(parseDxfLayer("TEXTUR_0001_0_-2147483648", 200, false).attribute, 127);
    EXPECT_EQ(parseDxfLayer("TEXTUR_0001_0_-2147483649", 200, false).attribute, 0);
    EXPECT_EQ(parseDxfLayer("TEXTUR_0001_3_0", 200, false).cornerCode, 3);
    EXPECT_EQ(parseDxfLayer("TEXTUR_0001_7_0", 200, false).cornerCode, 0);
    EXPECT_EQ(parseDxfLayer("TEXTUR_0001_3_0", 200, false).packedWord(), 0x3001);
    EXPECT_TRUE(parseDxfLayer("fliped_0001", 200, false).mirrored);

    l = parseDxfLayer("texture", 200, false);
    EXPECT_FALSE(l.mirrored);
    EXPECT_EQ(l.sample, 0);
    EXPECT_EQ(l.cornerCode, 0);
    EXPECT_EQ(l.attribute, 0);
    // Fields are counted between "_": an empty field is no number.
    EXPECT_EQ(parseDxfLayer("A__6", 200, false).attribute, 0);
    EXPECT_EQ(parseDxfLayer("A__B_6", 200, false).attribute, 6);
    EXPECT_EQ(parseDxfLayer("A_B_C_6_x", 200, false).attribute, 6);
    EXPECT_EQ(parseDxfLayer("", 200, false).packedWord(), 0);
}

TEST(DxfExport, WritesTheLayoutLineByLine) {
    auto wad = smallPackage();
    Mesh& m = wad->meshes[0];
    m = Mesh{};
    addVertex(m, 150, -200, 75);
    addVertex(m, 0, 0, 0);
    addVertex(m, 7, 0, -1234);
    addVertex(m, 1, 2, 3);
    addQuad(m, 0, 1, 2, 3, static_cast<std::uint16_t>(-37), 2);
    const std::vector<std::string> l = lines(buildDxf(m));
    const std::vector<std::string> head = {
        "  0", "SECTION",   "  2", "HEADER",          " 999", "Created by Kavlen 3.9.5 Rev12",
        "  0", "ENDSEC",    "  0", "SECTION",         "  2",  "TABLES",
        "  0", "TABLE",     "  2", "LAYER",           "  70", "    153",
        "  0", "LAYER",     "  2", "FLIPED_0037_0_2", " 70",  "  0",
        " 62", "     0",    "  6", "CONTINUOUS",      "  0",  "ENDTAB",
        "  0", "ENDSEC",    "  0", "SECTION",         "  2",  "ENTITIES",
        "  0", "3DFACE",    "  8", "FLIPED_0037_0_2", " 10",  "1.500000",
        " 20", "-0.750000", " 30", "2.000000",        " 11",  "0.000000",
        " 21", "0.000000",  " 31", "0.000000",        " 12",  "0.070000",
        " 22", "12.340000"};
    ASSERT_GE(l.size(), head.size());
    EXPECT_EQ(std::vector<std::string>(l.begin(), l.begin() + long(head.size())), head);
    ASSERT_EQ(l.size(), 18u + 10u + 8u + 28u + 4u);
    EXPECT_EQ(std::vector<std::string>(l.end() - 4, l.end()),
              (std::vector<std::string>{" 0", "ENDSEC", " 0", "EOF"}));
}

TEST(DxfExport, SortsLayersOnceEachAndRepeatsATrianglesThirdCorner) {
    auto wad = smallPackage();
    Mesh& m = wad->meshes[0];
    m = Mesh{};
    for (int k = 0; k < 4; ++k)
        addVertex(m, 100 * k, 0, 0);
    addQuad(m, 0, 1, 2, 3, 2);
    addQuad(m, 0, 1, 2, 3, static_cast<std::uint16_t>(-1));
    addTriangle(m, 3, 1, 2, 0x6009);
    addQuad(m, 0, 1, 2, 3, 2);
    const std::vector<std::string> l = lines(buildDxf(m));
    std::vector<std::string> layerNames, colours;
    for (std::size_t i = 0; i + 1 < l.size(); ++i) {
        if (l[i] == "LAYER" && l[i + 1] == "  2") {
            layerNames.push_back(l[i + 2]);
            colours.push_back(l[i + 6]);
        }
    }
    EXPECT_EQ(layerNames,
              (std::vector<std::string>{"FLIPED_0001_0_0", "TEXTUR_0002_0_0", "TEXTUR_0009_3_0"}));
    EXPECT_EQ(colours, (std::vector<std::string>{"     0", "     1", "     2"}));
    const auto tri = std::find(l.begin(), l.end(), "TEXTUR_0009_3_0");
    const auto entity = std::find(tri + 1, l.end(), "TEXTUR_0009_3_0");
    ASSERT_NE(entity, l.end());
    // Corner 3 (groups 12/22/32) and corner 4 (13/23/33) are the same vertex.
    EXPECT_EQ(*(entity + 13), " 12");
    EXPECT_EQ(*(entity + 19), " 13");
    for (int a = 0; a < 3; ++a)
        EXPECT_EQ(*(entity + 14 + 2 * a), *(entity + 20 + 2 * a));
}

TEST(DxfImport, ReadsLayersCornersAndTextureWords) {
    auto wad = smallPackage();
    const std::string text =
        drawing(face("TEXTUR_0009_3_0", {{"0", "0", "0"}, {"1", "0", "0"}, {"0", "1", "0"}}) +
                face("FLIPED_0037_0_0",
                     {{"0", "0", "0"}, {"1", "0", "0"}, {"1", "1", "0"}, {"0", "1", "0"}}) +
                face("FLIPED_0000_0_0",
                     {{"0", "0", "0"}, {"1", "0", "0"}, {"1", "1", "0"}, {"0", "1", "1"}}) +
                face("FLIPED_0005_2_14", {{"0", "0", "0"}, {"1", "0", "0"}, {"0", "1", "0"}}));
    const ImportResult r = importDxfText(*wad, 0, text, kMoveable);
    ASSERT_TRUE(r.imported) << (r.messages.empty() ? "" : r.messages[0].text);
    const Mesh& m = wad->meshes[0];
    ASSERT_EQ(m.faceCount, 4);
    EXPECT_EQ(m.faces[0].shape, kShapeTriangle);
    EXPECT_EQ(m.faces[0].texture, 0x6009); // corner code 3 is corner 6
    EXPECT_EQ(m.faces[1].shape, kShapeQuad);
    EXPECT_EQ(static_cast<std::int16_t>(m.faces[1].texture), -37);
    // A mirrored quad on sample 0 cannot be negative: it comes back plain, never
    // as the out-of-range sample 4096.
    EXPECT_EQ(m.faces[2].texture, 0);
    EXPECT_EQ(m.faces[3].texture, 0xC005); // corner code 2 is corner 4
    EXPECT_EQ(m.faces[3].attributes, 14);
    // The sphere follows the new vertices; the extra word stays; lighting is
    // averaged normals.
    EXPECT_EQ((Sphere{m.sphereX, m.sphereY, m.sphereZ, m.sphereRadius}), *boundingSphere(m));
    EXPECT_EQ(m.extraWord, 7);
    EXPECT_EQ(m.normalCount, m.vertexCount);
    // Axis turn: X 1 -> x 100; Y 1 -> z -100; Z 1 -> y -100.
    EXPECT_EQ(positions(m),
              (std::set<std::tuple<int, int, int>>{
                  {0, 0, 0}, {100, 0, 0}, {0, 0, -100}, {100, 0, -100}, {0, -100, -100}}));

    const ImportResult s = importDxfText(*wad, 0, text, kStatic);
    ASSERT_TRUE(s.imported);
    EXPECT_EQ(wad->meshes[0].faces[3].attributes, 0);
    EXPECT_EQ(wad->meshes[0].normalCount, -5);
    EXPECT_EQ(wad->meshes[0].shades[4], 4227);
}

TEST(DxfImport, WeldsAndRoundsHalvesToEven) {
    auto wad = smallPackage();
    const std::string text = drawing(
        face("L", {{"0.004", "0", "0"}, {"1", "0", "0"}, {"1", "1", "0"}, {"0", "1", "0"}}) +
        face("L", {{"0.001", "0", "0"}, {"0", "1", "0"}, {"0.125", "2", "0"}}) +
        face("L", {{"0.375", "0", "0"}, {"0.005", "0", "0"}, {"-0.005", "0", "0"}}));
    const ImportResult r = importDxfText(*wad, 0, text, kMoveable);
    ASSERT_TRUE(r.imported);
    const Mesh& m = wad->meshes[0];
    // 0.004 and 0.001 are both x 0; the shared edge is welded.
    EXPECT_EQ(m.vertexCount, 4 + 1 + 1);
    EXPECT_EQ(m.faces[1].vertexIndex[0], m.faces[0].vertexIndex[0]);
    EXPECT_EQ(m.faces[1].vertexIndex[1], m.faces[0].vertexIndex[3]);
    EXPECT_EQ(m.vertices[m.faces[1].vertexIndex[2]].x, 12);
    EXPECT_EQ(m.vertices[m.faces[2].vertexIndex[0]].x, 38);
    EXPECT_EQ(m.vertices[m.faces[2].vertexIndex[1]].x, 0);           // 0.5 rounds to 0
    EXPECT_EQ(m.faces[2].vertexIndex[2], m.faces[2].vertexIndex[1]); // -0.5 too
}

TEST(DxfImport, TellsTrianglesFromQuadsByTheFourthCorner) {
    auto wad = smallPackage();
    const std::string text =
        drawing(face("L", {{"0", "0", "0"}, {"1", "0", "0"}, {"0", "1", "0"}}) +
                face("L", {{"0", "0", "0"}, {"1", "0", "0"}, {"0", "1", "0"}, {"0", "1", "0.5"}}) +
                face("L", {{"0", "0", "0"}, {"1", "0", "0"}, {"0", "1", "0"}, {"0", "1", "0"}}));
    ASSERT_TRUE(importDxfText(*wad, 0, text, kMoveable).imported);
    const Mesh& m = wad->meshes[0];
    EXPECT_EQ(m.faces[0].shape, kShapeTriangle);
    EXPECT_EQ(m.faces[1].shape, kShapeQuad);
    EXPECT_EQ(m.faces[2].shape, kShapeTriangle);
}

TEST(DxfImport, LimitsRefuseAndLeaveTheMeshAlone) {
    auto wad = smallPackage();
    const std::string before = meshDump(wad->meshes[0]);

    // 376 squares on distinct points have 1504 corners.
    ImportResult r = importDxfText(*wad, 0, gridDrawing(376, false), kMoveable);
    EXPECT_FALSE(r.imported);
    EXPECT_EQ(r.messages, (Messages{{MessageKind::Error,
                                     "Number of vertices(=1504) exceeds mesh limit of 1500"}}));
    // Faces past the 4250th are counted but not kept.
    r = importDxfText(*wad, 0, gridDrawing(5000, false), kMoveable);
    EXPECT_EQ(r.messages.at(0).text, "Number of vertices(=17000) exceeds mesh limit of 1500");
    r = importDxfText(*wad, 0, gridDrawing(5000, true), kMoveable);
    EXPECT_EQ(r.messages.at(0).text, "Number of polys (=4250) exceeds mesh limit of 1500");
    EXPECT_EQ(meshDump(wad->meshes[0]), before);

    ASSERT_TRUE(importDxfText(*wad, 0, gridDrawing(375, false), kMoveable).imported);
    EXPECT_EQ(wad->meshes[0].vertexCount, 1500);
}

TEST(DxfImport, BadInputRefusesWithTheMessageAndLeavesTheMeshAlone) {
    auto wad = smallPackage();
    const std::string before = meshDump(wad->meshes[0]);
    const std::string good = face("L", {{"0", "0", "0"}, {"1", "0", "0"}, {"0", "1", "0"}});
    const std::pair<std::string, std::string> cases[] = {
        {drawing(good + "abc\n3\n"), "'abc' is not a valid integer value"},
        {drawing(good + face("L", {{"1.2.3", "0", "0"}, {"1", "0", "0"}, {"0", "1", "0"}})),
         "'1.2.3' is not a valid floating point value"},
        {drawing(good + face("L", {{"nan", "0", "0"}, {"1", "0", "0"}, {"0", "1", "0"}})),
         "'nan' is not a valid floating point value"},
        {"  0\nLAYER\n  2\nNAME\n 70\n 0\n",
         "The drawing ends before its EOF marker (it may be cut short); the mesh was not changed."},
        {"  0\nSECTION\n  2\nENTITIES\n  0\n3DFACE\n  8\nL\n 10\n1\n",
         "The drawing ends before its EOF marker (it may be cut short); the mesh was not changed."},
        {drawing(good + "  0\nPOLYLINE\n 70\n64\n  0\nVERTEX\n 71\nx\n  0\nSEQEND\n"),
         "'x' is not a valid integer value"},
    };
    for (const auto& [text, message] : cases) {
        const ImportResult r = importDxfText(*wad, 0, text, kMoveable);
        EXPECT_FALSE(r.imported) << message;
        EXPECT_EQ(r.messages, (Messages{{MessageKind::Error, message}}));
    }
    // Coordinates that do not fit in 16 bits are refused, naming how far they reach.
    for (const auto& [value, reach] : {std::pair{"327.68", "reach 32768,"},
                                       {"-327.69", "reach 32769,"},
                                       {"1e300", "reach beyond any range,"}}) {
        const ImportResult r = importDxfText(
            *wad, 0,
            drawing(good + face("L", {{value, "0", "0"}, {"1", "0", "0"}, {"0", "1", "0"}})),
            kMoveable);
        EXPECT_FALSE(r.imported);
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_NE(r.messages[0].text.find(reach), std::string::npos) << r.messages[0].text;
    }
    EXPECT_TRUE(
        importDxfText(
            *wad, 0,
            drawing(face("L", {{"327.67", "327.68", "-327.67"}, {"1", "0", "0"}, {"0", "1", "0"}})),
            kMoveable)
            .imported);
    wad->meshes[0] = *smallPackage()->meshes.data();
    ASSERT_EQ(meshDump(wad->meshes[0]), before);

    // No mesh slot to import into.
    const ImportResult none = importDxfText(*wad, 3, drawing(good), kMoveable);
    EXPECT_FALSE(none.imported);
    EXPECT_EQ(none.messages, (Messages{{MessageKind::Error, kNoMeshMessage}}));
    EXPECT_EQ(importDxf(*wad, 0, "/nonexistent/file.dxf", kMoveable).messages.at(0).kind,
              MessageKind::Error);
    EXPECT_EQ(meshDump(wad->meshes[0]), before);
}

TEST(DxfImport, DrawingWithoutFacesIsRefusedSayingWhatItHolds) {
    auto wad = smallPackage();
    const std::string before = meshDump(wad->meshes[0]);
    const std::string refused =
        "The drawing holds no faces that can be imported; the mesh was not changed. ";
    const std::string line = "  0\nLINE\n  8\n0\n 10\n0\n 20\n0\n 30\n0\n 11\n1\n 21\n0\n 31\n0\n";
    const std::string point = "  0\nPOINT\n  8\n0\n 10\n0\n 20\n0\n 30\n0\n";
    const std::string polyline = "  0\nPOLYLINE\n 70\n8\n  0\nVERTEX\n 10\n0\n  0\nSEQEND\n";
    const std::pair<std::string, std::string> cases[] = {
        {"  0\nSECTION\n  2\nHEADER\n  0\nENDSEC\n  0\nEOF\n", "It has no ENTITIES section."},
        {drawing(""), "It holds no entities."},
        {drawing(point + point), "It holds only POINT entities."},
        {drawing(polyline + point + line), "It holds only POLYLINE, POINT and LINE entities."},
        {std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + "\x01\x02",
         "It is a binary DXF; save it as an ASCII DXF."},
    };
    for (const auto& [text, holds] : cases) {
        const ImportResult r = importDxfText(*wad, 0, text, kMoveable);
        EXPECT_FALSE(r.imported);
        EXPECT_EQ(r.messages, (Messages{{MessageKind::Error, refused + holds}}));
        EXPECT_EQ(meshDump(wad->meshes[0]), before) << holds;
    }
}

TEST(DxfRoundTrip, EveryDemoMeshKeepsItsFacesTexturesAndVertices) {
    auto demo = makeDemoPackage();
    for (int slot = 0; slot < demo->meshCount; ++slot) {
        const Mesh original = demo->meshes[std::size_t(slot)];
        Package& wad = *demo;
        const std::string text = buildDxf(original);
        const ImportResult r = importDxfText(wad, slot, text, kMoveable);
        ASSERT_TRUE(r.imported) << "mesh " << slot;
        const Mesh& back = wad.meshes[std::size_t(slot)];
        EXPECT_EQ(positions(back), positions(original)) << "mesh " << slot;
        ASSERT_EQ(back.faceCount, original.faceCount);
        for (int f = 0; f < original.faceCount; ++f) {
            const MeshFace& a = original.faces[std::size_t(f)];
            const MeshFace& b = back.faces[std::size_t(f)];
            EXPECT_EQ(b.shape, a.shape);
            EXPECT_EQ(b.texture, a.texture) << "mesh " << slot << " face " << f;
            EXPECT_EQ(b.attributes, a.attributes) << "mesh " << slot << " face " << f;
            for (int k = 0; k < a.cornerCount(); ++k) {
                const MeshVertex& va = original.vertices[a.vertexIndex[std::size_t(k)]];
                const MeshVertex& vb = back.vertices[b.vertexIndex[std::size_t(k)]];
                EXPECT_EQ(std::tie(va.x, va.y, va.z), std::tie(vb.x, vb.y, vb.z));
            }
        }
        // A second export of the imported mesh is the same drawing.
        EXPECT_EQ(buildDxf(back), text) << "mesh " << slot;
    }
}

TEST(DxfRoundTrip, PointAsDecimalSeparatorUnderACommaLocale) {
    auto wad = smallPackage();
    Mesh& m = wad->meshes[0];
    m = Mesh{};
    addVertex(m, 150, -200, 75);
    addVertex(m, -1, 2, 3);
    addVertex(m, 5, 5, 5);
    addTriangle(m, 0, 1, 2, 3);
    std::string text;
    {
        CommaLocale comma;
        text = buildDxf(m);
        ASSERT_TRUE(importDxfText(*wad, 0, text, kMoveable).imported);
    }
    EXPECT_NE(text.find("\r\n1.500000\r\n"), std::string::npos);
    EXPECT_EQ(text.find(','), std::string::npos);
    EXPECT_EQ(positions(wad->meshes[0]),
              (std::set<std::tuple<int, int, int>>{{150, -200, 75}, {-1, 2, 3}, {5, 5, 5}}));
}

TEST(DxfExport, FailedWriteKeepsTheOldFile) {
    auto wad = smallPackage();
    const auto dir = tempDir("dxf");
    const auto target = unwritableBeside(dir);
    const ExportResult r = exportDxf(*wad, 0, target);
    EXPECT_FALSE(r.written);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(readText(target / "old"), "old content");

    const ExportResult ok = exportDxf(*wad, 0, dir / "mesh.dxf");
    EXPECT_TRUE(ok.written);
    EXPECT_EQ(ok.faceCount, 2u);
    EXPECT_EQ(ok.nameCount, 2u);
    EXPECT_EQ(readText(dir / "mesh.dxf"), buildDxf(wad->meshes[0]));
    EXPECT_EQ(exportDxf(*wad, 1, dir / "none.dxf").messages.at(0).text, kNoMeshMessage);
}
