// The File menu's model interchange commands: file dialogs answered by the test,
// the Import options dialog answered on screen, the files on disk.
#include "app/import_options_dialog.h"
#include "app/qt_text.h"
#include "mesh_editing_fixture.h"
#include "mesh_snapshot.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <algorithm>

namespace kavlen {
namespace {

constexpr int kPyramid = 1; // triangles with every corner, some mirrored
constexpr int kWedge = 2;   // quads and triangles, one mirrored quad

struct InterchangeCommandsTest : MeshEditingTest {
    // Answers the Import options dialog with moveable lighting, or static
    // lighting of `intensity`.
    void answerImportOptions(bool moveable, int intensity = 16) {
        modal.when<ImportOptionsDialog>([moveable, intensity](ImportOptionsDialog& d) {
            EXPECT_EQ(d.windowTitle(), "Import options");
            (moveable ? d.movable : d.staticLighting)->setChecked(true);
            d.intensity->setValue(intensity);
            QTest::mouseClick(d.okButton, Qt::LeftButton);
        });
    }
};

// The faces of a mesh as corner points with texture and attributes, independent
// of how the vertices are numbered.
std::vector<std::tuple<std::vector<VertexKey>, int, int>> facesByPoints(const Mesh& m) {
    const auto points = vertexKeys(m);
    std::vector<std::tuple<std::vector<VertexKey>, int, int>> faces;
    for (int i = 0; i < m.faceCount; ++i) {
        const MeshFace& f = m.faces[i];
        std::vector<VertexKey> corners;
        for (int c = 0; c < f.cornerCount(); ++c)
            corners.push_back(points[f.vertexIndex[c]]);
        faces.emplace_back(corners, f.texture, f.attributes);
    }
    return faces;
}

TEST_F(InterchangeCommandsTest, GuardAndDialogFilters) {
    start();
    // Without a package: refused before any file dialog.
    for (CommandId id : std::initializer_list<CommandId>{
             "ExportDxf", "ImportDxf", "ExportMqo", "ImportMqo", "ImportObj", "ExportObj",
             "ExportMoveableObj", "ImportMoveableObj"}) {
        dialogs.clear();
        action(id)->trigger();
        EXPECT_EQ(textsOf(Kind::Error), std::vector<std::string>{"No wad opened."}) << id;
        EXPECT_EQ(dialogs.calls().size(), 1u) << id;
    }

    ASSERT_TRUE(editor->openPackage(demoCopy("demo.wad")));
    struct Filter {
        CommandId id;
        Kind kind;
        const char* filter;
        const char* extension;
    };
    for (const Filter& f :
         {Filter{"ExportDxf", Kind::SaveFile, "Drawing Interchange (*.dxf)", "dxf"},
          Filter{"ImportDxf", Kind::OpenFile, "Drawing Interchange (*.dxf)", "dxf"},
          Filter{"ExportMqo", Kind::SaveFile, "Metasequoia file (*.mqo)", "mqo"},
          Filter{"ImportMqo", Kind::OpenFile, "Metasequoia MQO Files (*.MQO)", "mqo"},
          Filter{"ImportObj", Kind::OpenFile, "Wavefront OBJ files (*.OBJ)", "obj"},
          Filter{"ExportObj", Kind::SaveFile, "Wavefront OBJ files (*.obj)", "obj"}}) {
        dialogs.clear();
        dialogs.cancel();
        action(f.id)->trigger();
        ASSERT_EQ(dialogs.calls().size(), 1u) << f.id;
        EXPECT_EQ(dialogs.calls()[0].kind, f.kind) << f.id;
        EXPECT_EQ(dialogs.calls()[0].file.filter, f.filter);
        EXPECT_EQ(dialogs.calls()[0].file.defaultExtension, f.extension);
        EXPECT_EQ(dialogs.calls()[0].file.startPath, dir.string());
    }

    // No mesh shown: refused before the file dialog.
    dialogs.clear();
    showMesh(-1);
    action("ExportDxf")->trigger();
    EXPECT_EQ(textsOf(Kind::Error), std::vector<std::string>{"No mesh selected."});
    EXPECT_EQ(dialogs.calls().size(), 1u);
}

TEST_F(InterchangeCommandsTest, DxfExportedThroughTheMenuImportsBackIntoAnotherMesh) {
    openDemo();
    showMesh(kWedge);
    const Mesh wedge = mesh(kWedge);
    const auto dxf = dir / "wedge.dxf";
    dialogs.answerFile(dxf.string());
    action("ExportDxf")->trigger();
    ASSERT_TRUE(std::filesystem::exists(dxf));
    EXPECT_EQ(readText(dxf).rfind("  0\r\nSECTION\r\n", 0), 0u);
    EXPECT_TRUE(dialogs.calls().size() == 1u && dialogs.unanswered() == 0u);
    EXPECT_TRUE(changes.empty()) << "an export changes nothing";

    // Cancel in the Import options dialog leaves the mesh alone.
    showMesh(kPyramid);
    const auto pyramid = faceKeys(mesh(kPyramid));
    dialogs.answerFile(dxf.string());
    modal.when<ImportOptionsDialog>([](ImportOptionsDialog& d) {
        // As it first shows: movable lighting, the intensity 16 disabled until
        // static lighting is chosen.
        EXPECT_TRUE(d.movable->isChecked());
        EXPECT_EQ(d.intensity->value(), 16);
        EXPECT_EQ(d.intensityLabel->text(), "16");
        EXPECT_FALSE(d.intensity->isEnabled());
        EXPECT_FALSE(d.intensityLabel->isEnabled());
        d.staticLighting->click();
        EXPECT_TRUE(d.intensity->isEnabled());
        EXPECT_TRUE(d.intensityLabel->isEnabled());
        QTest::mouseClick(d.cancelButton, Qt::LeftButton);
    });
    action("ImportDxf")->trigger();
    ASSERT_TRUE(modal.answered());
    EXPECT_EQ(faceKeys(mesh(kPyramid)), pyramid);

    dialogs.answerFile(dxf.string());
    answerImportOptions(true);
    action("ImportDxf")->trigger();
    ASSERT_TRUE(modal.answered());
    const Mesh& imported = mesh(kPyramid);
    EXPECT_EQ(imported.vertexCount, wedge.vertexCount);
    EXPECT_EQ(imported.normalCount, wedge.vertexCount);
    // Same faces on the same points with the same texture words; the wedge's
    // shine keeps its flag so its attributes come back too.
    EXPECT_EQ(facesByPoints(imported), facesByPoints(wedge));
    EXPECT_EQ(textsOf(Kind::Error), std::vector<std::string>{});
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back().meshSlots, std::vector<int>{editor->selection().meshSlot()});
    // Center: the view frames the new mesh, 300 high instead of the pyramid's 500.
    const Viewport& view = render().viewport();
    EXPECT_NEAR(view.boundMax[1] - view.boundMin[1], 3.0, 1e-6);
}

TEST_F(InterchangeCommandsTest, MqoExportedAndImportedKeepsVerticesFacesAndStaticLighting) {
    openDemo();
    showMesh(kPyramid);
    const Mesh pyramid = mesh(kPyramid);
    const auto mqo = dir / "pyramid.mqo";
    dialogs.answerFile(mqo.string());
    action("ExportMqo")->trigger();
    EXPECT_EQ(readText(mqo).rfind("Metasequoia Document\r\nFormat Text Ver 1.0\r\n", 0), 0u);

    showMesh(kWedge);
    main().setStatusText(1, "stale");
    dialogs.answerFile(mqo.string());
    answerImportOptions(false, 31);
    action("ImportMqo")->trigger();
    ASSERT_TRUE(modal.answered());
    const Mesh& imported = mesh(kWedge);
    EXPECT_EQ(vertexKeys(imported), vertexKeys(pyramid));
    // Static lighting: shine dropped, every shade from intensity 31.
    auto expectedFaces = faceKeys(pyramid);
    for (auto& f : expectedFaces)
        std::get<3>(f) &= 1;
    EXPECT_EQ(faceKeys(imported), expectedFaces);
    EXPECT_EQ(imported.normalCount, -int(pyramid.vertexCount));
    EXPECT_EQ(imported.shades[0], 8191);
    EXPECT_TRUE(main().statusText(1).isEmpty());
    EXPECT_TRUE(dialogs.calls().size() == 2u && dialogs.unanswered() == 0u);
}

// Export OBJ writes the model, its materials and pages; a whole moveable goes out
// and comes back unchanged.
TEST_F(InterchangeCommandsTest, ObjExportAndWholeMoveables) {
    openDemo();
    showMesh(kWedge);
    EXPECT_EQ(action("ExportObj")->shortcut().toString(), "Shift+O");
    dialogs.answerFile((dir / "wedge.obj").string());
    action("ExportObj")->trigger();
    for (const char* file : {"wedge.obj", "wedge.mtl", "wedge_page0.png"})
        EXPECT_TRUE(std::filesystem::exists(dir / file)) << file;

    render().chooseMoveable(0);
    std::vector<std::pair<std::vector<VertexKey>, std::vector<FaceKey>>> before;
    for (int slot = 0; slot < 4; ++slot)
        before.emplace_back(vertexKeys(mesh(slot)), faceKeys(mesh(slot)));
    dialogs.answerFile((dir / "body.obj").string());
    action("ExportMoveableObj")->trigger();
    const std::string text = readText(dir / "body.obj");
    for (const char* object : {"o Mesh_0", "o Mesh_1", "o Mesh_2", "o Mesh_3"})
        EXPECT_NE(text.find(object), std::string::npos) << object;
    dialogs.answerFile((dir / "body.obj").string());
    answerImportOptions(true);
    action("ImportMoveableObj")->trigger();
    ASSERT_TRUE(modal.answered());
    for (int slot = 0; slot < 4; ++slot)
        EXPECT_EQ(std::make_pair(vertexKeys(mesh(slot)), faceKeys(mesh(slot))),
                  before[std::size_t(slot)])
            << slot;
    EXPECT_TRUE(textsOf(Kind::Information).empty());
    EXPECT_TRUE(textsOf(Kind::Error).empty());
}

TEST_F(InterchangeCommandsTest, ObjAndMqoFilesWrittenByHandImportWithTheirMessages) {
    openDemo();
    showMesh(kPyramid);
    const auto obj = dir / "quad.obj";
    writeText(obj, "# a quad and a triangle\nv 0 0 0\nv 10 0 0\nv 10 10 0\nv 0 10.5 1.5\n"
                   "vn 0 0 1\nvn 0 0 1\nvn 0 0 1\nf 1 2 3 4\nf 1//1 2//2 3//3\n");
    dialogs.answerFile(obj.string());
    answerImportOptions(true);
    action("ImportObj")->trigger();
    ASSERT_TRUE(modal.answered());
    const Mesh& m = mesh(kPyramid);
    EXPECT_EQ(vertexKeys(m),
              (std::vector<VertexKey>{{0, 0, 0}, {10, 0, 0}, {10, -10, 0}, {0, -10, -2}}));
    ASSERT_EQ(m.faceCount, 2);
    EXPECT_EQ(m.faces[0].shape, kShapeQuad);
    EXPECT_EQ(m.faces[0].vertexIndex, (std::array<std::uint16_t, 4>{2, 1, 0, 3}));
    EXPECT_EQ(m.faces[1].shape, kShapeTriangle);
    EXPECT_EQ(m.normalCount, 4);
    EXPECT_TRUE(dialogs.callsOf(Kind::Information).empty());

    // A refusal leaves the mesh as it was and says why in a plain box.
    const auto before = vertexKeys(m);
    writeText(obj, "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 2 0\nf 1 2\n");
    dialogs.answerFile(obj.string());
    answerImportOptions(true);
    action("ImportObj")->trigger();
    EXPECT_EQ(textsOf(Kind::Information),
              std::vector<std::string>{
                  "quad.obj holds no faces that can be imported; the mesh was not changed."});
    EXPECT_EQ(vertexKeys(m), before);

    // Two visible objects: a notice, then both merged; materials name the samples.
    dialogs.clear();
    const auto mqo = dir / "two.mqo";
    std::string object;
    for (const char* name : {"a", "b"})
        object += std::string("Object \"") + name +
                  "\" {\n\tvisible 15\n\tvertex 4 {\n\t\t0 0 0\n\t\t10 0 0\n\t\t10 10 0\n"
                  "\t\t0 10 0\n\t}\n\tface 1 {\n\t\t4 V(0 1 2 3) M(0)\n\t}\n}\n";
    writeText(mqo, "Metasequoia Document\nFormat Text Ver 1.0\n\nMaterial 1 {\n\t\"-7_2_0\"\n}\n" +
                       object + "Eof\n");
    dialogs.answerFile(mqo.string());
    answerImportOptions(true);
    action("ImportMqo")->trigger();
    ASSERT_TRUE(modal.answered());
    EXPECT_EQ(textsOf(Kind::Information), std::vector<std::string>{"More than one visible object"});
    EXPECT_EQ(m.vertexCount, 8);
    ASSERT_EQ(m.faceCount, 2);
    EXPECT_EQ(std::int16_t(m.faces[1].texture), -7);
    EXPECT_EQ(m.faces[1].vertexIndex, (std::array<std::uint16_t, 4>{4, 5, 6, 7}));
}

} // namespace
} // namespace kavlen

namespace kavlen {
namespace {

// The file dialogs show files of either case: "*.MQO" also lists "model.mqo".
TEST(FileDialogFilter, PatternsMatchBothCases) {
    EXPECT_EQ(filterForAnyCase("Metasequoia file (*.MQO)"), "Metasequoia file (*.MQO *.mqo)");
    EXPECT_EQ(filterForAnyCase("TRLE wad file (*.wad)"), "TRLE wad file (*.wad *.WAD)");
    EXPECT_EQ(filterForAnyCase("Pictures (*.bmp *.Png);;All files (*)"),
              "Pictures (*.bmp *.Png *.BMP *.png *.PNG);;All files (*)");
}

} // namespace
} // namespace kavlen
