// Clicking faces and vertices of the demo package in the render window with real
// mouse events at positions projected from the mesh with the matrices the view
// drew with, and the windows that feed and show those clicks.
#include "editor_fixture.h"
#include "modal_answer.h"

#include "app/attributes_group.h"
#include "app/colour_guide_window.h"
#include "app/face_editing.h"
#include "app/import_options_dialog.h"
#include "app/lighting_editor_window.h"
#include "app/remap_help_window.h"
#include "app/texture_panel.h"
#include "meshedit/lighting.h"
#include "view3d/gl_view.h"
#include "view3d/mesh_scene.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <algorithm>
#include <array>
#include <sstream>

namespace kavlen {
namespace {

using Kind = ScriptedDialogs::Kind;
using Mode = RenderModeEntry;

constexpr Qt::KeyboardModifiers kNone{};
const Qt::KeyboardModifiers kAltCtrl = Qt::AltModifier | Qt::ControlModifier;
const Qt::KeyboardModifiers kAltShift = Qt::AltModifier | Qt::ShiftModifier;

struct FaceEditingTest : EditorTest {
    void openDemo() {
        start();
        dialogs.answerFile(demoCopy("demo.wad"));
        action("Open")->trigger();
        ASSERT_TRUE(editor->packageLoaded());
        faces = main().findChild<FaceEditing*>("faceEditing");
        panel = main().findChild<TexturePanel*>("texturePanel");
        ASSERT_NE(faces, nullptr);
        ASSERT_NE(panel, nullptr);
        changeSubscription = editor->history().onChange(
            [this](const DocumentChange& change) { changes.push_back(change); });
        dialogs.clear();
    }

    // Shows mesh `slot` in `mode`, fitted, and draws a frame.
    void show(int slot, Mode mode) {
        render().showMesh(slot);
        faces->selectRenderMode(mode);
        frame();
    }
    QImage frame() { return render().view().grabFramebuffer(); }
    // Turns the view (degrees about x and y) and draws a frame.
    void turn(double x, double y) {
        render().viewport().viewRotation = {x, y, 0};
        frame();
    }

    Mesh& mesh() { return editor->document().meshes[std::size_t(render().currentMesh())]; }
    MeshFace& face(int f) { return mesh().faces[f]; }
    double ratio() { return render().view().devicePixelRatioF(); }

    // Where a point in view units appears, in the view's logical pixels.
    QPoint project(Point3 p) {
        const auto view = faces->pickView();
        EXPECT_TRUE(view.has_value());
        const auto w = projectToWindow(p, *view);
        EXPECT_TRUE(w.has_value());
        return QPoint(int(std::lround(w->x / ratio())), int(std::lround(w->y / ratio())));
    }
    // The middle of face f on the screen; the pick there must find it.
    QPoint facePoint(int f) {
        const MeshFace& fc = face(f);
        Point3 sum;
        for (int c = 0; c < fc.cornerCount(); ++c) {
            const Point3 p = viewUnits(mesh().vertices[fc.vertexIndex[c]]);
            sum = {sum.x + p.x, sum.y + p.y, sum.z + p.z};
        }
        const double n = fc.cornerCount();
        const QPoint at = project({sum.x / n, sum.y / n, sum.z / n});
        const PickHit hit = faces->pickAt(at);
        EXPECT_TRUE(hit.kind == PickHit::Kind::Face && hit.index == f) << "face " << f;
        return at;
    }
    QPoint vertexPoint(int v) {
        const QPoint at = project(viewUnits(mesh().vertices[v]));
        const PickHit hit = faces->pickAt(at);
        EXPECT_TRUE(hit.kind == PickHit::Kind::Vertex && hit.index == v) << "vertex " << v;
        return at;
    }
    void click(QPoint at, Qt::KeyboardModifiers keys = kNone,
               Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(&render().view(), button, keys, at);
    }
    void setModeBoxes(bool tx, bool sh, bool op) {
        main().modeTx()->setChecked(tx);
        main().modeSh()->setChecked(sh);
        main().modeOp()->setChecked(op);
    }
    std::string status() { return main().statusText(1).toStdString(); }

    FaceEditing* faces = nullptr;
    TexturePanel* panel = nullptr;
    std::vector<DocumentChange> changes;
    Subscription changeSubscription;
    // One change, of the shown mesh only.
    void expectOneChangeOfTheShownMesh() {
        ASSERT_EQ(changes.size(), 1u);
        EXPECT_EQ(changes[0].meshSlots, std::vector<int>{render().currentMesh()});
        EXPECT_FALSE(changes[0].touchesTextures());
    }
};

TEST_F(FaceEditingTest, PlainClickAppliesWhatTheModeBoxesAndTheRenderModeAllow) {
    openDemo();
    show(0, Mode::Textured); // the cube, front face 0 towards the camera
    const QPoint front = facePoint(0);
    panel->textureList()->setCurrentRow(7);
    faces->attributes().setOpacity(OpacityChoice::SemiTransparent);
    faces->attributes().setShining(5);
    click(front);
    EXPECT_EQ(face(0).texture, 7);
    EXPECT_EQ(face(0).attributes, 0x0001 | 5 * 4 | 2);
    expectOneChangeOfTheShownMesh();
    EXPECT_FALSE(render().viewport().listValid()) << "the scene is compiled again";
    // One undo step per click, named after what the click did.
    const MeshFace clicked = face(0);
    editor->undo();
    EXPECT_NE(face(0).texture, 7);
    EXPECT_EQ(editor->history().redoCaption(), "Texture click");
    editor->redo();
    EXPECT_EQ(face(0), clicked);

    // Only the checked boxes act; the face keeps the rest.
    setModeBoxes(true, false, false);
    panel->textureList()->setCurrentRow(9);
    faces->attributes().setShining(0);
    click(front);
    EXPECT_EQ(face(0).texture, 9);
    EXPECT_EQ(face(0).attributes, 0x0017);

    // Shine mode applies shine only, Transparency mode opacity only.
    setModeBoxes(true, true, true);
    panel->textureList()->setCurrentRow(3);
    faces->attributes().setOpacity(OpacityChoice::Opaque);
    show(0, Mode::Shine);
    click(facePoint(0));
    EXPECT_EQ(face(0).texture, 9);
    EXPECT_EQ(face(0).attributes, 0x0001);
    faces->attributes().setShining(31);
    show(0, Mode::Transparency);
    click(facePoint(0));
    EXPECT_EQ(face(0).texture, 9);
    EXPECT_EQ(face(0).attributes, 0x0000);
    show(0, Mode::TriangleType);
    click(facePoint(0));
    EXPECT_EQ(face(0).texture, 9);
    EXPECT_EQ(face(0).attributes, 0x0000);

    // Without any box checked a plain click inspects.
    show(0, Mode::Textured);
    setModeBoxes(false, false, false);
    const EditorSettings kept = editor->collectSettings();
    EXPECT_FALSE(kept.modeTx || kept.modeSh || kept.modeOp) << "the boxes go to the settings";
    click(facePoint(0));
    EXPECT_EQ(status(), "Poly#0 Quad Tex 9 (0.00)");
    EXPECT_EQ(face(0).texture, 9);
}

TEST_F(FaceEditingTest, ShineOnAStaticLitMeshIsRefusedAndTheBoxGoesBackToZero) {
    openDemo();
    show(10, Mode::Textured);
    const std::uint16_t before = face(0).attributes;
    setModeBoxes(false, true, false);
    faces->attributes().setShining(7);
    click(facePoint(0));
    EXPECT_EQ(face(0).attributes, before);
    EXPECT_EQ(faces->attributes().shining(), 0);
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].kind, Kind::Information);
    EXPECT_EQ(dialogs.calls()[0].text, "Static lighting.\rDo not apply shine.");
}

TEST_F(FaceEditingTest, ShiftMirrorsAltCtrlTurnsCornersAndAltRotatesTheVertexOrder) {
    openDemo();
    show(1, Mode::Textured); // the pyramid: face 0 has corner 0, sample 9
    const QPoint side = facePoint(0);
    const std::uint16_t word = face(0).texture;
    click(side, Qt::ShiftModifier);
    EXPECT_EQ(face(0).texture, word ^ 0x8000);
    click(side, Qt::ShiftModifier);
    EXPECT_EQ(face(0).texture, word);

    click(side, kAltCtrl);
    EXPECT_EQ(decodeTextureWord(face(0).texture).corner, 2);
    EXPECT_EQ(status(), "Poly#0 Tri type 2");
    EXPECT_TRUE(faces->colourGuide().cornerButton(2)->isChecked());
    // The guide's chosen corner when its box is checked.
    faces->colourGuide().cornerButton(6)->setChecked(true);
    faces->colourGuide().useSelectedBox()->setChecked(true);
    click(side, kAltCtrl);
    EXPECT_EQ(decodeTextureWord(face(0).texture).corner, 6);
    EXPECT_EQ(decodeTextureWord(face(0).texture).index, 9);

    const auto order = face(0).vertexIndex;
    click(side, Qt::AltModifier);
    EXPECT_EQ(face(0).vertexIndex[0], order[2]);
    EXPECT_EQ(face(0).vertexIndex[1], order[0]);
    EXPECT_EQ(face(0).vertexIndex[2], order[1]);

    // Modes that do not show texture or order leave the face alone; Triangle Type
    // turns corners, Poly Pt Order rotates.
    show(1, Mode::Shine);
    const MeshFace kept = face(0);
    for (auto keys : {Qt::KeyboardModifiers(Qt::ShiftModifier), kAltCtrl,
                      Qt::KeyboardModifiers(Qt::AltModifier)})
        click(facePoint(0), keys);
    EXPECT_EQ(face(0).texture, kept.texture);
    EXPECT_EQ(face(0).vertexIndex, kept.vertexIndex);
    faces->colourGuide().useSelectedBox()->setChecked(false);
    show(1, Mode::TriangleType);
    click(facePoint(0), kAltCtrl);
    EXPECT_EQ(decodeTextureWord(face(0).texture).corner, 0);
    show(1, Mode::PolyPtOrder);
    click(facePoint(0), Qt::AltModifier);
    EXPECT_EQ(face(0).vertexIndex[0], kept.vertexIndex[2]);

    // A quad keeps its corner; its mirror is the sign of the word.
    show(0, Mode::Textured);
    click(facePoint(0), kAltCtrl);
    EXPECT_EQ(face(0).texture, 1);
    click(facePoint(0), Qt::ShiftModifier);
    EXPECT_EQ(std::int16_t(face(0).texture), -1);

    // Hiding works in every face mode.
    show(0, Mode::TriangleType);
    click(facePoint(0), kAltShift);
    EXPECT_EQ(face(0).visible, 0);
}

TEST_F(FaceEditingTest, NearestFaceWinsAndAHiddenFaceUncoversTheOneBehindIt) {
    openDemo();
    show(8, Mode::Textured); // stairs: the lowest step's front hides the risers behind it
    // Near the top edge of the front of the lowest step: the line of sight goes on
    // to the riser of the next step.
    const QPoint at = project(viewUnits(MeshVertex{0, -115, -300}));
    ASSERT_EQ(faces->pickAt(at).index, 0);
    const std::uint16_t behind = face(6).texture;
    panel->textureList()->setCurrentRow(20);
    setModeBoxes(true, false, false);
    const QRgb shown = frame().pixel(at * ratio());
    click(at);
    EXPECT_EQ(face(0).texture, 20);
    EXPECT_EQ(face(6).texture, behind);

    bool indicator = false;
    QObject::connect(faces, &FaceEditing::hiddenFacesChanged, [&](bool on) { indicator = on; });
    click(at, kAltShift);
    EXPECT_EQ(face(0).visible, 0);
    EXPECT_EQ(mesh().hasHiddenFaces, 1);
    EXPECT_TRUE(indicator);
    EXPECT_NE(frame().pixel(at * ratio()), shown) << "the riser behind shows through";
    EXPECT_FALSE(render().hiddenFacesIndicator()->isHidden());
    const PickHit next = faces->pickAt(at);
    ASSERT_EQ(next.kind, PickHit::Kind::Face);
    EXPECT_EQ(next.index, 6);
    click(at);
    EXPECT_EQ(face(next.index).texture, 20);

    action("UnhideFaces")->trigger();
    EXPECT_EQ(face(0).visible, 1);
    EXPECT_EQ(mesh().hasHiddenFaces, 0);
    EXPECT_FALSE(indicator);
    EXPECT_EQ(faces->pickAt(at).index, 0);
    frame();
    EXPECT_TRUE(render().hiddenFacesIndicator()->isHidden());
}

TEST_F(FaceEditingTest, ABackgroundClickOrAnotherButtonChangesNothing) {
    openDemo();
    show(0, Mode::Textured);
    const std::vector<MeshFace> before(mesh().faces.begin(), mesh().faces.begin() + 6);
    const QRgb background = frame().pixel(QPoint(3, 3) * ratio());
    EXPECT_EQ(background, qRgb(30, 65, 90));
    EXPECT_FALSE(faces->pickAt(QPoint(3, 3)).found());
    for (auto keys : {kNone, Qt::KeyboardModifiers(Qt::ControlModifier), kAltShift})
        click(QPoint(3, 3), keys);
    click(facePoint(0), kNone, Qt::RightButton);
    click(facePoint(0), kAltShift, Qt::MiddleButton);
    for (int f = 0; f < 6; ++f) {
        EXPECT_EQ(face(f).texture, before[std::size_t(f)].texture);
        EXPECT_EQ(face(f).attributes, before[std::size_t(f)].attributes);
        EXPECT_EQ(face(f).visible, 1);
    }
    EXPECT_EQ(status(), "");
    EXPECT_TRUE(changes.empty());

    // The right button still turns the view.
    GLView& view = render().view();
    QTest::mousePress(&view, Qt::RightButton, kNone, QPoint(100, 100));
    QMouseEvent drag(QEvent::MouseMove, QPointF(130, 110), view.mapToGlobal(QPointF(130, 110)),
                     Qt::NoButton, Qt::RightButton, kNone);
    QApplication::sendEvent(&view, &drag);
    QTest::mouseRelease(&view, Qt::RightButton, kNone, QPoint(130, 110));
    EXPECT_EQ(render().viewport().viewRotation[1], 30);
    EXPECT_EQ(face(0).texture, before[0].texture);
}

TEST_F(FaceEditingTest, ThePickMatricesPutTheMeshWhereTheViewDrawsIt) {
    openDemo();
    show(10, Mode::Solid); // the column
    // The scene's own transform (Center moves the mesh to the origin with it).
    render().scene().position = {0.4, 0.3, 0};
    render().invalidateScene();
    turn(10, -20);
    const QImage image = frame();
    const QRgb background = qRgb(30, 65, 90);
    const auto view = faces->pickView();
    ASSERT_TRUE(view.has_value());
    // Along the row through the middle of the front of the column, the first
    // and last drawn pixels are where the projected outline says.
    const QPoint middle = facePoint(0);
    const int row = int(std::lround(middle.y() * ratio()));
    ASSERT_TRUE(row > 0 && row < image.height());
    double left = 1e9, right = -1e9;
    for (int v = 0; v < mesh().vertexCount; ++v) {
        const auto w = projectToWindow(viewUnits(mesh().vertices[v]), *view);
        ASSERT_TRUE(w.has_value());
        left = std::min(left, w->x);
        right = std::max(right, w->x);
    }
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, row) == background)
            continue;
        if (first < 0)
            first = x;
        last = x;
    }
    // The widest vertices need not lie on this row: the drawn span is inside the
    // projected one, and the face's own corners bound it from within.
    EXPECT_GE(first, int(left) - 2);
    EXPECT_LE(last, int(right) + 2);
    const MeshFace& front = face(0);
    double faceLeft = 1e9, faceRight = -1e9;
    for (int c = 0; c < 4; ++c) {
        const auto w = projectToWindow(viewUnits(mesh().vertices[front.vertexIndex[c]]), *view);
        faceLeft = std::min(faceLeft, w->x);
        faceRight = std::max(faceRight, w->x);
    }
    EXPECT_LE(first, int(faceLeft) + 6);
    EXPECT_GE(last, int(faceRight) - 6);
    EXPECT_NE(image.pixel(middle * ratio()), background);
}

TEST_F(FaceEditingTest, CtrlClickReadsTheFaceBackIntoTheMainWindow) {
    openDemo();
    show(1, Mode::Textured);
    turn(0, 90); // face 3 of the pyramid: sample 12, corner 6, shine 31
    click(facePoint(3), Qt::ControlModifier);
    EXPECT_EQ(status(), "Poly#3 Tri type 6 Tex 12");
    EXPECT_EQ(faces->attributes().shining(), 31);
    EXPECT_EQ(faces->attributes().opacity(), OpacityChoice::Opaque);
    EXPECT_EQ(panel->selectedSample(), 12);
    EXPECT_EQ(panel->textureList()->currentRow(), 12);
    EXPECT_TRUE(faces->colourGuide().cornerButton(6)->isChecked());

    show(0, Mode::Wireframe);
    turn(0, 180);
    click(facePoint(1), Qt::ControlModifier); // sample 2, transparent, shine 0
    EXPECT_EQ(status(), "Poly#1 Quad Tex 2 (0.00)");
    EXPECT_EQ(faces->attributes().opacity(), OpacityChoice::SemiTransparent);
    EXPECT_EQ(faces->attributes().shining(), 0);
    EXPECT_EQ(panel->selectedSample(), 2);
    face(1).texture = std::uint16_t(-4);
    click(facePoint(1), Qt::ControlModifier);
    EXPECT_EQ(status(), "Poly#1 Quad Tex 4 Flip (0.00)");
    EXPECT_TRUE(changes.empty()) << "inspecting changes nothing";
}

TEST_F(FaceEditingTest, InThePointModesCtrlClickPicksAVertexAndAPlainClickSwapsIt) {
    openDemo();
    show(4, Mode::Points); // the prism
    turn(25, 20);
    // Two vertices that no nearer marker covers.
    std::vector<int> seen;
    for (int v = 0; v < mesh().vertexCount && seen.size() < 2; ++v) {
        const PickHit hit = faces->pickAt(project(viewUnits(mesh().vertices[v])));
        if (hit.kind == PickHit::Kind::Vertex && hit.index == v)
            seen.push_back(v);
    }
    ASSERT_EQ(seen.size(), 2u);
    const int a = seen[0], b = seen[1];
    const MeshVertex va = mesh().vertices[a], vb = mesh().vertices[b];
    const QPoint atA = vertexPoint(a), atB = vertexPoint(b);
    click(atB); // nothing picked yet
    EXPECT_EQ(status(), "");
    click(atA, Qt::ControlModifier);
    EXPECT_EQ(status(), "Vertex " + std::to_string(a) + "  (" + std::to_string(va.x) + ", " +
                            std::to_string(va.y) + ", " + std::to_string(va.z) + ")");
    EXPECT_EQ(render().meshScene()->pickedVertex, a);
    click(atB);
    EXPECT_EQ(status(), "Vertex " + std::to_string(a) + " changed to " + std::to_string(b));
    EXPECT_EQ(render().meshScene()->pickedVertex, -1);
    EXPECT_EQ(mesh().vertices[a].x, vb.x);
    EXPECT_EQ(mesh().vertices[a].z, vb.z);
    EXPECT_EQ(mesh().vertices[b].z, va.z);
    expectOneChangeOfTheShownMesh();
    // A vertex names no face to hide.
    click(atA, kAltShift);
    EXPECT_EQ(mesh().hasHiddenFaces, 0);

    // Points+Wire picks the vertices too, never the wire.
    faces->selectRenderMode(Mode::PointsWire);
    frame();
    click(vertexPoint(b), Qt::ControlModifier);
    EXPECT_EQ(render().meshScene()->pickedVertex, b);
}

TEST_F(FaceEditingTest, LightingEditorPaintsCornersReadsThemBackAndChangesAll) {
    openDemo();
    EXPECT_EQ(action("LightEditor")->shortcut().toString().toStdString(), "Ctrl+L");
    action("LightEditor")->trigger();
    LightingEditorWindow& light = faces->lightingEditor();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&light));
    EXPECT_EQ(light.windowTitle(), "Lighting Editor");
    EXPECT_EQ(light.intensityLabel()->text(), "16");

    show(10, Mode::Textured); // static-lit column
    bool indicator = false;
    QObject::connect(faces, &FaceEditing::lightsEnabledChanged, [&](bool on) { indicator = on; });
    QTest::mouseClick(light.enableLightsBox(), Qt::LeftButton);
    EXPECT_TRUE(indicator);
    EXPECT_EQ(render().meshScene()->lightsEnabled, 1);
    frame();
    EXPECT_FALSE(render().lightsEnabledIndicator()->isHidden());

    light.intensitySlider()->setValue(31);
    EXPECT_EQ(light.intensityLabel()->text(), "31");
    light.vertexBox(1)->setChecked(false);
    const auto corners = face(0).vertexIndex;
    const std::int16_t untouched = mesh().shades[corners[1]];
    const std::uint16_t texture = face(0).texture;
    click(facePoint(0));
    EXPECT_EQ(mesh().shades[corners[0]], 8191);
    EXPECT_EQ(mesh().shades[corners[1]], untouched);
    EXPECT_EQ(mesh().shades[corners[3]], 8191);
    EXPECT_EQ(face(0).texture, texture) << "painting light does nothing else";

    light.intensitySlider()->setValue(3);
    click(facePoint(0), Qt::ControlModifier);
    EXPECT_EQ(light.intensitySlider()->value(), 31);

    // Light is painted in Poly Pt Order too, but not in the other colour modes.
    light.intensitySlider()->setValue(3);
    show(10, Mode::Shine);
    click(facePoint(0));
    EXPECT_EQ(mesh().shades[corners[0]], 8191);
    show(10, Mode::PolyPtOrder);
    click(facePoint(0));
    EXPECT_EQ(mesh().shades[corners[0]], shadeFromIntensity(3));

    QTest::mouseClick(light.changeAllButton(), Qt::LeftButton);
    for (int v = 0; v < mesh().vertexCount; ++v)
        ASSERT_EQ(mesh().shades[v], shadeFromIntensity(3));
    // On a mesh with normals Change All makes it static at once.
    show(0, Mode::Textured);
    QTest::mouseClick(light.changeAllButton(), Qt::LeftButton);
    EXPECT_EQ(mesh().normalCount, -mesh().vertexCount);
}

TEST_F(FaceEditingTest, ColourGuideButtonsSetShineAndOpacityAndClosingDropsTheChosenType) {
    openDemo();
    action("ColorsGuide")->trigger();
    ColourGuideWindow& guide = faces->colourGuide();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&guide));
    EXPECT_EQ(guide.windowTitle(), "Render Mode Color Guides");
    EXPECT_EQ(guide.pages()->tabText(guide.pages()->currentIndex()), "Shine");
    QTest::mouseClick(guide.shineButton(12), Qt::LeftButton);
    EXPECT_EQ(faces->attributes().shining(), 12);
    EXPECT_EQ(guide.shineButton(31)->text(), "31");
    guide.pages()->setCurrentIndex(1);
    QTest::mouseClick(guide.semiTransparentButton(), Qt::LeftButton);
    EXPECT_EQ(faces->attributes().opacity(), OpacityChoice::SemiTransparent);
    QTest::mouseClick(guide.opaqueButton(), Qt::LeftButton);
    EXPECT_EQ(faces->attributes().opacityList()->currentText(), "Opaque");

    guide.useSelectedBox()->setChecked(true);
    guide.close();
    EXPECT_FALSE(guide.useSelectedBox()->isChecked());

    // Each corner's picture fills a different half of the sample square: the
    // quarter at the corner opposite the diagonal stays empty.
    const std::array<QPoint, 4> emptyQuarter{QPoint(48, 48), QPoint(16, 48), QPoint(16, 16),
                                             QPoint(48, 16)};
    for (int k = 0; k < 4; ++k) {
        const QImage picture = triangleCornerPicture(2 * k);
        EXPECT_EQ(picture.size(), QSize(64, 64));
        const QPoint empty = emptyQuarter[std::size_t(k)];
        EXPECT_EQ(qAlpha(picture.pixel(empty)), 0) << "corner " << 2 * k;
        EXPECT_GT(qAlpha(picture.pixel(QPoint(64, 64) - empty)), 0) << "corner " << 2 * k;
    }
}

TEST_F(FaceEditingTest, FacesMenuCommandsWorkOnTheShownMeshWithTheirMessages) {
    openDemo();
    show(0, Mode::Wireframe);
    panel->textureList()->setCurrentRow(7);
    EXPECT_EQ(action("TextureAll")->shortcut().toString().toStdString(), "Ctrl+T");
    EXPECT_EQ(action("UnhideFaces")->shortcut().toString().toStdString(), "Ctrl+U");
    EXPECT_EQ(action("ShineAll")->statusTip(), "Apply shine value to all polys");
    dialogs.answer(false);
    action("TextureAll")->trigger();
    ASSERT_EQ(dialogs.callsOf(Kind::WarningOkCancel).size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].text,
              "This will destroy current texturing.\rPress OK to continue.");
    EXPECT_EQ(faces->renderMode(), Mode::Textured) << "switched before asking";
    EXPECT_EQ(face(2).texture, 3);
    dialogs.answer(true);
    action("TextureAll")->trigger();
    for (int f = 0; f < 6; ++f)
        EXPECT_EQ(face(f).texture, 7);

    faces->attributes().setShining(4);
    action("ShineAll")->trigger();
    EXPECT_EQ(status(), "Shine set to 4 for all faces.");
    EXPECT_EQ(face(1).attributes, 0x0001 | 4 * 4 | 2);

    dialogs.clear();
    action("OpaqueAll")->trigger(); // no entry chosen yet
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].kind, Kind::Error);
    faces->attributes().setOpacity(OpacityChoice::SemiTransparent);
    action("OpaqueAll")->trigger();
    EXPECT_EQ(status(), "All faces set to semi-transparent.");
    EXPECT_EQ(face(0).attributes & 1, 1);

    const auto order = face(0).vertexIndex;
    for (int i = 0; i < 4; ++i)
        action("RotateAll")->trigger();
    EXPECT_EQ(face(0).vertexIndex, order);

    show(10, Mode::Textured);
    dialogs.clear();
    action("ShineAll")->trigger();
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].text, "Static lighting.\rDo not apply shine.");

    action("RemapHelp")->trigger();
    RemapHelpWindow& remap = faces->remapHelp();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&remap));
    EXPECT_EQ(remap.windowTitle(), "Remap Help");
    ASSERT_EQ(remap.pages()->count(), 3);
    EXPECT_EQ(remap.pages()->tabText(2), "Young Lara Hair");
    EXPECT_NE(hairNumberingPicture(HairHighlight::Lara),
              hairNumberingPicture(HairHighlight::YoungLara));
}

} // namespace
} // namespace kavlen

namespace kavlen {
namespace {

struct Bounds {
    std::array<int, 3> min{32767, 32767, 32767}, max{-32768, -32768, -32768};
};
Bounds boundsOf(const Mesh& m) {
    Bounds b;
    for (int i = 0; i < m.vertexCount; ++i) {
        const MeshVertex& v = m.vertices[std::size_t(i)];
        const std::array<int, 3> p{v.x, v.y, v.z};
        for (int a = 0; a < 3; ++a) {
            b.min[a] = std::min(b.min[a], p[a]);
            b.max[a] = std::max(b.max[a], p[a]);
        }
    }
    return b;
}

// The round trip a modder makes: texture a face by clicking it, export the mesh
// to DXF, change it in another program (here: every x coordinate moved in the
// file's text), import it back, relight it as a static and save; the saved
// package holds all of it.
TEST_F(FaceEditingTest, AModdersRoundTripFromClicksToASavedPackage) {
    openDemo();
    show(0, Mode::Textured);
    panel->textureList()->setCurrentRow(11);
    faces->attributes().setOpacity(OpacityChoice::Opaque);
    faces->attributes().setShining(0);
    click(facePoint(0));
    ASSERT_EQ(face(0).texture, 11);
    const Bounds before = boundsOf(mesh());

    const auto dxf = dir / "cube.dxf";
    dialogs.answerFile(dxf.string());
    action("ExportDxf")->trigger();
    ASSERT_TRUE(std::filesystem::exists(dxf));

    // The other program: every x (group codes 10 to 13) one unit further.
    std::istringstream in(readText(dxf));
    std::string edited, line;
    bool xFollows = false;
    int moved = 0;
    while (std::getline(in, line)) {
        const bool cr = !line.empty() && line.back() == '\r';
        std::string text = cr ? line.substr(0, line.size() - 1) : line;
        if (xFollows) {
            text = QString::number(std::stod(text) + 1.0, 'f', 6).toStdString();
            ++moved;
        }
        xFollows = text == " 10" || text == " 11" || text == " 12" || text == " 13";
        edited += text + (cr ? "\r\n" : "\n");
    }
    ASSERT_GT(moved, 0);
    writeText(dxf, edited);

    ModalAnswer modal;
    dialogs.answerFile(dxf.string());
    modal.when<ImportOptionsDialog>([](ImportOptionsDialog& d) {
        d.movable->setChecked(true);
        QTest::mouseClick(d.okButton, Qt::LeftButton);
    });
    action("ImportDxf")->trigger();
    ASSERT_TRUE(modal.answered());
    EXPECT_TRUE(dialogs.callsOf(Kind::Error).empty());
    const Bounds after = boundsOf(mesh());
    const int shift = after.min[0] - before.min[0];
    EXPECT_NE(shift, 0);
    EXPECT_EQ(after.max[0] - before.max[0], shift);
    EXPECT_EQ(after.min[1], before.min[1]);
    EXPECT_EQ(after.max[2], before.max[2]);
    const auto texturedWith11 = [](const Mesh& m) {
        int n = 0;
        for (int f = 0; f < m.faceCount; ++f)
            n += faceSampleIndex(m.faces[std::size_t(f)]) == 11;
        return n;
    };
    EXPECT_EQ(texturedWith11(mesh()), 1) << "the clicked face keeps its sample";

    modal.when<ImportOptionsDialog>([](ImportOptionsDialog& d) {
        d.intensity->setValue(20);
        QTest::mouseClick(d.okButton, Qt::LeftButton);
    });
    action("ChangeLightingType")->trigger();
    ASSERT_TRUE(modal.answered());
    ASSERT_LT(mesh().normalCount, 0) << "static lighting";
    const Mesh relit = mesh();

    action("Save")->trigger();
    Package saved;
    ASSERT_TRUE(loadWad(saved, editor->documentPath()).ok());
    const Mesh& back = saved.meshes[0];
    EXPECT_EQ(back.vertexCount, relit.vertexCount);
    EXPECT_EQ(back.normalCount, relit.normalCount);
    EXPECT_EQ(boundsOf(back).min, after.min);
    EXPECT_EQ(texturedWith11(back), 1);
    for (int i = 0; i < relit.vertexCount; ++i)
        ASSERT_EQ(back.shades[std::size_t(i)], relit.shades[std::size_t(i)]) << i;
    modal.stop();
}

} // namespace
} // namespace kavlen
