// The commands that change what the render window shows: the view colours and
// their reset, Bilinear Filtering, the face display switches, the hair index
// highlight and the all-meshes list. They change view state, not the package.
#include "app/editor.h"
#include "app/editor_commands.h"
#include "app/menu_builder.h"
#include "app/render_window.h"

namespace kavlen {

void addRenderCommands(Editor& editor) {
    CommandTable& table = editor.commands();
    RenderWindow& render = editor.renderWindow();

    const auto colour = [&](CommandId id, int position, const char* caption, const char* shortcut,
                            ViewColour which) {
        Command c = menuCommand(id, kMenuView, position, caption, shortcut);
        c.submenu = "Change Colors";
        c.separatorBefore = position == 30;
        c.run = [&render, which](const std::string&) { render.chooseViewColour(which); };
        table.add(c);
    };
    colour("BackgroundColor", 30, "Background Color", "F10", ViewColour::Background);
    colour("LineColor", 31, "Line Color", "", ViewColour::Line);
    colour("BoxColor", 32, "Box Color", "", ViewColour::Box);
    colour("PointColor", 33, "Point Color", "", ViewColour::Point);
    colour("PointColor2", 34, "Point Color 2", "", ViewColour::Point2);
    colour("GridColor", 35, "Grid Color", "", ViewColour::Grid);

    Command reset = menuCommand("ResetColors", kMenuView, 39, "Reset Colors", "Shift+F10");
    reset.run = [&render](const std::string&) { render.resetColors(); };
    table.add(reset);

    Command bilinear = menuCommand("BilinearFiltering", kMenuView, 90, "Bilinear Filtering");
    bilinear.separatorBefore = true;
    bilinear.checkable = true;
    bilinear.guard = Guard::SilentWithoutPackage;
    bilinear.run = [&render](const std::string&) { render.applyBilinearFiltering(); };
    table.add(bilinear);

    // Face display switches copy their check mark into the scene.
    const auto faceSwitch = [&](CommandId id, int position, const char* caption,
                                const char* shortcut, std::uint8_t MeshScene::*flag) {
        Command c = menuCommand(id, kMenuFaces, position, caption, shortcut);
        c.separatorBefore = position == 100;
        c.checkable = true;
        c.checked = render.scene().*flag != 0;
        c.run = [&table, &render, id, flag](const std::string&) {
            render.scene().*flag = table.isChecked(id) ? 1 : 0;
            render.invalidateScene();
        };
        table.add(c);
    };
    faceSwitch("OutlineFaces", 100, "&Outline Faces", "Ctrl+O", &MeshScene::outlineFaces);
    faceSwitch("UntexturedWhite", 110, "Untextured &White", "", &MeshScene::untexturedWhite);
    faceSwitch("ShowBentQuads", 120, "Show Bent Quads", "", &MeshScene::showBentQuads);
    faceSwitch("ColorScaleShine", 130, "Color Scale Shine", "", &MeshScene::colorScaleShine);

    // Highlight Hair Indices: one of None, Lara, Young Lara.
    const auto hair = [&](CommandId id, int position, const char* caption, bool on, bool lara) {
        Command c = menuCommand(id, kMenuPoints, position, caption);
        c.submenu = "Highlight Hair Indices";
        c.separatorBefore = position == 100;
        c.checkable = true;
        c.exclusiveGroup = "HairIndices";
        c.checked = !on;
        c.run = [&render, on, lara](const std::string&) {
            render.scene().hairHighlight = on ? 1 : 0;
            if (on)
                render.scene().hairSetLara = lara ? 1 : 0;
            render.invalidateScene();
        };
        table.add(c);
    };
    hair("HairNone", 100, "None", false, false);
    hair("HairLara", 101, "Lara", true, true);
    hair("HairYoungLara", 102, "Young Lara", true, false);

    if (Command* allMeshes = table.find("ShowAllMeshes")) {
        allMeshes->run = [&table, &render](const std::string&) {
            render.showAllMeshesList(table.isChecked("ShowAllMeshes"));
        };
    }
}

} // namespace kavlen
