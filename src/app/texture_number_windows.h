// The small windows that work with sample numbers: "Swap Texture Numbers" with
// its two sample lists, and "Choose Texture", which resolves a page click that hit
// several samples. They only hold controls; the texture panel fills them and
// answers their clicks.
#pragma once

#include <QWidget>

class QGroupBox;
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

class FindTextureWindow : public QWidget {
    Q_OBJECT
  public:
    explicit FindTextureWindow(QWidget* parent);

    QLabel* status = nullptr;
    QPushButton* findFirst = nullptr;
    QPushButton* findNext = nullptr;
    QPushButton* closeButton = nullptr;
    QGroupBox* group = nullptr; // captioned with the sample, holds its picture
    QLabel* picture = nullptr;
    QListWidget* foundFaces = nullptr;
    QListWidget* meshes = nullptr;

  signals:
    void shown();
    void closed();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

class ChooseTextureWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ChooseTextureWindow(QWidget* parent);
    QListWidget* list = nullptr;
};

} // namespace kavlen
