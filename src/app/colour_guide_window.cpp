#include "app/colour_guide_window.h"

#include "document/package.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kavlen {

namespace {

// What the general page explains.
const char* const kGeneralText =
    "Colours of the render window\n"
    "\n"
    "BG sets the colour behind the mesh.\n"
    "\n"
    "Box is the colour of the collision sphere of moveables, of the collision and "
    "visibility boxes of statics, of the faces that Find Texture shows, and of the hair "
    "indices marked in the point modes.\n"
    "\n"
    "Line is the colour of the wireframe and of the lines that Outline Faces draws.\n"
    "\n"
    "Point Color is the colour of the points; Point Color 2 marks the points above the "
    "remap limit.\n"
    "\n"
    "Reset Colors in the View menu brings back the defaults: the default background, "
    "Line aqua, Box yellow, Point lime, Point2 red and Grid grey. The texture selector "
    "colour and the cutting shape colour keep what you chose.\n"
    "\n"
    "The colour dialog opens with the current colour chosen. Colour changes are kept in "
    "Kavlen's settings file and come back every time Kavlen starts.";

// Page order of the triangle corners, with the colour the Triangle Type mode
// draws each in.
struct CornerEntry {
    int corner;
    QColor colour;
};
const std::array<CornerEntry, 4> kCornerEntries{{
    {0, QColor(0, 0, 255)}, // blue
    {4, QColor(0, 0, 128)}, // navy
    {6, QColor(0, 128, 0)}, // green
    {2, QColor(0, 255, 0)}, // lime
}};

int cornerSlot(int corner) {
    return corner == 0 ? 0 : corner == 2 ? 1 : corner == 4 ? 2 : corner == 6 ? 3 : -1;
}

void paintButton(QPushButton* button, const QColor& background, const QColor& text) {
    button->setStyleSheet(
        QString("background-color: %1; color: %2;").arg(background.name(), text.name()));
}

} // namespace

QImage triangleCornerPicture(int corner) {
    constexpr int kSize = 64, kMargin = 6;
    QImage image(kSize, kSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    TextureWordInfo word;
    word.corner = static_cast<std::uint8_t>(corner);
    const TextureWordInfo info = decodeTextureWord(encodeTextureWord(word));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const auto at = [&](int vertex) {
        const double span = kSize - 2 * kMargin;
        return QPointF(kMargin + info.pairs[vertex].u * span,
                       kMargin + info.pairs[vertex].v * span);
    };
    // The sample square, then the half the triangle takes from it.
    p.setPen(QPen(Qt::white, 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(kMargin, kMargin, kSize - 2 * kMargin, kSize - 2 * kMargin));
    const QPointF shape[3] = {at(0), at(1), at(2)};
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawPolygon(shape, 3);
    QFont font = p.font();
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    for (int v = 0; v < 3; ++v) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::red);
        p.drawEllipse(shape[v], 4, 4);
        p.setPen(Qt::white);
        p.drawText(QRectF(shape[v].x() - 4, shape[v].y() - 5, 8, 10), Qt::AlignCenter,
                   QString::number(v));
    }
    return image;
}

ColourGuideWindow::ColourGuideWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("colourGuideWindow");
    setWindowTitle("Render Mode Color Guides");
    auto* layout = new QVBoxLayout(this);
    pages_ = new QTabWidget(this);
    pages_->addTab(shinePage(), "Shine");
    pages_->addTab(transparencyPage(), "Transparency");
    pages_->addTab(triangleTypePage(), "Triangle Type");
    pages_->addTab(pointOrderPage(), "Poly Point Order");
    pages_->addTab(generalPage(), "General");
    pages_->setCurrentIndex(0);
    layout->addWidget(pages_);
}

QWidget* ColourGuideWindow::shinePage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setSpacing(2);
    for (int k = 0; k < 32; ++k) {
        auto* button = new QPushButton(QString::number(k), page);
        button->setFixedSize(32, 28);
        const int gb = 255 - 8 * k;
        paintButton(button, QColor(255, gb, gb), Qt::black);
        connect(button, &QPushButton::clicked, this, [this, k] {
            if (shineChosen)
                shineChosen(k);
        });
        grid->addWidget(button, k / 8, k % 8);
        shineButtons_[static_cast<std::size_t>(k)] = button;
    }
    return page;
}

QWidget* ColourGuideWindow::transparencyPage() {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    opaque_ = new QPushButton("Opaque", page);
    semiTransparent_ = new QPushButton("Semi-Transparent", page);
    paintButton(opaque_, Qt::white, Qt::black);
    paintButton(semiTransparent_, QColor(128, 128, 128), Qt::white);
    const auto choose = [this](OpacityChoice choice) {
        if (opacityChosen)
            opacityChosen(choice);
    };
    connect(opaque_, &QPushButton::clicked, this, [choose] { choose(OpacityChoice::Opaque); });
    connect(semiTransparent_, &QPushButton::clicked, this,
            [choose] { choose(OpacityChoice::SemiTransparent); });
    layout->addWidget(opaque_);
    layout->addWidget(semiTransparent_);
    return page;
}

QWidget* ColourGuideWindow::triangleTypePage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* row = new QHBoxLayout;
    auto* group = new QButtonGroup(page);
    for (const CornerEntry& entry : kCornerEntries) {
        auto* column = new QVBoxLayout;
        auto* square = new QLabel(page);
        square->setFixedSize(80, 80);
        square->setAlignment(Qt::AlignCenter);
        square->setAutoFillBackground(true);
        QPalette palette = square->palette();
        palette.setColor(QPalette::Window, entry.colour);
        square->setPalette(palette);
        square->setPixmap(QPixmap::fromImage(triangleCornerPicture(entry.corner)));
        auto* radio = new QRadioButton(QString::number(entry.corner), page);
        QFont bold = radio->font();
        bold.setBold(true);
        radio->setFont(bold);
        group->addButton(radio);
        corners_[static_cast<std::size_t>(cornerSlot(entry.corner))] = radio;
        column->addWidget(square);
        column->addWidget(radio, 0, Qt::AlignHCenter);
        row->addLayout(column);
    }
    corners_[0]->setChecked(true);
    layout->addLayout(row);
    useSelected_ = new QCheckBox("Use selected type when LMB+Ctrl+ Alt", page);
    layout->addWidget(useSelected_);
    layout->addStretch(1);
    return page;
}

QWidget* ColourGuideWindow::pointOrderPage() {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    const std::array<QColor, 4> colours{QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255),
                                        QColor(255, 255, 0)};
    for (int i = 0; i < 4; ++i) {
        auto* button = new QPushButton(QString::number(i + 1), page);
        paintButton(button, colours[static_cast<std::size_t>(i)], Qt::black);
        layout->addWidget(button);
    }
    return page;
}

QWidget* ColourGuideWindow::generalPage() {
    auto* text = new QPlainTextEdit;
    text->setReadOnly(true);
    text->setPlainText(kGeneralText);
    return text;
}

TriangleTypeChoice ColourGuideWindow::triangleType() const {
    TriangleTypeChoice choice;
    for (const CornerEntry& entry : kCornerEntries)
        if (cornerButton(entry.corner)->isChecked())
            choice.corner = entry.corner;
    choice.useSelected = useSelected_->isChecked();
    return choice;
}

QRadioButton* ColourGuideWindow::cornerButton(int corner) const {
    const int slot = cornerSlot(corner);
    return slot < 0 ? nullptr : corners_[static_cast<std::size_t>(slot)];
}

void ColourGuideWindow::checkCorner(int corner) {
    if (QRadioButton* button = cornerButton(corner))
        button->setChecked(true);
}

void ColourGuideWindow::closeEvent(QCloseEvent* event) {
    // The chosen type only counts while the guide is open.
    useSelected_->setChecked(false);
    QWidget::closeEvent(event);
}

} // namespace kavlen
