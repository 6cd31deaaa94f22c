// The small windows that work with sample numbers: "Swap Texture Numbers" with
// its two sample lists, and "Choose Texture", which resolves a page click that hit
// several samples. They only hold controls; the texture panel fills them and
// answers their clicks.
#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

namespace kavlen {

class SwapTexturesWindow : public QWidget {
    Q_OBJECT
  public:
    explicit SwapTexturesWindow(QWidget* parent);

    // One group per sample: a 64 x 64 picture, the size label and the list.
    struct Side {
        QLabel* picture = nullptr;
        QLabel* size = nullptr;
        QListWidget* list = nullptr;
    };
    Side selected;
    Side other;
    QPushButton* swapButton = nullptr;
};

class ChooseTextureWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ChooseTextureWindow(QWidget* parent);
    QListWidget* list = nullptr;
};

} // namespace kavlen
