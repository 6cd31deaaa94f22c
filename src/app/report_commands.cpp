#include "app/boundary_panel.h"
#include "app/editor.h"
#include "app/editor_commands.h"
#include "app/main_window.h"
#include "app/menu_builder.h"
#include "app/render_window.h"
#include "app/report_windows.h"
#include "app/texture_panel.h"

#include <QListWidget>

namespace kavlen {

namespace {

Command reportCommand(CommandId id, const char* menu, int position, const char* caption,
                      const char* shortcut, Guard guard, std::function<void()> work) {
    Command c = menuCommand(id, menu, position, caption, shortcut);
    c.guard = guard;
    c.run = [work = std::move(work)](const std::string&) { work(); };
    return c;
}

// Selects the sample in the main window's texture list, which shows it.
void selectSample(Editor& editor, int sample) {
    if (sample >= 0 && static_cast<std::uint32_t>(sample) < editor.document().texInfoCount)
        editor.selection().setSample(sample);
}

} // namespace

void addReportCommands(Editor& editor) {
    MainWindow& form = editor.mainWindow();
    CommandTable& table = editor.commands();

    auto* bounds = new BoundaryPanel(editor); // owned by the main window
    bounds->registerOpenSteps(editor.openProcedure());
    Command autoBound =
        reportCommand("AutomaticBound", "", 0, "Automatic Bound", "", Guard::RequiresPackage,
                      [bounds] { bounds->automaticBound(); });
    autoBound.inMenu = false;
    table.add(autoBound);

    auto* aboutMesh = new AboutMeshWindow(&form);
    QObject::connect(aboutMesh, &AboutMeshWindow::textureClicked, &form,
                     [&editor](int sample) { selectSample(editor, sample); });
    QObject::connect(aboutMesh, &AboutMeshWindow::textureDoubleClicked, &form,
                     [&editor](int sample) {
                         selectSample(editor, sample);
                         editor.commands().execute("ExportTexture");
                     });
    Command about = reportCommand("AboutMesh", kMenuEdit, 90, "About Mesh", "",
                                  Guard::SilentWithoutPackage, [&editor, aboutMesh] {
                                      const auto report = kavlen::aboutMesh(
                                          editor.document(), editor.selection().meshSlot());
                                      if (!report)
                                          return;
                                      aboutMesh->fill(*report);
                                      aboutMesh->open();
                                  });
    about.separatorBefore = true;
    table.add(about);

    auto* aboutMeshes = new AboutMeshesWindow(&form);
    // The render window shows the mesh chosen in the report.
    QObject::connect(aboutMeshes, &AboutMeshesWindow::meshChosen, bounds,
                     [&editor](int slot) { editor.renderWindow().showMeshInLists(slot); });
    table.add(reportCommand("AboutMeshes", kMenuEdit, 100, "About Meshes", "",
                            Guard::SilentWithoutPackage, [&editor, aboutMeshes] {
                                const auto report = kavlen::aboutMeshes(editor.document());
                                if (!report)
                                    return;
                                aboutMeshes->fill(*report);
                                aboutMeshes->open();
                            }));

    // The guide's text is read once, now, from the file beside the program.
    auto* keysGuide = new KeysGuideWindow(&form, editor.locations().dataFile("readme.txt"));
    table.add(
        reportCommand("KeysGuide", kMenuHelp, 10, "&Keys Guide", "F1", Guard::None, [keysGuide] {
            keysGuide->show();
            keysGuide->raise();
            keysGuide->activateWindow();
        }));
}

} // namespace kavlen
