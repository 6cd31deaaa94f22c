#include "document/bounds.h"
#include "interchange/obj_model.h"
#include "test_util.h"

using namespace kavlen;
using namespace kavlen::test;

namespace {

const ImportOptions kMoveable{true, 16};
const ImportOptions kStatic{false, 16};

const std::string kTriangle = "v 0 0 0\nv 10 0 0\nv 0 10 0\n";

ImportResult import(Package& wad, const std::string& text, const ImportOptions& options = kMoveable,
                    const MtlSource& mtl = {}) {
    return importObjText(wad, 0, text, mtl, options);
}

std::string firstMessage(const ImportResult& r) {
    return r.messages.empty() ? std::string() : r.messages.front().text;
}

} // namespace

TEST(ObjImport, ReversesWindingAndTurnsTheAxes) {
    auto wad = smallPackage();
    ImportResult r = import(*wad, kTriangle + "v 5 5 5\nf 1 2 3\nf 1 2 3 4\n");
    ASSERT_TRUE(r.imported) << firstMessage(r);
    const Mesh& m = wad->meshes[0];
    EXPECT_EQ(m.faces[0].shape, kShapeTriangle);
    EXPECT_EQ(m.faces[0].vertexIndex[0], 2);
    EXPECT_EQ(m.faces[0].vertexIndex[1], 1);
    EXPECT_EQ(m.faces[0].vertexIndex[2], 0);
    EXPECT_EQ(m.faces[0].vertexIndex[3], 3); // a triangle keeps what the slot held
    EXPECT_EQ(m.faces[1].shape, kShapeQuad);
    EXPECT_EQ(m.faces[1].vertexIndex, (std::array<std::uint16_t, 4>{2, 1, 0, 3}));
    EXPECT_EQ(m.faces[0].texture, 0);
    EXPECT_EQ(m.faces[1].attributes, 0);
    EXPECT_EQ(m.vertices[2].y, -10);
    EXPECT_EQ(m.vertices[3].z, -5);
    EXPECT_EQ(m.normalCount, 4);
    // The bounding sphere follows the new vertices.
    EXPECT_EQ((Sphere{m.sphereX, m.sphereY, m.sphereZ, m.sphereRadius}), *boundingSphere(m));
}

TEST(ObjImport, SlashFormsGroupsAndRounding) {
    auto wad = smallPackage();
    const std::string faces = "g A\nf 1/1/1 2/2/2 3/3/3\nf 1//1 2//2 3//3\nf 1/4 2/5 3/6\n"
                              "g B\nf  1   2  3\nf 3 2 1\n";
    ImportResult r = import(*wad, "# comment\nv 0.5 1.5 -2.5\nv 10 0 0\nv 0 10 0\nvt 0.5 0.5\n"
                                  "vn 0 1 0\n" +
                                      faces);
    ASSERT_TRUE(r.imported) << firstMessage(r);
    const Mesh& m = wad->meshes[0];
    EXPECT_EQ(m.faceCount, 5);
    for (int f = 0; f < 4; ++f)
        EXPECT_EQ(m.faces[f].vertexIndex[0], 2) << f;
    EXPECT_EQ(m.faces[4].vertexIndex[0], 0);
    EXPECT_EQ(m.vertices[0].x, 0);
    EXPECT_EQ(m.vertices[0].y, -2);
    EXPECT_EQ(m.vertices[0].z, 2);

    ObjModel model;
    loadObjText("v 1 2 3\ng A\nf 1 1 1\nf 1 1 1\nf 1 1 1\ng B\nf 1 1 1\nf 1 1 1\n", model, {});
    ASSERT_EQ(model.groups.size(), 2u);
    EXPECT_EQ(model.groups[0].name, "A");
    EXPECT_EQ(model.groups[0].faceCount(), 3);
    EXPECT_EQ(model.groups[1].faceCount(), 2);
}

TEST(ObjImport, MaterialsAreReadButNotUsed) {
    auto wad = smallPackage();
    std::string asked;
    const MtlSource mtl = [&asked](const std::string& name) -> std::optional<std::string> {
        asked = name;
        if (name != "Crate.mtl")
            return std::nullopt;
        return std::string("# materials\nnewmtl wood\nKa 0.1 0.2 0.3\nKd 1 1 1\nNs 12.5\n"
                           "map_Kd wood.png\n\tnewmtl stone\n");
    };
    ObjModel model;
    const Messages notes = loadObjText(
        "mtllib Crate.mtl\n" + kTriangle + "g crate\nusemtl WOOD\nf 1 2 3\n", model, mtl);
    EXPECT_TRUE(notes.empty());
    EXPECT_EQ(asked, "Crate.mtl"); // the name keeps its case
    ASSERT_EQ(model.materials.size(), 2u);
    EXPECT_EQ(model.materials[0].name, "WOOD");
    EXPECT_FLOAT_EQ(model.materials[0].ambient[2], 0.3f);
    EXPECT_FLOAT_EQ(model.materials[0].shininess, 12.5f);
    EXPECT_FLOAT_EQ(model.materials[1].shininess, 60.0f);
    EXPECT_EQ(model.groups.at(0).material, 1);

    const ImportResult r =
        import(*wad, "mtllib other.mtl\n" + kTriangle + "f 1 2 3\n", kMoveable, mtl);
    ASSERT_TRUE(r.imported);
    EXPECT_EQ(r.messages,
              (Messages{{MessageKind::Information, "Cannot find the material file : other.mtl"}}));
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
    const std::string unable = "OBJ importer unable to load file.\r\rError message is:\r";
    const std::pair<std::string, std::string> cases[] = {
        {"", "No vertices"},
        {many + "f 1 2 3\n", "Too many vertices 1501"},
        {kTriangle, "No faces"},
        {manyFaces, "Too many faces 1501"},
        {kTriangle + "v 1 1 1\nv 2 2 2\nf 1 2 3\nf 1 2 3 4 5\n",
         "Object contains faces with more than 4 points.\rTriangulate these faces in your "
         "modelling program."},
        {kTriangle + "f 1 2\n", "Object contains faces with fewer than 3 points."},
        {kTriangle + "f\n", "Object contains faces with fewer than 3 points."},
        {kTriangle + "f -3 -2 -1\n", "OBJ contains negative face indices"},
        {kTriangle + "f 1 -2 3\n", "OBJ contains negative face indices"},
        {kTriangle + "f 1 2 3\nf 1 2 4\n", "Face 2 uses vertex 4, but the file has 3 vertices."},
        {kTriangle + "f 0 1 2\n", "Face 1 uses vertex 0, but the file has 3 vertices."},
        {"v 1 2 3 4\nf 1 1 1\n", unable + "'3 4' is not a valid floating point value"},
        {"v 1,5 2 3\nf 1 1 1\n", unable + "'1,5' is not a valid floating point value"},
        {"vt 0.5 0.5 0\n", unable + "'0.5 0' is not a valid floating point value"},
        {"vt  0.5 0.5\n", unable + "'' is not a valid floating point value"},
        {kTriangle + "f 1 2/2 3/3\n", unable + "'1 2' is not a valid integer value"},
        {kTriangle + "f 1 2 x\n", unable + "'X' is not a valid integer value"},
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
    EXPECT_EQ(missing.messages, (Messages{{MessageKind::Information,
                                           "Cannot find the model : /nonexistent/model.obj"},
                                          {MessageKind::Information, "No vertices"}}));
    EXPECT_EQ(meshDump(wad->meshes[0]), before);
}

TEST(ObjImport, StaticLightingAndTheMaterialFileBesideTheModel) {
    auto wad = smallPackage();
    const auto dir = tempDir("obj");
    std::filesystem::create_directories(dir / "models");
    writeText(dir / "models" / "Box.mtl", "newmtl Red\nKd 1 0 0\n");
    writeText(dir / "models" / "box.obj", "mtllib Box.mtl\n" + kTriangle + "usemtl Red\nf 1 2 3\n");
    ObjModel model;
    EXPECT_TRUE(loadObj(dir / "models" / "box.obj", model).empty());
    EXPECT_EQ(model.name, "box");
    ASSERT_EQ(model.materials.size(), 1u);
    EXPECT_FLOAT_EQ(model.materials[0].diffuse[0], 1.0f);

    const ImportResult r = importObj(*wad, 0, dir / "models" / "box.obj", ImportOptions{false, 31});
    ASSERT_TRUE(r.imported);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(wad->meshes[0].normalCount, -3);
    EXPECT_EQ(wad->meshes[0].shades[0], 8191);
}

TEST(ObjImport, PointAsDecimalSeparatorUnderACommaLocale) {
    auto wad = smallPackage();
    {
        CommaLocale comma;
        ASSERT_TRUE(import(*wad, "v 1.5 -0.25 2.5\nv 0 0 0\nv 1 1 1\nf 1 2 3\n").imported);
    }
    EXPECT_EQ(wad->meshes[0].vertices[0].x, 2);
    EXPECT_EQ(wad->meshes[0].vertices[0].y, 0);
    EXPECT_EQ(wad->meshes[0].vertices[0].z, -2);
}
