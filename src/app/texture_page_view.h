// The texture page view: one atlas page at 1:1 (page texel (x, y) is logical view
// pixel (x, y)) with the marks drawn over it: the selected sample's solid frame,
// the other sample's dotted outline and the cutting shape's dotted outline. Mouse
// events are handed on in page coordinates.
#pragma once

#include "textures/atlas.h"

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace kavlen {

class TexturePageView : public QWidget {
    Q_OBJECT
  public:
    explicit TexturePageView(QWidget* parent = nullptr);

    struct Marks {
        std::optional<PageRect> selected;     // solid frame in the highlight colour
        std::optional<PageRect> other;        // dotted outline in the highlight colour
        std::optional<PageRect> shape;        // dotted outline in the shape colour
        std::vector<PageRect> unused;         // tinted: samples no face uses
        std::uint32_t highlight = 0x00FFFFFF; // 0x00BBGGRR
        std::uint32_t shapeColour = 0x000000FF;
    };

    // A 256 x 256 page picture and the marks over it.
    void show(QImage page, const Marks& marks);
    const QImage& page() const { return page_; }
    const Marks& marks() const { return marks_; }

    // What the view shows, drawn at page size (for tests and screenshots).
    QImage rendered() const;

    struct PagePointer {
        int x = 0, y = 0; // page texel under the pointer (may lie outside 0..255 while dragging)
        Qt::MouseButton button = Qt::NoButton;
        Qt::KeyboardModifiers modifiers;
    };
    std::function<void(const PagePointer&)> pressed;
    std::function<void(const PagePointer&)> moved;
    std::function<void(const PagePointer&)> released;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void paintPage(QPainter& painter) const;
    static PagePointer pointer(const QMouseEvent* event);

    QImage page_;
    Marks marks_;
};

} // namespace kavlen
