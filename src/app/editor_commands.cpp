#include "app/editor_commands.h"

#include "app/editor.h"
#include "app/main_window.h"
#include "app/menu_builder.h"
#include "app/render_window.h"

namespace kavlen {

void addFileCommands(Editor& editor) {
    CommandTable& table = editor.commands();
    TForm1& form = editor.mainWindow();

    Command open;
    open.id = "Open";
    open.menu = kMenuFile;
    open.position = 10;
    open.caption = "&Open";
    open.shortcut = "F3";
    open.touches = TouchesWholeDocument;
    open.run = [&form](const std::string& path) { form.Open1Click(path); };
    table.add(open);

    Command recent;
    recent.id = "OpenRecent";
    recent.kind = Command::Kind::Submenu;
    recent.menu = kMenuFile;
    recent.position = 20;
    recent.caption = "Open Re&cent";
    recent.enabled = false;
    table.add(recent);

    Command save;
    save.id = "Save";
    save.menu = kMenuFile;
    save.position = 30;
    save.caption = "&Save";
    save.shortcut = "Ctrl+S";
    save.guard = Guard::RequiresPackage;
    save.run = [&form](const std::string&) { form.Save1Click(); };
    table.add(save);

    Command saveAs;
    saveAs.id = "SaveAs";
    saveAs.menu = kMenuFile;
    saveAs.position = 40;
    saveAs.caption = "Save &As";
    saveAs.shortcut = "F2";
    saveAs.guard = Guard::RequiresPackage;
    saveAs.run = [&form](const std::string&) { form.SaveAs1Click(); };
    table.add(saveAs);

    Command exit;
    exit.id = "Exit";
    exit.menu = kMenuFile;
    exit.position = 200;
    exit.separatorBefore = true;
    exit.caption = "E&xit";
    exit.shortcut = "Ctrl+X";
    exit.run = [&form](const std::string&) { form.Exit1Click(); };
    table.add(exit);
}

void addViewCommands(Editor& editor) {
    CommandTable& table = editor.commands();
    TForm4& render = editor.renderWindow();

    // The reference switches copy their check mark into the render state.
    const auto toggle = [&](const char* id, int position, const char* caption, const char* shortcut,
                            bool RenderState::*flag) {
        Command c;
        c.id = id;
        c.menu = kMenuView;
        c.position = position;
        c.caption = caption;
        c.shortcut = shortcut;
        c.checkable = true;
        c.run = [&table, &render, id, flag](const std::string&) {
            render.renderState().*flag = table.isChecked(id);
            render.invalidateScene();
        };
        table.add(c);
    };
    toggle("ShowAxes", 10, "Show &Axes", "Ctrl+A", &RenderState::showAxes);
    toggle("ShowGrid", 20, "Show &Grid", "Ctrl+G", &RenderState::showGrid);

    Command dark;
    dark.id = "DarkUI";
    dark.menu = kMenuView;
    dark.position = 80;
    dark.separatorBefore = true;
    dark.caption = "Dar&k UI";
    dark.checkable = true;
    TForm1& form = editor.mainWindow();
    dark.run = [&form](const std::string&) { form.DarkUI1Click(); };
    table.add(dark);
}

void addOptionsCommands(Editor& editor) {
    CommandTable& table = editor.commands();
    // Their check marks are read where they matter: at close, during open, and by
    // the render window's all-meshes list.
    const auto option = [&](const char* id, int position, const char* caption, bool visible) {
        Command c;
        c.id = id;
        c.menu = kMenuOptions;
        c.position = position;
        c.caption = caption;
        c.checkable = true;
        c.visible = visible;
        table.add(c);
    };
    option("QueryOnClose", 10, "&Query on close", true);
    option("OpenTextured", 20, "Open wad in &Textured Mode", true);
    option("ShowAllMeshes", 30, "Show All &Meshes list", false);
}

} // namespace kavlen
