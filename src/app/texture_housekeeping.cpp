#include "app/texture_housekeeping.h"

#include "app/busy_cursor.h"
#include "app/command_feedback.h"
#include "app/editor.h"
#include "app/editor_commands.h"
#include "app/menu_builder.h"
#include "app/texture_panel.h"
#include "textures/atlas_compaction.h"
#include "textures/sample_deletion.h"
#include "textures/samples.h"
#include "textures/texture_usage.h"

#include <memory>

namespace kavlen {

namespace {

// Sample numbers change: the sample table and the faces' texture words.
EditScope renumberingScope() {
    EditScope scope;
    scope.samples = scope.allMeshSlots = true;
    return scope;
}

} // namespace

TextureHousekeeping::TextureHousekeeping(Editor& editor, TexturePanel& panel)
    : editor_(editor), panel_(panel) {}

void TextureHousekeeping::deleteTexture() {
    Package& wad = editor_.document();
    const int n = panel_.selectedSample();
    if (!hasSample(wad, n))
        return;
    const int uses = sampleUseCounts(wad)[n];
    std::optional<int> replacement;
    const int other = panel_.otherSample();
    if (uses > 0 && hasSample(wad, other) && other != n) {
        if (!editor_.dialogs().confirmYesNo(
                textureLabel(n) + " is used by " + std::to_string(uses) +
                (uses == 1 ? " face" : " faces") + ".\r\nLet " + (uses == 1 ? "it" : "them") +
                " use the other texture, " + textureLabel(other) + ", and delete " +
                textureLabel(n) + "?"))
            return;
        replacement = other;
    }
    AtlasEditResult result;
    editor_.edit("Delete Texture", renumberingScope(),
                 [&] { result = kavlen::deleteTexture(wad, n, replacement); });
    if (result.changed)
        panel_.atlasEdited(result);
    else if (uses > 0 && !replacement && !result.messages.empty())
        result.messages.back().text +=
            "\r\nPick the replacement as the other texture (Ctrl + right click on the page) "
            "first.";
    showResultMessages(editor_, result.messages);
}

void TextureHousekeeping::removeUnusedTextures() {
    AtlasEditResult result;
    editor_.edit("Remove Unused Textures", renumberingScope(),
                 [&] { result = kavlen::removeUnusedTextures(editor_.document()); });
    if (result.changed)
        panel_.atlasEdited(result);
    showResultMessages(editor_, result.messages);
}

void TextureHousekeeping::deletePage() {
    AtlasEditResult result;
    EditScope scope;
    scope.wholeAtlas = scope.samples = true;
    editor_.edit("Delete Page", scope,
                 [&] { result = kavlen::deletePage(editor_.document(), panel_.currentPage()); });
    if (result.changed)
        panel_.atlasEdited(result);
    showResultMessages(editor_, result.messages);
}

void TextureHousekeeping::compactAtlas() {
    BusyCursor busy;
    AtlasEditResult result;
    EditScope scope = renumberingScope();
    scope.wholeAtlas = true;
    editor_.edit("Compact Atlas", scope,
                 [&] { result = kavlen::compactAtlas(editor_.document()); });
    if (result.changed)
        panel_.atlasEdited(result);
    busy.release();
    showResultMessages(editor_, result.messages);
}

void addTextureHousekeepingCommands(Editor& editor, TexturePanel& panel) {
    auto housekeeping = std::make_shared<TextureHousekeeping>(editor, panel);
    CommandTable& table = editor.commands();
    const auto add = [&](CommandId id, int position, const char* caption,
                         void (TextureHousekeeping::*work)()) {
        Command c = menuCommand(id, kMenuTextures, position, caption);
        c.guard = Guard::RequiresPackage;
        c.run = [housekeeping, work](const std::string&) { (*housekeeping.*work)(); };
        return &table.add(c);
    };
    add("DeleteTexture", 130, "Delete Texture", &TextureHousekeeping::deleteTexture)
        ->separatorBefore = true;
    add("RemoveUnusedTextures", 140, "Remove Unused Textures",
        &TextureHousekeeping::removeUnusedTextures);
    add("DeletePage", 150, "Delete Page", &TextureHousekeeping::deletePage);
    add("CompactAtlas", 160, "Compact Atlas", &TextureHousekeeping::compactAtlas);

    Command tint = menuCommand("TintUnusedTextures", kMenuView, 70, "Tint &Unused Textures");
    tint.checkable = true;
    tint.run = [&table, &panel](const std::string&) {
        panel.setTintUnused(table.isChecked("TintUnusedTextures"));
    };
    table.add(tint);
}

} // namespace kavlen
