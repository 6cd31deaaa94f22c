#include "app/editor.h"

#include "app/busy_cursor.h"
#include "app/colour_names.h"
#include "app/editor_commands.h"
#include "app/main_window.h"
#include "app/menu_builder.h"
#include "app/qt_text.h"
#include "app/render_window.h"
#include "view3d/gl_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QPalette>
#include <QScreen>
#include <filesystem>
#include <system_error>

namespace kavlen {

Editor::Editor(Dialogs& dialogs, AppLocations locations)
    : dialogs_(dialogs), locations_(std::move(locations)),
      commands_([this] { return packageLoaded(); },
                [this](std::string_view text) { dialogs_.showError(std::string(text)); }) {}

Editor::~Editor() {
    historyState_.reset();
    menus_.reset();
    mainWindow_.reset();
}

bool Editor::start(bool glAvailable) {
    if (!glAvailable) {
        dialogs_.showError("OPENGL drivers not found!");
        return false;
    }
    settings_ = readSettings(IniFile::load(locations_.settingsFile), [](const std::string& path) {
        std::error_code ec;
        return std::filesystem::is_regular_file(toPath(path), ec);
    });
    recent_ = RecentFiles(settings_.recentFiles);

    mainWindow_ = std::make_unique<MainWindow>(*this);
    staticNames_ = readNameList(locations_.dataFile(kStaticNamesFile));
    moveableNames_ = readNameList(locations_.dataFile(kMoveableNamesFile));
    renderWindow_ = new RenderWindow(mainWindow_.get());
    renderWindow_->attachPackage(document_, locations_.dataFile("solid.bmp"));
    renderWindow_->attachEditor(*this);
    addHighlightFaceListener(
        [this](int mesh, int face) { renderWindow_->showHighlightedFace(mesh, face); });

    registerCommands();
    menus_ = std::make_unique<MenuBuilder>(commands_);
    menus_->build(mainWindow_->menuBar());
    // The menu shortcuts work while the render window is active too.
    renderWindow_->addActions(menus_->actions());

    mainWindow_->registerOpenSteps(openProcedure_);
    renderWindow_->registerOpenSteps(openProcedure_);

    applySettings();
    renderWindow_->invalidateScene();
    historyState_ = history_.onStateChange([this] { refreshUndoState(); });
    refreshUndoState();

    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { sessionEnding(); });
    // The size the window returns to from maximised (and keeps on desktops
    // without a window manager).
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        mainWindow_->setGeometry(area.adjusted(area.width() / 10, area.height() / 10,
                                               -area.width() / 10, -area.height() / 10));
    }
    mainWindow_->showMaximized();
    return true;
}

void Editor::registerCommands() {
    Command undoCommand = menuCommand("Undo", kMenuEdit, 1, "Undo", "Ctrl+Z");
    undoCommand.guard = Guard::SilentWithoutPackage;
    undoCommand.run = [this](const std::string&) { undo(); };
    commands_.add(undoCommand);
    Command redoCommand = menuCommand("Redo", kMenuEdit, 2, "Redo", "Ctrl+Y");
    redoCommand.alternateShortcut = "Ctrl+Shift+Z";
    redoCommand.guard = Guard::SilentWithoutPackage;
    redoCommand.run = [this](const std::string&) { redo(); };
    commands_.add(redoCommand);
    addFileCommands(*this);
    addViewCommands(*this);
    addOptionsCommands(*this);
    addTextureCommands(*this);
    addRenderCommands(*this);
    addReportCommands(*this);
    addMeshCommands(*this);
    addInterchangeCommands(*this);
    addFaceCommands(*this);
}

void Editor::addHighlightFaceListener(std::function<void(int mesh, int face)> listener) {
    highlightFaceListeners_.push_back(std::move(listener));
}

DocumentChange Editor::edit(const std::string& caption, const EditScope& scope,
                            const std::function<void()>& work, const std::string& mergeKey) {
    // An edit inside another (a command that calls a window's edit) belongs to
    // the outer step.
    if (editing_) {
        work();
        return {};
    }
    editing_ = true;
    try {
        const DocumentChange change = history_.edit(caption, scope, work, mergeKey);
        editing_ = false;
        return change;
    } catch (...) {
        editing_ = false;
        throw;
    }
}

void Editor::undo() {
    if (!editing_ && packageLoaded())
        selectWhatChanged(history_.undo());
}

void Editor::redo() {
    if (!editing_ && packageLoaded())
        selectWhatChanged(history_.redo());
}

void Editor::selectWhatChanged(const DocumentChange& change) {
    const std::vector<int>& changedMeshes = change.meshSlots;
    if (!changedMeshes.empty() && !change.touchesMesh(selection_.meshSlot()) &&
        changedMeshes.front() < document_.meshCount)
        renderWindow_->showMeshInLists(changedMeshes.front());
    if (change.sampleTable && !change.samples.empty() &&
        !change.touchesSample(selection_.sample()) &&
        static_cast<std::uint32_t>(change.samples.front()) < document_.texInfoCount)
        selection_.setSample(change.samples.front());
}

void Editor::refreshUndoState() {
    const bool loaded = packageLoaded();
    const std::string undoCaption = loaded ? history_.undoCaption() : std::string();
    const std::string redoCaption = loaded ? history_.redoCaption() : std::string();
    commands_.setCaption("Undo", undoCaption.empty() ? "&Undo" : "&Undo " + undoCaption);
    commands_.setCaption("Redo", redoCaption.empty() ? "&Redo" : "&Redo " + redoCaption);
    commands_.setEnabled("Undo", !undoCaption.empty());
    commands_.setEnabled("Redo", !redoCaption.empty());
    if (mainWindow_)
        setTitle(titleSuffix_);
}

void Editor::addMeshShownListener(std::function<void(int slot)> listener) {
    meshShownListeners_.push_back(std::move(listener));
}

void Editor::meshShown(int slot) {
    for (const auto& listener : meshShownListeners_)
        listener(slot);
}

void Editor::highlightFace(int mesh, int face) {
    for (const auto& listener : highlightFaceListeners_)
        listener(mesh, face);
    if (renderWindow_)
        renderWindow_->invalidateScene();
}

namespace {

// The palette colour that stands for each system colour; others take Window.
struct SystemRole {
    SystemColour colour;
    QPalette::ColorRole role;
    QPalette::ColorGroup group = QPalette::Active;
};

constexpr SystemRole kSystemRoles[] = {
    {SystemColour::Window, QPalette::Base},
    {SystemColour::WindowText, QPalette::WindowText},
    {SystemColour::MenuText, QPalette::WindowText},
    {SystemColour::CaptionText, QPalette::WindowText},
    {SystemColour::Highlight, QPalette::Highlight},
    {SystemColour::MenuHighlight, QPalette::Highlight},
    {SystemColour::ActiveCaption, QPalette::Highlight},
    {SystemColour::HotLight, QPalette::Highlight},
    {SystemColour::HighlightText, QPalette::HighlightedText},
    {SystemColour::BtnFace, QPalette::Button},
    {SystemColour::BtnText, QPalette::ButtonText},
    {SystemColour::BtnShadow, QPalette::Dark},
    {SystemColour::BtnHighlight, QPalette::Light},
    {SystemColour::DkShadow3D, QPalette::Shadow},
    {SystemColour::Light3D, QPalette::Midlight},
    {SystemColour::GrayText, QPalette::Text, QPalette::Disabled},
    {SystemColour::InactiveCaptionText, QPalette::Text, QPalette::Disabled},
    {SystemColour::InfoText, QPalette::ToolTipText},
    {SystemColour::InfoBk, QPalette::ToolTipBase},
};

} // namespace

std::uint32_t Editor::resolveColour(std::uint32_t colour) const {
    if (!isSystemColour(colour))
        return colour & 0x00FFFFFF;
    // A system colour stands for the desktop's colour of that role.
    QPalette::ColorRole role = QPalette::Window;
    QPalette::ColorGroup group = QPalette::Active;
    for (const SystemRole& r : kSystemRoles) {
        if (static_cast<std::uint32_t>(r.colour) == (colour & 0xFF)) {
            role = r.role;
            group = r.group;
        }
    }
    const QColor c = QApplication::palette().color(group, role);
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
           (static_cast<std::uint32_t>(c.blue()) << 16);
}

void Editor::applySettings() {
    const EditorSettings& s = settings_;
    renderWindow_->setViewColour(ViewColour::Background, resolveColour(s.background));
    renderWindow_->setViewColour(ViewColour::Line, resolveColour(s.line));
    renderWindow_->setViewColour(ViewColour::Box, resolveColour(s.box));
    renderWindow_->setViewColour(ViewColour::Point, resolveColour(s.point));
    renderWindow_->setViewColour(ViewColour::Point2, resolveColour(s.point2));
    renderWindow_->setViewColour(ViewColour::Grid, resolveColour(s.grid));

    MeshScene& state = renderWindow_->scene();
    state.showAxes = s.showAxes;
    state.showGrid = s.showGrid;
    state.outlineFaces = s.showLines;
    state.untexturedWhite = s.tex0White;
    state.showBox = s.showBox;
    state.stippleOn = s.enableStipple;
    state.stipplePattern = static_cast<std::uint16_t>(s.stipplePattern);

    mainWindow_->modeTx()->setChecked(s.modeTx);
    mainWindow_->modeSh()->setChecked(s.modeSh);
    mainWindow_->modeOp()->setChecked(s.modeOp);

    commands_.setChecked("QueryOnClose", s.queryClose);
    commands_.setChecked("OpenTextured", s.openInTexturedMode);
    commands_.setChecked("ShowAllMeshes", s.showAllMeshesList);
    rebuildRecentMenu();

    renderWindow_->showAllMeshesList(s.showAllMeshesList);
    commands_.setChecked("BilinearFiltering", s.bilinearFiltering);

    commands_.setChecked("ShowAxes", state.showAxes);
    commands_.setChecked("ShowGrid", state.showGrid);
    commands_.setChecked("OutlineFaces", state.outlineFaces);
    commands_.setChecked("UntexturedWhite", state.untexturedWhite);
    if (s.darkUI) {
        commands_.setChecked("DarkUI", true);
        mainWindow_->setDarkUI(true);
    }
}

void Editor::addSettingsCollector(std::function<void(EditorSettings&)> collect) {
    settingsCollectors_.push_back(std::move(collect));
}

EditorSettings Editor::collectSettings() const {
    // Values no view owns yet are written back as they were read.
    EditorSettings s = settings_;
    const MeshScene& state = renderWindow_->scene();
    s.background = renderWindow_->viewport().clearColor();
    s.line = state.lineColor;
    s.box = state.boxColor;
    s.point = state.pointColor;
    s.point2 = state.point2Color;
    s.grid = state.gridColor;

    s.showAxes = commands_.isChecked("ShowAxes");
    s.showGrid = commands_.isChecked("ShowGrid");
    s.bilinearFiltering = commands_.isChecked("BilinearFiltering");
    s.showBox = state.showBox != 0;
    s.showLines = state.outlineFaces != 0;
    s.tex0White = state.untexturedWhite != 0;
    s.enableStipple = state.stippleOn != 0;
    s.stipplePattern = state.stipplePattern;
    s.darkUI = commands_.isChecked("DarkUI");

    s.queryClose = commands_.isChecked("QueryOnClose");
    s.openInTexturedMode = commands_.isChecked("OpenTextured");
    s.showAllMeshesList = commands_.isChecked("ShowAllMeshes");
    s.recentFiles = recent_.paths();
    for (const auto& collect : settingsCollectors_)
        collect(s);
    return s;
}

bool Editor::writeSettingsFile(const EditorSettings& settings) {
    // Read the file again so that whatever else it holds now is kept.
    const std::filesystem::path& path = locations_.settingsFile;
    IniFile ini = IniFile::load(path);
    writeSettings(ini, settings);
    std::error_code ec;
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path(), ec);
    std::string message;
    if (ini.save(path, message))
        return true;
    dialogs_.showWarning("The settings could not be saved:\n" + message);
    return false;
}

void Editor::rebuildRecentMenu() {
    mainWindow_->setRecentFiles(recent_.paths());
}

void Editor::setTitle(const std::string& suffix) {
    titleSuffix_ = suffix;
    const bool showsPath = packageLoaded() && suffix == " - " + documentPath_;
    const std::string mark = showsPath && isModified() ? " *" : "";
    mainWindow_->setWindowTitle(toQt(std::string(kAppTitle) + suffix + mark));
}

void Editor::processPendingMessages() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool Editor::openPackage(const std::string& path) {
    // Timers may fire while the views repaint between the steps; a second open
    // must not start inside the first.
    if (opening_)
        return false;
    opening_ = true;
    const bool opened = openPackageNow(path);
    opening_ = false;
    return opened;
}

bool Editor::openPackageNow(const std::string& path) {
    // One spelling per file, so the recent files hold it once.
    const std::string fullPath =
        toStd(QDir::toNativeSeparators(QFileInfo(toQt(path)).absoluteFilePath()));
    BusyCursor busy;
    mainWindow_->repaint();
    const LoadResult result = loadWad(document_, toPath(fullPath));
    if (!result.ok()) {
        // The document is untouched: the previous package (or none) stays.
        busy.release();
        if (result.status == LoadResult::WrongVersion)
            dialogs_.showInformation(result.message);
        else
            dialogs_.showError(result.message);
        return false;
    }
    openProcedure_.run(document_, &Editor::processPendingMessages);
    // Once per open: what the reader found odd but kept (storage order, bytes after
    // the last section).
    if (!result.notice.empty())
        mainWindow_->setStatusText(1, toQt(result.notice));
    documentPath_ = fullPath;
    // No step of the history applies to this package.
    history_.packageReplaced();
    recent_.add(fullPath);
    rebuildRecentMenu();
    setTitle(" - " + fullPath);
    emit packageOpened();
    return true;
}

bool Editor::savePackage(const std::string& path) {
    BusyCursor busy;
    mainWindow_->repaint();
    const SaveResult result = saveWad(document_, toPath(path));
    busy.release();
    if (!result.ok)
        dialogs_.showError(result.message);
    else
        history_.markSaved();
    return result.ok;
}

bool Editor::mayDiscardPackage() {
    if (!isModified())
        return true;
    const std::string name = toStd(QFileInfo(toQt(documentPath_)).fileName());
    switch (dialogs_.askSaveChanges("Save changes to " + name + "?")) {
    case SaveChoice::Save:
        return savePackage(documentPath_);
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Cancel:
        break;
    }
    return false;
}

void Editor::setDocumentPath(const std::string& path) {
    documentPath_ = toStd(QDir::toNativeSeparators(QFileInfo(toQt(path)).absoluteFilePath()));
    setTitle(" - " + documentPath_);
    recent_.add(documentPath_);
    rebuildRecentMenu();
}

bool Editor::queryClose() {
    if (shutDown_ || sessionEnding_)
        return true;
    if (isModified())
        return mayDiscardPackage();
    if (!commands_.isChecked("QueryOnClose") || !packageLoaded())
        return true;
    return dialogs_.confirmOkCancel("Really close Kavlen?");
}

void Editor::shutdown() {
    if (shutDown_)
        return;
    shutDown_ = true;
    const EditorSettings finalSettings = collectSettings();
    renderWindow_->hide();
    releaseDocument(document_);
    documentPath_.clear(); // nothing may treat the released document as loaded
    writeSettingsFile(finalSettings);
}

void Editor::sessionEnding() {
    sessionEnding_ = true;
    writeSettingsFile(collectSettings());
}

} // namespace kavlen
