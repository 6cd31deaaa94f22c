#include "scene_test_view.h"

#include <qopengl.h>

#include <GL/glu.h>

#include <cmath>

namespace kavlen::testing {

namespace {

constexpr double kFieldOfView = 45.0;

} // namespace

SceneTestView::SceneTestView(MeshScene& scene, int side) : scene_(scene) {
    setFixedSize(side, side);
    move(0, 0);
    show();
    grabFramebuffer(); // creates the context, so textures can be uploaded at once
}

SceneTestView::~SceneTestView() {
    if (list_ != 0) {
        makeCurrent();
        glDeleteLists(list_, 1);
        doneCurrent();
    }
}

void SceneTestView::initializeGL() {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glFrontFace(GL_CW);
    list_ = glGenLists(1);
}

void SceneTestView::applyProjection(const QPoint* pickAt, int pickSize) {
    const double ratio = devicePixelRatioF();
    const int w = static_cast<int>(std::lround(width() * ratio));
    const int h = static_cast<int>(std::lround(height() * ratio));
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (pickAt) {
        GLint viewport[4] = {0, 0, w, h};
        gluPickMatrix(pickAt->x() + 0.5, h - pickAt->y() - 0.5, pickSize, pickSize, viewport);
    }
    gluPerspective(kFieldOfView, double(w) / double(h), 0.1, 100.0);
    glTranslated(-cameraX, -cameraY, -distance);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotated(pitch, 1, 0, 0);
}

void SceneTestView::paintGL() {
    const Rgb bg = rgbOf(clearColor);
    glClearColor(bg.r / 255.0f, bg.g / 255.0f, bg.b / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    applyProjection(nullptr, 0);
    if (immediate) {
        glInitNames();
        glPushName(0);
        scene_.Draw();
        glFlush();
        return;
    }
    if (!listValid_) {
        // Compiled first, then called: Mesa 22.3 draws the last primitive before
        // a state change with the changed state when the list is compiled and
        // executed at once, although the list itself is right.
        glNewList(list_, GL_COMPILE);
        glInitNames();
        glPushName(0);
        scene_.Draw();
        glEndList();
        listValid_ = true;
        ++listBuilds_;
    }
    glCallList(list_);
    glFlush();
}

QImage SceneTestView::frame() {
    listValid_ = false;
    return grabFramebuffer();
}

QImage SceneTestView::replay() {
    return grabFramebuffer();
}

QPoint SceneTestView::pixelOf(const Vec3& p) const {
    const double ratio = devicePixelRatioF();
    const double w = width() * ratio, h = height() * ratio;
    const double f = 1.0 / std::tan(kFieldOfView / 2 * M_PI / 180.0);
    const double depth = distance - p[2];
    const double ndcX = f / (w / h) * (p[0] - cameraX) / depth;
    const double ndcY = f * (p[1] - cameraY) / depth;
    return {static_cast<int>(std::floor((ndcX + 1) / 2 * w)),
            static_cast<int>(std::floor((1 - ndcY) / 2 * h))};
}

void SceneTestView::withContext(const std::function<void()>& work) {
    makeCurrent();
    work();
    doneCurrent();
}

std::vector<Hit> SceneTestView::pick(QPoint devicePixel, int size) {
    std::vector<Hit> hits;
    makeCurrent();
    GLuint buffer[1024] = {};
    glSelectBuffer(1024, buffer);
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(0);
    applyProjection(&devicePixel, size);
    // Immediate mode: selection from display lists of mixed primitives is not
    // reliable under every driver.
    scene_.Draw();
    const GLint count = glRenderMode(GL_RENDER);
    GLuint* record = buffer;
    for (GLint i = 0; i < count; ++i) {
        const GLuint names = record[0];
        Hit hit;
        hit.minDepth = record[1];
        if (names > 0)
            hit.name = record[3 + names - 1];
        hits.push_back(hit);
        record += 3 + names;
    }
    doneCurrent();
    return hits;
}

Rgb rgbAt(const QImage& image, QPoint p) {
    if (!image.rect().contains(p))
        return {};
    const QRgb c = image.pixel(p);
    return {static_cast<std::uint8_t>(qRed(c)), static_cast<std::uint8_t>(qGreen(c)),
            static_cast<std::uint8_t>(qBlue(c))};
}

bool colorNear(const QImage& image, QPoint p, Rgb c, int radius) {
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const QPoint q(p.x() + dx, p.y() + dy);
            if (image.rect().contains(q) && rgbAt(image, q) == c)
                return true;
        }
    return false;
}

int countColor(const QImage& image, Rgb c) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (rgbAt(image, {x, y}) == c)
                ++count;
    return count;
}

} // namespace kavlen::testing
