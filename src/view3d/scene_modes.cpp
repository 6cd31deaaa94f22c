// The render modes of the scene: the face modes walk the faces and emit what
// the pure face functions (render_modes, diagnostic_modes) say; the point modes
// mark the vertices.
#include "meshedit/face_attributes.h"
#include "view3d/diagnostic_modes.h"
#include "view3d/mesh_scene.h"
#include "view3d/scene_gl.h"

#include <GL/glu.h>

#include <string>

namespace kavlen {

using namespace scene_gl;

namespace {

// Half the side of a vertex marker in Points mode, and the radii of Points+Wire.
constexpr double kPointHalf = 0.01;
constexpr double kHairDiskRadius = 0.015;
constexpr double kPointSphereRadius = 0.01;
constexpr double kLabelOffset = 0.01;

// Emits texture and shading changes only when they differ from the last face.
class FaceState {
  public:
    explicit FaceState(const SceneTextures& textures) : textures_(textures) {}

    void apply(const FacePaint& paint) {
        if (paint.texture != texture_) {
            if (paint.texture == 0) {
                glDisable(GL_TEXTURE_2D);
            } else {
                if (texture_ <= 0)
                    glEnable(GL_TEXTURE_2D);
                glBindTexture(GL_TEXTURE_2D,
                              textures_.glName(static_cast<unsigned>(paint.texture)));
            }
            texture_ = paint.texture;
        }
        const int smooth = paint.smooth ? 1 : 0;
        if (smooth != smooth_) {
            glShadeModel(paint.smooth ? GL_SMOOTH : GL_FLAT);
            smooth_ = smooth;
        }
    }

  private:
    const SceneTextures& textures_;
    int texture_ = -1;
    int smooth_ = -1;
};

} // namespace

void MeshScene::drawWireframe(const Mesh& mesh) {
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);
    color(lineColor);
    const FaceStyle style = faceStyle();
    for (int i = 0; i < drawableFaceCount(mesh); ++i) {
        const MeshFace& face = mesh.faces[static_cast<std::size_t>(i)];
        glLoadName(static_cast<GLuint>(i + 1));
        const FacePaint paint = wireframeFacePaint(mesh, face, style);
        if (paint.drawn)
            emitFace(mesh, face, paint, false);
    }
    finishFaceMode(mesh, false);
}

void MeshScene::drawSolid(const Mesh& mesh) {
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textures.glName(solidTexture));
    glShadeModel(GL_FLAT);
    color(kRgbWhite);
    const FaceStyle style = faceStyle();
    for (int i = 0; i < drawableFaceCount(mesh); ++i) {
        const MeshFace& face = mesh.faces[static_cast<std::size_t>(i)];
        glLoadName(static_cast<GLuint>(i + 1));
        const FacePaint paint = solidFacePaint(mesh, face, style);
        if (paint.drawn)
            emitFace(mesh, face, paint, true);
    }
    finishFaceMode(mesh, false);
}

void MeshScene::drawTextured(const Mesh& mesh) {
    glPolygonMode(GL_FRONT, GL_FILL);
    glPolygonMode(GL_BACK, GL_LINE);
    glEnable(GL_TEXTURE_2D);
    if (outlineFaces || highlightOn) {
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(1, 1);
    }
    FaceState state(textures);
    const FaceStyle style = faceStyle();
    for (int i = 0; i < drawableFaceCount(mesh); ++i) {
        const MeshFace& face = mesh.faces[static_cast<std::size_t>(i)];
        glLoadName(static_cast<GLuint>(i + 1));
        const FacePaint paint = texturedFacePaint(mesh, face, style);
        if (!paint.drawn)
            continue;
        state.apply(paint);
        if (!paint.perCorner)
            color(paint.colors[0]);
        emitFace(mesh, face, paint, paint.texture != 0);
    }
    finishFaceMode(mesh, true);
}

void MeshScene::drawDiagnostic(const Mesh& mesh) {
    glPolygonMode(GL_FRONT, GL_FILL);
    glPolygonMode(GL_BACK, GL_LINE);
    glDisable(GL_TEXTURE_2D);
    glShadeModel(renderMode == kModePolyPtOrder ? GL_SMOOTH : GL_FLAT);
    if (outlineFaces || highlightOn) {
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(1, 1);
    }
    const FaceStyle style = faceStyle();
    for (int i = 0; i < drawableFaceCount(mesh); ++i) {
        const MeshFace& face = mesh.faces[static_cast<std::size_t>(i)];
        const FacePaint paint = diagnosticFacePaint(renderMode, mesh, face, style);
        glLoadName(static_cast<GLuint>(i + 1));
        if (!paint.drawn)
            continue;
        if (!paint.perCorner)
            color(paint.colors[0]);
        emitFace(mesh, face, paint, false);
    }
    finishFaceMode(mesh, true);
}

void MeshScene::drawPoints(const Mesh& mesh) {
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);
    remapLimit = kavlen::remapLimit(mesh.vertexCount);
    const HairHighlight hairSet = markedHairSet();
    for (int i = 0; i < drawableVertexCount(mesh); ++i) {
        color(i <= remapLimit ? pointColor : point2Color);
        glLoadName(static_cast<GLuint>(i + 1));
        const Vec3 p = toViewUnits(mesh.vertices[static_cast<std::size_t>(i)]);
        const bool hair = isHairVertex(hairSet, i);
        if (hair) {
            drawLabel(std::to_string(i), p[0] + kLabelOffset, p[1] + kLabelOffset,
                      p[2] + kLabelOffset);
            glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
            color(boxColor);
        }
        glBegin(GL_QUADS);
        glVertex3d(p[0] - kPointHalf, p[1] + kPointHalf, p[2]);
        glVertex3d(p[0] + kPointHalf, p[1] + kPointHalf, p[2]);
        glVertex3d(p[0] + kPointHalf, p[1] - kPointHalf, p[2]);
        glVertex3d(p[0] - kPointHalf, p[1] - kPointHalf, p[2]);
        glEnd();
        if (hair)
            glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    }
    glEnable(GL_CULL_FACE);
}

void MeshScene::drawPointsWire(const Mesh& mesh) {
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);
    const Rgb line = rgbOf(lineColor);
    glColor4ub(line.r, line.g, line.b, 128);
    glLineWidth(0.5f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glLoadName(overlayName);
    for (int i = 0; i < drawableFaceCount(mesh); ++i) {
        const MeshFace& face = mesh.faces[static_cast<std::size_t>(i)];
        if (faceVerticesInRange(mesh, face))
            emitFaceShape(mesh, face);
    }
    glLineWidth(1.0f);
    glDisable(GL_BLEND);

    remapLimit = kavlen::remapLimit(mesh.vertexCount);
    const HairHighlight hairSet = markedHairSet();
    GLUquadric* quadric = gluNewQuadric();
    for (int i = 0; i < drawableVertexCount(mesh); ++i) {
        color(i <= remapLimit ? pointColor : point2Color);
        glLoadName(static_cast<GLuint>(i + 1));
        const Vec3 p = toViewUnits(mesh.vertices[static_cast<std::size_t>(i)]);
        const bool hair = isHairVertex(hairSet, i);
        glPushMatrix();
        glTranslated(p[0], p[1], p[2]);
        if (hair) {
            drawLabel(std::to_string(i), kLabelOffset, kLabelOffset, kLabelOffset);
            gluDisk(quadric, kHairDiskRadius, kHairDiskRadius, 4, 1);
            color(boxColor);
            glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        }
        gluSphere(quadric, kPointSphereRadius, 8, 8);
        if (hair)
            glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glPopMatrix();
    }
    gluDeleteQuadric(quadric);
    glEnable(GL_CULL_FACE);
}

} // namespace kavlen
