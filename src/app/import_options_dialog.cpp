#include "app/import_options_dialog.h"

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
    return {movable->isChecked(), intensity->value()};
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
    return runModal();
}

std::optional<ImportOptions> ImportOptionsDialog::askForLightingChange(LightingChange change) {
    const bool toStatic = change == LightingChange::ToStatic;
    setWindowTitle(toStatic ? "Change to static lighting" : "Change to moveable lighting");
    movable->setEnabled(!toStatic);
    staticLighting->setEnabled(toStatic);
    (toStatic ? staticLighting : movable)->setChecked(true);
    std::optional<ImportOptions> answer = runModal();
    setWindowTitle(kImportOptionsCaption);
    movable->setEnabled(true);
    staticLighting->setEnabled(true);
    return answer;
}

} // namespace kavlen
