#include "interchange/line_tokens.h"
#include "interchange/mqo_document.h"
#include "test_util.h"

#include <cstring>

using namespace kavlen;
using namespace kavlen::test;

namespace {

const ImportOptions kMoveable{true, 16};
const ImportOptions kStatic{false, 16};

const std::string kHeader = "Metasequoia Document\r\nFormat Text Ver 1.0\r\n\r\n";

// An object block with `vertices` vertices on a line and `faces` triangles.
std::string object(const std::string& name, int vertices, int faces, int visible = 15,
                   const std::string& material = "") {
    std::string s = "Object \"" + name + "\" {\n\tvisible " + std::to_string(visible) +
                    "\n\tvertex " + std::to_string(vertices) + " {\n";
    for (int k = 0; k < vertices; ++k)
        s += "\t\t" + std::to_string(k) + ".0 0.0 1.0\n";
    s += "\t}\n\tface " + std::to_string(faces) + " {\n";
    for (int f = 0; f < faces; ++f)
        s += "\t\t3 V(" + std::to_string(f % vertices) + " " + std::to_string((f + 1) % vertices) +
             " " + std::to_string((f + 2) % vertices) + ")" + material + "\n";
    return s + "\t}\n}\n";
}

std::string document(const std::string& body, const std::string& materials = "") {
    return kHeader + materials + body + "Eof\n";
}

std::string firstMessage(const ImportResult& r) {
    return r.messages.empty() ? std::string() : r.messages.front().text;
}

} // namespace

TEST(LineTokens, SplitsWithQuotesEscapesAndEmptyFields) {
    const LineTokens words = mqoWords("Object  \"my \\\"obj\\\"\" {");
    ASSERT_EQ(words.count(), 3);
    EXPECT_EQ(words.token(1), "my \"obj\"");
    EXPECT_EQ(words.token(3), "");
    EXPECT_EQ(words.token(-1), "");

    const LineTokens face = mqoFaceWords("4 V(0 1 2 3) M(5) UV(0 0 1 1)");
    ASSERT_EQ(face.count(), 13);
    EXPECT_EQ(face.token(1), "V");
    EXPECT_EQ(face.token(5), "3");
    EXPECT_EQ(face.token(7), "5");

    EXPECT_EQ(mqoBVertexWords("Vector 4 [48]").token(2), "48");

    // Material names: empty fields count, a closing quote eats the next separator,
    // a separator at the very end adds nothing.
    const LineTokens name = materialNameParts("-12__3");
    ASSERT_EQ(name.count(), 3);
    EXPECT_EQ(name.token(1), "");
    EXPECT_EQ(materialNameParts("\"a_b\"_c").count(), 2);
    EXPECT_EQ(materialNameParts("\"a_b\"_c").token(0), "a_b");
    EXPECT_EQ(materialNameParts("1_2_").count(), 2);
    EXPECT_EQ(materialNameParts("_1_2").count(), 3);
    EXPECT_EQ(materialNameParts("\"a/\"b\"").token(0), "a\"b");
}

TEST(MqoExport, WritesTheDocument) {
    auto wad = smallPackage();
    Mesh& m = wad->meshes[0];
    m = Mesh{};
    addVertex(m, 150, -200, 75);
    addVertex(m, 0, 0, 0);
    addVertex(m, 1, 2, 3);
    addVertex(m, -4, 5, -6);
    addQuad(m, 0, 1, 2, 3, static_cast<std::uint16_t>(-37), 2);
    addTriangle(m, 2, 1, 0, 0xC00C);
    addTriangle(m, 0, 1, 3, 0xC00C);
    EXPECT_EQ(buildMqo(m, 4), "Metasequoia Document\r\n"
                              "Format Text Ver 1.0\r\n"
                              "\r\n"
                              "Material 2 {\r\n"
                              "\t\"-12_4_0\"\r\n"
                              "\t\"-37_0_2\"\r\n"
                              "\t}\r\n"
                              "Object \"Mesh #4\" {\r\n"
                              "\tdepth 0\r\n"
                              "\tfolding 0\r\n"
                              "\tscale 1.000000 1.000000 1.000000\r\n"
                              "\trotation 0.000000 0.000000 0.000000\r\n"
                              "\ttranslation 0.000000 0.000000 0.000000\r\n"
                              "\tvisible 15\r\n"
                              "\tlocking 0\r\n"
                              "\tshading 0\r\n"
                              "\tfacet 59.5\r\n"
                              "\tcolor 0.898 0.498 0.698\r\n"
                              "\tcolor_type 0\r\n"
                              "\tvertex 4 {\r\n"
                              "\t\t-150.0000 200.0000 75.0000\r\n"
                              "\t\t0.0000 0.0000 0.0000\r\n"
                              "\t\t-1.0000 -2.0000 3.0000\r\n"
                              "\t\t4.0000 -5.0000 -6.0000\r\n"
                              "\t}\r\n"
                              "\tface 3 {\r\n"
                              "\t\t4 V(0 1 2 3) M(1)\r\n"
                              "\t\t3 V(2 1 0) M(0)\r\n"
                              "\t\t3 V(0 1 3) M(0)\r\n"
                              "\t}\r\n"
                              "}\r\n"
                              "Eof\r\n");
    m.faceCount = 0;
    const std::string empty = buildMqo(m, 0);
    EXPECT_NE(empty.find("Material 0 {\r\n\t}\r\n"), std::string::npos);
    EXPECT_NE(empty.find("\tface 0 {\r\n\t}\r\n"), std::string::npos);
}

TEST(MqoImport, RoundTripOfEveryDemoMesh) {
    auto demo = makeDemoPackage();
    for (int slot = 0; slot < demo->meshCount; ++slot) {
        const Mesh original = demo->meshes[std::size_t(slot)];
        const std::string text = buildMqo(original, slot);
        const ImportResult r = importMqoBytes(*demo, slot, text, kMoveable);
        ASSERT_TRUE(r.imported) << "mesh " << slot << ": " << firstMessage(r);
        EXPECT_TRUE(r.messages.empty());
        const Mesh& back = demo->meshes[std::size_t(slot)];
        ASSERT_EQ(back.vertexCount, original.vertexCount);
        for (int k = 0; k < original.vertexCount; ++k) {
            EXPECT_EQ(back.vertices[k].x, original.vertices[k].x);
            EXPECT_EQ(back.vertices[k].y, original.vertices[k].y);
            EXPECT_EQ(back.vertices[k].z, original.vertices[k].z);
        }
        ASSERT_EQ(back.faceCount, original.faceCount);
        for (int f = 0; f < original.faceCount; ++f) {
            const MeshFace& a = original.faces[std::size_t(f)];
            const MeshFace& b = back.faces[std::size_t(f)];
            EXPECT_EQ(b.shape, a.shape);
            EXPECT_EQ(b.texture, a.texture) << "mesh " << slot << " face " << f;
            EXPECT_EQ(b.attributes, a.attributes);
            for (int k = 0; k < a.cornerCount(); ++k)
                EXPECT_EQ(b.vertexIndex[std::size_t(k)], a.vertexIndex[std::size_t(k)]);
        }
        EXPECT_EQ(buildMqo(back, slot), text);
    }
}

TEST(MqoImport, MaterialNamesGiveTextureWordsAndAttributes) {
    auto wad = smallPackage();
    const std::string materials =
        "Material 6 {\n\t\"-12_4_3\" col(1 1 1 1)\n\t\"7_2_0\"\n\t\"-7_2_0\"\n\t\"12_4\"\n"
        "\t\"-0_2_6\"\n\t\"5000_0_200\"\n}\n";
    const std::string body = "Object \"o\" {\n\tvisible 15\n\tvertex 4 {\n"
                             "\t\t0 0 0\n\t\t1 0 0\n\t\t1 1 0\n\t\t0 1 0\n\t}\n\tface 7 {\n"
                             "\t\t3 V(0 1 2) M(0)\n\t\t4 V(0 1 2 3) M(1)\n\t\t4 V(0 1 2 3) M(2)\n"
                             "\t\t3 V(0 1 2) M(3)\n\t\t3 V(0 1 2) M(4)\n\t\t3 V(0 1 2) M(5)\n"
                             "\t\t3 V(0 1 2) M(9)\n\t}\n}\n";
    ImportResult r = importMqoBytes(*wad, 0, document(body, materials), kMoveable);
    ASSERT_TRUE(r.imported) << firstMessage(r);
    const Mesh& m = wad->meshes[0];
    EXPECT_EQ(m.faces[0].texture, 0xC00C);
    EXPECT_EQ(m.faces[0].attributes, 3);
    EXPECT_EQ(m.faces[1].texture, 7);
    EXPECT_EQ(static_cast<std::int16_t>(m.faces[2].texture), -7);
    EXPECT_EQ(m.faces[3].texture, 0);      // two parts count as 0_0_0
    EXPECT_EQ(m.faces[4].texture, 0x2000); // minus zero is not mirrored
    EXPECT_EQ(m.faces[4].attributes, 6);
    EXPECT_EQ(m.faces[5].texture, 0);    // beyond the samples
    EXPECT_EQ(m.faces[5].attributes, 0); // beyond 127
    EXPECT_EQ(m.faces[6].texture, 0);    // no such material
    r = importMqoBytes(*wad, 0, document(body, materials), kStatic);
    ASSERT_TRUE(r.imported);
    EXPECT_EQ(wad->meshes[0].faces[0].attributes, 1);
    EXPECT_EQ(wad->meshes[0].normalCount, -4);
}

TEST(MqoImport, MergesVisibleObjectsAndSkipsHiddenOnes) {
    auto wad = smallPackage();
    const std::string text =
        document(object("a", 10, 8) + object("hidden", 50, 50, 0) + object("b", 10, 8));
    const ImportResult r = importMqoBytes(*wad, 0, text, kMoveable);
    ASSERT_TRUE(r.imported) << firstMessage(r);
    EXPECT_EQ(r.messages, (Messages{{MessageKind::Information, "More than one visible object"}}));
    const Mesh& m = wad->meshes[0];
    EXPECT_EQ(m.vertexCount, 20);
    EXPECT_EQ(m.faceCount, 16);
    for (int f = 8; f < 16; ++f)
        for (int k = 0; k < 3; ++k) {
            EXPECT_GE(m.faces[f].vertexIndex[k], 10);
            EXPECT_LE(m.faces[f].vertexIndex[k], 19);
        }
    // Vertex (k, 0, 1) of the file is (-k, 0, 1) in the package.
    EXPECT_EQ(m.vertices[13].x, -3);
    EXPECT_EQ(m.vertices[13].z, 1);
}

TEST(MqoImport, RoundsHalvesToEvenAndIgnoresUnknownFaceLines) {
    auto wad = smallPackage();
    const std::string body = "Object \"o\" {\n\tvisible 15\n\tvertex 3 {\n"
                             "\t\t1.5 -2.5 0.5\n\t\t1 0 0\n\t\tx 1 0\n\t}\n\tface 2 {\n"
                             "\t\t5 V(0 1 2 0 1)\n\t\t3 V(0 1 2)\n\t}\n}\n";
    const ImportResult r = importMqoBytes(*wad, 0, document(body), kMoveable);
    ASSERT_TRUE(r.imported);
    EXPECT_EQ(r.messages,
              (Messages{{MessageKind::Information,
                         "2 faces read: 1 face of 5 or more points was split into triangles."}}));
    const Mesh& m = wad->meshes[0];
    EXPECT_EQ(m.vertices[0].x, -2);
    EXPECT_EQ(m.vertices[0].y, 2);
    EXPECT_EQ(m.vertices[0].z, 0);
    EXPECT_EQ(m.vertices[2].x, 0); // not a number counts as 0
    EXPECT_EQ(m.faceCount, 4);
}

TEST(MqoImport, SkipsSceneBlobAndVertexAttrBlocks) {
    auto wad = smallPackage();
    const std::string scene = "Scene {\n\tpos 0 0 1500\n\tdirlights 1 {\n\t\tlight {\n"
                              "\t\t\tdir 0.408 0.408 0.816\n\t\t}\n\t}\n}\n"
                              "Blob {\n\tinner {\n\t\tdeeper {\n\t\t}\n\t}\n}\n"
                              "BackImage {\n\tpers \"x.bmp\"\n}\nIncludeXml \"a.xml\"\n";
    const std::string body = "Object \"o\" {\n\tvisible 15\n\tvertex 3 {\n"
                             "\t\t0 0 0\n\t\t1 0 0\n\t\t0 1 0\n\t}\n"
                             "\tvertexattr {\n\t\tuid {\n\t\t\t1\n\t\t\t2\n\t\t}\n\t}\n"
                             "\tunknown_keyword 3\n\tface 1 {\n\t\t3 V(0 1 2)\n\t}\n}\n";
    ImportResult r = importMqoBytes(*wad, 0, document(scene + body), kMoveable);
    ASSERT_TRUE(r.imported) << firstMessage(r);
    EXPECT_EQ(wad->meshes[0].vertexCount, 3);

    // Inside vertexattr only blocks are allowed.
    const std::string bad =
        "Object \"o\" {\n\tvisible 15\n\tvertex 3 {\n"
        "\t\t0 0 0\n\t\t1 0 0\n\t\t0 1 0\n\t}\n\tvertexattr {\n\t\tstray line\n";
    r = importMqoBytes(*wad, 0, document(bad), kMoveable);
    EXPECT_FALSE(r.imported);
    EXPECT_EQ(
        firstMessage(r),
        "Error reading file near line #13: expected \"}\" before the end of the file\r\n\r\nEof");
}

TEST(MqoImport, ReadsBinaryBVertexBlocks) {
    auto wad = smallPackage();
    std::string text =
        kHeader + "Object \"o\" {\r\n\tvisible 15\r\n\tBVertex 3 {\r\n\t\tVector 3 [36]\r\n";
    const float xyz[9] = {1.5f, -2.5f, 0.5f, 10, 20, 30, -7, 8, 9};
    text.append(reinterpret_cast<const char*>(xyz), sizeof xyz);
    text += "\r\n\t\tweit {\r\n\t\t\t1 1.0\r\n\t\t}\r\n\t}\r\n\tface 1 {\r\n\t\t3 V(0 1 "
            "2)\r\n\t}\r\n}\r\nEof\r\n";
    ImportResult r = importMqoBytes(*wad, 0, text, kMoveable);
    ASSERT_TRUE(r.imported) << firstMessage(r);
    const Mesh& m = wad->meshes[0];
    EXPECT_EQ(m.vertexCount, 3);
    EXPECT_EQ(m.vertices[0].x, -2);
    EXPECT_EQ(m.vertices[1].y, -20);
    EXPECT_EQ(m.vertices[2].x, 7);
    EXPECT_EQ(m.vertices[2].z, 9);

    // A count that the rest of the file cannot hold is refused, not read.
    std::string cut =
        kHeader + "Object \"o\" {\r\n\tvisible 15\r\n\tBVertex 3 {\r\n\t\tVector 99999999 [36]\r\n";
    cut.append(reinterpret_cast<const char*>(xyz), sizeof xyz);
    r = importMqoBytes(*wad, 0, cut, kMoveable);
    EXPECT_FALSE(r.imported);
    EXPECT_EQ(firstMessage(r),
              "Error reading file near line #7: expected a vertex count that the rest of the file "
              "holds\r\n\r\nVector 99999999 [36]");
}

TEST(MqoImport, RefusalsLeaveTheMeshAlone) {
    auto wad = smallPackage();
    const std::string before = meshDump(wad->meshes[0]);
    const std::string one = object("a", 4, 2);
    const std::string kNoVertices = "The document holds no faces that can be imported; the mesh "
                                    "was not changed. It has no vertices in visible objects.";
    const std::string kNoFaces = "The document holds no faces that can be imported; the mesh was "
                                 "not changed. Its visible objects have no faces of 3 or more "
                                 "points.";
    const std::pair<std::string, std::string> cases[] = {
        {"Metasequoia Document\nFormat Text Ver 0.9\n" + one,
         "Error reading file near line #2: expected format version 1.0 or later\r\n\r\nFormat Text "
         "Ver 0.9"},
        {"Metasequoia Document\nFormat Text Ver x\n" + one,
         "Error reading file near line #2\r\n\r\n'x' is not a valid floating point value"},
        {"Something Else\n" + one,
         "Error reading file near line #1: expected \"Metasequoia Document\"\r\n\r\nSomething "
         "Else"},
        {kHeader + "}\n" + one,
         "Error reading file near line #4: expected a chunk or \"Eof\"\r\n\r\n}"},
        {kHeader + "Object \"o\" {\n\tvisible 15\n\tvertex 3 {\n\t\t0 0 0\n\t\t1 0 0\n\t\t0 1 0\n"
                   "\t}\n\tface 1 {\n\t\t3 V(0 1 x)\n\t}\n}\n",
         "Error reading file near line #12\r\n\r\n'x' is not a valid integer value"},
        {kHeader + one + "} extra\n",
         "Error reading file near line #17: expected \"}\" alone on its line\r\n\r\n} extra"},
        {document(object("a", 4, 2, 0)), kNoVertices},
        {document(object("a", 2, 1)), kNoVertices},
        {document(object("a", 1501, 1)), "Too many vertices or faces."},
        {document(object("a", 10, 1501)), "Too many vertices or faces."},
        {document(object("a", 10, 0)), kNoFaces},
        {document(object("a", 0, 0) + object("b", 3, 0, 15)), "More than one visible object"},
        {document(object("a", 3, 0) + "Object \"h\" {\n\tvisible 0\n}\n"), kNoFaces},
    };
    for (const auto& [text, message] : cases) {
        const ImportResult r = importMqoBytes(*wad, 0, text, kMoveable);
        EXPECT_FALSE(r.imported) << message;
        EXPECT_EQ(firstMessage(r), message);
        EXPECT_EQ(meshDump(wad->meshes[0]), before) << message;
    }
    // Two objects of 800 vertices pass the per-object pre-scan line but not the total.
    ImportResult r =
        importMqoBytes(*wad, 0, document(object("a", 800, 1) + object("b", 800, 1)), kMoveable);
    EXPECT_EQ(r.messages.back().text, "Too many vertices or faces.");

    // Face indices outside the object's vertices.
    const std::string outside = "Object \"o\" {\n\tvisible 15\n\tvertex 3 {\n\t\t0 0 0\n\t\t1 0 0\n"
                                "\t\t0 1 0\n\t}\n\tface 1 {\n\t\t3 V(0 1 3)\n\t}\n}\n";
    r = importMqoBytes(*wad, 0, document(outside), kMoveable);
    EXPECT_FALSE(r.imported);
    EXPECT_EQ(firstMessage(r),
              "Face 0 of object \"o\" uses vertex 3, but the object has 3 vertices.");
    // Coordinates beyond 16 bits.
    const std::string far = "Object \"o\" {\n\tvisible 15\n\tvertex 3 {\n\t\t0 0 0\n\t\t40000 0 0\n"
                            "\t\t0 1 0\n\t}\n\tface 1 {\n\t\t3 V(0 1 2)\n\t}\n}\n";
    r = importMqoBytes(*wad, 0, document(far), kMoveable);
    EXPECT_FALSE(r.imported);
    EXPECT_NE(firstMessage(r).find("40000"), std::string::npos) << firstMessage(r);
    EXPECT_EQ(meshDump(wad->meshes[0]), before);

    r = importMqoBytes(*wad, 2, document(one), kMoveable);
    EXPECT_EQ(r.messages, (Messages{{MessageKind::Error, kNoMeshMessage}}));
    r = importMqo(*wad, 0, "/nonexistent.mqo", kMoveable);
    EXPECT_EQ(firstMessage(r), "Cannot open /nonexistent.mqo: not a file");
    EXPECT_EQ(meshDump(wad->meshes[0]), before);
}

TEST(MqoRoundTrip, PointAsDecimalSeparatorUnderACommaLocale) {
    auto wad = smallPackage();
    const std::string before = buildMqo(wad->meshes[0], 0);
    {
        CommaLocale comma;
        const std::string text = buildMqo(wad->meshes[0], 0);
        EXPECT_EQ(text, before);
        EXPECT_NE(text.find("-10.0000 1.0000 3.0000"), std::string::npos);
        ASSERT_TRUE(importMqoBytes(*wad, 0, text + "", kMoveable).imported);
        ASSERT_TRUE(importMqoBytes(*wad, 0,
                                   document("Object \"o\" {\n\tvisible 15\n\tvertex 3 {\n"
                                            "\t\t0.75 0 0\n\t\t10 0 0\n\t\t0 10 0\n\t}\n"
                                            "\tface 1 {\n\t\t3 V(0 1 2)\n\t}\n}\n"),
                                   kMoveable)
                        .imported);
    }
    EXPECT_EQ(wad->meshes[0].vertices[0].x, -1);
}

TEST(MqoExport, FailedWriteKeepsTheOldFile) {
    auto wad = smallPackage();
    const auto dir = tempDir("mqo");
    const auto target = unwritableBeside(dir);
    EXPECT_FALSE(exportMqo(*wad, 0, target).written);
    EXPECT_EQ(readText(target / "old"), "old content");
    const ExportResult ok = exportMqo(*wad, 0, dir / "m.mqo");
    ASSERT_TRUE(ok.written);
    EXPECT_EQ(ok.nameCount, 2u);
    EXPECT_TRUE(importMqo(*wad, 0, dir / "m.mqo", kMoveable).imported);
}
