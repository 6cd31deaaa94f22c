#include "app/attributes_group.h"

#include <QComboBox>
#include <QFormLayout>
#include <QSpinBox>

namespace kavlen {

AttributesGroup::AttributesGroup(QWidget* parent) : QGroupBox(tr("Attributes"), parent) {
    setObjectName("attributesGroup");
    auto* layout = new QFormLayout(this);
    opacity_ = new QComboBox(this);
    opacity_->setObjectName("opacityList");
    opacity_->addItems({"Opaque", "Semi-Transparent"});
    opacity_->setCurrentIndex(-1);
    layout->addRow(opacity_);
    shining_ = new QSpinBox(this);
    shining_->setObjectName("shiningBox");
    shining_->setRange(0, 31);
    layout->addRow(tr("Shining"), shining_);
}

OpacityChoice AttributesGroup::opacity() const {
    switch (opacity_->currentIndex()) {
    case 0:
        return OpacityChoice::Opaque;
    case 1:
        return OpacityChoice::SemiTransparent;
    default:
        return OpacityChoice::None;
    }
}

void AttributesGroup::setOpacity(OpacityChoice choice) {
    opacity_->setCurrentIndex(choice == OpacityChoice::Opaque            ? 0
                              : choice == OpacityChoice::SemiTransparent ? 1
                                                                         : -1);
}

int AttributesGroup::shining() const {
    return shining_->value();
}

void AttributesGroup::setShining(int value) {
    shining_->setValue(value);
}

} // namespace kavlen
