#include "app/editor_commands.h"

#include "app/editor.h"
#include "app/main_window.h"
#include "app/menu_builder.h"
#include "app/render_window.h"

namespace kavlen {

Command menuCommand(CommandId id, const char* menu, int position, const char* caption,
                    const char* shortcut) {
    Command c;
    c.id = id;
    c.menu = menu;
    c.position = position;
    c.caption = caption;
    c.shortcut = shortcut;
    return c;
}

namespace {

// A command whose work ignores the argument.
template <typename Work> std::function<void(const std::string&)> ignoringArgument(Work work) {
    return [work](const std::string&) { work(); };
}

} // namespace

void addFileCommands(Editor& editor) {
    CommandTable& table = editor.commands();
    MainWindow& form = editor.mainWindow();

    Command open = menuCommand("Open", kMenuFile, 10, "&Open", "F3");
    open.run = [&form](const std::string& path) { form.openPackageCommand(path); };
    table.add(open);

    Command recent = menuCommand("OpenRecent", kMenuFile, 20, "Open Re&cent");
    recent.kind = Command::Kind::Submenu;
    recent.enabled = false;
    table.add(recent);

    Command save = menuCommand("Save", kMenuFile, 30, "&Save", "Ctrl+S");
    save.guard = Guard::RequiresPackage;
    save.run = ignoringArgument([&form] { form.savePackageCommand(); });
    table.add(save);

    Command saveAs = menuCommand("SaveAs", kMenuFile, 40, "Save &As", "F2");
    saveAs.guard = Guard::RequiresPackage;
    saveAs.run = ignoringArgument([&form] { form.saveAsCommand(); });
    table.add(saveAs);

    Command exit = menuCommand("Exit", kMenuFile, 200, "E&xit", "Ctrl+X");
    exit.separatorBefore = true;
    exit.run = ignoringArgument([&form] { form.exitCommand(); });
    table.add(exit);
}

void addViewCommands(Editor& editor) {
    CommandTable& table = editor.commands();
    RenderWindow& render = editor.renderWindow();

    // The reference switches copy their check mark into the scene.
    const auto reference = [&](CommandId id, int position, const char* caption,
                               const char* shortcut, std::uint8_t MeshScene::*flag) {
        Command c = menuCommand(id, kMenuView, position, caption, shortcut);
        c.checkable = true;
        c.run = ignoringArgument([&table, &render, id, flag] {
            render.scene().*flag = table.isChecked(id) ? 1 : 0;
            render.invalidateScene();
        });
        table.add(c);
    };
    reference("ShowAxes", 10, "Show &Axes", "Ctrl+A", &MeshScene::showAxes);
    reference("ShowGrid", 20, "Show &Grid", "Ctrl+G", &MeshScene::showGrid);

    Command dark = menuCommand("DarkUI", kMenuView, 80, "Dar&k UI");
    dark.separatorBefore = true;
    dark.checkable = true;
    MainWindow& form = editor.mainWindow();
    dark.run = ignoringArgument([&form] { form.applyDarkUICommand(); });
    table.add(dark);
}

void addOptionsCommands(Editor& editor) {
    CommandTable& table = editor.commands();
    // Their check marks are read where they matter: at close, during open, and by
    // the render window's all-meshes list.
    const auto option = [&](CommandId id, int position, const char* caption, bool visible) {
        Command c = menuCommand(id, kMenuOptions, position, caption);
        c.checkable = true;
        c.visible = visible;
        table.add(c);
    };
    option("QueryOnClose", 10, "&Query on close", true);
    option("OpenTextured", 20, "Open wad in &Textured Mode", true);
    option("ShowAllMeshes", 30, "Show All &Meshes list", false);
}

} // namespace kavlen
