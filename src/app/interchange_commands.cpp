// The File menu commands that move the current mesh in and out of other modelling
// tools: DXF export and import, MQO export and import, OBJ export and import, and
// whole moveables as OBJ.
#include "app/busy_cursor.h"
#include "app/command_feedback.h"
#include "app/editor.h"
#include "app/editor_commands.h"
#include "app/import_options_dialog.h"
#include "app/main_window.h"
#include "app/menu_builder.h"
#include "app/qt_text.h"
#include "app/render_window.h"
#include "interchange/dxf.h"
#include "interchange/mqo_document.h"
#include "interchange/obj_export.h"
#include "interchange/obj_model.h"
#include "interchange/obj_moveable.h"
#include "meshedit/mesh_edit.h"

#include <QComboBox>
#include <QFileInfo>

#include <functional>

namespace kavlen {

namespace {

const FileDialogOptions kDxfSave{"Drawing Interchange (*.dxf)", "dxf", {}};
const FileDialogOptions kDxfOpen{"Drawing Interchange (*.dxf)", "dxf", {}};
const FileDialogOptions kMqoSave{"Metasequoia file (*.mqo)", "mqo", {}};
const FileDialogOptions kMqoOpen{"Metasequoia MQO Files (*.MQO)", "mqo", {}};
const FileDialogOptions kObjOpen{"Wavefront OBJ files (*.OBJ)", "obj", {}};
const FileDialogOptions kObjSave{"Wavefront OBJ files (*.obj)", "obj", {}};

using Exporter = ExportResult (*)(const Package&, int, const std::filesystem::path&);
using Importer = ImportResult (*)(Package&, int, const std::filesystem::path&,
                                  const ImportOptions&);

// The current mesh slot, or -1 after telling the user there is none: every
// import and export works on the mesh the render window shows.
int currentMeshOrRefuse(Editor& editor) {
    const int slot = editor.selection().meshSlot();
    if (!meshInSlot(editor.document(), slot)) {
        editor.dialogs().showError(kNoMeshMessage);
        return -1;
    }
    return slot;
}

// The dialogs start in the package's folder.
FileDialogOptions startingBesidePackage(Editor& editor, FileDialogOptions options) {
    options.startPath = toStd(QFileInfo(toQt(editor.documentPath())).absolutePath());
    return options;
}

// Asks for the file to write, then writes it with the normal cursor back
// before the messages show.
void exportToChosenFile(Editor& editor, const FileDialogOptions& options,
                        const std::function<ExportResult(const std::filesystem::path&)>& write) {
    const auto path = editor.dialogs().saveFile(startingBesidePackage(editor, options));
    if (!path)
        return;
    BusyCursor busy;
    Editor::processPendingMessages();
    const ExportResult result = write(toPath(*path));
    busy.release();
    showResultMessages(editor, result.messages);
}

// Asks for the file, then for the import options, then reads it as one undo
// step over `scope` and centres the view on the current mesh.
void importFromChosenFile(
    Editor& editor, const char* caption, const FileDialogOptions& options, const EditScope& scope,
    const std::function<ImportResult(const std::filesystem::path&, const ImportOptions&)>& read,
    bool clearStatus) {
    const auto path = editor.dialogs().openFile(startingBesidePackage(editor, options));
    if (!path)
        return;
    Editor::processPendingMessages();
    // The dialog takes input, so it shows the normal cursor.
    const std::optional<ImportOptions> answer =
        ImportOptionsDialog::of(&editor.mainWindow()).askForImport();
    if (!answer)
        return;
    BusyCursor busy;
    Editor::processPendingMessages();
    ImportResult result;
    editor.edit(caption, scope, [&] { result = read(toPath(*path), *answer); });
    centerCurrentMesh(editor);
    if (clearStatus)
        editor.mainWindow().setStatusText(1, {});
    busy.release();
    showResultMessages(editor, result.messages);
}

void exportMesh(Editor& editor, const FileDialogOptions& options, Exporter exporter) {
    const int slot = currentMeshOrRefuse(editor);
    if (slot >= 0)
        exportToChosenFile(editor, options, [&](const std::filesystem::path& path) {
            return exporter(editor.document(), slot, path);
        });
}

// Choose a file, then the import options, then replace the current mesh.
void importMesh(Editor& editor, const char* caption, const FileDialogOptions& options,
                Importer importer, bool clearStatus) {
    const int slot = currentMeshOrRefuse(editor);
    if (slot >= 0)
        importFromChosenFile(
            editor, caption, options, EditScope::mesh(slot),
            [&](const std::filesystem::path& path, const ImportOptions& answer) {
                return importer(editor.document(), slot, path, answer);
            },
            clearStatus);
}

// The moveable chosen in the render window's "Moveables" list, or -1 after
// telling the user to choose one.
int currentMoveableOrRefuse(Editor& editor) {
    const int index = editor.renderWindow().moveablesList()->currentIndex();
    if (index < 0 || std::size_t(index) >= editor.document().moveables.size()) {
        editor.dialogs().showError("Choose a moveable in the render window's Moveables list.");
        return -1;
    }
    return index;
}

void exportMoveable(Editor& editor) {
    const int moveable = currentMoveableOrRefuse(editor);
    if (moveable >= 0)
        exportToChosenFile(editor, kObjSave, [&](const std::filesystem::path& path) {
            return exportMoveableObj(editor.document(), moveable, path);
        });
}

// Every mesh of the chosen moveable from one OBJ file, all or none.
void importMoveable(Editor& editor) {
    const int moveable = currentMoveableOrRefuse(editor);
    if (moveable < 0)
        return;
    EditScope scope;
    scope.allMeshSlots = true;
    importFromChosenFile(
        editor, "Import Moveable (OBJ)", kObjOpen, scope,
        [&](const std::filesystem::path& path, const ImportOptions& answer) {
            return importMoveableObj(editor.document(), moveable, path, answer);
        },
        false);
}

Command fileCommand(CommandId id, int position, const char* caption, const char* shortcut,
                    std::function<void()> work) {
    Command c = menuCommand(id, kMenuFile, position, caption, shortcut);
    c.guard = Guard::RequiresPackage;
    c.run = [work = std::move(work)](const std::string&) { work(); };
    return c;
}

} // namespace

void addInterchangeCommands(Editor& editor) {
    CommandTable& table = editor.commands();
    Editor* e = &editor;
    Command exportDxfCommand = fileCommand("ExportDxf", 70, "&Export Dxf", "Ctrl+E",
                                           [e] { exportMesh(*e, kDxfSave, &exportDxf); });
    exportDxfCommand.separatorBefore = true;
    table.add(exportDxfCommand);
    table.add(fileCommand("ImportDxf", 80, "&Import Dxf", "Ctrl+I",
                          [e] { importMesh(*e, "Import Dxf", kDxfOpen, &importDxf, false); }));
    table.add(fileCommand("ExportMqo", 90, "Export MQO", "Shift+E",
                          [e] { exportMesh(*e, kMqoSave, &exportMqo); }));
    table.add(fileCommand("ImportMqo", 100, "Import MQO", "Shift+I",
                          [e] { importMesh(*e, "Import MQO", kMqoOpen, &importMqo, true); }));
    table.add(fileCommand("ImportObj", 110, "Import OBJ", "",
                          [e] { importMesh(*e, "Import OBJ", kObjOpen, &importObj, false); }));
    table.add(fileCommand("ExportObj", 112, "Export OBJ", "Shift+O",
                          [e] { exportMesh(*e, kObjSave, &exportObj); }));
    table.add(fileCommand("ExportMoveableObj", 114, "Export Moveable (OBJ)", "",
                          [e] { exportMoveable(*e); }));
    table.add(fileCommand("ImportMoveableObj", 116, "Import Moveable (OBJ)", "",
                          [e] { importMoveable(*e); }));
}

} // namespace kavlen
