// Undo, redo and unsaved changes in the running editor: every way a user changes
// the package records one step that undoes byte for byte; cancelled commands
// record and tell nothing; closing and opening never drop unsaved work silently.
#include "app/attributes_group.h"
#include "app/boundary_panel.h"
#include "app/face_editing.h"
#include "app/import_options_dialog.h"
#include "app/lighting_editor_window.h"
#include "app/move_mesh_window.h"
#include "app/texture_panel.h"
#include "mesh_editing_fixture.h"

#include <QImage>
#include <QPushButton>
#include <QTest>
#include <functional>

namespace kavlen {
namespace {

std::vector<std::uint8_t> bytesOf(const Package& wad) {
    std::array<std::uint32_t, kMaxMeshPointers> pointers{};
    std::uint32_t words = 0;
    return serializeWad(wad, pointers, words);
}

struct EditHistoryGuiTest : MeshEditingTest {
    FaceEditing& faces() { return *main().findChild<FaceEditing*>("faceEditing"); }
    TexturePanel& panel() { return *main().findChild<TexturePanel*>("texturePanel"); }
    std::string menuText(CommandId id) { return action(id)->text().toStdString(); }
    std::string picture(const char* name, QRgb colour) {
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(colour);
        const auto path = (dir / name).string();
        image.save(QString::fromStdString(path));
        return path;
    }
};

TEST_F(EditHistoryGuiTest, EveryEntryPointRecordsOneStepThatUndoesAndRedoesByteForByte) {
    openDemo();
    struct Case {
        const char* caption;
        std::function<void()> act;
    };
    const std::vector<Case> cases = {
        {"Texture All",
         [&] {
             editor->selection().setSample(5);
             dialogs.answer(true);
             action("TextureAll")->trigger();
         }},
        {"Shine All",
         [&] {
             faces().attributes().setShining(7);
             action("ShineAll")->trigger();
         }},
        {"Rotate All", [&] { action("RotateAll")->trigger(); }},
        {"Mirror Mesh XZ", [&] { action("MirrorXZ")->trigger(); }},
        {"Add new empty mesh", [&] { action("AddNewEmptyMesh")->trigger(); }},
        {"Add page Blank", [&] { action("AddPageBlank")->trigger(); }},
        {"Move Mesh",
         [&] { main().findChild<MoveMeshWindow*>("moveMeshWindow")->arrowClicked(Axis::X, true); }},
        {"Change All lighting", [&] { faces().lightingEditor().changeAll(20); }},
        {"Swap Texture Numbers",
         [&] {
             editor->selection().setSample(3);
             editor->selection().setOtherSample(34);
             panel().swapSamples();
         }},
        {"Import Texture",
         [&] {
             editor->selection().setSample(10);
             dialogs.answerFile(picture("red.png", qRgb(250, 5, 5)));
             action("ImportTexture")->trigger();
         }},
        {"Import Dxf",
         [&] {
             // Mesh 1 written out, then read into mesh 0.
             showMesh(1);
             dialogs.answerFile((dir / "one.dxf").string());
             action("ExportDxf")->trigger();
             showMesh(0);
             dialogs.answerFile((dir / "one.dxf").string());
             modal.when<ImportOptionsDialog>(
                 [](ImportOptionsDialog& d) { QTest::mouseClick(d.okButton, Qt::LeftButton); });
             action("ImportDxf")->trigger();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        showMesh(0);
        const auto before = bytesOf(editor->document());
        const std::size_t steps = editor->history().undoableSteps();
        changes.clear();
        c.act();
        const auto after = bytesOf(editor->document());
        ASSERT_NE(after, before) << "the action changed the package";
        EXPECT_EQ(editor->history().undoableSteps(), steps + 1);
        EXPECT_EQ(changes.size(), 1u) << "the views are told once";
        EXPECT_EQ(editor->history().undoCaption(), c.caption);
        EXPECT_EQ(menuText("Undo"), std::string("&Undo ") + c.caption);
        EXPECT_TRUE(editor->isModified());

        action("Undo")->trigger();
        EXPECT_EQ(bytesOf(editor->document()), before);
        EXPECT_EQ(menuText("Redo"), std::string("&Redo ") + c.caption);
        action("Redo")->trigger();
        EXPECT_EQ(bytesOf(editor->document()), after);
    }
    EXPECT_EQ(dialogs.unanswered(), 0u);
}

TEST_F(EditHistoryGuiTest, CancelledOrIdleCommandsRecordAndTellNothing) {
    openDemo();
    const auto before = bytesOf(editor->document());
    dialogs.cancel();
    action("ImportTexture")->trigger(); // cancelled at the file dialog
    dialogs.answer(false);
    action("TextureAll")->trigger(); // "No" to the question
    dialogs.answerFile((dir / "atlas.bmp").string());
    action("ExportAtlas")->trigger();
    dialogs.answerFile((dir / "atlas.bmp").string());
    action("ImportAtlas")->trigger(); // the same texels again
    showMesh(0);
    faces().attributes().setShining(0);
    action("ShineAll")->trigger();
    action("ShineAll")->trigger(); // the second finds nothing to change
    changes.clear();
    action("ShineAll")->trigger();
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(bytesOf(editor->document()).size(), before.size());
    EXPECT_LE(editor->history().undoableSteps(), 1u) << "at most the first Shine All";
    EXPECT_FALSE(action("Redo")->isEnabled());
    EXPECT_EQ(menuText("Redo"), "&Redo");
}

TEST_F(EditHistoryGuiTest, TheTitleMarksUnsavedChangesUntilSavedOrUndoneToTheSavedStep) {
    openDemo();
    const std::string path = editor->documentPath();
    EXPECT_EQ(title(), "Kavlen3 - " + path);
    EXPECT_FALSE(action("Undo")->isEnabled());
    action("MirrorXZ")->trigger();
    EXPECT_EQ(title(), "Kavlen3 - " + path + " *");
    EXPECT_TRUE(action("Undo")->isEnabled());
    action("Undo")->trigger();
    EXPECT_EQ(title(), "Kavlen3 - " + path) << "back at the opened state: clean";
    action("Redo")->trigger();
    action("Save")->trigger();
    EXPECT_EQ(title(), "Kavlen3 - " + path);
    action("Undo")->trigger();
    EXPECT_EQ(title(), "Kavlen3 - " + path + " *") << "the saved state differs from this";

    // Opening another package starts a new history.
    dialogs.answer(SaveChoice::Discard);
    dialogs.answerFile(demoCopy("other.wad"));
    action("Open")->trigger();
    EXPECT_FALSE(editor->history().canUndo());
    EXPECT_FALSE(editor->history().canRedo());
    EXPECT_FALSE(editor->isModified());
}

TEST_F(EditHistoryGuiTest, ClosingOrOpeningWithUnsavedChangesAsksSaveDiscardOrCancel) {
    openDemo();
    const std::string path = editor->documentPath();
    const auto onDisk = fileBytes(path);
    action("MirrorXZ")->trigger();
    const auto edited = bytesOf(editor->document());

    // Cancel: the window stays with the package and its changes.
    dialogs.answer(SaveChoice::Cancel);
    EXPECT_FALSE(main().close());
    EXPECT_EQ(dialogs.callsOf(Kind::SaveChanges).back().text, "Save changes to demo.wad?");
    dialogs.answer(SaveChoice::Cancel);
    dialogs.answerFile(demoCopy("other.wad"));
    action("Open")->trigger();
    EXPECT_EQ(editor->documentPath(), path) << "a cancelled question opens nothing";
    EXPECT_EQ(dialogs.pendingAnswers(), 1u) << "the file dialog did not show";
    dialogs.clear();

    // Save that fails (the folder is gone): the window stays, nothing is lost.
    editor->setDocumentPath((dir / "gone" / "demo.wad").string());
    dialogs.answer(SaveChoice::Save);
    EXPECT_FALSE(main().close());
    EXPECT_EQ(dialogs.callsOf(Kind::Error).size(), 1u);
    EXPECT_TRUE(editor->isModified());
    EXPECT_EQ(bytesOf(editor->document()), edited);

    // Save that works: written, then closed.
    editor->setDocumentPath(path);
    dialogs.answer(SaveChoice::Save);
    EXPECT_TRUE(main().close());
    EXPECT_EQ(fileBytes(path), edited);
    EXPECT_NE(fileBytes(path), onDisk);
}

TEST_F(EditHistoryGuiTest, DiscardClosesWithoutWritingAndACleanPackageKeepsTheOldQuestion) {
    openDemo();
    const std::string path = editor->documentPath();
    const auto onDisk = fileBytes(path);
    action("MirrorXY")->trigger();
    dialogs.answer(SaveChoice::Discard);
    EXPECT_TRUE(main().close());
    EXPECT_EQ(fileBytes(path), onDisk);
    EXPECT_TRUE(dialogs.callsOf(Kind::ConfirmOkCancel).empty());
}

} // namespace
} // namespace kavlen
