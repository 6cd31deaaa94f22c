// The windows that show the mesh reports ("About Mesh", "About Meshes") and the
// "Keys Guide". They only hold controls and fill them from a report; the report
// commands open them and answer their clicks.
#pragma once

#include "meshedit/mesh_reports.h"

#include <QDialog>
#include <QWidget>
#include <array>
#include <filesystem>

class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace kavlen {

class AboutMeshWindow : public QDialog {
    Q_OBJECT
  public:
    explicit AboutMeshWindow(QWidget* parent);
    void fill(const AboutMeshReport& report);

    QLabel* meshType = nullptr;
    QLabel* lightingType = nullptr;
    QLabel* shine = nullptr;
    QLabel* transparency = nullptr;
    QGroupBox* texturesGroup = nullptr;
    QListWidget* textures = nullptr;
    QLabel* invalidNote = nullptr; // red
    QPushButton* closeButton = nullptr;

  signals:
    void textureClicked(int sample);
    void textureDoubleClicked(int sample);

  private:
    std::vector<int> samples_; // the list's samples, row for row
};

class AboutMeshesWindow : public QDialog {
    Q_OBJECT
  public:
    explicit AboutMeshesWindow(QWidget* parent);
    void fill(const AboutMeshesReport& report);

    // In the window's order: Shine, Transparency, Hidden Faces, Texture #0,
    // Invalid Texture.
    std::array<QListWidget*, kMeshPropertyCount> lists{};
    QLabel* countLabel = nullptr;
    QPushButton* closeButton = nullptr;

  signals:
    // An entry was clicked: the mesh slot it names.
    void meshChosen(int slot);

  private:
    void entryClicked(std::size_t list, int row);

    AboutMeshesReport report_;
};

// A read-only text filled once, when the window is made, from the given file.
class KeysGuideWindow : public QWidget {
    Q_OBJECT
  public:
    KeysGuideWindow(QWidget* parent, const std::filesystem::path& readme);
    QPlainTextEdit* text = nullptr;
};

} // namespace kavlen
