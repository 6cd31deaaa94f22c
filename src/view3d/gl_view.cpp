#include "view3d/gl_view.h"

#include "view3d/label_font.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QWheelEvent>
#include <cmath>

namespace kavlen {

namespace {

ShiftState shiftStateOf(const QMouseEvent& event) {
    ShiftState s;
    s.shift = event.modifiers().testFlag(Qt::ShiftModifier);
    s.ctrl = event.modifiers().testFlag(Qt::ControlModifier);
    s.right = event.buttons().testFlag(Qt::RightButton);
    return s;
}

int roundedX(const QMouseEvent& e) {
    return static_cast<int>(std::lround(e.position().x()));
}
int roundedY(const QMouseEvent& e) {
    return static_cast<int>(std::lround(e.position().y()));
}

} // namespace

GLView::GLView(Viewport& viewport, QWidget* parent) : QOpenGLWidget(parent), viewport_(viewport) {
    viewport_.repaint = [this] { update(); };
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
}

GLView::~GLView() {
    // The base class destroys the context after this object is gone: no slot of
    // ours may run then.
    if (context())
        disconnect(context(), nullptr, this, nullptr);
    releaseContextObjects();
    viewport_.repaint = nullptr;
}

void GLView::releaseContextObjects() {
    if (!context() || !isValid())
        return;
    makeCurrent();
    emit contextLost();
    viewport_.contextAboutToBeDestroyed();
    releaseLabelFont();
    doneCurrent();
}

void GLView::initializeGL() {
    // A widget moved to another window gets a new context: everything held in
    // the old one must be made again.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &GLView::releaseContextObjects,
            Qt::UniqueConnection);
    buildLabelFont();
    viewport_.contextCreated();
    emit contextReady();
}

void GLView::resizeGL(int, int) {
    viewport_.setViewSize(width(), height());
    viewport_.paintView();
}

void GLView::paintGL() {
    const qreal ratio = devicePixelRatioF();
    viewport_.renderFrame(static_cast<int>(std::lround(width() * ratio)),
                          static_cast<int>(std::lround(height() * ratio)));
    if (!framed_) {
        framed_ = true;
        emit firstFrameDrawn();
    }
}

void GLView::mousePressEvent(QMouseEvent* event) {
    ShiftState state = shiftStateOf(*event);
    state.right = event->button() == Qt::RightButton;
    viewport_.mouseDown(roundedX(*event), roundedY(*event), state);
    emit mouseDown(event);
}

void GLView::mouseMoveEvent(QMouseEvent* event) {
    viewport_.mouseMove(roundedX(*event), roundedY(*event), shiftStateOf(*event));
    emit mouseMove(event);
}

void GLView::mouseReleaseEvent(QMouseEvent* event) {
    viewport_.mouseUp();
    emit mouseUp(event);
}

void GLView::wheelEvent(QWheelEvent* event) {
    const QPoint degrees = event->angleDelta();
    if (degrees.y() != 0)
        viewport_.wheelZoom(degrees.y() / 120.0);
    event->accept();
}

} // namespace kavlen
