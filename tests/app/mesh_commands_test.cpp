// The mesh editing commands driven through their menus and windows on the demo
// package: Move Mesh, Mirror Mesh, Remap, Add new empty mesh, Recalc Normals and
// Change Lighting Type.
#include "app/boundary_panel.h"
#include "app/import_options_dialog.h"
#include "app/move_mesh_window.h"
#include "app/remap_window.h"
#include "document/bounds.h"
#include "mesh_editing_fixture.h"
#include "mesh_snapshot.h"
#include "meshedit/add_mesh.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <cmath>

namespace kavlen {
namespace {

// The demo package's mesh slots used here.
constexpr int kCube = 0;    // moveable lighting, face 0 shiny, no static
constexpr int kPyramid = 1; // triangles with every corner, some mirrored
constexpr int kColumn = 10; // static 0's mesh, static lighting
constexpr int kColumnStatic = 0;

struct MeshCommandsTest : MeshEditingTest {
    std::vector<VertexKey> vertices(int slot) { return vertexKeys(mesh(slot)); }
    std::vector<FaceKey> faces(int slot) { return faceKeys(mesh(slot)); }
    MoveMeshWindow& moveWindow() { return *main().findChild<MoveMeshWindow*>(); }
};

constexpr int X = 0, Y = 1, Z = 2;

int extreme(const std::vector<VertexKey>& vs, int axis, bool highest) {
    int best = highest ? -100000 : 100000;
    for (const VertexKey& v : vs)
        best = highest ? std::max(best, v[axis]) : std::min(best, v[axis]);
    return best;
}

TEST_F(MeshCommandsTest, WithoutAPackageTheCommandsRefuseButMoveMeshOpens) {
    start();
    for (CommandId id : std::initializer_list<CommandId>{
             "MirrorXZ", "MirrorYZ", "MirrorXY", "Remap", "AddNewEmptyMesh",
             "RecalcNormalsAveraged", "RecalcNormalsWeighted", "ChangeLightingType"}) {
        dialogs.clear();
        action(id)->trigger();
        EXPECT_EQ(textsOf(Kind::Error), std::vector<std::string>{"No wad opened."}) << id;
        EXPECT_EQ(dialogs.calls().size(), 1u) << id;
    }
    EXPECT_EQ(main().findChild<RemapWindow*>()->isVisible(), false);

    dialogs.clear();
    action("MoveMesh")->trigger();
    EXPECT_TRUE(moveWindow().isVisible());
    EXPECT_EQ(moveWindow().pages->currentIndex(), 0);
    EXPECT_EQ(moveWindow().pages->tabText(0), "Move");
    EXPECT_EQ(moveWindow().pages->tabText(1), "Number");
    EXPECT_EQ(moveWindow().pages->tabText(2), "Shift");
    // Its buttons do nothing without a mesh.
    QTest::mouseClick(moveWindow().upArrows[0], Qt::LeftButton);
    moveWindow().boundClicked(MeshBound::HighZ);
    EXPECT_TRUE(dialogs.calls().empty());
    EXPECT_FALSE(editor->packageLoaded());
}

TEST_F(MeshCommandsTest, MoveArrowsStepByOneOrByAClickAndCarryTheSphere) {
    openDemo();
    showMesh(kCube);
    const auto before = vertices(kCube);
    const std::int16_t sphereY = mesh(kCube).sphereY;
    action("MoveMesh")->trigger();
    MoveMeshWindow& w = moveWindow();

    QTest::mouseClick(w.downArrows[0], Qt::LeftButton); // X down: -1
    w.moveClicks->setChecked(true);
    QTest::mouseClick(w.upArrows[1], Qt::LeftButton); // Y up with Clicks: -128
    QTest::mouseClick(w.upArrows[2], Qt::LeftButton); // Z up with Clicks: +128
    const auto after = vertices(kCube);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i][X], before[i][X] - 1);
        EXPECT_EQ(after[i][Y], before[i][Y] - 128);
        EXPECT_EQ(after[i][Z], before[i][Z] + 128);
    }
    EXPECT_EQ(mesh(kCube).sphereY, sphereY - 128);
    expectChangesOfShownMesh(3);
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(MeshCommandsTest, NumberAndShiftPagesMoveToExactPlacesAndRefuseBeyondTheRange) {
    openDemo();
    showMesh(kCube);
    action("MoveMesh")->trigger();
    MoveMeshWindow& w = moveWindow();
    const auto start = vertices(kCube);

    w.numbers[0]->setValue(10);
    w.numbers[1]->setValue(-20);
    w.numbers[2]->setValue(30);
    QTest::mouseClick(w.numberOk, Qt::LeftButton);
    EXPECT_EQ(vertices(kCube)[0][X], start[0][X] + 10);
    EXPECT_EQ(vertices(kCube)[0][Y], start[0][Y] - 20);
    EXPECT_EQ(vertices(kCube)[0][Z], start[0][Z] + 30);
    QTest::mouseClick(w.numberClear, Qt::LeftButton);
    EXPECT_EQ(w.numbers[1]->value(), 0);

    // High Z onto 0, then with Clicks onto 2 * 128; Low Y onto -5.
    w.shiftValue->setValue(0);
    QTest::mouseClick(w.boundButtons[int(MeshBound::HighZ)], Qt::LeftButton);
    EXPECT_EQ(extreme(vertices(kCube), Z, true), 0);
    w.shiftValue->setValue(2);
    w.shiftClicks->setChecked(true);
    QTest::mouseClick(w.boundButtons[int(MeshBound::HighZ)], Qt::LeftButton);
    EXPECT_EQ(extreme(vertices(kCube), Z, true), 256);
    w.shiftClicks->setChecked(false);
    w.shiftValue->setValue(-5);
    QTest::mouseClick(w.boundButtons[int(MeshBound::LowY)], Qt::LeftButton);
    EXPECT_EQ(extreme(vertices(kCube), Y, false), -5);

    // Past the 16-bit range: refused as a whole, said on the status bar.
    const auto placed = vertices(kCube);
    const Mesh copy = mesh(kCube);
    w.numbers[0]->setValue(40000);
    QTest::mouseClick(w.numberOk, Qt::LeftButton);
    EXPECT_EQ(main().statusText(1).toStdString(),
              "Mesh not moved: coordinates must stay within -32768..32767.");
    EXPECT_EQ(vertices(kCube), placed);
    // Low X onto 32767 would push High X 512 further.
    w.shiftValue->setValue(32767);
    QTest::mouseClick(w.boundButtons[int(MeshBound::LowX)], Qt::LeftButton);
    EXPECT_EQ(vertices(kCube), placed);
    EXPECT_EQ(mesh(kCube).sphereX, copy.sphereX);
    // Low X onto 32767 - 512 just fits.
    w.shiftValue->setValue(32767 - 512);
    QTest::mouseClick(w.boundButtons[int(MeshBound::LowX)], Qt::LeftButton);
    EXPECT_EQ(extreme(vertices(kCube), X, true), 32767);
    EXPECT_TRUE(main().statusText(1).isEmpty()) << "a move that fits clears the refusal";
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(MeshCommandsTest, MovingAStaticsMeshMovesItsBoxesNotTheSphere) {
    openDemo();
    showMesh(kColumn);
    const StaticMesh before = editor->document().statics[kColumnStatic];
    changes.clear();
    const std::int16_t sphereX = mesh(kColumn).sphereX;
    action("MoveMesh")->trigger();
    moveWindow().moveClicks->setChecked(true);
    QTest::mouseClick(moveWindow().upArrows[0], Qt::LeftButton);
    const StaticMesh& after = editor->document().statics[kColumnStatic];
    EXPECT_EQ(after.visibilityBox[0], before.visibilityBox[0] + 128);
    EXPECT_EQ(after.visibilityBox[1], before.visibilityBox[1] + 128);
    EXPECT_EQ(after.collisionBox[0], before.collisionBox[0] + 128);
    EXPECT_EQ(after.visibilityBox[2], before.visibilityBox[2]);
    EXPECT_EQ(mesh(kColumn).sphereX, sphereX);
    expectChangesOfShownMesh(1, true);
    // The Boundary Data group shows the moved box (field 1: visibility minX).
    auto* panel = main().findChild<BoundaryPanel*>("boundaryPanel");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->field(1)->value(), after.visibilityBox[0]);
}

TEST_F(MeshCommandsTest, MirroringTwiceRestoresTheMeshAndAStaticsBoxesFollow) {
    openDemo();
    showMesh(kPyramid);
    const auto vs = vertices(kPyramid);
    const auto fs = faces(kPyramid);
    action("MirrorXZ")->trigger();
    for (std::size_t i = 0; i < vs.size(); ++i)
        EXPECT_EQ(vertices(kPyramid)[i][Y], -vs[i][Y]);
    EXPECT_NE(std::get<2>(faces(kPyramid)[0]), std::get<2>(fs[0]));
    EXPECT_EQ(std::get<1>(faces(kPyramid)[0])[1], std::get<1>(fs[0])[2]);
    action("MirrorXZ")->trigger();
    EXPECT_EQ(vertices(kPyramid), vs);
    EXPECT_EQ(faces(kPyramid), fs);

    showMesh(kColumn);
    const StaticMesh before = editor->document().statics[kColumnStatic];
    changes.clear();
    const auto shades = mesh(kColumn).shades;
    action("MirrorYZ")->trigger();
    const StaticMesh& after = editor->document().statics[kColumnStatic];
    EXPECT_EQ(after.visibilityBox[0], -before.visibilityBox[1]);
    EXPECT_EQ(after.visibilityBox[1], -before.visibilityBox[0]);
    EXPECT_EQ(after.collisionBox[0], -before.collisionBox[1]);
    EXPECT_EQ(after.visibilityBox[2], before.visibilityBox[2]);
    EXPECT_EQ(mesh(kColumn).shades, shades);
    ASSERT_FALSE(changes.empty());
    // The statics are named only when a box really changed (a box centred on
    // the mirror plane stays as it was).
    EXPECT_EQ(changes.back().statics, !(after == before));
    EXPECT_TRUE(changes.back().touchesMesh(editor->selection().meshSlot()));
    EXPECT_TRUE(dialogs.calls().empty());

    // Without a current mesh nothing happens.
    showMesh(-1);
    action("MirrorXY")->trigger();
    action("RecalcNormalsAveraged")->trigger();
    modal.when<RemapWindow>([](RemapWindow& w) { w.reject(); });
    action("Remap")->trigger();
    EXPECT_FALSE(modal.answered());
    modal.when<ImportOptionsDialog>([](ImportOptionsDialog& d) { d.reject(); });
    action("ChangeLightingType")->trigger();
    EXPECT_FALSE(modal.answered());
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(MeshCommandsTest, RemapSwapsTwoVerticesAndStaysOpenForIndicesItCannotSwap) {
    openDemo();
    showMesh(kCube);
    const auto vs = vertices(kCube);
    const auto fs = faces(kCube);
    RemapWindow& remap = *main().findChild<RemapWindow*>();

    bool stayedOpen = false;
    modal.when<RemapWindow>([&](RemapWindow& w) {
        EXPECT_EQ(w.windowTitle(), "Remap Vertices");
        EXPECT_EQ(w.current->maximum(), 7);
        QTest::mouseClick(w.reMapButton, Qt::LeftButton); // 0 and 0: nothing to swap
        stayedOpen = w.isVisible();
        w.current->setValue(2);
        w.replacement->setValue(5);
        QTest::mouseClick(w.reMapButton, Qt::LeftButton);
    });
    action("Remap")->trigger();
    ASSERT_TRUE(modal.answered());
    EXPECT_TRUE(stayedOpen);
    EXPECT_FALSE(remap.isVisible());
    EXPECT_EQ(vertices(kCube)[2], vs[5]);
    EXPECT_EQ(vertices(kCube)[5], vs[2]);
    EXPECT_NE(faces(kCube), fs);
    expectChangesOfShownMesh(1);

    // On the pyramid (5 vertices) an index beyond its vertices starts at 0.
    showMesh(kPyramid);
    const auto pyramid = vertices(kPyramid);
    modal.when<RemapWindow>([](RemapWindow& w) {
        EXPECT_EQ(w.current->maximum(), 4);
        EXPECT_EQ(w.current->value(), 2);
        EXPECT_EQ(w.replacement->value(), 0);
        QTest::mouseClick(w.cancelButton, Qt::LeftButton);
    });
    action("Remap")->trigger();
    ASSERT_TRUE(modal.answered());
    EXPECT_EQ(vertices(kPyramid), pyramid);

    // The same swap again restores the cube.
    showMesh(kCube);
    modal.when<RemapWindow>([](RemapWindow& w) {
        w.replacement->setValue(5);
        QTest::mouseClick(w.reMapButton, Qt::LeftButton);
    });
    action("Remap")->trigger();
    ASSERT_TRUE(modal.answered());
    EXPECT_EQ(vertices(kCube), vs);
    EXPECT_EQ(faces(kCube), fs);

    // Showing another mesh sets both indices back to 0.
    ASSERT_NE(remap.current->value() + remap.replacement->value(), 0);
    render().showMesh(kPyramid);
    EXPECT_EQ(remap.current->value(), 0);
    EXPECT_EQ(remap.replacement->value(), 0);
}

TEST_F(MeshCommandsTest, AnAddedEmptyMeshIsSavedWithItsRealOffset) {
    openDemo();
    Package& wad = editor->document();
    const int meshes = int(wad.meshCount);
    const std::uint32_t pointers = wad.meshPointerCount;
    action("AddNewEmptyMesh")->trigger();
    EXPECT_TRUE(dialogs.calls().empty());
    ASSERT_EQ(int(wad.meshCount), meshes + 1);
    EXPECT_EQ(wad.meshPointerCount, pointers + 1);
    EXPECT_EQ(wad.meshes[std::size_t(meshes)].vertexCount, 0);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_TRUE(changes[0].meshTables);
    // The render window shows it as the last of the added meshes.
    EXPECT_EQ(render().currentMesh(), meshes);
    EXPECT_EQ(render().moveablesList()->currentText(), "-- Added Meshes --");
    EXPECT_EQ(render().meshesList()->currentIndex(), render().meshesList()->count() - 1);

    // The writer stores the new mesh after the others and points at it.
    std::size_t dataBefore = 0;
    for (int k = 0; k < meshes; ++k)
        dataBefore += wad.meshes[std::size_t(k)].fileSize();
    action("Save")->trigger();
    Package saved;
    ASSERT_TRUE(loadWad(saved, editor->documentPath()).ok());
    ASSERT_EQ(int(saved.meshCount), meshes + 1);
    EXPECT_EQ(saved.meshPointers[pointers], dataBefore);
    EXPECT_EQ(lookupMeshOffset(saved.directory, saved.meshPointers[pointers]), meshes);
    EXPECT_EQ(saved.meshes[std::size_t(meshes)].vertexCount, 0);
}

TEST_F(MeshCommandsTest, AddingToAFullPackageIsRefusedInAnErrorBox) {
    openDemo();
    Package& wad = editor->document();
    while (wad.meshCount < kMaxMeshes)
        ASSERT_NE(addEmptyMesh(wad).slot, -1);
    action("AddNewEmptyMesh")->trigger();
    EXPECT_EQ(wad.meshCount, kMaxMeshes);
    ASSERT_EQ(dialogs.callsOf(Kind::Error).size(), 1u);
    EXPECT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].text,
              "The package already holds 1000 meshes; no mesh can be added.");
}

TEST_F(MeshCommandsTest, RecalcNormalsRebuildsMoveableNormalsAndRefusesStaticLighting) {
    openDemo();
    showMesh(kCube);
    for (MeshNormal& n : mesh(kCube).normals)
        n = {};
    action("RecalcNormalsWeighted")->trigger();
    const MeshNormal n = mesh(kCube).normals[0];
    EXPECT_NEAR(std::sqrt(double(n.x) * n.x + double(n.y) * n.y + double(n.z) * n.z), 16300, 2);
    EXPECT_EQ(textsOf(Kind::Information), std::vector<std::string>{"Weighted normals calculated."});

    dialogs.clear();
    showMesh(kColumn);
    const Mesh column = mesh(kColumn);
    action("RecalcNormalsAveraged")->trigger();
    EXPECT_EQ(textsOf(Kind::Error), std::vector<std::string>{"Mesh uses static lighting."});
    EXPECT_EQ(mesh(kColumn).normalCount, column.normalCount);
    EXPECT_EQ(mesh(kColumn).shades, column.shades);
}

TEST_F(MeshCommandsTest, ChangeLightingTypeAsksThroughTheImportOptionsDialog) {
    openDemo();
    showMesh(kCube);
    const Mesh cube = mesh(kCube);
    ASSERT_GT(cube.normalCount, 0);
    ASSERT_NE(cube.faces[0].attributes & ~1, 0);

    // Cancel leaves the mesh alone.
    modal.when<ImportOptionsDialog>([](ImportOptionsDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Change to static lighting");
        EXPECT_FALSE(d.movable->isEnabled());
        EXPECT_TRUE(d.staticLighting->isChecked());
        EXPECT_TRUE(d.intensity->isEnabled());
        QTest::mouseClick(d.cancelButton, Qt::LeftButton);
    });
    action("ChangeLightingType")->trigger();
    ASSERT_TRUE(modal.answered());
    EXPECT_EQ(mesh(kCube).normalCount, cube.normalCount);
    EXPECT_TRUE(dialogs.calls().empty());

    modal.when<ImportOptionsDialog>([](ImportOptionsDialog& d) {
        d.intensity->setValue(31);
        EXPECT_EQ(d.intensityLabel->text(), "31");
        QTest::mouseClick(d.okButton, Qt::LeftButton);
    });
    action("ChangeLightingType")->trigger();
    ASSERT_TRUE(modal.answered());
    EXPECT_EQ(mesh(kCube).normalCount, -int(cube.vertexCount));
    EXPECT_EQ(mesh(kCube).shades[0], 8191);
    EXPECT_EQ(mesh(kCube).faces[0].attributes, cube.faces[0].attributes & 1);
    EXPECT_EQ(textsOf(Kind::Information),
              (std::vector<std::string>{"Shine removed from all faces.",
                                        "Lighting changed from moveable to static."}));
    ImportOptionsDialog& dialog = *main().findChild<ImportOptionsDialog*>();
    EXPECT_EQ(dialog.windowTitle(), "Import options");
    EXPECT_TRUE(dialog.movable->isEnabled());
    EXPECT_TRUE(dialog.staticLighting->isChecked()) << "the choice stays as it was left";

    // And back to moveable lighting: averaged normals again.
    dialogs.clear();
    modal.when<ImportOptionsDialog>([](ImportOptionsDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Change to moveable lighting");
        EXPECT_FALSE(d.staticLighting->isEnabled());
        EXPECT_TRUE(d.movable->isChecked());
        EXPECT_FALSE(d.intensity->isEnabled());
        QTest::mouseClick(d.okButton, Qt::LeftButton);
    });
    action("ChangeLightingType")->trigger();
    ASSERT_TRUE(modal.answered());
    EXPECT_EQ(mesh(kCube).normalCount, int(cube.vertexCount));
    EXPECT_EQ(textsOf(Kind::Information),
              (std::vector<std::string>{"Averaged normals calculated.",
                                        "Lighting changed from static to moveable."}));
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back().meshSlots, std::vector<int>{editor->selection().meshSlot()});
}

} // namespace
} // namespace kavlen
