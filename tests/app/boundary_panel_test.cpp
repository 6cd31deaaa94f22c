// The "Boundary Data" group on the demo package: the statics list, the field
// mapping for statics and spheres, the radio buttons, edits typed into the fields
// and Automatic Bound.
#include "editor_fixture.h"

#include "app/boundary_panel.h"
#include "view3d/gl_view.h"
#include "view3d/mesh_scene.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace kavlen {
namespace {

using Kind = ScriptedDialogs::Kind;

struct BoundaryPanelTest : EditorTest {
    void startPanel() {
        start();
        panel = main().findChild<BoundaryPanel*>("boundaryPanel");
        ASSERT_NE(panel, nullptr);
        changeSubscription = editor->history().onChange(
            [this](const DocumentChange& change) { changes.push_back(change); });
    }
    void openDemo() {
        startPanel();
        dialogs.answerFile(demoCopy("demo.wad"));
        action("Open")->trigger();
        ASSERT_TRUE(editor->packageLoaded());
        changes.clear();
    }

    // The open shows mesh 0, which no static uses, so the collision box is the
    // chosen one until the visibility radio is clicked on a static's mesh.
    void chooseVisibilityBox() {
        QTest::mouseClick(panel->visibilityRadio(), Qt::LeftButton, {}, QPoint(5, 5));
        ASSERT_TRUE(panel->visibilityRadio()->isChecked());
    }

    // Types a number into field n and presses Enter, as a user does.
    void type(int n, const QString& text) {
        QSpinBox* box = panel->field(n);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    int value(int n) { return panel->field(n)->value(); }
    std::vector<bool> enabled() {
        std::vector<bool> on;
        for (int n = 1; n <= kBoundFieldCount; ++n)
            on.push_back(panel->field(n)->isEnabled());
        return on;
    }
    StaticMesh& staticAt(int s) { return editor->document().statics[static_cast<std::size_t>(s)]; }
    Mesh& mesh(int slot) { return editor->document().meshes[static_cast<std::size_t>(slot)]; }

    BoundaryPanel* panel = nullptr;
    std::vector<DocumentChange> changes;
    Subscription changeSubscription;
};

// Fields 1..13 enabled: visibility group (1-6, 13), collision group (7-12, 13),
// the sphere (7-10).
const std::vector<bool> kVisOn = {1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 1};
const std::vector<bool> kColOn = {0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1};
const std::vector<bool> kSphereOn = {0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 0};

TEST_F(BoundaryPanelTest, StaticShowsItsBoxesInFieldOrderAndTheRadioChoosesTheEditableBox) {
    openDemo();
    QListWidget* list = panel->staticsList();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "Static #0"); // no name list in the data folder
    EXPECT_EQ(list->item(1)->text(), "Static #1");

    // Box values that tell every field apart.
    StaticMesh& st = staticAt(1);
    st.visibilityBox = {-11, 14, -12, 15, -13, 16}; // minX, maxX, minY, maxY, minZ, maxZ
    st.collisionBox = {-21, 24, -22, 25, -23, 26};
    st.flags = 0x8001;
    list->setCurrentRow(1);
    EXPECT_EQ(render().currentMesh(), 11); // the static's mesh is shown
    const int expected[13] = {-11, -12, -13, 14, 15, 16, -21, -22, -23, 24, 25, 26, 0x8001};
    for (int n = 1; n <= 13; ++n)
        EXPECT_EQ(value(n), expected[n - 1]) << "field " << n;
    // The open showed mesh 0, which no static uses: the collision box stays the
    // chosen one, and the visibility radio is enabled again.
    EXPECT_TRUE(panel->visibilityRadio()->isEnabled());
    EXPECT_TRUE(panel->collisionRadio()->isChecked());
    EXPECT_EQ(enabled(), kColOn);

    QTest::mouseClick(panel->visibilityRadio(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(panel->visibilityRadio()->isChecked());
    EXPECT_EQ(enabled(), kVisOn);
    EXPECT_EQ(render().meshScene()->boxKind, 0);
    QTest::mouseClick(panel->collisionRadio(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(enabled(), kColOn);
    EXPECT_EQ(render().meshScene()->boxKind, 1);
}

TEST_F(BoundaryPanelTest, MeshOfNoStaticShowsItsSphereWithTheVisibilityRadioDisabled) {
    openDemo();
    panel->staticsList()->setCurrentRow(0);
    mesh(2).sphereX = -5;
    mesh(2).sphereY = 6;
    mesh(2).sphereZ = -7;
    mesh(2).sphereRadius = 40000;
    EXPECT_FALSE(panel->showMeshBounds(2));
    EXPECT_EQ(panel->staticsList()->currentRow(), -1);
    EXPECT_TRUE(panel->collisionRadio()->isChecked());
    EXPECT_FALSE(panel->visibilityRadio()->isEnabled());
    EXPECT_EQ(render().meshScene()->boxKind, 1);
    const int expected[13] = {0, 0, 0, 0, 0, 0, -5, 6, -7, 40000, 0, 0, 0};
    for (int n = 1; n <= 13; ++n)
        EXPECT_EQ(value(n), expected[n - 1]) << "field " << n;
    EXPECT_EQ(enabled(), kSphereOn);
    // The disabled radio cannot be chosen.
    QTest::mouseClick(panel->visibilityRadio(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(panel->collisionRadio()->isChecked());

    // Back on a static's mesh: its boxes, with the radio enabled again and the
    // collision box still the chosen one.
    EXPECT_TRUE(panel->showMeshBounds(10));
    EXPECT_EQ(panel->staticsList()->currentRow(), 0);
    EXPECT_TRUE(panel->visibilityRadio()->isEnabled());
    EXPECT_EQ(enabled(), kColOn);
    EXPECT_EQ(value(7), staticAt(0).collisionBox[0]);
}

TEST_F(BoundaryPanelTest, TypedValuesReachTheDocumentWithinTheirRanges) {
    openDemo();
    panel->staticsList()->setCurrentRow(0);
    chooseVisibilityBox();
    const auto visibility = staticAt(0).visibilityBox;
    type(4, "123"); // visibility maxX
    EXPECT_EQ(staticAt(0).visibilityBox[1], 123);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_TRUE(changes[0].statics);
    EXPECT_TRUE(changes[0].meshSlots.empty());
    type(5, "40000"); // visibility maxY: kept within 16 bits
    EXPECT_EQ(staticAt(0).visibilityBox[3], 32767);
    EXPECT_EQ(value(5), 32767);
    type(1, "-50000");
    EXPECT_EQ(staticAt(0).visibilityBox[0], -32768);
    type(13, "65537"); // the flag word keeps its low 16 bits
    EXPECT_EQ(staticAt(0).flags, 1);
    EXPECT_EQ(value(13), 1);
    EXPECT_EQ(staticAt(0).visibilityBox[2], visibility[2]); // others untouched

    // A moveable's mesh: fields 7 to 10 edit its sphere, the radius within 0..65535.
    panel->showMesh(3);
    changes.clear();
    type(7, "-321");
    EXPECT_EQ(mesh(3).sphereX, -321);
    type(10, "70000");
    EXPECT_EQ(mesh(3).sphereRadius, 65535);
    EXPECT_EQ(value(10), 65535);
    type(10, "-3");
    EXPECT_EQ(mesh(3).sphereRadius, 0);
    EXPECT_EQ(value(10), 0);
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back().meshSlots, std::vector<int>{3});
    EXPECT_FALSE(changes.back().statics);
    EXPECT_EQ(dialogs.calls().size(), 1u); // the open dialog only
}

TEST_F(BoundaryPanelTest, BoxEditWhileAnotherMeshIsShownIsRefusedAndTheFieldRestored) {
    openDemo();
    panel->staticsList()->setCurrentRow(0);
    chooseVisibilityBox();
    const StaticMesh before = staticAt(0);
    // Another mesh reaches the render window without the panel being told
    // (as a found face does).
    render().scene().currentMesh = 4;
    editor->selection().setMeshSlot(4);
    type(2, "77");
    const auto shown = dialogs.callsOf(Kind::Information);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Select Static mesh from the static mesh list control.");
    EXPECT_EQ(staticAt(0).visibilityBox, before.visibilityBox);
    EXPECT_EQ(value(2), before.visibilityBox[2]);
    EXPECT_TRUE(changes.empty());
}

TEST_F(BoundaryPanelTest, AutomaticBoundFillsTheCheckedBoxOrTheSphere) {
    startPanel();
    panel->automaticBoundButton()->click();
    ASSERT_EQ(dialogs.callsOf(Kind::Error).size(), 1u);
    EXPECT_EQ(dialogs.callsOf(Kind::Error)[0].text, "No wad opened.");

    dialogs.clear();
    dialogs.answerFile(demoCopy("demo.wad"));
    action("Open")->trigger();
    ASSERT_TRUE(editor->packageLoaded());

    // The demo's visibility boxes are the meshes' extents; the collision boxes lie
    // inside them. Automatic Bound on the collision box makes the two equal.
    panel->staticsList()->setCurrentRow(1);
    QTest::mouseClick(panel->collisionRadio(), Qt::LeftButton, {}, QPoint(5, 5));
    const Mesh sphereBefore = mesh(11);
    ASSERT_NE(staticAt(1).collisionBox, staticAt(1).visibilityBox);
    panel->automaticBoundButton()->click();
    EXPECT_EQ(staticAt(1).collisionBox, staticAt(1).visibilityBox);
    EXPECT_EQ(value(7), staticAt(1).visibilityBox[0]);
    EXPECT_EQ(value(12), staticAt(1).visibilityBox[5]);
    EXPECT_EQ(mesh(11).sphereRadius, sphereBefore.sphereRadius);

    // A moveable's mesh whose vertices lie on two points gets the sphere through
    // their midpoint.
    Mesh& m = mesh(3);
    ASSERT_GE(m.vertexCount, 2);
    m.vertices[0] = {-120, 10, 0};
    for (int i = 1; i < m.vertexCount; ++i)
        m.vertices[static_cast<std::size_t>(i)] = {35, 50, 8};
    panel->showMesh(3);
    EXPECT_EQ(render().currentMesh(), 3);
    changes.clear();
    panel->automaticBoundButton()->click();
    EXPECT_EQ(m.sphereX, -42); // -42.5 toward zero
    EXPECT_EQ(m.sphereY, 30);
    EXPECT_EQ(m.sphereZ, 4);
    EXPECT_EQ(m.sphereRadius, 80); // sqrt(78² + 20² + 4²) = 80.6
    const int expected[4] = {-42, 30, 4, 80};
    for (int n = 7; n <= 10; ++n)
        EXPECT_EQ(value(n), expected[n - 7]);
    EXPECT_EQ(enabled(), kSphereOn);
    EXPECT_EQ(changes.size(), 1u);
    EXPECT_EQ(dialogs.calls().size(), 1u); // the open dialog only
}

TEST_F(BoundaryPanelTest, StaticsAreNamedFromTheNameListAndRefilledOnEveryOpen) {
    std::string names;
    for (int id = 0; id <= 10; ++id)
        names += "STATIC_" + std::to_string(id) + "\r\n";
    writeText(dir / "NGLEStatics.txt", names);
    openDemo();
    panel->staticsList()->setCurrentRow(1);
    dialogs.answerFile(demoCopy("again.wad"));
    action("Open")->trigger();
    ASSERT_EQ(panel->staticsList()->count(), 2);
    EXPECT_EQ(panel->staticsList()->item(0)->text(), "Static_0");
    EXPECT_EQ(panel->staticsList()->item(1)->text(), "Static_10");
    EXPECT_EQ(panel->staticsList()->currentRow(), -1);
}

TEST_F(BoundaryPanelTest, CommandsThatChangeTheShownMeshRefreshItsNumbers) {
    openDemo();
    panel->showMesh(5);
    // as Move Mesh or an import leaves it
    editor->edit("Test", EditScope::mesh(5), [&] { mesh(5).sphereRadius = 1234; });
    EXPECT_EQ(value(10), 1234);
    // An undo brings the old number back into the field.
    editor->undo();
    EXPECT_NE(value(10), 1234);
    editor->redo();
    EXPECT_EQ(value(10), 1234);
    // other meshes' changes leave the fields alone
    editor->edit("Test", EditScope::mesh(4), [&] { mesh(4).sphereRadius = 77; });
    mesh(5).sphereRadius = 99;
    editor->edit("Test", EditScope{}.withPage(0), [&] { editor->document().textureData[0] ^= 1; });
    EXPECT_EQ(value(10), 1234);
}

TEST_F(BoundaryPanelTest, APackageWithoutStaticsEditsSpheresOnly) {
    Package wad;
    ASSERT_TRUE(loadWad(wad, demoCopy("demo.wad")).ok());
    wad.statics.clear();
    wad.staticCount = 0;
    const auto path = dir / "nostatics.wad";
    ASSERT_TRUE(saveWad(wad, path).ok);
    startPanel();
    dialogs.answerFile(path.string());
    action("Open")->trigger();
    ASSERT_TRUE(editor->packageLoaded());
    EXPECT_EQ(panel->staticsList()->count(), 0);

    panel->showMesh(10); // a static's mesh in the demo, no static's here
    EXPECT_FALSE(panel->visibilityRadio()->isEnabled());
    EXPECT_TRUE(panel->collisionRadio()->isChecked());
    EXPECT_EQ(enabled(), kSphereOn);
    type(9, "-77");
    EXPECT_EQ(mesh(10).sphereZ, -77);
    EXPECT_TRUE(dialogs.callsOf(Kind::Information).empty());
}

// Pixels of the box colour (yellow) in the render window's next frame.
int boxPixels(RenderWindow& render) {
    const QImage frame = render.view().grabFramebuffer();
    int count = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            count += frame.pixelColor(x, y) == QColor(255, 255, 0);
    return count;
}

TEST_F(BoundaryPanelTest, TheViewDrawsTheChosenBoxWhileShowBoxIsChecked) {
    openDemo();
    render().show();
    panel->staticsList()->setCurrentRow(0);
    chooseVisibilityBox();
    const int visibility = boxPixels(render());
    EXPECT_GT(visibility, 20);
    QTest::mouseClick(panel->collisionRadio(), Qt::LeftButton, {}, QPoint(5, 5));
    const int collision = boxPixels(render());
    EXPECT_GT(collision, 20);
    EXPECT_NE(collision, visibility); // the collision box lies inside the other
    panel->showBoxCheck()->click();
    EXPECT_EQ(boxPixels(render()), 0);
}

TEST_F(BoundaryPanelTest, ShowBoxFollowsTheSettingsAndGoesToTheSceneAndBack) {
    writeText(locations.settingsFile, "[View]\r\nshow box=0\r\n");
    startPanel();
    EXPECT_FALSE(panel->showBoxCheck()->isChecked());
    EXPECT_EQ(render().meshScene()->showBox, 0);
    panel->showBoxCheck()->click();
    EXPECT_EQ(render().meshScene()->showBox, 1);
    EXPECT_TRUE(editor->collectSettings().showBox);
}

} // namespace
} // namespace kavlen
