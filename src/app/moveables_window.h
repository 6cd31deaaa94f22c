// The "Moveables" window: the labels of the moveables that use the render
// window's current mesh, one per line, read only.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

class QPlainTextEdit;

namespace kavlen {

class MoveablesWindow : public QWidget {
    Q_OBJECT
  public:
    explicit MoveablesWindow(QWidget* owner);

    void setLines(const std::vector<std::string>& lines);
    QString text() const;

  private:
    QPlainTextEdit* text_ = nullptr;
};

} // namespace kavlen
