// The main window's "Attributes" group: the opacity list ("Opaque",
// "Semi-Transparent") and the "Shining" value 0..31 that a click in the render
// window applies to a face and that inspecting a face fills in.
#pragma once

#include "meshedit/face_attributes.h"

#include <QGroupBox>

class QComboBox;
class QSpinBox;

namespace kavlen {

class AttributesGroup : public QGroupBox {
    Q_OBJECT
  public:
    explicit AttributesGroup(QWidget* parent = nullptr);

    // None until an entry is chosen or a face is inspected.
    OpacityChoice opacity() const;
    void setOpacity(OpacityChoice choice);

    int shining() const;
    void setShining(int value);

    QComboBox* opacityList() const { return opacity_; }
    QSpinBox* shiningBox() const { return shining_; }

  private:
    QComboBox* opacity_ = nullptr;
    QSpinBox* shining_ = nullptr;
};

} // namespace kavlen
