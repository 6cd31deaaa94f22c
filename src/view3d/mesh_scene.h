// The mesh scene of the 3D view: draws the current mesh of the package in the
// chosen render mode, with grid, axes, the static's box or the collision
// sphere, face outlines and the highlighted face.
//
// `Draw` issues legacy GL into the current context; the GL view compiles it
// into its display list and replays that list on every paint. So after any
// change of the fields below (or of the mesh they show) the view must rebuild
// its list (`invalidateScene`). Moving the camera needs no rebuild.
//
// Selection names: face i and vertex i (point modes) are drawn under name
// i + 1; everything else (box, sphere, outlines, highlighted face, the wire of
// Points+Wire) under `overlayName`, which picking ignores. The view pushes one
// name before it calls `Draw`.
#pragma once

#include "document/package.h"
#include "meshedit/face_attributes.h"
#include "view3d/render_modes.h"
#include "view3d/scene_color.h"
#include "view3d/scene_figure.h"
#include "view3d/texture_names.h"
#include "view3d/texture_pixels.h"

#include <cstdint>
#include <string_view>

namespace kavlen {

class MeshScene : public SceneFigure {
  public:
    MeshScene() = default;
    explicit MeshScene(const Package& wad) : document(&wad) {}

    void Draw() override;

    // The mesh `currentMesh` designates, or null when there is none to draw.
    const Mesh* currentMeshData() const;
    // Maps a "Render Mode" list index onto `renderMode`.
    void setRenderModeFromList(int listIndex) { renderMode = renderModeOfListIndex(listIndex); }
    // The line, box, point, point 2 and grid colours of "Reset Colors".
    void resetColors();
    // The flags that change how faces look, for the pure face functions.
    FaceStyle faceStyle() const;
    // The hair vertex set the point modes mark, None while hairHighlight is off.
    HairHighlight markedHairSet() const;

    // Overlays, drawn by the face modes after the faces.
    void drawBoundingShape(int meshSlot);
    void drawOutlines(const Mesh& mesh);
    void drawHighlight(const Mesh& mesh, int face);
    // Draws `text` with the view's bitmap font (display lists 1000 + character
    // code) at (x, y, z) in the current modelview, in `boxColor`.
    void drawLabel(std::string_view text, double x, double y, double z);

    // The package; nothing is drawn while it is absent.
    const Package* document = nullptr;
    std::int32_t currentMesh = -1; // mesh slot shown; -1 draws no mesh

    std::uint32_t lineColor = kDefaultLineColor;     // wireframe and outlines
    std::uint32_t boxColor = kDefaultBoxColor;       // box, sphere, highlight, hair
    std::uint32_t pointColor = kInitialPointColor;   // vertices up to the remap limit
    std::uint32_t point2Color = kDefaultPoint2Color; // above the remap limit
    std::uint32_t gridColor = kDefaultGridColor;
    std::uint32_t solidTexture = kSolidTextureName;
    // GL names of the sample textures (n + 1) and the Solid mode texture, filled
    // by the texture upload functions in the view's context.
    SceneTextures textures;

    std::uint8_t showBox = 1;
    std::uint8_t boxKind = 0; // 0 visibility box, 1 collision box
    std::uint8_t renderMode = kModeWireframe;
    std::uint8_t lightsEnabled = 0; // apply vertex shades in Textured mode
    std::uint8_t remapLimit = 0;    // worked out by the point modes at every draw
    std::uint8_t showAxes = 0;
    std::uint8_t showGrid = 0;
    std::uint8_t outlineFaces = 0;
    std::uint32_t overlayName = 2000;
    std::uint8_t highlightOn = 0;
    std::int32_t highlightFace = -1;
    std::int32_t highlightMesh = -1;
    std::uint8_t stippleOn = 0;
    std::uint16_t stipplePattern = 0x0F0F;
    std::uint8_t untexturedWhite = 0;
    std::uint8_t hairHighlight = 0;
    std::uint8_t hairSetLara = 1; // 1 "Lara", 0 "Young Lara"
    std::uint8_t showBentQuads = 0;
    std::uint8_t colorScaleShine = 1;
    std::int32_t pickedVertex = -1; // vertex waiting to be swapped

  private:
    void drawWireframe(const Mesh& mesh);
    void drawSolid(const Mesh& mesh);
    void drawTextured(const Mesh& mesh);
    void drawPoints(const Mesh& mesh);
    void drawPointsWire(const Mesh& mesh);
    void drawDiagnostic(const Mesh& mesh);
    // The overlays that close every face mode: outlines, box or sphere, highlight.
    void finishFaceMode(const Mesh& mesh, bool filled);
};

} // namespace kavlen
