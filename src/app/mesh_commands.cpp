// The Edit and Points menu commands that change the current mesh's geometry and
// lighting: Move Mesh, Mirror Mesh, Add new empty mesh, Change Lighting Type,
// Remap and Recalc Normals.
#include "app/command_feedback.h"
#include "app/editor.h"
#include "app/editor_commands.h"
#include "app/import_options_dialog.h"
#include "app/main_window.h"
#include "app/menu_builder.h"
#include "app/move_mesh_window.h"
#include "app/remap_window.h"
#include "app/render_window.h"
#include "meshedit/add_mesh.h"
#include "meshedit/lighting.h"
#include "meshedit/mirror_mesh.h"

namespace kavlen {

namespace {

Command meshCommand(CommandId id, const char* menu, int position, const char* caption,
                    std::function<void()> work) {
    Command c = menuCommand(id, menu, position, caption, "");
    c.guard = Guard::RequiresPackage;
    c.run = [work = std::move(work)](const std::string&) { work(); };
    return c;
}

void mirror(Editor& editor, MirrorPlane plane, const char* caption) {
    const int slot = editor.selection().meshSlot();
    MeshEditResult result;
    editor.edit(std::string("Mirror Mesh ") + caption, EditScope::meshAndStatics(slot),
                [&] { result = mirrorMesh(editor.document(), slot, mirrorAxis(plane)); });
    if (result.changed && result.recenterView)
        centerCurrentMesh(editor);
    showResultMessages(editor, result.messages);
}

void recalcNormals(Editor& editor, bool averaged) {
    const int slot = editor.selection().meshSlot();
    LightingResult result;
    editor.edit(averaged ? "Recalc Normals Averaged" : "Recalc Normals Weighted",
                EditScope::mesh(slot),
                [&] { result = recalcNormalsCommand(editor.document(), slot, averaged); });
    showResultMessages(editor, result.messages);
}

// Moveable lighting to static or back, with the Import options dialog offering
// only the other type.
void changeLightingType(Editor& editor) {
    Package& wad = editor.document();
    const int slot = editor.selection().meshSlot();
    const Mesh* mesh = meshInSlot(wad, slot);
    if (!mesh || mesh->vertexCount == 0 || mesh->faceCount <= 0)
        return;
    const bool toStatic = mesh->normalCount >= 0;
    ImportOptionsDialog& dialog = ImportOptionsDialog::of(&editor.mainWindow());
    const std::optional<ImportOptions> answer =
        dialog.askForLightingChange(toStatic ? ImportOptionsDialog::LightingChange::ToStatic
                                             : ImportOptionsDialog::LightingChange::ToMoveable);
    if (!answer)
        return;
    LightingResult result;
    editor.edit("Change Lighting Type", EditScope::mesh(slot), [&] {
        result = toStatic ? changeToStaticLighting(wad, slot, answer->intensity)
                          : changeToMoveableLighting(wad, slot);
    });
    showResultMessages(editor, result.messages);
}

void addNewEmptyMesh(Editor& editor) {
    AddMeshResult result;
    EditScope scope;
    scope.meshTables = true;
    editor.edit("Add new empty mesh", scope, [&] { result = addEmptyMesh(editor.document()); });
    // The render window shows the new mesh as the last of "-- Added Meshes --".
    if (result.slot >= 0)
        editor.renderWindow().refreshMeshLists(true);
    showResultMessages(editor, result.messages);
}

} // namespace

void addMeshCommands(Editor& editor) {
    CommandTable& table = editor.commands();
    QWidget* owner = &editor.mainWindow();
    auto* moveWindow = new MoveMeshWindow(editor, owner);
    auto* remapWindow = new RemapWindow(editor, owner);
    // Another mesh shown: the indices of the last one mean nothing there.
    editor.addMeshShownListener([remapWindow](int) { remapWindow->resetIndices(); });
    Editor* e = &editor;

    table.add(meshCommand("AddNewEmptyMesh", kMenuEdit, 10, "&Add new empty mesh",
                          [e] { addNewEmptyMesh(*e); }));
    table.add(meshCommand("ChangeLightingType", kMenuEdit, 30, "Change Lighting Type",
                          [e] { changeLightingType(*e); }));

    // The window checks for a current mesh itself, so it opens without a package.
    Command move = meshCommand("MoveMesh", kMenuEdit, 40, "&Move Mesh", [moveWindow] {
        moveWindow->show();
        moveWindow->raise();
    });
    move.shortcut = "Ctrl+M";
    move.guard = Guard::None;
    move.separatorBefore = true;
    table.add(move);

    const struct {
        CommandId id;
        const char* caption;
        MirrorPlane plane;
    } mirrors[] = {{"MirrorXZ", "XZ", MirrorPlane::XZ},
                   {"MirrorYZ", "YZ", MirrorPlane::YZ},
                   {"MirrorXY", "XY", MirrorPlane::XY}};
    int position = 50;
    for (const auto& m : mirrors) {
        const MirrorPlane plane = m.plane;
        const char* caption = m.caption;
        Command c = meshCommand(m.id, kMenuEdit, position++, m.caption,
                                [e, plane, caption] { mirror(*e, plane, caption); });
        c.submenu = "M&irror Mesh";
        table.add(c);
    }

    Command remap = meshCommand("Remap", kMenuPoints, 10, "&Remap",
                                [remapWindow] { remapWindow->showForCurrentMesh(); });
    remap.shortcut = "Ctrl+R";
    table.add(remap);

    Command averaged = meshCommand("RecalcNormalsAveraged", kMenuPoints, 20, "&Averaged",
                                   [e] { recalcNormals(*e, true); });
    averaged.submenu = "Re&calc Normals";
    table.add(averaged);
    Command weighted = meshCommand("RecalcNormalsWeighted", kMenuPoints, 21, "&Weighted",
                                   [e] { recalcNormals(*e, false); });
    weighted.submenu = "Re&calc Normals";
    table.add(weighted);
}

} // namespace kavlen
