// The "Import options" dialog: which lighting an imported mesh gets, moveable
// (averaged normals) or static (one shade of a chosen intensity). "Change
// Lighting Type" borrows it with another caption and one choice locked. There is
// one dialog per main window, so the choice last made is offered again.
#pragma once

#include "interchange/interchange.h"

#include <QDialog>
#include <optional>

class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

namespace kavlen {

inline constexpr const char* kImportOptionsCaption = "Import options";

class ImportOptionsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ImportOptionsDialog(QWidget* parent);

    // The main window's dialog, made on first use.
    static ImportOptionsDialog& of(QWidget* mainWindow);

    // What the importers ask: shows the dialog modally; the options on OK.
    std::optional<ImportOptions> askForImport();

    // "Change Lighting Type": only the other lighting type may be chosen. The
    // dialog gets its usual caption and both choices back afterwards.
    enum class LightingChange { ToStatic, ToMoveable };
    std::optional<ImportOptions> askForLightingChange(LightingChange change);

    // The dialog's state as the user left it.
    ImportOptions options() const;

    QRadioButton* movable = nullptr;
    QRadioButton* staticLighting = nullptr;
    QSlider* intensity = nullptr;
    QLabel* intensityLabel = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

  private:
    std::optional<ImportOptions> runModal();
    void followLightingChoice();
};

} // namespace kavlen
