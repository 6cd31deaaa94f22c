// Bounding data of meshes and statics: the statics' visibility and collision boxes,
// the meshes' bounding spheres, and the "Boundary Data" panel's thirteen fields as
// a plain state that the editor binds to its controls.
//
// Field numbers are 1..13 as the panel labels them:
//   1..3  visibility minX, minY, minZ     4..6  visibility maxX, maxY, maxZ
//   7..9  collision minX, minY, minZ      10..12 collision maxX, maxY, maxZ
//   13    flags
// For a mesh that no static uses, fields 7..10 hold sphereX, sphereY, sphereZ and
// sphereRadius instead.
#pragma once

#include "document/messages.h"
#include "document/package.h"

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <vector>

namespace kavlen {

inline constexpr int kBoundFieldCount = 13;
inline constexpr int kFlagField = 13;

// Lowest static index whose mesh is `slot`, or -1 when no static uses it.
int staticOfMesh(const Package& wad, int slot);
// Every static whose mesh is `slot`, in package order.
std::vector<int> staticsOfMesh(const Package& wad, int slot);

// Smallest and largest coordinate per axis over vertices 0..vertexCount-1, in box
// order (minX, maxX, minY, maxY, minZ, maxZ); nothing when the mesh has no vertices.
std::optional<std::array<std::int16_t, 6>> meshExtents(const Mesh& mesh);

struct Sphere {
    std::int16_t x = 0, y = 0, z = 0;
    std::uint16_t radius = 0;
    bool operator==(const Sphere&) const = default;
};
// Bounding sphere from the vertices: centre per axis (min + max) / 2 truncated
// toward zero, radius the largest distance from the centre to a vertex, truncated.
// Nothing without vertices.
std::optional<Sphere> boundingSphere(const Mesh& mesh);

enum class BoxKind { Visibility = 0, Collision = 1 };
// Keywords of the field-enabling helpers: fields 1..13, 1..6, 7..12, 7..10.
enum class FieldGroup { All, Vis, Col, Mov };

// The "Boundary Data" group as data. Index i of `fields` and `enabled` is field i + 1.
struct BoundPanel {
    int selectedStatic = -1; // statics list selection
    BoxKind boxKind = BoxKind::Visibility;
    bool visibilityRadioEnabled = true;
    std::array<int, kBoundFieldCount> fields{};
    std::array<bool, kBoundFieldCount> enabled{};
    // Statics for which the user chose the collision box; every other static
    // shows its visibility box when it is shown.
    std::set<int> collisionChosen;
};

// State after a package is opened: all fields 0 and enabled, nothing selected.
BoundPanel freshBoundPanel(BoxKind kind = BoxKind::Visibility);

// Vis and Col also switch field 13 with them; enabling Mov disables field 13.
void enableFields(BoundPanel& panel, FieldGroup group);
void disableFields(BoundPanel& panel, FieldGroup group);

// Values of fields 1..13 for a static.
std::array<int, kBoundFieldCount> staticFieldValues(const StaticMesh& st);

// Whether the panel's selected static is the static of `currentMesh`, so box edits
// and Automatic Bound go to that static.
bool panelEditsStatic(const Package& wad, int currentMesh, const BoundPanel& panel);

// Shows the bounds of the render window's current mesh. Keeps the selected static
// when it uses the mesh (so a static that shares its mesh with an earlier one stays
// the one edited), otherwise selects the first static that uses it; a static shows
// its visibility box unless the user chose its collision box. Returns true
// when a static's boxes are shown (the render window then clears its moveable
// selection), false when the mesh's sphere is shown.
bool showMeshBounds(const Package& wad, int currentMesh, BoundPanel& panel);

// Selects static i in the statics list and shows its numbers. Returns the mesh slot
// that the render window must make current, or -1 when the static has no mesh.
int selectStatic(const Package& wad, int staticIndex, BoundPanel& panel);

// Radio buttons: which box is edited and drawn. While a static is shown, that
// box's field group becomes the editable one, and the choice is kept for it.
void setBoxKind(const Package& wad, int currentMesh, BoundPanel& panel, BoxKind kind);

struct BoundEdit {
    bool changed = false; // the document changed
    bool redraw = false;  // the render window must be redrawn
    Messages messages;
};

// A field's new value. Ignored while the field is disabled. Box fields keep their
// value within -32768..32767, the radius within 0..65535; the flag word keeps the
// low 16 bits. The panel's field shows the stored value afterwards.
BoundEdit editBoundField(Package& wad, int currentMesh, BoundPanel& panel, int field,
                         long long value);

// "Automatic Bound": the checked box of the selected static when the current mesh
// is its mesh, otherwise the current mesh's bounding sphere.
BoundEdit automaticBound(Package& wad, int currentMesh, BoundPanel& panel);

} // namespace kavlen
