#include "app/lighting_editor_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace kavlen {

LightingEditorWindow::LightingEditorWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("lightingEditorWindow");
    setWindowTitle("Lighting Editor");
    auto* layout = new QHBoxLayout(this);

    auto* group = new QGroupBox("White Light Intensity", this);
    auto* groupLayout = new QGridLayout(group);
    intensity_ = new QSlider(Qt::Horizontal, group);
    intensity_->setRange(0, 31);
    intensity_->setValue(16);
    label_ = new QLabel("16", group);
    QFont bold = label_->font();
    bold.setBold(true);
    label_->setFont(bold);
    label_->setMinimumWidth(label_->fontMetrics().horizontalAdvance("888"));
    groupLayout->addWidget(intensity_, 0, 0, 1, 3);
    groupLayout->addWidget(label_, 0, 3);
    for (int n = 0; n < 4; ++n) {
        auto* box = new QCheckBox(QString("Vertex %1").arg(n + 1), group);
        box->setChecked(true);
        groupLayout->addWidget(box, 1 + n / 2, n % 2);
        vertexBoxes_[static_cast<std::size_t>(n)] = box;
    }
    layout->addWidget(group);

    auto* side = new QVBoxLayout;
    enable_ = new QCheckBox("&Enable Lights", this);
    changeAll_ = new QPushButton("Change &All", this);
    side->addWidget(enable_);
    side->addWidget(changeAll_);
    side->addStretch(1);
    layout->addLayout(side);

    connect(intensity_, &QSlider::valueChanged, label_,
            [this](int value) { label_->setText(QString::number(value)); });
    connect(enable_, &QCheckBox::toggled, this, [this](bool on) {
        if (lightsToggled)
            lightsToggled(on);
    });
    connect(changeAll_, &QPushButton::clicked, this, [this] {
        if (changeAll)
            changeAll(intensity_->value());
    });
}

LightingEditorState LightingEditorWindow::state() const {
    LightingEditorState s;
    s.lightsEnabled = enable_->isChecked();
    s.intensity = intensity_->value();
    for (std::size_t n = 0; n < vertexBoxes_.size(); ++n)
        s.vertexBoxes[n] = vertexBoxes_[n]->isChecked();
    return s;
}

void LightingEditorWindow::setIntensity(int intensity) {
    intensity_->setValue(intensity);
}

} // namespace kavlen
