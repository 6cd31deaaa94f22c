#include "app/texture_page_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace kavlen {

namespace {

QColor fromBgr(std::uint32_t colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

// The texels of a rectangle's outline, walked once around from the top-left
// corner: down the left edge, along the bottom, up the right edge, back along
// the top. Every second texel is a dot; `gap` (when valid) fills the others.
void dottedOutline(QPainter& painter, const PageRect& r, const QColor& dot, const QColor& gap) {
    int step = 0;
    const auto plot = [&](int x, int y) {
        const bool on = step++ % 2 == 0;
        if (on)
            painter.fillRect(x, y, 1, 1, dot);
        else if (gap.isValid())
            painter.fillRect(x, y, 1, 1, gap);
    };
    for (int y = r.top; y <= r.bottom; ++y)
        plot(r.left, y);
    for (int x = r.left + 1; x <= r.right; ++x)
        plot(x, r.bottom);
    for (int y = r.bottom - 1; y >= r.top; --y)
        plot(r.right, y);
    for (int x = r.right - 1; x > r.left; --x)
        plot(x, r.top);
}

} // namespace

TexturePageView::TexturePageView(QWidget* parent) : QWidget(parent) {
    setObjectName("pageView");
    setFixedSize(kAtlasWidth, kPageRows);
    setMouseTracking(true);
    page_ = QImage(kAtlasWidth, kPageRows, QImage::Format_RGB888);
    page_.fill(Qt::black);
}

void TexturePageView::show(QImage page, const Marks& marks) {
    page_ = std::move(page);
    marks_ = marks;
    update();
}

void TexturePageView::paintPage(QPainter& painter) const {
    painter.drawImage(QRect(0, 0, kAtlasWidth, kPageRows), page_);
    for (const PageRect& r : marks_.unused)
        painter.fillRect(r.left, r.top, r.width(), r.height(), QColor(255, 0, 255, 96));
    const QColor highlight = fromBgr(marks_.highlight);
    if (const auto& r = marks_.selected) {
        // A 1-texel frame over the sample's outermost texels.
        painter.fillRect(r->left, r->top, r->width(), 1, highlight);
        painter.fillRect(r->left, r->bottom, r->width(), 1, highlight);
        painter.fillRect(r->left, r->top, 1, r->height(), highlight);
        painter.fillRect(r->right, r->top, 1, r->height(), highlight);
    }
    if (marks_.other)
        dottedOutline(painter, *marks_.other, highlight, QColor());
    if (marks_.shape) {
        const QColor shape = fromBgr(marks_.shapeColour);
        // White gaps, unless the dots are white themselves.
        const QColor gap = shape == QColor(Qt::white) ? QColor() : QColor(Qt::white);
        dottedOutline(painter, *marks_.shape, shape, gap);
    }
}

void TexturePageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintPage(painter);
}

QImage TexturePageView::rendered() const {
    QImage image(kAtlasWidth, kPageRows, QImage::Format_RGB888);
    QPainter painter(&image);
    paintPage(painter);
    return image;
}

TexturePageView::PagePointer TexturePageView::pointer(const QMouseEvent* event) {
    const QPointF p = event->position();
    return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y())),
            event->button(), event->modifiers()};
}

void TexturePageView::mousePressEvent(QMouseEvent* event) {
    if (pressed)
        pressed(pointer(event));
}

void TexturePageView::mouseMoveEvent(QMouseEvent* event) {
    setCursor(event->modifiers().testFlag(Qt::ShiftModifier) ? Qt::CrossCursor : Qt::ArrowCursor);
    if (moved)
        moved(pointer(event));
}

void TexturePageView::mouseReleaseEvent(QMouseEvent* event) {
    unsetCursor();
    if (released)
        released(pointer(event));
}

} // namespace kavlen
