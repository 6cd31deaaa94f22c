#include "app/editor.h"
#include "app/editor_commands.h"
#include "app/main_window.h"
#include "app/menu_builder.h"
#include "app/texture_housekeeping.h"
#include "app/texture_panel.h"

namespace kavlen {

void addTextureCommands(Editor& editor) {
    auto* panel = new TexturePanel(editor); // owned by the main window
    panel->registerOpenSteps(editor.openProcedure());
    CommandTable& table = editor.commands();

    const auto add = [&](CommandId id, const char* menu, int position, const char* caption,
                         const char* shortcut, void (TexturePanel::*work)(),
                         Guard guard = Guard::RequiresPackage) {
        Command c = menuCommand(id, menu, position, caption, shortcut);
        c.guard = guard;
        c.run = [panel, work](const std::string&) { (panel->*work)(); };
        return &table.add(c);
    };

    add("SaveTavFile", kMenuFile, 50, "Save  &Tav File", "", &TexturePanel::saveTavFile);
    add("RestoreTavFile", kMenuFile, 60, "&Restore Tav File", "", &TexturePanel::restoreTavFile,
        Guard::RequiresPackage);

    add("ExportAtlas", kMenuTextures, 10, "Export Atlas to Bitmap", "", &TexturePanel::exportAtlas);
    add("ImportAtlas", kMenuTextures, 20, "Import Atlas from Bitmap", "",
        &TexturePanel::importAtlas, Guard::RequiresPackage);
    Command* fromImage = add("AddPageFromImage", kMenuTextures, 30, "From Image ...", "F4",
                             &TexturePanel::addPageFromImage, Guard::RequiresPackage);
    fromImage->submenu = "Add page";
    Command* blank = add("AddPageBlank", kMenuTextures, 40, "Blank", "",
                         &TexturePanel::addBlankPage, Guard::RequiresPackage);
    blank->submenu = "Add page";
    add("AddNewTexture", kMenuTextures, 50, "Add new texture ", "F5", &TexturePanel::addNewTexture,
        Guard::RequiresPackage);
    add("Preview", kMenuTextures, 60, "Preview", "", &TexturePanel::showPreview)->separatorBefore =
        true;
    add("FindTexture", kMenuTextures, 65, "&Find Texture", "Ctrl+F", &TexturePanel::showFindWindow);
    add("ChangeIdNumber", kMenuTextures, 70, "Change ID number", "", &TexturePanel::showSwapWindow);
    add("SelectionColor", kMenuTextures, 80, "&Selection Color", "",
        &TexturePanel::chooseSelectionColour, Guard::None)
        ->separatorBefore = true;
    add("CuttingShapeColor", kMenuTextures, 90, "Cutting Shape Color", "",
        &TexturePanel::chooseShapeColour, Guard::None);
    Command* cut = add("CutFromShape", kMenuTextures, 100, "Cut from Shape", "Ctrl+D",
                       &TexturePanel::cutFromShape, Guard::RequiresPackage);
    cut->enabled = false;
    add("ExportTexture", kMenuTextures, 110, "Export Texture to BMP", "Ctrl+B",
        &TexturePanel::exportTexture)
        ->separatorBefore = true;
    add("ImportTexture", kMenuTextures, 120, "Import Texture", "Shift+B",
        &TexturePanel::importTexture, Guard::RequiresPackage);
    addTextureHousekeepingCommands(editor, *panel);
}

} // namespace kavlen
