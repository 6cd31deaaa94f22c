// The "Import options" dialog: which lighting an imported mesh gets, moveable
// (averaged normals) or static (one shade of a chosen intensity). "Change
// Lighting Type" borrows it with another caption and one choice locked. There is
// one dialog per main window, so the choice last made is offered again. Imports
// also ask for a scale factor or to fit the mesh they replace.
#pragma once

#include "interchange/interchange.h"

#include <QDialog>
#include <optional>

class QCheckBox;
class QDoubleSpinBox;
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
    QDoubleSpinBox* scale = nullptr; // factor on the format's own mapping
    QCheckBox* fit = nullptr;        // "Fit to the current mesh's size"
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

  private:
    QWidget* sizeBox_ = nullptr; // scale and fit, shown for imports only
    std::optional<ImportOptions> runModal();
    void followLightingChoice();
};

} // namespace kavlen
