#include "view3d/mesh_scene.h"

#include "view3d/label_font.h"
#include "view3d/mesh_bounds.h"
#include "view3d/reference_drawing.h"
#include "view3d/scene_gl.h"

#include <GL/glu.h>

#include <algorithm>

namespace kavlen {

using namespace scene_gl;

const Mesh* MeshScene::currentMeshData() const {
    if (!document || currentMesh < 0)
        return nullptr;
    const auto slot = static_cast<std::size_t>(currentMesh);
    if (slot >= document->meshCount || slot >= document->meshes.size())
        return nullptr;
    return &document->meshes[slot];
}

void MeshScene::resetColors() {
    lineColor = kDefaultLineColor;
    boxColor = kDefaultBoxColor;
    pointColor = kDefaultPointColor;
    point2Color = kDefaultPoint2Color;
    gridColor = kDefaultGridColor;
}

FaceStyle MeshScene::faceStyle() const {
    FaceStyle style;
    style.texInfoCount = document ? document->texInfoCount : 0;
    style.lineColor = lineColor;
    style.solidTexture = solidTexture;
    style.lightsEnabled = lightsEnabled != 0;
    style.untexturedWhite = untexturedWhite != 0;
    style.colorScaleShine = colorScaleShine != 0;
    style.showBentQuads = showBentQuads != 0;
    return style;
}

HairHighlight MeshScene::markedHairSet() const {
    if (!hairHighlight)
        return HairHighlight::None;
    return hairSetLara ? HairHighlight::Lara : HairHighlight::YoungLara;
}

void MeshScene::Draw() {
    if (!document)
        return;
    // Keep the view's own GL state as it was, whatever the mode changes.
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    if (showGrid)
        drawGrid(gridColor, showAxes != 0);
    if (showAxes)
        drawAxes(showGrid != 0);
    if (const Mesh* mesh = currentMeshData()) {
        switch (renderMode) {
        case kModeWireframe:
            drawWireframe(*mesh);
            break;
        case kModeSolid:
            drawSolid(*mesh);
            break;
        case kModeTextured:
            drawTextured(*mesh);
            break;
        case kModePoints:
            drawPoints(*mesh);
            break;
        case kModePointsWire:
            drawPointsWire(*mesh);
            break;
        case kModeShine:
        case kModeTransparency:
        case kModeTriangleType:
        case kModePolyPtOrder:
            drawDiagnostic(*mesh);
            break;
        default:
            break;
        }
    }
    glPopAttrib();
}

void MeshScene::finishFaceMode(const Mesh& mesh, bool filled) {
    if (filled) {
        glShadeModel(GL_FLAT);
        if (outlineFaces) {
            drawOutlines(mesh);
            glDisable(GL_POLYGON_OFFSET_FILL);
        }
        if (highlightOn)
            glDisable(GL_POLYGON_OFFSET_FILL);
    }
    drawBoundingShape(currentMesh);
    if (highlightMesh == currentMesh)
        drawHighlight(mesh, highlightFace);
}

void MeshScene::drawBoundingShape(int meshSlot) {
    if (!showBox || !document || meshSlot < 0)
        return;
    const Mesh* mesh = nullptr;
    if (static_cast<std::size_t>(meshSlot) <
        std::min<std::size_t>(document->meshCount, document->meshes.size()))
        mesh = &document->meshes[static_cast<std::size_t>(meshSlot)];
    if (!mesh)
        return;

    const StaticMesh* owner = staticUsingMesh(*document, meshSlot);

    if (stippleOn) {
        glEnable(GL_LINE_STIPPLE);
        glLineStipple(1, stipplePattern);
    }
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);
    color(boxColor);
    glLoadName(overlayName);
    if (owner) {
        const auto& box = boxKind == 0 ? owner->visibilityBox : owner->collisionBox;
        const Vec3 p1 = toViewUnits({box[0], box[2], box[4]});
        const Vec3 p2 = toViewUnits({box[1], box[3], box[5]});
        const double x1 = p1[0], y1 = p1[1], z1 = p1[2], x2 = p2[0], y2 = p2[1], z2 = p2[2];
        const auto loop = [](std::initializer_list<Vec3> points) {
            glBegin(GL_LINE_LOOP);
            for (const Vec3& p : points)
                vertex(p);
            glEnd();
        };
        loop({{x2, y1, z2}, {x1, y1, z2}, {x1, y2, z2}, {x2, y2, z2}});
        loop({{x1, y1, z1}, {x2, y1, z1}, {x2, y2, z1}, {x1, y2, z1}});
        loop({{x2, y1, z1}, {x2, y1, z2}, {x2, y2, z2}, {x2, y2, z1}});
        loop({{x1, y1, z2}, {x1, y1, z1}, {x1, y2, z1}, {x1, y2, z2}});
    } else {
        const Vec3 centre = toViewUnits({mesh->sphereX, mesh->sphereY, mesh->sphereZ});
        glDisable(GL_CULL_FACE);
        glPushMatrix();
        glTranslated(centre[0], centre[1], centre[2]);
        glRotated(90, 1, 0, 0);
        GLUquadric* sphere = gluNewQuadric();
        gluSphere(sphere, mesh->sphereRadius / 100.0, 10, 10);
        gluDeleteQuadric(sphere);
        glPopMatrix();
        glEnable(GL_CULL_FACE);
    }
    if (stippleOn)
        glDisable(GL_LINE_STIPPLE);
}

void MeshScene::drawOutlines(const Mesh& mesh) {
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    color(lineColor);
    glLoadName(overlayName);
    for (int i = 0; i < drawableFaceCount(mesh); ++i) {
        const MeshFace& face = mesh.faces[static_cast<std::size_t>(i)];
        if (faceVerticesInRange(mesh, face))
            emitFaceShape(mesh, face);
    }
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_TEXTURE_2D);
}

void MeshScene::drawHighlight(const Mesh& mesh, int face) {
    if (!highlightOn || face < 0 || face >= drawableFaceCount(mesh))
        return;
    const MeshFace& f = mesh.faces[static_cast<std::size_t>(face)];
    if (!faceVerticesInRange(mesh, f))
        return;
    // Where the face's own lines or filled faces lie in the same plane without
    // an offset of their own (Wireframe, Solid, outlines), pull the highlight
    // towards the viewer so it wins the depth test.
    const bool offset = renderMode == kModeWireframe || renderMode == kModeSolid || outlineFaces;
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);
    color(boxColor);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    if (offset) {
        glEnable(GL_POLYGON_OFFSET_LINE);
        glPolygonOffset(-1, -1);
    }
    glLoadName(overlayName);
    glLineWidth(3.0f);
    emitFaceShape(mesh, f);
    glLineWidth(1.0f);
    if (offset)
        glDisable(GL_POLYGON_OFFSET_LINE);
    glEnable(GL_TEXTURE_2D);
}

void MeshScene::drawLabel(std::string_view text, double x, double y, double z) {
    // The attribute stack keeps the caller's colour and list base (list-safe,
    // unlike reading the colour back).
    glPushAttrib(GL_CURRENT_BIT | GL_LIST_BIT);
    color(boxColor);
    glRasterPos3d(x, y, z);
    kavlen::drawLabel(text);
    glPopAttrib();
}

} // namespace kavlen
