#include "app/import_options_dialog.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QVBoxLayout>

namespace kavlen {

ImportOptionsDialog::ImportOptionsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("importOptionsDialog");
    setWindowTitle(kImportOptionsCaption);
    setModal(true);

    auto* column = new QVBoxLayout(this);
    auto* question = new QLabel("Mesh lighting type?", this);
    QFont bold = question->font();
    bold.setBold(true);
    question->setFont(bold);
    column->addWidget(question);

    movable = new QRadioButton("Movable", this);
    staticLighting = new QRadioButton("Static", this);
    movable->setChecked(true);
    column->addWidget(movable);
    column->addWidget(staticLighting);

    auto* sliderRow = new QHBoxLayout;
    intensity = new QSlider(Qt::Horizontal, this);
    intensity->setRange(0, 31);
    intensity->setValue(16);
    intensityLabel = new QLabel("16", this);
    intensityLabel->setMinimumWidth(24);
    sliderRow->addWidget(intensity);
    sliderRow->addWidget(intensityLabel);
    column->addLayout(sliderRow);

    sizeBox_ = new QWidget(this);
    auto* size = new QFormLayout(sizeBox_);
    size->setContentsMargins(0, 0, 0, 0);
    scale = new QDoubleSpinBox(sizeBox_);
    scale->setObjectName("importScale");
    scale->setDecimals(4);
    scale->setRange(0.0001, 100000.0);
    scale->setValue(1.0);
    size->addRow("Scale:", scale);
    fit = new QCheckBox("Fit to the current mesh's size", sizeBox_);
    fit->setObjectName("importFit");
    size->addRow(fit);
    column->addWidget(sizeBox_);

    auto* buttons = new QHBoxLayout;
    okButton = new QPushButton("OK", this);
    cancelButton = new QPushButton("Cancel", this);
    okButton->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    column->addLayout(buttons);

    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(intensity, &QSlider::valueChanged, this,
            [this](int value) { intensityLabel->setNum(value); });
    connect(movable, &QRadioButton::toggled, this, [this] { followLightingChoice(); });
    connect(fit, &QCheckBox::toggled, this, [this](bool on) { scale->setEnabled(!on); });
    followLightingChoice();
}

ImportOptionsDialog& ImportOptionsDialog::of(QWidget* mainWindow) {
    auto* dialog =
        mainWindow->findChild<ImportOptionsDialog*>(QString(), Qt::FindDirectChildrenOnly);
    if (!dialog)
        dialog = new ImportOptionsDialog(mainWindow);
    return *dialog;
}

// The intensity only means something for static lighting.
void ImportOptionsDialog::followLightingChoice() {
    const bool isStatic = staticLighting->isChecked();
    intensity->setEnabled(isStatic);
    intensityLabel->setEnabled(isStatic);
}

ImportOptions ImportOptionsDialog::options() const {
    return {movable->isChecked(), intensity->value(), scale->value(), fit->isChecked()};
}

std::optional<ImportOptions> ImportOptionsDialog::runModal() {
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return options();
}

std::optional<ImportOptions> ImportOptionsDialog::askForImport() {
    sizeBox_->setVisible(true);
    return runModal();
}

std::optional<ImportOptions> ImportOptionsDialog::askForLightingChange(LightingChange change) {
    const bool toStatic = change == LightingChange::ToStatic;
    setWindowTitle(toStatic ? "Change to static lighting" : "Change to moveable lighting");
    movable->setEnabled(!toStatic);
    staticLighting->setEnabled(toStatic);
    (toStatic ? staticLighting : movable)->setChecked(true);
    // The size belongs to imports only.
    sizeBox_->setVisible(false);
    std::optional<ImportOptions> answer = runModal();
    sizeBox_->setVisible(true);
    setWindowTitle(kImportOptionsCaption);
    movable->setEnabled(true);
    staticLighting->setEnabled(true);
    return answer;
}

} // namespace kavlen
