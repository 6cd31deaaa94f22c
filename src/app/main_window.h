// The main window: menus, the texture page area, the side column of control
// groups and the three-panel status bar. Its menu handlers carry the control and
// event names; the work they share with other windows lives in the Editor.
#pragma once

#include <QMainWindow>
#include <array>
#include <string>
#include <vector>

class QCheckBox;
class QDockWidget;
class QGroupBox;
class QScrollArea;
class QLabel;
class QMenu;
class QToolButton;
class QVBoxLayout;

namespace kavlen {

class Editor;
class OpenProcedure;
class RenderWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(Editor& editor);
    ~MainWindow() override;

    // Menu handlers.
    void openPackageCommand(const std::string& path); // an empty path asks for one
    void savePackageCommand();
    void saveAsCommand();
    void exitCommand();
    void applyDarkUICommand();

    // The area where the texture page view goes.
    QGroupBox* pageGroup() const { return pageGroup_; }
    // Adds a control group ("Current Texture", "Boundary Data", ...) to the
    // column at the left edge, below the ones already there. The groups scroll
    // under the page, which always shows whole.
    void addControlGroup(QWidget* group);
    QScrollArea* controlGroupsArea() const { return groupsArea_; }

    // The render window goes into a dock beside the column; the dock carries its
    // caption and can float or dock again.
    void dockRenderWindow(RenderWindow& render);
    QDockWidget* renderDock() const { return renderDock_; }
    // View > Render Window and every open: shows the render view (docked or
    // floating) and brings it to the front.
    void showRenderWindow();
    // The dock layout as text for the settings file, and back; an empty or
    // unreadable text gives the default layout.
    std::string layoutText() const;
    void restoreLayout(const std::string& text);
    QCheckBox* modeTx() const { return modeTx_; }
    QCheckBox* modeSh() const { return modeSh_; }
    QCheckBox* modeOp() const { return modeOp_; }
    QToolButton* uiColourButton() const { return uiColourButton_; }

    // Status bar panels 0 (pointer on the page), 1 (short results), 2 (sizes).
    void setStatusText(int panel, const QString& text);
    QString statusText(int panel) const;

    void setDarkUI(bool on);
    bool darkUI() const { return darkUI_; }

    // Rebuilds the Open Recent submenu from the paths, most recent first.
    void setRecentFiles(const std::vector<std::string>& paths);
    QMenu* recentMenu() const;

    void registerOpenSteps(OpenProcedure& procedure);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildLayout();

    Editor& editor_;
    QGroupBox* pageGroup_ = nullptr;
    QVBoxLayout* controlColumn_ = nullptr;
    QScrollArea* groupsArea_ = nullptr;
    QDockWidget* renderDock_ = nullptr;
    QByteArray defaultLayout_;
    QCheckBox* modeTx_ = nullptr;
    QCheckBox* modeSh_ = nullptr;
    QCheckBox* modeOp_ = nullptr;
    QToolButton* uiColourButton_ = nullptr;
    std::array<QLabel*, 3> statusPanels_{};
    bool darkUI_ = false;
};

} // namespace kavlen
