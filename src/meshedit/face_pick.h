// Finding the face (or, in the point modes, the vertex) of the current mesh that
// the user sees under the mouse. The pick is computed on the CPU from the matrices
// the view draws with, with GL's rules: the pick region is a small square around
// the cursor (as gluPickMatrix makes it), a primitive counts when any part of it
// lies inside that region and between the near and far planes, back faces count
// only where the mode draws them, and the hit nearest the eye wins. Overlays (box,
// sphere, outlines, highlight, the wire of Points+Wire, grid and axes) are never
// returned.
#pragma once

#include "document/package.h"
#include "meshedit/view_matrix.h"

#include <cstdint>
#include <optional>

namespace kavlen {

// The entries of the render window's "Render Mode" list, numbered as listed.
enum class RenderModeEntry {
    Wireframe = 0,
    Solid = 1,
    Textured = 2,
    Points = 3,
    PointsWire = 4,
    Shine = 5,
    Transparency = 6,
    TriangleType = 7,
    PolyPtOrder = 8,
};

// The list entry of the scene's internal mode number (0 Wireframe, 3 Solid, 4
// Textured, 2 Points, 5 Points+Wire, 6..9 the colour modes); none for a number no
// entry sets.
std::optional<RenderModeEntry> renderModeEntryOfSceneMode(int renderMode);

// Points and Points+Wire pick vertices; every other mode picks faces.
bool isPointMode(RenderModeEntry mode);

// Side of the square pick region, in device pixels.
inline constexpr double kPickRegionSize = 0.09;

// What the view drew with: the modelview matrix in effect when the mesh's vertices
// are issued (view transform and the scene's own transform), the projection matrix
// (perspective and camera), and the GL viewport in device pixels.
struct PickView {
    Matrix4 modelview = identityMatrix();
    Matrix4 projection = identityMatrix();
    int viewportX = 0, viewportY = 0, viewportWidth = 0, viewportHeight = 0;
};

// A cursor position in device pixels with the origin at the top left of the GL
// widget, as Qt gives it after multiplying by the device pixel ratio. The widget's
// height is taken as viewportY + viewportHeight (the viewport fills the widget).
// An integer position names the pixel whose top-left corner it is; the pick looks
// at that pixel's centre, where the rasteriser decides what the pixel shows.
struct PickCursor {
    double x = 0, y = 0;
};
PickCursor cursorInDevicePixels(double logicalX, double logicalY, double devicePixelRatio);

struct PickHit {
    enum class Kind { None, Face, Vertex };
    Kind kind = Kind::None;
    int index = -1;     // face or vertex index in the mesh
    double depth = 1.0; // window depth (0 near .. 1 far) of the nearest part in the region

    bool found() const { return kind != Kind::None; }
    // The selection name the view gives the face or vertex (index + 1); 0 for none.
    std::uint32_t selectionName() const { return found() ? std::uint32_t(index + 1) : 0; }
};

// The face or vertex of `mesh` nearest the eye under `cursor` in render mode
// `mode`. Faces whose vertex indices are not below the mesh's vertex count are
// skipped; ties keep the lower index. `regionSize` is the side of the pick square.
PickHit pickInMesh(const Mesh& mesh, RenderModeEntry mode, const PickView& view, PickCursor cursor,
                   double regionSize = kPickRegionSize);

// The same for mesh slot `slot` of the package; nothing when no package is loaded
// or the slot holds no mesh (-1: no current mesh).
PickHit pickInCurrentMesh(const Package& wad, int slot, RenderModeEntry mode, const PickView& view,
                          PickCursor cursor, double regionSize = kPickRegionSize);

// Where the view draws a model vertex: (x / 100, -y / 100, -z / 100).
Point3 viewUnits(const MeshVertex& v);

// Where a point in view units appears: the cursor position (device pixels, top-left
// origin, continuous: pixel (px, py) spans px..px+1) and its window depth. None when
// the point lies at or behind the eye.
struct WindowPoint {
    double x = 0, y = 0, depth = 0;
};
std::optional<WindowPoint> projectToWindow(const Point3& viewPoint, const PickView& view);

} // namespace kavlen
