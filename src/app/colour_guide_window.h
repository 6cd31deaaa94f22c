// The "Render Mode Color Guides" tool window: the legend of the colour render
// modes, whose buttons also set the main window's shine and opacity, and the
// "Triangle Type" page whose radio buttons choose the corner that Alt+Ctrl-click
// gives a triangle.
#pragma once

#include "meshedit/face_attributes.h"
#include "meshedit/face_click.h"

#include <QWidget>
#include <array>
#include <functional>

class QCheckBox;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace kavlen {

class ColourGuideWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ColourGuideWindow(QWidget* owner);

    // The "Triangle Type" page: the checked radio button and the check box.
    TriangleTypeChoice triangleType() const;
    // Checks the radio button of corner 0, 2, 4 or 6 (others are ignored).
    void checkCorner(int corner);

    // What the buttons of the "Shine" and "Transparency" pages choose.
    std::function<void(int)> shineChosen;
    std::function<void(OpacityChoice)> opacityChosen;

    QTabWidget* pages() const { return pages_; }
    QPushButton* shineButton(int k) const { return shineButtons_[static_cast<std::size_t>(k)]; }
    QPushButton* opaqueButton() const { return opaque_; }
    QPushButton* semiTransparentButton() const { return semiTransparent_; }
    // Radio buttons in page order: "0", "4", "6", "2".
    QRadioButton* cornerButton(int corner) const;
    QCheckBox* useSelectedBox() const { return useSelected_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* shinePage();
    QWidget* transparencyPage();
    QWidget* triangleTypePage();
    QWidget* pointOrderPage();
    QWidget* generalPage();

    QTabWidget* pages_ = nullptr;
    std::array<QPushButton*, 32> shineButtons_{};
    QPushButton* opaque_ = nullptr;
    QPushButton* semiTransparent_ = nullptr;
    std::array<QRadioButton*, 4> corners_{}; // corners 0, 2, 4, 6
    QCheckBox* useSelected_ = nullptr;
};

// The 64 x 64 picture of a triangle shape: the sample square with the half the
// corner uses filled and red dots on its three vertices, numbered in face order.
QImage triangleCornerPicture(int corner);

} // namespace kavlen
