// What a left click in the render window does to the face (or, in the point
// modes, the vertex) under the mouse: the keys held choose one action and the
// render mode says where it applies. Each click does at most one of them:
//
//   Alt+Shift  hide the face              Shift  mirror the texture
//   Alt+Ctrl   turn the triangle corner   Ctrl   inspect (read the face back,
//   Alt        rotate the vertex order           or pick a vertex to swap)
//   no key     apply the sample, shine and opacity (or paint vertex light, or
//              swap the picked vertex with the clicked one)
#pragma once

#include "meshedit/face_attributes.h"
#include "meshedit/face_pick.h"
#include "meshedit/mesh_edit.h"

#include <array>
#include <optional>

namespace kavlen {

enum class MouseButton { Left, Right, Middle, Other };

struct ClickKeys {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// The main window's "Mode" check boxes (their checked state, whether enabled or not).
struct ModeBoxes {
    bool tx = true;
    bool sh = true;
    bool op = true;
};

// The Lighting Editor's controls.
struct LightingEditorState {
    bool lightsEnabled = false;                              // "&Enable Lights"
    int intensity = 16;                                      // "White Light Intensity", 0..31
    std::array<bool, 4> vertexBoxes{true, true, true, true}; // "Vertex 1" .. "Vertex 4"
};

// The colour guide's "Triangle Type" page.
struct TriangleTypeChoice {
    int corner = 0;           // the checked radio button: 0, 4, 6 or 2
    bool useSelected = false; // "Use selected type when LMB+Ctrl+ Alt"
};

// Everything besides the package that a click reads.
struct FaceClickInput {
    MouseButton button = MouseButton::Left;
    ClickKeys keys;
    RenderModeEntry mode = RenderModeEntry::Wireframe;
    ModeBoxes modeBoxes;
    int currentSample = -1; // selected entry of the texture list, -1 for none
    int shining = 0;        // the "Shining" spin box
    OpacityChoice opacity = OpacityChoice::None;
    int pickedVertex = -1; // the scene's vertex waiting to be swapped
    LightingEditorState lighting;
    TriangleTypeChoice triangleType;
};

enum class FaceClickAction {
    None,          // nothing happened
    Apply,         // sample, opacity and/or shine applied (or shine refused)
    PaintLight,    // vertex shades painted
    SwapVertices,  // the picked vertex and the clicked one exchanged
    MirrorTexture, // texture mirrored
    TurnCorner,    // triangle corner turned
    RotateOrder,   // vertex order rotated
    HideFace,      // face hidden
    InspectFace,   // face read back into the main window
    InspectLight,  // first vertex's shade read into the Lighting Editor
    InspectVertex, // vertex shown and picked for a swap
};

// What the click did and what the windows must show. Fields left empty leave the
// control as it is.
struct FaceClickResult {
    FaceClickAction action = FaceClickAction::None;
    bool changed = false;                  // mesh data changed: invalidateScene
    bool showHiddenFacesIndicator = false; // show the "Hidden Faces" indicator
    int pickedVertex = -1;                 // the scene's new pickedVertex
    std::optional<int> selectSample;       // select (and show) this texture list entry
    std::optional<OpacityChoice> opacity;  // the opacity list's new entry
    std::optional<int> shining;            // the "Shining" box's new value
    std::optional<int> triangleCorner;     // check this "Triangle Type" radio button
    std::optional<int> lightIntensity;     // the Lighting Editor's new track bar position
    Messages messages;                     // status bar texts and message boxes
};

// Performs the click on mesh slot `slot` of the package at `hit` (from
// pickInCurrentMesh in the same mode). Nothing happens for any button but the
// left, without a package or mesh, without a hit, for a hit that is not what the
// mode picks (a face in the face modes, a vertex in the point modes), or for an
// index outside the mesh (including a face with a vertex index outside it).
FaceClickResult clickInView(Package& wad, int slot, const PickHit& hit,
                            const FaceClickInput& input);

// A number with thousands separators and two decimals, as "1,234,567.89".
std::string formatWithThousands(double value);

} // namespace kavlen
