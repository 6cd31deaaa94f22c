// The Textures menu's housekeeping commands and the unused marks, on the demo
// package through the menu actions and scripted dialogs.
#include "editor_fixture.h"

#include "app/texture_number_windows.h"
#include "app/texture_page_view.h"
#include "app/texture_panel.h"
#include "textures/samples.h"
#include "textures/texture_usage.h"

#include <QComboBox>
#include <QListWidget>

namespace kavlen {
namespace {

using Kind = ScriptedDialogs::Kind;

struct TextureHousekeepingTest : EditorTest {
    void openDemo() {
        start();
        dialogs.answerFile(demoCopy("demo.wad"));
        action("Open")->trigger();
        ASSERT_TRUE(editor->packageLoaded());
        panel = main().findChild<TexturePanel*>("texturePanel");
        ASSERT_NE(panel, nullptr);
    }
    std::string label(int row) { return panel->textureList()->item(row)->text().toStdString(); }
    int unusedLabels() {
        int n = 0;
        for (int i = 0; i < panel->textureList()->count(); ++i)
            n += label(i).find("(unused)") != std::string::npos;
        return n;
    }
    // Each face's sample texels and the bits placing them.
    std::vector<std::pair<std::optional<Bitmap24>, int>> faceLooks() {
        const Package& wad = editor->document();
        std::vector<std::pair<std::optional<Bitmap24>, int>> looks;
        for (std::size_t m = 0; m < wad.meshCount; ++m)
            for (int f = 0; f < wad.meshes[m].faceCount; ++f) {
                const MeshFace& face = wad.meshes[m].faces[f];
                looks.emplace_back(samplePicture(wad, faceSampleIndex(face)),
                                   face.texture & (face.isQuad() ? 0x8000 : 0xF000));
            }
        return looks;
    }

    TexturePanel* panel = nullptr;
};

TEST_F(TextureHousekeepingTest, UnusedSamplesAreMarkedTintedRemovedAndTheAtlasCompacted) {
    openDemo();
    EXPECT_EQ(label(47), "Texture#47  (unused)");
    EXPECT_EQ(label(5), "Texture#5");
    EXPECT_NE(panel->textureList()->item(47)->foreground(),
              panel->textureList()->item(5)->foreground());
    EXPECT_EQ(unusedLabels(), 13);

    // The tint covers Texture#61 (page 2, 96..119 x 96..167) only while switched on.
    panel->pageSelector()->setCurrentIndex(2);
    const QRgb plain = panel->pageView()->rendered().pixel(100, 150);
    action("TintUnusedTextures")->trigger();
    EXPECT_TRUE(panel->tintUnused());
    EXPECT_NE(panel->pageView()->rendered().pixel(100, 150), plain);
    action("TintUnusedTextures")->trigger();
    EXPECT_EQ(panel->pageView()->rendered().pixel(100, 150), plain);

    const auto looks = faceLooks();
    action("RemoveUnusedTextures")->trigger();
    ASSERT_EQ(dialogs.callsOf(Kind::Information).size(), 1u);
    EXPECT_EQ(dialogs.callsOf(Kind::Information)[0].text,
              "Removed 13 textures no face used; 49 textures remain.");
    EXPECT_EQ(panel->textureList()->count(), 49);
    EXPECT_EQ(unusedLabels(), 0);
    EXPECT_EQ(faceLooks(), looks);

    action("CompactAtlas")->trigger();
    ASSERT_EQ(dialogs.callsOf(Kind::Information).size(), 2u);
    EXPECT_EQ(dialogs.callsOf(Kind::Information)[1].text,
              "The atlas is already compact: 3 pages, 49 textures.");
    EXPECT_EQ(faceLooks(), looks);
}

TEST_F(TextureHousekeepingTest, DeleteTextureNeedsTheOtherSampleAsReplacementForAUsedOne) {
    openDemo();
    ASSERT_EQ(panel->selectedSample(), 0);
    action("DeleteTexture")->trigger();
    ASSERT_EQ(dialogs.callsOf(Kind::Error).size(), 1u);
    EXPECT_EQ(dialogs.callsOf(Kind::Error)[0].text,
              "Texture#0 is used by 34 faces. Choose a replacement texture for them.\r\nPick the "
              "replacement as the other texture (Ctrl + right click on the page) first.");
    EXPECT_EQ(editor->document().texInfoCount, 62u);

    // The other sample, as the swap window's list chooses it, replaces it.
    panel->swapWindow()->other.list->setCurrentRow(5);
    emit panel->swapWindow()->other.list->itemClicked(panel->swapWindow()->other.list->item(5));
    ASSERT_EQ(panel->otherSample(), 5);
    const std::vector<int> usesBefore = sampleUseCounts(editor->document());
    dialogs.answer(true);
    action("DeleteTexture")->trigger();
    ASSERT_EQ(dialogs.callsOf(Kind::ConfirmYesNo).size(), 1u);
    EXPECT_EQ(dialogs.callsOf(Kind::ConfirmYesNo)[0].text,
              "Texture#0 is used by 34 faces.\r\nLet them use the other texture, Texture#5, and "
              "delete Texture#0?");
    EXPECT_EQ(editor->document().texInfoCount, 61u);
    EXPECT_EQ(panel->textureList()->count(), 61);
    EXPECT_EQ(sampleUseCounts(editor->document())[4], usesBefore[5] + usesBefore[0]);
    EXPECT_EQ(panel->otherSample(), 4); // the selection followed its sample
}

} // namespace
} // namespace kavlen
