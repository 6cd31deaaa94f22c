// The render window's controls, the view colour commands and the display
// switches, driven through the running editor's widgets, menus and dialogs.
#include "editor_fixture.h"

#include "app/moveables_window.h"
#include "document/demo_package.h"
#include "meshedit/add_mesh.h"
#include "view3d/gl_view.h"
#include "view3d/render_modes.h"

#include <GL/gl.h>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QOpenGLContext>
#include <QPushButton>
#include <QToolButton>

namespace kavlen {
namespace {

using Kind = ScriptedDialogs::Kind;

QStringList entries(const QComboBox* list) {
    QStringList all;
    for (int i = 0; i < list->count(); ++i)
        all << list->itemText(i);
    return all;
}

// The colour a 0x00BBGGRR value stands for.
QColor bgr(std::uint32_t c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

struct RenderWindowTest : EditorTest {
    // Starts the editor and opens `path`, with the render window's context made.
    void startAndOpen(const std::string& path) {
        start();
        render().view().grabFramebuffer();
        ASSERT_TRUE(editor->openPackage(path));
    }

    // The demo package with changes, saved in the test folder and returned as a path:
    // slot 5 gets 512 vertices (extents 400 x 300 x 30), slot 9 none, a fifth
    // moveable shares the wedge (slot 2) and a sixth has no mesh at all.
    std::string builtPackage() {
        std::unique_ptr<Package> wad = makeDemoPackage();
        Mesh& big = wad->meshes[5];
        big.vertexCount = 512;
        big.normalCount = 512;
        for (int i = 0; i < 512; ++i)
            big.vertices[static_cast<std::size_t>(i)] = {-100, -50, 10};
        big.vertices[511] = {300, 250, 40};
        Mesh& empty = wad->meshes[9];
        empty.vertexCount = 0;
        empty.normalCount = 0;
        empty.faceCount = 0;

        Moveable shares;
        shares.objectId = 40;
        shares.firstPointer = 2; // the wedge's pointer in moveable 0
        shares.pointerCount = 1;
        Moveable none;
        none.objectId = 41;
        none.firstPointer = 0;
        none.pointerCount = 0;
        wad->moveables.push_back(shares);
        wad->moveables.push_back(none);
        wad->moveableCount = static_cast<std::uint32_t>(wad->moveables.size());
        const auto path = dir / "built.wad";
        EXPECT_TRUE(saveWad(*wad, path).ok);
        return path.string();
    }

    QComboBox* moveables() { return render().moveablesList(); }
    QComboBox* meshes() { return render().meshesList(); }
    QToolButton* countButton() { return render().moveablesCountButton(); }

    // Counts the scene list compiles from now on.
    int* countCompiles() {
        auto compiles = std::make_shared<int>(0);
        Viewport& viewport = render().viewport();
        viewport.onDraw = [compiles, draw = viewport.onDraw] {
            ++*compiles;
            draw();
        };
        compileCounter = compiles;
        return compiles.get();
    }

    // The GL filters of texture `name` of the scene (1..4097).
    std::pair<GLint, GLint> filters(unsigned name) {
        GLView& view = render().view();
        view.makeCurrent();
        glBindTexture(GL_TEXTURE_2D, render().scene().textures.glName(name));
        GLint minFilter = 0, magFilter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
        view.doneCurrent();
        return {minFilter, magFilter};
    }

    std::shared_ptr<int> compileCounter;
};

TEST_F(RenderWindowTest, OpeningFillsTheListsAndShowsMeshZeroCentredWithCaptionAndSizes) {
    writeText(dir / "NGLEObjects.txt", "LARA\r\nPISTOLS_ANIM\r\n");
    std::vector<int> shown;
    start();
    editor->addMeshShownListener([&](int slot) { shown.push_back(slot); });
    QTest::qWait(1); // the layout settles after the first show
    render().view().grabFramebuffer();
    const QSize viewSize = render().view().size();
    ASSERT_TRUE(editor->openPackage(demoCopy("demo.wad")));
    EXPECT_EQ(render().view().size(), viewSize) << "the controls keep their height";

    EXPECT_EQ(entries(moveables()), (QStringList{"Lara", "Pistols_anim", "Moveable #2",
                                                 "Moveable #3", "-- Added Meshes --"}));
    EXPECT_EQ(moveables()->currentIndex(), 0);
    EXPECT_EQ(render().meshesGroup()->title(), "4 Meshes");
    EXPECT_EQ(entries(meshes()), (QStringList{"Mesh #0", "Mesh #1", "Mesh #2", "Mesh #3"}));
    EXPECT_EQ(meshes()->currentIndex(), 0);
    EXPECT_EQ(render().allMeshesList()->count(), 13);
    EXPECT_EQ(render().allMeshesList()->itemText(12), "Mesh #12");
    EXPECT_EQ(render().allMeshesList()->currentIndex(), 0);
    EXPECT_FALSE(render().allMeshesGroup()->isVisible());
    EXPECT_EQ(countButton()->text(), "1");
    EXPECT_FALSE(countButton()->isEnabled());
    EXPECT_EQ(countButton()->toolTip(), "Number of moveables using mesh");

    // Mesh 0, the 512-unit cube, centred on the origin.
    EXPECT_EQ(render().currentMesh(), 0);
    EXPECT_EQ(render().windowTitle(), "Render window - Mesh#:   0   vertices:   8   polys:   6");
    EXPECT_EQ(main().statusText(2), "Height:512   Width:512   Depth:512");
    EXPECT_EQ(render().scene().position, (Vec3{0, 0, 0}));
    EXPECT_DOUBLE_EQ(render().viewport().boundMax[0], 2.56);
    EXPECT_FALSE(render().hiddenFacesIndicator()->isVisible());
    EXPECT_EQ(shown, std::vector<int>{0});
    EXPECT_EQ(render().renderModeList()->currentText(), "Wireframe");

    // A second open, after another choice and with "Open wad in Textured Mode",
    // starts from the first moveable again, in Textured mode.
    moveables()->setCurrentIndex(2);
    EXPECT_EQ(render().currentMesh(), 6);
    EXPECT_EQ(render().windowTitle().left(22), "Render window - Mesh#:");
    action("OpenTextured")->trigger();
    ASSERT_TRUE(editor->openPackage(demoCopy("demo.wad")));
    EXPECT_EQ(moveables()->currentIndex(), 0);
    EXPECT_EQ(render().meshesGroup()->title(), "4 Meshes");
    EXPECT_EQ(render().currentMesh(), 0);
    EXPECT_EQ(render().renderModeList()->currentIndex(), 2);
    EXPECT_EQ(render().scene().renderMode, kModeTextured);
    EXPECT_TRUE(main().modeTx()->isEnabled() && main().modeSh()->isEnabled() &&
                main().modeOp()->isEnabled());
}

TEST_F(RenderWindowTest, CaptionWarnsOfMultiplesOf256VerticesAndTheStatusBarShowsTheSizes) {
    startAndOpen(builtPackage());
    // The pyramid, through the moveable's list.
    meshes()->setCurrentIndex(1);
    EXPECT_EQ(render().windowTitle(), "Render window - Mesh#:   1   vertices:   5   polys:   6");
    EXPECT_EQ(main().statusText(2), "Height:500   Width:600   Depth:600");

    // The all-meshes list, shown from the Options menu, shows any slot.
    action("ShowAllMeshes")->trigger();
    EXPECT_TRUE(render().allMeshesGroup()->isVisible());
    render().allMeshesList()->setCurrentIndex(5);
    EXPECT_EQ(render().currentMesh(), 5);
    EXPECT_EQ(render().windowTitle(), "Render window - Mesh#:   5   vertices: 512   polys:   3"
                                      " WARNING - multiple of 256 vertices");
    EXPECT_EQ(main().statusText(2), "Height:300   Width:400   Depth:30");
    // Centred: the box from (-1, -2.5, -0.4) to (3, 0.5, -0.1) moved by minus its centre.
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(render().scene().position[i], (Vec3{-1.0, 1.0, 0.25})[i], 1e-12);

    render().allMeshesList()->setCurrentIndex(9);
    EXPECT_EQ(render().windowTitle(), "Render window - Mesh#:   9   vertices:   0   polys:   0");
    EXPECT_EQ(main().statusText(2), "Height:0   Width:0   Depth:0");
    EXPECT_EQ(render().scene().position, (Vec3{0, 0, 0}));

    action("ShowAllMeshes")->trigger();
    EXPECT_FALSE(render().allMeshesGroup()->isVisible());
}

TEST_F(RenderWindowTest, MeshCaptionsAndTheCountOfMoveablesUsingAMesh) {
    startAndOpen(builtPackage());
    ASSERT_EQ(moveables()->count(), 7);

    // The wedge is used by moveables 0, 1 and 4.
    meshes()->setCurrentIndex(2);
    EXPECT_EQ(render().currentMesh(), 2);
    EXPECT_EQ(countButton()->text(), "3");
    EXPECT_TRUE(countButton()->isEnabled());
    EXPECT_EQ(countButton()->toolTip(), "Number of moveables using mesh\n\rClick for list");
    MoveablesWindow* window = render().moveablesWindow();
    EXPECT_FALSE(window->isVisible());
    QTest::mouseClick(countButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_EQ(window->windowTitle(), "Moveables");
    EXPECT_EQ(window->text(), "Moveable #0\nMoveable #1\nMoveable #4");
    window->close();

    // The fifth moveable's one mesh is the wedge as well.
    moveables()->setCurrentIndex(4);
    EXPECT_EQ(render().meshesGroup()->title(), "1 Mesh");
    EXPECT_EQ(entries(meshes()), QStringList{"Mesh #0"});
    EXPECT_EQ(render().currentMesh(), 2);
    EXPECT_EQ(countButton()->text(), "3");

    // A moveable without meshes: an empty list and nothing to count.
    moveables()->setCurrentIndex(5);
    EXPECT_EQ(render().meshesGroup()->title(), "0 Meshes");
    EXPECT_EQ(meshes()->count(), 0);
    EXPECT_EQ(countButton()->text(), "");
    EXPECT_FALSE(countButton()->isEnabled());

    // The added meshes: slot 12, which no moveable uses.
    moveables()->setCurrentIndex(6);
    EXPECT_EQ(moveables()->currentText(), "-- Added Meshes --");
    EXPECT_EQ(render().meshesGroup()->title(), "1 Mesh");
    EXPECT_EQ(render().currentMesh(), 12);
    EXPECT_EQ(countButton()->text(), "0");
    EXPECT_FALSE(countButton()->isEnabled());
    EXPECT_EQ(countButton()->toolTip(), "Number of moveables using mesh");
    EXPECT_EQ(window->text(), "");

    // A static's mesh chosen in the all-meshes list clears the moveable choice.
    render().allMeshesList()->setCurrentIndex(10);
    EXPECT_EQ(render().currentMesh(), 10);
    EXPECT_EQ(moveables()->currentIndex(), -1);
}

TEST_F(RenderWindowTest, RenderModesEnableTheMainWindowsModeBoxes) {
    start();
    struct Expected {
        int listIndex;
        std::uint8_t mode;
        bool tx, sh, op;
    };
    for (const Expected& e : {Expected{3, kModePoints, false, false, false},
                              Expected{5, kModeShine, false, true, false},
                              Expected{6, kModeTransparency, false, false, true},
                              Expected{8, kModePolyPtOrder, false, false, false},
                              Expected{1, kModeSolid, true, true, true}}) {
        render().view().grabFramebuffer();
        ASSERT_TRUE(render().viewport().listValid());
        render().renderModeList()->setCurrentIndex(e.listIndex);
        EXPECT_EQ(render().scene().renderMode, e.mode) << e.listIndex;
        EXPECT_EQ(main().modeTx()->isEnabled(), e.tx) << e.listIndex;
        EXPECT_EQ(main().modeSh()->isEnabled(), e.sh) << e.listIndex;
        EXPECT_EQ(main().modeOp()->isEnabled(), e.op) << e.listIndex;
        EXPECT_FALSE(render().viewport().listValid()) << e.listIndex;
    }
}

TEST_F(RenderWindowTest, BackgroundColourRepaintsOnlyWhileLineColourRebuildsTheScene) {
    startAndOpen(demoCopy("demo.wad"));
    render().view().grabFramebuffer();
    const int* compiles = countCompiles();

    // A click on the "BG" box opens the colour dialog preset with the background.
    dialogs.answerColour(0x00000080); // red 128
    QTest::mouseClick(render().colourBox(ViewColour::Background), Qt::LeftButton);
    ASSERT_EQ(dialogs.callsOf(Kind::Colour).size(), 1u);
    EXPECT_EQ(dialogs.callsOf(Kind::Colour)[0].initialColour, 0x005A411Eu);
    QImage frame = render().view().grabFramebuffer();
    EXPECT_EQ(*compiles, 0) << "the background is not in the scene list";
    EXPECT_EQ(frame.pixelColor(1, 1), QColor(128, 0, 0));
    EXPECT_EQ(render().colourBox(ViewColour::Background)->grab().toImage().pixelColor(3, 3),
              QColor(128, 0, 0));
    for (QLabel* indicator : {render().hiddenFacesIndicator(), render().lightsEnabledIndicator()}) {
        EXPECT_EQ(indicator->palette().color(QPalette::Window), QColor(128, 0, 0));
        EXPECT_EQ(indicator->palette().color(QPalette::WindowText), QColor(127, 255, 255));
    }

    // Line Color from the View menu rebuilds the list: the cube's edges turn magenta.
    dialogs.answerColour(0x00FF00FF);
    action("LineColor")->trigger();
    EXPECT_EQ(dialogs.callsOf(Kind::Colour).back().initialColour, 0x00FFFF00u);
    frame = render().view().grabFramebuffer();
    EXPECT_EQ(*compiles, 1);
    int magenta = 0, aqua = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            magenta += frame.pixelColor(x, y) == QColor(255, 0, 255);
            aqua += frame.pixelColor(x, y) == QColor(0, 255, 255);
        }
    EXPECT_GT(magenta, 50);
    EXPECT_EQ(aqua, 0);
    EXPECT_EQ(render().colourBox(ViewColour::Line)->grab().toImage().pixelColor(3, 3),
              QColor(255, 0, 255));

    // A cancelled dialog changes nothing.
    dialogs.cancel();
    QTest::mouseClick(render().colourBox(ViewColour::Box), Qt::LeftButton);
    render().view().grabFramebuffer();
    EXPECT_EQ(*compiles, 1);
    EXPECT_EQ(render().scene().boxColor, 0x0000FFFFu);
    EXPECT_EQ(dialogs.unanswered(), 0u);
}

TEST_F(RenderWindowTest, ResetColorsRestoresTheDefaultsAndClosingKeepsWhatIsShown) {
    writeText(locations.settingsFile,
              "[Colours]\r\nbackground=clBlack\r\nline=clRed\r\nbox=clBlue\r\npoint=clNavy\r\n"
              "point2=clTeal\r\ngrid=clWhite\r\n[View]\r\nshow lines=1\r\ntex#0 white=1\r\n"
              "bilinear filtering=1\r\n[Options]\r\nshow all meshes list=1\r\n");
    start();
    EXPECT_EQ(render().viewport().clearColor(), 0u);
    EXPECT_EQ(render().colourBox(ViewColour::Line)->grab().toImage().pixelColor(3, 3),
              QColor(255, 0, 0));
    EXPECT_TRUE(action("OutlineFaces")->isChecked());
    EXPECT_TRUE(render().scene().outlineFaces);
    EXPECT_TRUE(action("UntexturedWhite")->isChecked());
    EXPECT_TRUE(render().scene().untexturedWhite);
    EXPECT_TRUE(action("BilinearFiltering")->isChecked());
    EXPECT_TRUE(render().allMeshesGroup()->isVisible());

    render().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&render()));
    QTest::keyClick(&render(), Qt::Key_F10, Qt::ShiftModifier);
    const MeshScene& scene = render().scene();
    EXPECT_EQ(render().viewport().clearColor(), 0x005A411Eu);
    EXPECT_EQ(scene.lineColor, 0x00FFFF00u);
    EXPECT_EQ(scene.boxColor, 0x0000FFFFu);
    EXPECT_EQ(scene.pointColor, 0x0000FF00u);
    EXPECT_EQ(scene.point2Color, 0x000000FFu);
    EXPECT_EQ(scene.gridColor, 0x00808080u);
    for (ViewColour which : {ViewColour::Background, ViewColour::Line, ViewColour::Box})
        EXPECT_EQ(render().colourBox(which)->grab().toImage().pixelColor(3, 3),
                  bgr(render().viewColour(which)));

    action("OutlineFaces")->trigger();
    ASSERT_TRUE(main().close());
    const std::string text = readText(locations.settingsFile);
    EXPECT_NE(text.find("[Colours]\r\nbackground=$005A411E\r\nline=clAqua\r\nbox=clYellow\r\n"
                        "point=clLime\r\npoint2=clRed\r\ngrid=clGray\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("bilinear filtering=1\r\n"), std::string::npos);
    EXPECT_NE(text.find("show lines=0\r\ntex#0 white=1\r\n"), std::string::npos);
    EXPECT_NE(text.find("show all meshes list=1\r\n"), std::string::npos);
}

TEST_F(RenderWindowTest, BilinearFilteringUploadsEverySampleAgainWithMipmaps) {
    start();
    render().view().grabFramebuffer();
    action("BilinearFiltering")->trigger();
    EXPECT_FALSE(action("BilinearFiltering")->isChecked()) << "silent without a package";
    EXPECT_TRUE(dialogs.calls().empty());

    ASSERT_TRUE(editor->openPackage(demoCopy("demo.wad")));
    const unsigned samples = editor->document().texInfoCount;
    ASSERT_GT(samples, 0u);
    const unsigned firstGlName = render().scene().textures.glName(1);
    EXPECT_EQ(filters(1), std::make_pair(GLint(GL_NEAREST), GLint(GL_NEAREST)));

    action("BilinearFiltering")->trigger();
    EXPECT_TRUE(action("BilinearFiltering")->isChecked());
    for (unsigned n = 1; n <= samples; ++n)
        ASSERT_EQ(filters(n), std::make_pair(GLint(GL_LINEAR_MIPMAP_LINEAR), GLint(GL_LINEAR)))
            << "sample " << n - 1;
    EXPECT_EQ(filters(4097).first, GL_NEAREST) << "the Solid picture keeps nearest filtering";
    EXPECT_EQ(render().scene().textures.glName(1), firstGlName);
    EXPECT_FALSE(render().viewport().listValid());

    // Samples changed later follow the switch too.
    editor->edit("Test", EditScope{}.withPage(editor->document().texInfos[3].page),
                 [&] { editor->document().textureData[0] ^= 1; });
    EXPECT_EQ(filters(4).first, GL_LINEAR_MIPMAP_LINEAR);

    action("BilinearFiltering")->trigger();
    for (unsigned n = 1; n <= samples; ++n)
        ASSERT_EQ(filters(n), std::make_pair(GLint(GL_NEAREST), GLint(GL_NEAREST)));
}

TEST_F(RenderWindowTest, FaceAndHairSwitchesSetTheSceneAndRebuildIt) {
    start();
    EXPECT_TRUE(action("ColorScaleShine")->isChecked());
    EXPECT_TRUE(action("HairNone")->isChecked());
    const MeshScene& scene = render().scene();

    render().view().grabFramebuffer();
    render().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&render()));
    QTest::keyClick(&render(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(scene.outlineFaces);
    EXPECT_FALSE(render().viewport().listValid());
    action("ShowBentQuads")->trigger();
    EXPECT_TRUE(scene.showBentQuads);
    action("ColorScaleShine")->trigger();
    EXPECT_FALSE(scene.colorScaleShine);

    action("HairYoungLara")->trigger();
    EXPECT_EQ(scene.markedHairSet(), HairHighlight::YoungLara);
    EXPECT_FALSE(action("HairNone")->isChecked());
    action("HairLara")->trigger();
    EXPECT_EQ(scene.markedHairSet(), HairHighlight::Lara);
    EXPECT_FALSE(action("HairYoungLara")->isChecked());
    action("HairNone")->trigger();
    EXPECT_EQ(scene.markedHairSet(), HairHighlight::None);
    EXPECT_FALSE(action("HairLara")->isChecked());
}

TEST_F(RenderWindowTest, CommandsThatTouchMeshesRebuildTheSceneAndRefreshTheLists) {
    startAndOpen(demoCopy("demo.wad"));
    Package& wad = editor->document();
    moveables()->setCurrentIndex(4); // the added meshes
    ASSERT_EQ(render().currentMesh(), 12);
    render().view().grabFramebuffer();

    // A command that hides a face of the current mesh.
    EXPECT_FALSE(render().hiddenFacesIndicator()->isVisible());
    editor->edit("Hide face", EditScope::mesh(12), [&] {
        Mesh& mesh = wad.meshes[12];
        mesh.faces[0].visible = 0;
        mesh.hasHiddenFaces = 1;
    });
    EXPECT_TRUE(render().hiddenFacesIndicator()->isVisible());
    EXPECT_FALSE(render().viewport().listValid());
    // The Lighting Editor's switch shows its indicator with the next rebuild.
    EXPECT_FALSE(render().lightsEnabledIndicator()->isVisible());
    render().scene().lightsEnabled = 1;
    render().invalidateScene();
    EXPECT_TRUE(render().lightsEnabledIndicator()->isVisible());

    // A command that adds two empty slots and shows the last one.
    EditScope tables;
    tables.meshTables = true;
    editor->edit("Add meshes", tables, [&] {
        ASSERT_EQ(addEmptyMesh(wad).slot, 13);
        ASSERT_EQ(addEmptyMesh(wad).slot, 14);
    });
    render().refreshMeshLists(true);
    EXPECT_EQ(render().allMeshesList()->count(), 15);
    EXPECT_EQ(moveables()->currentText(), "-- Added Meshes --");
    EXPECT_EQ(render().meshesGroup()->title(), "3 Meshes");
    EXPECT_EQ(entries(meshes()), (QStringList{"Mesh #0", "Mesh #1", "Mesh #2"}));
    EXPECT_EQ(meshes()->currentIndex(), 2);
    EXPECT_EQ(render().currentMesh(), 14);
    EXPECT_EQ(render().windowTitle(), "Render window - Mesh#:  14   vertices:   0   polys:   0");
    EXPECT_FALSE(render().hiddenFacesIndicator()->isVisible());

    // Without the reselection the lists grow and keep their choice.
    meshes()->setCurrentIndex(0);
    editor->edit("Add mesh", tables, [&] { ASSERT_EQ(addEmptyMesh(wad).slot, 15); });

    EXPECT_EQ(render().allMeshesList()->count(), 16);
    EXPECT_EQ(meshes()->count(), 4);
    EXPECT_EQ(meshes()->currentIndex(), 0);
    EXPECT_EQ(render().currentMesh(), 12);
}

TEST_F(RenderWindowTest, CenterFitsTheViewAgainAfterTheUserMovedIt) {
    startAndOpen(demoCopy("demo.wad"));
    Viewport& viewport = render().viewport();
    const float fittedZ = render().camera().posZ;
    const Vec3 fittedScale = viewport.viewScale;
    viewport.viewRotation = {30, 40, 0};
    viewport.viewScale = {2, 2, 2};
    render().camera().posX = 3;
    render().scene().pickedVertex = 4;

    QTest::mouseClick(render().centerButton(), Qt::LeftButton);
    EXPECT_EQ(viewport.viewRotation, (Vec3{0, 0, 0}));
    EXPECT_EQ(viewport.viewScale, fittedScale);
    EXPECT_EQ(render().camera().posX, 0.0f);
    EXPECT_EQ(render().camera().posZ, fittedZ);
    EXPECT_EQ(render().scene().pickedVertex, 4) << "Center alone keeps the picked vertex";

    // Showing a mesh forgets the vertex waiting to be swapped.
    render().showMesh(1);
    EXPECT_EQ(render().scene().pickedVertex, -1);
    EXPECT_EQ(render().allMeshesList()->currentIndex(), 1);
}

TEST_F(RenderWindowTest, AMeshChosenInAReportIsShownWhereTheListsHoldIt) {
    startAndOpen(demoCopy("demo.wad"));
    struct Expected {
        int slot;
        int moveable; // entry of the moveables list, -1 for none
        int entry;    // entry of the meshes list
    };
    for (const Expected& e :
         {Expected{5, 1, 1}, Expected{2, 0, 2}, Expected{12, 4, 0}, Expected{10, -1, 1}}) {
        render().showMeshInLists(e.slot);
        EXPECT_EQ(render().currentMesh(), e.slot);
        EXPECT_EQ(render().allMeshesList()->currentIndex(), e.slot);
        EXPECT_EQ(moveables()->currentIndex(), e.moveable) << e.slot;
        if (e.moveable >= 0) {
            EXPECT_EQ(meshes()->currentIndex(), e.entry) << e.slot;
        }
    }
}

} // namespace
} // namespace kavlen
