// The application object: it owns the one package document, the settings, the
// name lists, the recent files, the command table and the two windows, and runs
// the document lifecycle (open, save, close) that several windows share.
#pragma once

#include "app/app_locations.h"
#include "app/command_table.h"
#include "app/dialogs.h"
#include "app/editor_selection.h"
#include "app/editor_settings.h"
#include "app/name_lists.h"
#include "app/open_procedure.h"
#include "app/recent_files.h"
#include "document/edit_history.h"
#include "document/package.h"

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kavlen {

class MainWindow;
class RenderWindow;
class MenuBuilder;

inline constexpr const char* kAppTitle = "Kavlen3";

class Editor : public QObject {
    Q_OBJECT
  public:
    Editor(Dialogs& dialogs, AppLocations locations);
    ~Editor() override;

    // Creates the windows, reads the settings and shows the main window (which
    // shows the render window). Without a usable GL, shows "OPENGL drivers not
    // found!" and returns false; the program then ends.
    bool start(bool glAvailable);

    // The document and its path; an empty path means no package is loaded.
    // Change the document only through `edit`.
    Package& document() { return document_; }
    const std::string& documentPath() const { return documentPath_; }
    bool packageLoaded() const { return !documentPath_.empty(); }

    Dialogs& dialogs() { return dialogs_; }
    CommandTable& commands() { return commands_; }
    OpenProcedure& openProcedure() { return openProcedure_; }
    const RecentFiles& recentFiles() const { return recent_; }
    const NameList& staticNames() const { return staticNames_; }
    const NameList& moveableNames() const { return moveableNames_; }
    const AppLocations& locations() const { return locations_; }
    // The settings as read at start; views that arrive later take theirs from here.
    const EditorSettings& settings() const { return settings_; }
    // Lets a view put its values into the settings written at close.
    void addSettingsCollector(std::function<void(EditorSettings&)> collect);

    MainWindow& mainWindow() { return *mainWindow_; }
    RenderWindow& renderWindow() { return *renderWindow_; }
    MenuBuilder& menus() { return *menus_; }

    // Reads a package and refills every view; on failure shows why and leaves the
    // loaded package (or none) as it was. Returns whether the package was opened.
    bool openPackage(const std::string& path);
    // Writes the document to the path; shows the error on failure.
    bool savePackage(const std::string& path);
    // Before the package is closed or replaced: when it has unsaved changes, asks
    // "Save changes to NAME?" (Save runs Save). False when the user cancelled or
    // the save failed: the package must stay.
    bool mayDiscardPackage();

    // The one edit path: runs `work`, which changes the package's parts that
    // `scope` names, as one undo step captioned `caption` (nothing is recorded
    // or told when nothing changed). Views learn what changed through
    // `history().onChange`.
    DocumentChange edit(const std::string& caption, const EditScope& scope,
                        const std::function<void()>& work, const std::string& mergeKey = {});
    EditHistory& history() { return history_; }
    // What the user selected (mesh shown, samples, page, cutting shape, vertex).
    EditorSelection& selection() { return selection_; }
    const EditorSelection& selection() const { return selection_; }
    void undo();
    void redo();
    bool isModified() const { return packageLoaded() && history_.isModified(); }
    // After Save As: the document now lives at `path`.
    void setDocumentPath(const std::string& path);

    // Whether the main window may close now (asks when the options say so).
    bool queryClose();
    // Releases the document and writes the settings file; runs once.
    void shutdown();
    // The desktop session is ending: close without asking, keep the settings.
    void sessionEnding();

    // Lets pending window messages run (repaints) but no user input.
    static void processPendingMessages();

    // A face to show highlighted: the render window switches to mesh `mesh` and
    // highlights face `face`; (-1, -1) switches the highlight off. The render
    // window listens here.
    void addHighlightFaceListener(std::function<void(int mesh, int face)> listener);
    void highlightFace(int mesh, int face);
    // The render window made `slot` its current mesh (Show mesh): the boundary
    // data, the vertex tools and other views that follow the mesh listen here.
    void addMeshShownListener(std::function<void(int slot)> listener);
    void meshShown(int slot);

    // The settings as they are now, gathered from the views.
    EditorSettings collectSettings() const;
    // Writes the settings into the settings file, keeping everything else in it.
    bool writeSettingsFile(const EditorSettings& settings);

    // Sets the main window's title: "Kavlen3", "Kavlen3 - Loading...", "Kavlen3 - path"
    // (with " *" while the package has unsaved changes).
    void setTitle(const std::string& suffix);

  signals:
    // After a package was opened and every view refilled.
    void packageOpened();

  private:
    bool openPackageNow(const std::string& path);
    void registerCommands();
    void applySettings();
    void rebuildRecentMenu();
    void refreshUndoState();
    // After an undo or redo: the view moves to what the step changed.
    void selectWhatChanged(const DocumentChange& change);
    std::uint32_t resolveColour(std::uint32_t colour) const;

    Dialogs& dialogs_;
    AppLocations locations_;
    Package document_;
    std::string documentPath_;
    EditorSettings settings_;
    RecentFiles recent_;
    NameList staticNames_;
    NameList moveableNames_;
    CommandTable commands_;
    OpenProcedure openProcedure_;
    std::vector<std::function<void(EditorSettings&)>> settingsCollectors_;
    EditHistory history_{document_};
    EditorSelection selection_;
    Subscription historyState_;
    std::vector<std::function<void(int, int)>> highlightFaceListeners_;
    std::vector<std::function<void(int)>> meshShownListeners_;
    std::string titleSuffix_;
    bool editing_ = false;
    bool opening_ = false;
    bool sessionEnding_ = false;
    bool shutDown_ = false;

    // Windows last: they refer to everything above and go first.
    std::unique_ptr<MainWindow> mainWindow_;
    RenderWindow* renderWindow_ = nullptr; // owned by the main window
    std::unique_ptr<MenuBuilder> menus_;
};

} // namespace kavlen
