// The GL view drawn for real (Xvfb, Mesa) and read back pixel by pixel.
#include "view3d/gl_view.h"
#include "view3d/label_font.h"
#include "view3d/reference_drawing.h"
#include "view3d/scene_color.h"

#include <GL/gl.h>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <bit>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace kavlen {
namespace {

const QColor kBackground(30, 65, 90); // the view's initial clear colour
const QColor kGridGray(128, 128, 128);
const QColor kRed(255, 0, 0), kDarkRed(128, 0, 0);
const QColor kGreen(0, 255, 0), kDarkGreen(0, 128, 0);
const QColor kBlue(0, 0, 255), kDarkBlue(0, 0, 128);

bool sameColour(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) <= 1 && std::abs(a.green() - b.green()) <= 1 &&
           std::abs(a.blue() - b.blue()) <= 1;
}

// Whether the colour occurs within `radius` pixels of (x, y).
bool colourNear(const QImage& image, double x, double y, QColor colour, int radius = 2) {
    const int cx = static_cast<int>(std::lround(x));
    const int cy = static_cast<int>(std::lround(y));
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const QPoint p(cx + dx, cy + dy);
            if (image.rect().contains(p) && sameColour(image.pixelColor(p), colour))
                return true;
        }
    return false;
}

int countColour(const QImage& image, QColor colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += sameColour(image.pixelColor(x, y), colour);
    return n;
}

void sendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, pos, w->mapToGlobal(pos), button, buttons, modifiers);
    QApplication::sendEvent(w, &event);
}

// The grid and axes alone, drawn as the scene draws them.
struct ReferenceFigure : SceneFigure {
    void Draw() override {
        if (showGrid)
            drawGrid(gridColor, showAxes);
        if (showAxes)
            drawAxes(showGrid);
    }
    bool showGrid = false;
    bool showAxes = false;
    std::uint32_t gridColor = kDefaultGridColor;
};

struct GLViewTest : testing::Test {
    void SetUp() override {
        viewport.setCamera(&camera);
        viewport.onDraw = [this] {
            ++compiles;
            figure.applyAndDraw();
            if (extraDraw)
                extraDraw();
        };
        view = std::make_unique<GLView>(viewport);
        view->resize(400, 300);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    QImage frame() { return view->grabFramebuffer(); }
    // Pixels per view unit at the camera distance (camera at the default z 5).
    double pixelsPerUnit(const QImage& image, double distance = 5.0) const {
        return image.height() / 2.0 / (distance * std::tan(22.5 * M_PI / 180.0));
    }
    // Rotates the view 90 degrees about x with a right-button drag, so the grid
    // plane faces the camera.
    void dragGridToFaceCamera() {
        sendMouse(view.get(), QEvent::MouseButtonPress, {100, 100}, Qt::RightButton,
                  Qt::RightButton);
        sendMouse(view.get(), QEvent::MouseMove, {100, 190}, Qt::NoButton, Qt::RightButton);
        sendMouse(view.get(), QEvent::MouseButtonRelease, {100, 190}, Qt::RightButton,
                  Qt::NoButton);
        ASSERT_DOUBLE_EQ(viewport.viewRotation[0], 90);
    }

    Viewport viewport;
    Camera camera;
    ReferenceFigure figure;
    ReferenceFigure& state = figure;
    std::function<void()> extraDraw;
    int compiles = 0;
    std::unique_ptr<GLView> view;
};

TEST_F(GLViewTest, ClearsToTheBackgroundColour) {
    const QImage image = frame();
    ASSERT_FALSE(image.isNull());
    const double ratio = view->devicePixelRatioF();
    EXPECT_EQ(image.width(), std::lround(400 * ratio));
    EXPECT_EQ(image.height(), std::lround(300 * ratio));
    EXPECT_EQ(countColour(image, kBackground), image.width() * image.height());

    viewport.setClearColor(0x000000FF); // red in the low byte
    EXPECT_EQ(countColour(frame(), kRed), image.width() * image.height());
}

TEST_F(GLViewTest, AxesMarkThePositiveModelDirectionsAtFullStrength) {
    state.showAxes = true;
    viewport.invalidateScene();
    const QImage image = frame();
    const double cx = image.width() / 2.0, cy = image.height() / 2.0;
    const double d = image.height() * 0.2;
    EXPECT_TRUE(colourNear(image, cx + d, cy, kRed));
    EXPECT_TRUE(colourNear(image, cx - d, cy, kDarkRed));
    // GL +y is up on the screen and is the model's -y.
    EXPECT_TRUE(colourNear(image, cx, cy - d, kDarkGreen));
    EXPECT_TRUE(colourNear(image, cx, cy + d, kGreen));
    EXPECT_FALSE(colourNear(image, cx + d, cy + d, kRed));
}

TEST_F(GLViewTest, GridLinesLieEvery512ModelUnitsWithOddLinesTwiceAsWide) {
    state.showGrid = true;
    viewport.invalidateScene();
    viewport.viewScale = {0.2, 0.2, 0.2};
    dragGridToFaceCamera();
    const QImage image = frame();
    const double cx = image.width() / 2.0, cy = image.height() / 2.0;
    const double spacing = kGridSpacing * 0.2 * pixelsPerUnit(image);

    // Lines through the centre and one spacing away; nothing in between.
    EXPECT_TRUE(colourNear(image, cx, cy + spacing / 2, kGridGray));
    EXPECT_TRUE(colourNear(image, cx + spacing, cy + spacing / 2, kGridGray));
    EXPECT_TRUE(colourNear(image, cx + spacing / 2, cy + spacing, kGridGray));
    EXPECT_FALSE(colourNear(image, cx + spacing / 2, cy + spacing / 2, kGridGray, 5));

    // Width of the vertical lines i = 1 (odd) and i = 2 (even), measured across.
    const int row = static_cast<int>(std::lround(cy + spacing / 2));
    const auto widthAt = [&](double x) {
        int n = 0;
        for (int px = static_cast<int>(x) - 6; px <= static_cast<int>(x) + 6; ++px)
            n += sameColour(image.pixelColor(px, row), kGridGray);
        return n;
    };
    EXPECT_EQ(widthAt(cx + spacing), 2);
    EXPECT_EQ(widthAt(cx + 2 * spacing), 1);
}

TEST_F(GLViewTest, AxesReplaceTheGridCentreLinesAndGrowWithTheGrid) {
    viewport.viewScale = {0.2, 0.2, 0.2};
    dragGridToFaceCamera();
    const double spacingUnits = kGridSpacing * 0.2;

    // Axes alone are 5.12 long: 1.024 units at this scale.
    state.showAxes = true;
    viewport.invalidateScene();
    QImage image = frame();
    double cx = image.width() / 2.0, cy = image.height() / 2.0;
    double unit = pixelsPerUnit(image);
    EXPECT_TRUE(colourNear(image, cx + 0.5 * spacingUnits * unit, cy, kRed));
    EXPECT_FALSE(colourNear(image, cx + 1.5 * spacingUnits * unit, cy, kRed));

    state.showGrid = true;
    viewport.invalidateScene();
    image = frame();
    EXPECT_TRUE(colourNear(image, cx + 1.5 * spacingUnits * unit, cy, kRed));
    // Model +z turned by 90 degrees about x points down the screen.
    EXPECT_TRUE(colourNear(image, cx, cy + 0.5 * spacingUnits * unit, kDarkBlue));
    EXPECT_TRUE(colourNear(image, cx, cy - 0.5 * spacingUnits * unit, kBlue));
    EXPECT_FALSE(colourNear(image, cx, cy + 0.5 * spacingUnits * unit, kGridGray));
    EXPECT_FALSE(colourNear(image, cx + 0.5 * spacingUnits * unit, cy, kGridGray));
}

TEST_F(GLViewTest, ScaleDraggedToNothingShowsNothingUntilDraggedBack) {
    state.showAxes = true;
    viewport.invalidateScene();
    const QImage before = frame();
    const int background = countColour(before, kBackground);
    ASSERT_LT(background, before.width() * before.height());

    const Qt::MouseButtons right = Qt::RightButton;
    sendMouse(view.get(), QEvent::MouseButtonPress, {200, 200}, Qt::RightButton, right,
              Qt::ControlModifier);
    sendMouse(view.get(), QEvent::MouseMove, {200, 200}, Qt::NoButton, right, Qt::ControlModifier);
    sendMouse(view.get(), QEvent::MouseMove, {200, 50}, Qt::NoButton, right, Qt::ControlModifier);
    EXPECT_EQ(viewport.viewScale, (Vec3{0, 0, 0}));
    const QImage empty = frame();
    EXPECT_EQ(countColour(empty, kBackground), empty.width() * empty.height());

    sendMouse(view.get(), QEvent::MouseMove, {200, 200}, Qt::NoButton, right, Qt::ControlModifier);
    EXPECT_EQ(countColour(frame(), kBackground), background);
}

TEST_F(GLViewTest, TheSceneIsCompiledOnceAndReplayedUntilInvalidated) {
    frame(); // the first frame compiles the list
    state.showAxes = true;
    viewport.invalidateScene();
    compiles = 0;
    frame();
    frame();
    EXPECT_EQ(compiles, 1);

    sendMouse(view.get(), QEvent::MouseButtonPress, {10, 10}, Qt::RightButton, Qt::RightButton);
    sendMouse(view.get(), QEvent::MouseMove, {60, 10}, Qt::NoButton, Qt::RightButton);
    viewport.setClearColor(0x00000000);
    frame();
    EXPECT_EQ(compiles, 1) << "navigation and background repaint without rebuilding";

    viewport.invalidateScene();
    frame();
    EXPECT_EQ(compiles, 2);
}

TEST_F(GLViewTest, LabelFontDrawsEachGlyphBitAsOnePixel) {
    extraDraw = [] {
        glColor3f(1, 1, 1);
        glRasterPos3d(0, 0, 0);
        drawLabel("A#");
    };
    viewport.invalidateScene();
    int bits = 0;
    for (int code : {'A', '#'})
        for (std::uint8_t row : *labelGlyph(code))
            bits += std::popcount(row);
    ASSERT_GT(bits, 20);
    EXPECT_EQ(countColour(frame(), QColor(255, 255, 255)), bits);
    EXPECT_EQ(labelGlyph(31), nullptr);
    EXPECT_EQ(labelGlyph(127), nullptr);
}

TEST_F(GLViewTest, MouseEventsNavigateFirstThenReachTheWindowsHandlers) {
    int downs = 0, moves = 0, ups = 0;
    double rotationSeenByHandler = 0;
    QObject::connect(view.get(), &GLView::mouseDown, view.get(), [&](QMouseEvent*) { ++downs; });
    QObject::connect(view.get(), &GLView::mouseUp, view.get(), [&](QMouseEvent*) { ++ups; });
    QObject::connect(view.get(), &GLView::mouseMove, view.get(), [&](QMouseEvent*) {
        ++moves;
        rotationSeenByHandler = viewport.viewRotation[1];
    });

    sendMouse(view.get(), QEvent::MouseButtonPress, {50, 50}, Qt::RightButton, Qt::RightButton);
    sendMouse(view.get(), QEvent::MouseMove, {80, 50}, Qt::NoButton, Qt::RightButton);
    sendMouse(view.get(), QEvent::MouseButtonRelease, {80, 50}, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(ups, 1);
    EXPECT_DOUBLE_EQ(rotationSeenByHandler, 30);

    // Shift with the right button pans the camera instead, as far as the pointer moved.
    ASSERT_GT(viewport.panUnitsPerPixel(), 0);
    sendMouse(view.get(), QEvent::MouseButtonPress, {50, 50}, Qt::RightButton, Qt::RightButton,
              Qt::ShiftModifier);
    sendMouse(view.get(), QEvent::MouseMove, {150, 50}, Qt::NoButton, Qt::RightButton,
              Qt::ShiftModifier);
    EXPECT_FLOAT_EQ(camera.posX, static_cast<float>(-100 * viewport.panUnitsPerPixel()));
    EXPECT_DOUBLE_EQ(viewport.viewRotation[1], 30);

    // The left button does not navigate.
    sendMouse(view.get(), QEvent::MouseButtonPress, {0, 0}, Qt::LeftButton, Qt::LeftButton);
    sendMouse(view.get(), QEvent::MouseMove, {90, 90}, Qt::NoButton, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(viewport.viewRotation[1], 30);
}

TEST_F(GLViewTest, WheelZoomsTheView) {
    QWheelEvent up(QPointF(100, 100), view->mapToGlobal(QPointF(100, 100)), QPoint(),
                   QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.get(), &up);
    EXPECT_NEAR(viewport.viewScale[0], 1.1, 1e-12);
}

TEST_F(GLViewTest, AViewMovedToAnotherWindowDrawsAgainInItsNewContext) {
    state.showAxes = true;
    viewport.invalidateScene();
    frame();
    QWidget host;
    view->setParent(&host);
    view->move(0, 0);
    host.resize(400, 300);
    host.show();
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    const QImage image = frame();
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(
        colourNear(image, image.width() / 2.0 + image.height() * 0.2, image.height() / 2.0, kRed));
    view->setParent(nullptr); // the fixture deletes it
}

} // namespace
} // namespace kavlen
