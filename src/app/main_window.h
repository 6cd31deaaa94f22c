// The main window: menus, the texture page area, the side column of control
// groups and the three-panel status bar. Its menu handlers carry the control and
// event names; the work they share with other windows lives in the Editor.
#pragma once

#include <QMainWindow>
#include <array>
#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QToolButton;
class QVBoxLayout;

namespace kavlen {

class Editor;
class OpenProcedure;

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
    // column at the left edge, below the ones already there.
    void addControlGroup(QWidget* group);
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
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildLayout();

    Editor& editor_;
    QGroupBox* pageGroup_ = nullptr;
    QVBoxLayout* controlColumn_ = nullptr;
    QCheckBox* modeTx_ = nullptr;
    QCheckBox* modeSh_ = nullptr;
    QCheckBox* modeOp_ = nullptr;
    QToolButton* uiColourButton_ = nullptr;
    std::array<QLabel*, 3> statusPanels_{};
    bool darkUI_ = false;
};

} // namespace kavlen
