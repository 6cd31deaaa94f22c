// "About Mesh", "About Meshes" and the "Keys Guide" windows, opened through their
// menu commands on the demo package.
#include "editor_fixture.h"

#include "app/report_windows.h"
#include "app/texture_panel.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kavlen {
namespace {

QStringList entries(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

struct ReportWindowsTest : EditorTest {
    void openDemo() {
        start();
        dialogs.answerFile(demoCopy("demo.wad"));
        action("Open")->trigger();
        ASSERT_TRUE(editor->packageLoaded());
    }
    AboutMeshWindow* aboutMesh() { return main().findChild<AboutMeshWindow*>("aboutMeshWindow"); }
    AboutMeshesWindow* aboutMeshes() {
        return main().findChild<AboutMeshesWindow*>("aboutMeshesWindow");
    }
    KeysGuideWindow* keysGuide() { return main().findChild<KeysGuideWindow*>("keysGuideWindow"); }
    void clickEntry(QListWidget* list, int row) {
        list->scrollToItem(list->item(row));
        const QRect rect = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }
};

TEST_F(ReportWindowsTest, ReportsStaySilentWithoutAPackage) {
    start();
    action("AboutMesh")->trigger();
    action("AboutMeshes")->trigger();
    EXPECT_FALSE(aboutMesh()->isVisible());
    EXPECT_FALSE(aboutMeshes()->isVisible());
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(ReportWindowsTest, AboutMeshShowsTheCurrentMeshAndItsSamples) {
    openDemo();
    render().scene().currentMesh = 0;
    editor->selection().setMeshSlot(0);
    action("AboutMesh")->trigger();
    AboutMeshWindow* w = aboutMesh();
    ASSERT_TRUE(w->isVisible());
    EXPECT_TRUE(w->isModal());
    EXPECT_EQ(w->windowTitle(), "About Mesh");
    EXPECT_EQ(w->meshType->text(), "Moveable");
    EXPECT_EQ(w->lightingType->text(), "Moveable");
    EXPECT_EQ(w->shine->text(), "1 of 6 faces");
    EXPECT_EQ(w->transparency->text(), "1 of 6 faces");
    EXPECT_EQ(w->texturesGroup->title(), "Textures used (6)");
    EXPECT_EQ(entries(w->textures), QStringList({"Texture#1", "Texture#2", "Texture#3", "Texture#4",
                                                 "Texture#5", "Texture#6"}));
    EXPECT_TRUE(w->invalidNote->isHidden());

    // A click on an entry shows that sample in the main window.
    clickEntry(w->textures, 2);
    auto* textures = main().findChild<TexturePanel*>("texturePanel");
    EXPECT_EQ(textures->textureList()->currentRow(), 3);
    EXPECT_EQ(textures->selectedSample(), 3);
    // A double click exports the sample: the save dialog asks where.
    dialogs.cancel();
    w->textures->scrollToItem(w->textures->item(5));
    const QRect last = w->textures->visualItemRect(w->textures->item(5));
    QTest::mouseClick(w->textures->viewport(), Qt::LeftButton, {}, last.center());
    QTest::mouseDClick(w->textures->viewport(), Qt::LeftButton, {}, last.center());
    EXPECT_EQ(textures->selectedSample(), 6);
    EXPECT_EQ(dialogs.callsOf(ScriptedDialogs::Kind::SaveFile).size(), 1u);
    w->closeButton->click();
    EXPECT_FALSE(w->isVisible());

    // A static's mesh with static lighting, one face pointing past the samples:
    // shown again, the window is filled anew.
    Mesh& mesh = editor->document().meshes[10];
    mesh.faces[0].texture = static_cast<std::uint16_t>(editor->document().texInfoCount);
    mesh.faces[0].shape = kShapeQuad;
    render().scene().currentMesh = 10;
    editor->selection().setMeshSlot(10);
    action("AboutMesh")->trigger();
    EXPECT_EQ(w->meshType->text(), "Static");
    EXPECT_EQ(w->lightingType->text(), "Static");
    EXPECT_FALSE(w->invalidNote->isHidden());
    EXPECT_EQ(w->invalidNote->text(), "Invalid texture indices found");
    EXPECT_FALSE(entries(w->textures).contains("Texture#1")); // mesh 0's list is gone
}

TEST_F(ReportWindowsTest, AboutMeshesListsThePackageAndShowsAClickedMesh) {
    openDemo();
    action("AboutMeshes")->trigger();
    AboutMeshesWindow* w = aboutMeshes();
    ASSERT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "About Meshes");
    const QStringList groups = {"Shine", "Transparency", "Hidden Faces", "Texture #0",
                                "Invalid Texture"};
    for (std::size_t i = 0; i < w->lists.size(); ++i) {
        auto* group = qobject_cast<QGroupBox*>(w->lists[i]->parentWidget());
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->title(), groups[static_cast<int>(i)]);
    }
    EXPECT_EQ(entries(w->lists[0]), QStringList({"Mesh #0", "Mesh #1", "Mesh #2", "Mesh #3",
                                                 "Mesh #5", "Mesh #6", "Mesh #11"}));
    EXPECT_EQ(entries(w->lists[1]), QStringList({"Mesh #0", "Mesh #3", "Mesh #5", "Mesh #7"}));
    EXPECT_TRUE(entries(w->lists[2]).isEmpty());
    EXPECT_EQ(entries(w->lists[3]), QStringList({"Mesh #6", "Mesh #9"}));
    EXPECT_TRUE(entries(w->lists[4]).isEmpty());
    EXPECT_EQ(w->countLabel->text(), "13 meshes in wad");

    clickEntry(w->lists[0], 3);
    EXPECT_EQ(render().currentMesh(), 3);
    clickEntry(w->lists[3], 1);
    EXPECT_EQ(render().currentMesh(), 9);
    EXPECT_TRUE(w->lists[0]->selectedItems().isEmpty()); // one list selects at a time
    EXPECT_EQ(w->lists[3]->currentRow(), 1);
}

TEST_F(ReportWindowsTest, KeysGuideShowsTheReadmeBesideTheProgram) {
    writeText(dir / "readme.txt", "Kavlen keys\r\nF1  this guide\r\n");
    start();
    // The file is read when the window is made: a later change is not seen.
    writeText(dir / "readme.txt", "changed");
    action("KeysGuide")->trigger();
    KeysGuideWindow* w = keysGuide();
    ASSERT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "Keys Guide");
    EXPECT_EQ(w->text->toPlainText(), "Kavlen keys\nF1  this guide\n");
    EXPECT_TRUE(w->text->isReadOnly());
    EXPECT_EQ(action("KeysGuide")->shortcut(), QKeySequence("F1"));
}

TEST_F(ReportWindowsTest, KeysGuideSaysWhenTheReadmeIsMissing) {
    start();
    action("KeysGuide")->trigger();
    const QString text = keysGuide()->text->toPlainText();
    EXPECT_TRUE(text.contains("readme.txt")) << text.toStdString();
    EXPECT_TRUE(text.contains("not found")) << text.toStdString();
}

TEST_F(ReportWindowsTest, ShippedReadmeNamesEveryMenuShortcut) {
    start();
    const std::string readme = readText(KAVLEN_README);
    ASSERT_FALSE(readme.empty());
    for (const Command& c : editor->commands().commands()) {
        if (c.inMenu && !c.shortcut.empty()) {
            EXPECT_NE(readme.find(c.shortcut), std::string::npos) << c.id << " " << c.shortcut;
        }
    }
}

} // namespace
} // namespace kavlen
