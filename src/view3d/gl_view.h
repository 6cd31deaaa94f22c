// The drawing panel of the render window: a QOpenGLWidget that hosts a viewport.
// Mouse events go to the viewport's navigation first and are then announced to
// the window's own handlers (picking, face editing) through the signals.
#pragma once

#include "view3d/viewport.h"

#include <QOpenGLWidget>

namespace kavlen {

class GLView : public QOpenGLWidget {
    Q_OBJECT
  public:
    GLView(Viewport& viewport, QWidget* parent = nullptr);
    ~GLView() override;

    Viewport& viewport() { return viewport_; }
    // Whether a frame has been drawn since the view was made.
    bool hasDrawnFrame() const { return framed_; }

  signals:
    void mouseDown(QMouseEvent* event);
    void mouseMove(QMouseEvent* event);
    void mouseUp(QMouseEvent* event);
    // After the first frame has been drawn.
    void firstFrameDrawn();
    // With the context current, after the view's own lists were made: the place
    // for textures and lists of the scene that live as long as the context.
    void contextReady();
    // With the context current, before it goes away.
    void contextLost();

  protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void releaseContextObjects();

    Viewport& viewport_;
    bool framed_ = false;
};

} // namespace kavlen
