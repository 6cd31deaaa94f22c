// The texture page view, the texture list and the Textures menu, driven by real
// mouse events on the page view and by the menu actions on scripted dialogs.
#include "editor_fixture.h"

#include "app/texture_number_windows.h"
#include "app/texture_page_view.h"
#include "app/texture_panel.h"
#include "document/demo_package.h"
#include "textures/samples.h"
#include "view3d/gl_view.h"
#include "view3d/mesh_scene.h"
#include "view3d/render_modes.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <cstring>

namespace kavlen {
namespace {

using Kind = ScriptedDialogs::Kind;

struct TexturePanelTest : EditorTest {
    void openDemo() {
        start();
        dialogs.answerFile(demoCopy("demo.wad"));
        action("Open")->trigger();
        ASSERT_TRUE(editor->packageLoaded());
        panel = main().findChild<TexturePanel*>("texturePanel");
        ASSERT_NE(panel, nullptr);
        changeSubscription = editor->history().onChange(
            [this](const DocumentChange& change) { changed.push_back(change); });
    }

    TexturePageView* view() { return panel->pageView(); }
    void click(int x, int y, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(view(), button, modifiers, QPoint(x, y));
    }
    void shiftDrag(QPoint from, QPoint to) {
        QTest::mousePress(view(), Qt::LeftButton, Qt::ShiftModifier, from);
        QTest::mouseMove(view(), (from + to) / 2);
        QTest::mouseMove(view(), to);
        QTest::mouseRelease(view(), Qt::LeftButton, Qt::ShiftModifier, to);
    }
    void showPage(int page) { panel->pageSelector()->setCurrentIndex(page); }
    QRgb shown(int x, int y) { return view()->rendered().pixel(x, y); }
    QRgb texel(int page, int x, int y) {
        const Bgr c = pagePicture(editor->document(), page).pixel(x, y);
        return qRgb(c.r, c.g, c.b);
    }
    std::string shapeText() { return panel->shapeLabel()->text().toStdString(); }
    std::string pickedText() { return panel->pickedButton()->text().toStdString(); }

    TexturePanel* panel = nullptr;
    std::vector<DocumentChange> changed;
    Subscription changeSubscription;
};

TEST_F(TexturePanelTest, OpenFillsTheSelectorAndListAndShowsSampleZeroOnItsPage) {
    openDemo();
    const Package& wad = editor->document();
    ASSERT_EQ(panel->pageSelector()->count(), 3);
    EXPECT_EQ(panel->pageSelector()->itemText(0), "Page#0");
    EXPECT_EQ(panel->pageSelector()->itemText(2), "Page#2");
    ASSERT_EQ(panel->textureList()->count(), static_cast<int>(wad.texInfoCount));
    EXPECT_EQ(panel->textureList()->item(5)->text(), "Texture#5");
    EXPECT_EQ(panel->textureList()->currentRow(), 0);
    EXPECT_EQ(pickedText(), "Not picked");
    EXPECT_FALSE(panel->pickedButton()->isEnabled());
    // Sample 0 covers page 1: the page is shown and framed at its outermost texels.
    EXPECT_EQ(panel->currentPage(), 1);
    EXPECT_EQ(panel->pageSelector()->currentIndex(), 1);
    EXPECT_EQ(view()->size(), QSize(256, 256));
    EXPECT_EQ(shown(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(shown(255, 128), qRgb(255, 255, 255));
    EXPECT_EQ(shown(128, 128), texel(1, 128, 128));
    EXPECT_EQ(shapeText(), "Cut Shape:");
    EXPECT_FALSE(action("CutFromShape")->isEnabled());
    EXPECT_FALSE(panel->cutButton()->isEnabled());

    showPage(2);
    EXPECT_EQ(panel->currentPage(), 2);
    EXPECT_EQ(shown(0, 0), texel(2, 0, 0)); // no frame on another page
}

TEST_F(TexturePanelTest, PagePicksSelectTheLowestHitAndCountTheOthers) {
    openDemo();
    showPage(0);
    click(5, 5); // tile 1 alone
    EXPECT_EQ(panel->selectedSample(), 1);
    EXPECT_EQ(panel->textureList()->currentRow(), 1);
    EXPECT_EQ(pickedText(), "1 tex picked");
    EXPECT_FALSE(panel->pickedButton()->isEnabled());
    EXPECT_EQ(shown(31, 0), qRgb(255, 255, 255));
    EXPECT_EQ(shown(32, 0), texel(0, 32, 0));

    click(20, 20); // tile 1 and the 64 x 64 sample 37 over it
    EXPECT_EQ(panel->selectedSample(), 1);
    EXPECT_EQ(pickedText(), "2 tex picked");
    EXPECT_TRUE(panel->pickedButton()->isEnabled());

    showPage(1);
    click(110, 110); // the whole page, its middle and sample 45
    EXPECT_EQ(panel->selectedSample(), 0);
    EXPECT_EQ(pickedText(), "3 tex picked");
    ASSERT_EQ(panel->lastHits().size(), 3u);
    EXPECT_EQ(chooseEntry(panel->lastHits()[2]), "Texture#45 57 x 33");

    // Ctrl + right picks the other sample, outlined with dots.
    click(10, 10, Qt::RightButton, Qt::ControlModifier);
    EXPECT_EQ(panel->otherSample(), 0);
    click(120, 20, Qt::RightButton, Qt::ControlModifier); // samples 0 and 42
    EXPECT_EQ(panel->otherSample(), 0);
    EXPECT_EQ(pickedText(), "2 tex picked");

    // A click of another button puts the other sample back to 0.
    click(120, 20, Qt::MiddleButton);
    EXPECT_EQ(panel->otherSample(), 0);
    EXPECT_EQ(pickedText(), "2 tex picked");

    // The texture list selects directly and resets the picked button.
    panel->textureList()->setCurrentRow(46);
    EXPECT_EQ(panel->selectedSample(), 46);
    EXPECT_EQ(panel->currentPage(), 2);
    EXPECT_EQ(pickedText(), "Not picked");
    EXPECT_FALSE(panel->pickedButton()->isEnabled());
}

void clickEntry(QListWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

TEST_F(TexturePanelTest, ChooseWindowListsTheHitsAndSetsTheListThatPickedThem) {
    openDemo();
    showPage(1);
    click(110, 110); // samples 0, 41 and 45
    QTest::mouseClick(panel->pickedButton(), Qt::LeftButton);
    ChooseTextureWindow* choose = panel->chooseWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(choose));
    EXPECT_EQ(choose->windowTitle(), "Choose Texture");
    ASSERT_EQ(choose->list->count(), 3);
    EXPECT_EQ(choose->list->item(1)->text(), "Texture#41 128 x 128");
    clickEntry(choose->list, 2);
    EXPECT_EQ(panel->selectedSample(), 45);
    EXPECT_EQ(panel->textureList()->currentRow(), 45);
    EXPECT_EQ(pickedText(), "Not picked");
    EXPECT_FALSE(choose->isVisible());

    // Ctrl + right with two hits ends with the choose target set: the window then
    // chooses the other sample.
    click(120, 20, Qt::RightButton, Qt::ControlModifier); // samples 0 and 42
    EXPECT_TRUE(panel->chooseTarget());
    QTest::mouseClick(panel->pickedButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(choose));
    clickEntry(choose->list, 1);
    EXPECT_EQ(panel->otherSample(), 42);
    EXPECT_EQ(panel->selectedSample(), 45);
    EXPECT_EQ(panel->swapWindow()->other.list->currentRow(), 42);
}

TEST_F(TexturePanelTest, SwapExchangesTwoRecordsAndTheSelectionsFollowThem) {
    openDemo();
    action("ChangeIdNumber")->trigger();
    SwapTexturesWindow* swap = panel->swapWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(swap));
    EXPECT_EQ(swap->windowTitle(), "Swap Texture Numbers");
    EXPECT_FALSE(swap->swapButton->isEnabled()); // both on sample 0

    clickEntry(swap->selected.list, 3);
    EXPECT_EQ(panel->selectedSample(), 3);
    EXPECT_EQ(panel->textureList()->currentRow(), 3);
    EXPECT_FALSE(swap->swapButton->isEnabled()); // the other is still 0
    clickEntry(swap->other.list, 34);
    EXPECT_EQ(panel->otherSample(), 34);
    EXPECT_EQ(swap->other.size->text(), "64 x 32");
    EXPECT_EQ(swap->selected.size->text(), "32 x 32");
    ASSERT_TRUE(swap->swapButton->isEnabled());

    const TexInfo three = editor->document().texInfos[3];
    const TexInfo other = editor->document().texInfos[34];
    QTest::mouseClick(swap->swapButton, Qt::LeftButton);
    EXPECT_EQ(std::memcmp(&editor->document().texInfos[3], &other, sizeof(TexInfo)), 0);
    EXPECT_EQ(std::memcmp(&editor->document().texInfos[34], &three, sizeof(TexInfo)), 0);
    EXPECT_EQ(panel->selectedSample(), 34);
    EXPECT_EQ(panel->otherSample(), 3);
    EXPECT_EQ(panel->textureList()->currentRow(), 34);
    EXPECT_EQ(swap->selected.list->currentRow(), 34);
    EXPECT_EQ(swap->other.list->currentRow(), 3);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].samples, (std::vector<int>{3, 34}));
    EXPECT_FALSE(panel->chooseTarget()); // the selected sample was shown last
}

TEST_F(TexturePanelTest, FindWalksThroughTheFacesThatUseTheSelectedSample) {
    openDemo();
    std::vector<std::pair<int, int>> highlighted;
    editor->addHighlightFaceListener([&](int m, int f) { highlighted.emplace_back(m, f); });
    panel->textureList()->setCurrentRow(1);
    action("FindTexture")->trigger();
    FindTextureWindow* find = panel->findWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(find));
    EXPECT_EQ(find->group->title(), "Texture#1  (32x32)");
    EXPECT_FALSE(find->findNext->isEnabled());

    QTest::mouseClick(find->findFirst, Qt::LeftButton);
    const QString status = find->status->text();
    ASSERT_TRUE(status.startsWith("Used by ")) << status.toStdString();
    const int total = status.section(' ', 2, 2).toInt();
    ASSERT_GE(total, 2) << "the demo package uses tile 1 on several faces";
    EXPECT_TRUE(status.endsWith(" faces in the wad."));
    ASSERT_EQ(find->foundFaces->count(), 1);
    ASSERT_FALSE(highlighted.empty());
    EXPECT_EQ(
        find->foundFaces->item(0)->text(),
        QString("Mesh#%1 Poly#%2").arg(highlighted.back().first).arg(highlighted.back().second));
    for (int i = 1; i < total; ++i) {
        ASSERT_TRUE(find->findNext->isEnabled()) << i;
        QTest::mouseClick(find->findNext, Qt::LeftButton);
    }
    QTest::mouseClick(find->findNext, Qt::LeftButton);
    EXPECT_EQ(find->foundFaces->item(0)->text(), "No more found.");
    EXPECT_EQ(find->foundFaces->count(), total + 1);
    EXPECT_FALSE(find->findNext->isEnabled());

    // Another sample resets the window and switches the highlight off.
    panel->textureList()->setCurrentRow(2);
    EXPECT_EQ(find->group->title(), "Texture#2  (32x32)");
    EXPECT_EQ(find->foundFaces->count(), 0);
    EXPECT_TRUE(find->status->text().isEmpty());
    EXPECT_EQ(highlighted.back(), std::make_pair(-1, -1));

    // A sample no face uses.
    showPage(2);
    shiftDrag({10, 200}, {30, 220});
    action("CutFromShape")->trigger();
    QTest::mouseClick(find->findFirst, Qt::LeftButton);
    EXPECT_EQ(find->status->text(), "Used by 0 faces in the wad.");
    ASSERT_EQ(find->meshes->count(), 1);
    EXPECT_EQ(find->meshes->item(0)->text(), "Not used.");

    QTest::mouseClick(find->closeButton, Qt::LeftButton);
    EXPECT_FALSE(find->isVisible());
}

TEST_F(TexturePanelTest, ShiftDragDrawsAShapeFromEitherCornerAndCutsIt) {
    openDemo();
    showPage(0);
    shiftDrag({13, 13}, {10, 10});
    const CuttingShape& shape = panel->shape();
    EXPECT_TRUE(shape.active);
    EXPECT_EQ((std::array{shape.x0, shape.y0, shape.x1, shape.y1}), (std::array{10, 10, 13, 13}));
    EXPECT_EQ(shapeText(), "Cut Shape: (x=10, y=10)      4 x 4");
    EXPECT_TRUE(panel->shapeLabel()->isEnabled());
    EXPECT_TRUE(action("CutFromShape")->isEnabled());
    // The dotted outline: red dots and white gaps along the edges.
    EXPECT_EQ(shown(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(shown(10, 11), qRgb(255, 255, 255));
    EXPECT_EQ(panel->previewWindow()->windowTitle(), "Cut Preview");
    EXPECT_EQ(panel->previewZoom(), 32);
    EXPECT_EQ(panel->previewWindow()->size(), QSize(128, 128));

    const int count = static_cast<int>(editor->document().texInfoCount);
    action("CutFromShape")->trigger();
    EXPECT_EQ(dialogs.calls().size(), 1u); // the open dialog only: no question
    ASSERT_EQ(static_cast<int>(editor->document().texInfoCount), count + 1);
    const TexInfo& made = editor->document().texInfos[count];
    EXPECT_EQ(
        (std::array{int(made.x), int(made.y), int(made.width), int(made.height), int(made.page)}),
        (std::array{10, 10, 3, 3, 0}));
    EXPECT_EQ(panel->selectedSample(), count);
    EXPECT_EQ(panel->textureList()->count(), count + 1);
    EXPECT_EQ(panel->textureList()->currentRow(), count);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].samples, std::vector<int>{count});
    EXPECT_TRUE(panel->shape().active);

    // The same shape again is a duplicate of the new sample.
    action("CutFromShape")->trigger();
    ASSERT_EQ(dialogs.callsOf(Kind::Error).size(), 1u);
    EXPECT_EQ(dialogs.callsOf(Kind::Error)[0].text,
              "Defined texture same as Texture#" + std::to_string(count));
    EXPECT_EQ(static_cast<int>(editor->document().texInfoCount), count + 1);
}

TEST_F(TexturePanelTest, DragsClampToThePageAndSnapToTheSelectedSample) {
    openDemo();
    showPage(2);
    // Past the edges: corner 2 stops at 0 and 255.
    QTest::mousePress(view(), Qt::LeftButton, Qt::ShiftModifier, QPoint(200, 40));
    QTest::mouseMove(view(), QPoint(300, -30));
    EXPECT_EQ(panel->shape().x1, 255);
    EXPECT_EQ(panel->shape().y1, 0);
    EXPECT_EQ(main().statusText(0), "X=255 Y=0");
    QTest::mouseRelease(view(), Qt::LeftButton, Qt::ShiftModifier, QPoint(300, -30));
    EXPECT_EQ(
        (std::array{panel->shape().x0, panel->shape().y0, panel->shape().x1, panel->shape().y1}),
        (std::array{200, 0, 255, 40}));

    // Larger than the selected tile and over it: shrinks to the tile.
    showPage(0);
    click(5, 5);
    ASSERT_EQ(panel->selectedSample(), 1);
    shiftDrag({0, 40}, {40, 0}); // (0, 0) would be the widget's centre to QTest
    EXPECT_EQ(
        (std::array{panel->shape().x0, panel->shape().y0, panel->shape().x1, panel->shape().y1}),
        (std::array{0, 0, 31, 31}));
    action("CutFromShape")->trigger();
    ASSERT_EQ(dialogs.callsOf(Kind::Error).size(), 1u);
    EXPECT_EQ(dialogs.callsOf(Kind::Error)[0].text, "Defined texture same as Texture#1");

    // A right click without Ctrl drops the shape.
    click(100, 100, Qt::RightButton);
    EXPECT_FALSE(panel->shape().active);
    EXPECT_EQ(shapeText(), "Cut Shape:");
    EXPECT_FALSE(action("CutFromShape")->isEnabled());
}

TEST_F(TexturePanelTest, NarrowShapesAskFirstAndCancelKeepsEverything) {
    openDemo();
    showPage(2);
    shiftDrag({10, 200}, {12, 203});
    const auto count = editor->document().texInfoCount;
    dialogs.answer(false);
    action("CutFromShape")->trigger();
    const auto asked = dialogs.callsOf(Kind::WarningOkCancel);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text,
              "Defined texture has width or height less than 4.\rPress OK to continue.");
    EXPECT_EQ(editor->document().texInfoCount, count);

    dialogs.answer(true);
    action("CutFromShape")->trigger();
    EXPECT_EQ(editor->document().texInfoCount, count + 1);
}

TEST_F(TexturePanelTest, SpinButtonsMoveEdgesByOneOrFourWithCtrl) {
    openDemo();
    showPage(2);
    shiftDrag({240, 200}, {253, 210});
    QToolButton* rightUp = panel->spinButton(ShapeSpinButton::RightPlusMinus, SpinHalf::Up);
    EXPECT_EQ(rightUp->toolTip(), "Right +/-");
    QTest::mouseClick(rightUp, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(panel->shape().x1, 255); // two steps, then the edge stops it
    QToolButton* heightUp = panel->spinButton(ShapeSpinButton::HeightPlus, SpinHalf::Up);
    QTest::mouseClick(heightUp, Qt::LeftButton);
    EXPECT_EQ(panel->shape().y0, 199);
    QTest::mouseClick(panel->spinButton(ShapeSpinButton::LeftPlusMinus, SpinHalf::Down),
                      Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(panel->shape().x0, 244);
    EXPECT_EQ(shapeText(), "Cut Shape: (x=244, y=199)      12 x 12");

    // On another page the buttons do nothing.
    showPage(0);
    QTest::mouseClick(heightUp, Qt::LeftButton);
    EXPECT_EQ(panel->shape().y0, 199);
}

TEST_F(TexturePanelTest, PreviewZoomFollowsTheSampleSize) {
    openDemo();
    action("Preview")->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel->previewWindow()));
    EXPECT_EQ(panel->previewWindow()->windowTitle(), "Preview");
    EXPECT_EQ(panel->previewZoom(), 2); // 256 x 256
    struct Case {
        int sample, zoom;
    };
    for (const Case c : {Case{43, 16}, Case{34, 4}, Case{41, 4}, Case{45, 4}}) {
        panel->textureList()->setCurrentRow(c.sample);
        const TexInfo& t = editor->document().texInfos[c.sample];
        EXPECT_EQ(panel->previewZoom(), c.zoom) << c.sample;
        EXPECT_EQ(panel->previewPicture()->size(),
                  QSize((t.width + 1) * c.zoom, (t.height + 1) * c.zoom))
            << c.sample;
    }
}

TEST_F(TexturePanelTest, AtlasExportAndImportRoundTripThroughTheMenus) {
    openDemo();
    const auto before = editor->document().textureData;
    const auto bmp = (dir / "atlas.bmp").string();
    dialogs.answerFile(bmp);
    action("ExportAtlas")->trigger();
    const auto saves = dialogs.callsOf(Kind::SaveFile);
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].file.filter, "Windows Bitmap file (*.bmp)");
    EXPECT_EQ(saves[0].file.defaultExtension, "bmp");
    EXPECT_EQ(fileBytes(bmp).size(), 54u + 256u * 768u * 3u);

    editor->document().textureData[0] ^= 0xFF;
    dialogs.answerFile(bmp);
    action("ImportAtlas")->trigger();
    EXPECT_EQ(editor->document().textureData, before);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].pages, std::vector<int>{0}); // the one page that differed
    EXPECT_EQ(dialogs.callsOf(Kind::OpenFile).back().file.filter, "Windows Bitmap File (*.bmp)");
}

TEST_F(TexturePanelTest, AddingPagesAndTexturesMovesTheViewToThem) {
    openDemo();
    action("AddPageBlank")->trigger();
    EXPECT_EQ(panel->pageSelector()->count(), 4);
    EXPECT_EQ(panel->pageSelector()->itemText(3), "Page#3");
    EXPECT_EQ(panel->currentPage(), 3);
    EXPECT_EQ(shown(0, 0), qRgb(0, 0, 0));

    // A 20 x 10 picture lands at the first free place, row by row: below sample 34
    // on page 0.
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    const auto png = (dir / "tile.png").string();
    ASSERT_TRUE(picture.save(QString::fromStdString(png)));
    showPage(0);
    const int count = static_cast<int>(editor->document().texInfoCount);
    dialogs.answerFile(png);
    action("AddNewTexture")->trigger();
    EXPECT_EQ(dialogs.callsOf(Kind::OpenFile).back().file.title, "Add texture");
    ASSERT_EQ(static_cast<int>(editor->document().texInfoCount), count + 1);
    const TexInfo& t = editor->document().texInfos[count];
    EXPECT_EQ((std::array{int(t.page), int(t.x), int(t.y), int(t.width), int(t.height)}),
              (std::array{0, 64, 160, 19, 9}));
    EXPECT_EQ(panel->selectedSample(), count);
    EXPECT_EQ(panel->currentPage(), 0);
    EXPECT_EQ(panel->textureList()->count(), count + 1);
    EXPECT_EQ(texel(0, 69, 165), qRgb(10, 200, 30));
    EXPECT_EQ(shown(83, 169), qRgb(255, 255, 255)); // framed
    ASSERT_FALSE(changed.empty());
    EXPECT_TRUE(changed.back().sampleCount);
    EXPECT_TRUE(changed.back().touchesSample(count));

    // From Image: a picture that cannot be read says so and adds nothing.
    writeText(dir / "broken.png", "not a picture");
    dialogs.answerFile((dir / "broken.png").string());
    action("AddPageFromImage")->trigger();
    EXPECT_EQ(dialogs.callsOf(Kind::OpenFile).back().file.title, "Add Page");
    // The first line is the box's own; the second says why.
    EXPECT_EQ(dialogs.callsOf(Kind::Error).back().text.rfind("Error loading file.\r\n", 0), 0u);
    EXPECT_EQ(panel->pageSelector()->count(), 4);

    dialogs.answerFile(png);
    action("AddPageFromImage")->trigger();
    EXPECT_EQ(panel->pageSelector()->count(), 5);
    EXPECT_EQ(panel->currentPage(), 4);
    EXPECT_EQ(shown(19, 9), qRgb(10, 200, 30));
    EXPECT_EQ(shown(20, 9), qRgb(0, 0, 0));
}

TEST_F(TexturePanelTest, ExportAndImportTextureWorkOnTheSelectedSample) {
    openDemo();
    panel->textureList()->setCurrentRow(10);
    const auto bmp = (dir / "Text10.bmp").string();
    dialogs.answerFile(bmp);
    action("ExportTexture")->trigger();
    ASSERT_EQ(dialogs.callsOf(Kind::SaveFile).size(), 1u);
    EXPECT_EQ(dialogs.callsOf(Kind::SaveFile)[0].file.startPath, "Text10");
    EXPECT_EQ(fileBytes(bmp).size(), 54u + 32u * 32u * 3u);

    // Importing a plain picture over tile 10 fills its rectangle; sample 37, which
    // shares texels with it, is rebuilt too.
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(qRgb(250, 5, 5));
    const auto png = (dir / "red.png").string();
    ASSERT_TRUE(picture.save(QString::fromStdString(png)));
    dialogs.answerFile(png);
    action("ImportTexture")->trigger();
    EXPECT_EQ(dialogs.callsOf(Kind::OpenFile).back().file.title, "Import Texture");
    const TexInfo& t = editor->document().texInfos[10];
    EXPECT_EQ(texel(0, t.x + 3, t.y + 3), qRgb(250, 5, 5));
    EXPECT_EQ(texel(0, t.x + t.width, t.y + t.height), qRgb(250, 5, 5));
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].pages, std::vector<int>{0});
    EXPECT_TRUE(changed[0].touchesSample(10));
    EXPECT_TRUE(changed[0].touchesSample(37)) << "a sample that overlaps it";
    EXPECT_FALSE(changed[0].sampleTable);
}

// An imported picture reaches the GL view: the faces of the shown mesh that use
// the sample show the new texels in Textured mode.
TEST_F(TexturePanelTest, ImportedTexelsShowOnTheFacesThatUseTheSample) {
    openDemo();
    render().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&render()));
    MeshScene* scene = render().meshScene();
    ASSERT_NE(scene, nullptr);
    ASSERT_EQ(render().currentMesh(), 0);
    scene->renderMode = kModeTextured;
    render().invalidateScene();
    const Mesh& cube = editor->document().meshes[0];
    const int sample = faceSampleIndex(cube.faces[0]);

    // Pure green, darkened at most by the shading: red and blue stay near 0.
    const auto greenPixels = [&] {
        const QImage frame = render().view().grabFramebuffer();
        int n = 0;
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x) {
                const QColor c = frame.pixelColor(x, y);
                n += c.red() < 24 && c.blue() < 24 && c.green() > 90;
            }
        return n;
    };
    const int before = greenPixels();

    panel->textureList()->setCurrentRow(sample);
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(qRgb(0, 255, 0));
    const auto png = (dir / "green.png").string();
    ASSERT_TRUE(picture.save(QString::fromStdString(png)));
    dialogs.answerFile(png);
    action("ImportTexture")->trigger();
    ASSERT_FALSE(changed.empty());

    EXPECT_GT(greenPixels(), before + 400) << "sample " << sample;
}

TEST_F(TexturePanelTest, TavFilesSaveAndRestoreThroughTheFileMenu) {
    openDemo();
    EXPECT_EQ(action("SaveTavFile")->text(), "Save  &Tav File");
    EXPECT_EQ(action("RestoreTavFile")->text(), "&Restore Tav File");
    const auto tav = (dir / "set.tav").string();
    dialogs.answerFile(tav);
    action("SaveTavFile")->trigger();
    EXPECT_EQ(dialogs.callsOf(Kind::SaveFile).back().file.filter,
              "Kavlen  TAV file Format (*.tav)");
    ASSERT_TRUE(std::filesystem::exists(tav));

    const TexInfo saved = editor->document().texInfos[3];
    editor->document().texInfos[3].x = 99;
    dialogs.answerFile(tav);
    dialogs.answer(true);
    action("RestoreTavFile")->trigger();
    EXPECT_EQ(dialogs.callsOf(Kind::OpenFile).back().file.filter, "Kavlen TAV file format (*.tav)");
    EXPECT_EQ(dialogs.calls().back().text,
              "Restore the texture set over this package?\r\nIt changes 1 sample of 62.");
    EXPECT_EQ(editor->document().texInfos[3].x, saved.x);

    writeText(dir / "bad.tav", "nothing like it");
    dialogs.answerFile((dir / "bad.tav").string());
    action("RestoreTavFile")->trigger();
    EXPECT_EQ(dialogs.calls().back().text, "Invalid TAV File Format!!");
}

TEST_F(TexturePanelTest, WithoutAPackageCommandsRefuseAndClicksDoNothing) {
    start();
    auto* panel = main().findChild<TexturePanel*>("texturePanel");
    ASSERT_NE(panel, nullptr);
    for (CommandId id : std::initializer_list<CommandId>{
             "ExportAtlas", "ImportAtlas", "AddPageBlank", "AddNewTexture", "ExportTexture",
             "ImportTexture", "SaveTavFile", "RestoreTavFile", "Preview", "FindTexture",
             "ChangeIdNumber"}) {
        dialogs.clear();
        action(id)->trigger();
        ASSERT_EQ(dialogs.calls().size(), 1u) << id;
        EXPECT_EQ(dialogs.calls()[0].text, "No wad opened.") << id;
    }
    dialogs.clear();
    QTest::mouseClick(panel->pageView(), Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 10));
    EXPECT_FALSE(panel->shape().active);
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(TexturePanelTest, APackageWithoutSamplesLeavesTheSampleCommandsIdle) {
    start();
    auto wad = makeDemoPackage();
    wad->texInfoCount = 0;
    const auto path = dir / "bare.wad";
    ASSERT_TRUE(saveWad(*wad, path).ok);
    dialogs.answerFile(path.string());
    action("Open")->trigger();
    ASSERT_TRUE(editor->packageLoaded());
    panel = main().findChild<TexturePanel*>("texturePanel");
    EXPECT_EQ(panel->textureList()->count(), 0);
    EXPECT_EQ(panel->selectedSample(), -1);
    EXPECT_EQ(panel->pageSelector()->count(), 3);
    EXPECT_EQ(panel->currentPage(), 0);

    dialogs.clear();
    click(10, 10);
    click(10, 10, Qt::RightButton, Qt::ControlModifier);
    click(10, 10, Qt::RightButton);
    EXPECT_EQ(pickedText(), "Not picked");
    for (CommandId id : std::initializer_list<CommandId>{"ExportTexture", "ImportTexture"})
        action(id)->trigger();
    action("FindTexture")->trigger();
    QTest::mouseClick(panel->findWindow()->findFirst, Qt::LeftButton);
    EXPECT_TRUE(panel->findWindow()->status->text().isEmpty());
    EXPECT_TRUE(dialogs.calls().empty()) << "no dialog and no message";

    // The shape still cuts the first sample.
    shiftDrag({4, 4}, {20, 20});
    action("CutFromShape")->trigger();
    EXPECT_EQ(editor->document().texInfoCount, 1u);
    EXPECT_EQ(panel->selectedSample(), 0);
    EXPECT_EQ(panel->textureList()->count(), 1);
}

TEST_F(TexturePanelTest, SelectionColourRecolorsTheFrame) {
    openDemo();
    dialogs.answerColour(0x0000FF00);
    action("SelectionColor")->trigger();
    EXPECT_EQ(dialogs.callsOf(Kind::Colour)[0].initialColour, 0x00FFFFFFu);
    EXPECT_EQ(shown(0, 0), qRgb(0, 255, 0));
    dialogs.cancel();
    action("CuttingShapeColor")->trigger();
    EXPECT_EQ(panel->shapeColour(), 0x000000FFu);
}

} // namespace
} // namespace kavlen
