#include "app/remap_help_window.h"

#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cmath>
#include <numbers>

namespace kavlen {

QString remapInstructions() {
    return "Remapping skin points\n"
           "\n"
           "The skin meshes of a character are joined to its joint meshes by their points. "
           "The game can only join a point whose index is below a limit: 128 for most "
           "meshes, lower for meshes of more than 256 points.\n"
           "\n"
           "In the Points and Points+Wire modes the points below the limit are drawn in the "
           "point colour and the points above it in the second point colour.\n"
           "\n"
           "To remap, take each point above the limit that joins a joint mesh and swap it "
           "with a point below the limit that joins nothing. The normals travel with the "
           "points, so they need not be recalculated.\n"
           "\n"
           "The head has one more rule: the points where the braid (or Young Lara's two "
           "pigtails) attach must carry the numbers shown on the Lara Hair and Young Lara "
           "Hair pages. Points > Highlight Hair Indices marks those numbers in the point "
           "modes so you can check them.\n"
           "\n"
           "To swap two points: hold Ctrl and click the first point, then let go of Ctrl and "
           "click the second one. The status bar tells which points changed places.";
}

namespace {

// Points numbered `numbers` on a ring around `centre`, starting at the top, clockwise.
void drawRing(QPainter& p, QPointF centre, double radius, std::span<const int> numbers) {
    const int count = static_cast<int>(numbers.size());
    p.setPen(QPen(QColor(120, 80, 40), 2));
    p.setBrush(QColor(170, 120, 60));
    p.drawEllipse(centre, radius, radius);
    QFont font = p.font();
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    for (int i = 0; i < count; ++i) {
        const double angle = -std::numbers::pi / 2 + i * 2 * std::numbers::pi / count;
        const QPointF at(centre.x() + radius * std::cos(angle),
                         centre.y() + radius * std::sin(angle));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::yellow);
        p.drawEllipse(at, 4, 4);
        const QPointF label(centre.x() + (radius + 16) * std::cos(angle),
                            centre.y() + (radius + 16) * std::sin(angle));
        p.setPen(Qt::black);
        p.drawText(QRectF(label.x() - 14, label.y() - 8, 28, 16), Qt::AlignCenter,
                   QString::number(numbers[static_cast<std::size_t>(i)]));
    }
}

} // namespace

QImage hairNumberingPicture(HairHighlight set) {
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(QColor(235, 235, 235));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // The back of the head.
    p.setPen(QPen(Qt::darkGray, 2));
    p.setBrush(QColor(225, 190, 160));
    p.drawEllipse(QPointF(160, 110), 90, 100);
    p.setPen(Qt::black);
    const std::span<const int> indices = hairVertexIndices(set);
    if (set == HairHighlight::Lara && indices.size() == 4) {
        drawRing(p, QPointF(160, 150), 26, indices);
        p.drawText(QRectF(0, 212, 320, 20), Qt::AlignCenter, "Lara: braid at the back");
    } else if (set == HairHighlight::YoungLara && indices.size() == 8) {
        drawRing(p, QPointF(95, 130), 22, indices.first(4));
        drawRing(p, QPointF(225, 130), 22, indices.last(4));
        p.drawText(QRectF(0, 212, 320, 20), Qt::AlignCenter, "Young Lara: two pigtails");
    }
    return image;
}

RemapHelpWindow::RemapHelpWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("remapHelpWindow");
    setWindowTitle("Remap Help");
    auto* layout = new QVBoxLayout(this);
    pages_ = new QTabWidget(this);
    auto* text = new QPlainTextEdit;
    text->setReadOnly(true);
    text->setPlainText(remapInstructions());
    pages_->addTab(text, "Instructions");
    for (const auto& [set, caption] : {std::pair{HairHighlight::Lara, "Lara Hair"},
                                       std::pair{HairHighlight::YoungLara, "Young Lara Hair"}}) {
        auto* picture = new QLabel;
        picture->setAlignment(Qt::AlignCenter);
        picture->setPixmap(QPixmap::fromImage(hairNumberingPicture(set)));
        pages_->addTab(picture, caption);
    }
    layout->addWidget(pages_);
    resize(420, 340);
}

} // namespace kavlen
