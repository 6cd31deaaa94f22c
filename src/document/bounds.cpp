#include "document/bounds.h"

#include <algorithm>
#include <cmath>

namespace kavlen {

namespace {

// Box array index that field 1..12 edits (fields run minX, minY, minZ, maxX, maxY,
// maxZ; boxes are stored minX, maxX, minY, maxY, minZ, maxZ).
int boxIndexOfField(int field) {
    constexpr int kIndex[6] = {0, 2, 4, 1, 3, 5};
    return kIndex[(field - 1) % 6];
}

std::int16_t clampToInt16(long long value) {
    return static_cast<std::int16_t>(std::clamp<long long>(value, INT16_MIN, INT16_MAX));
}

const Mesh* meshAt(const Package& wad, int slot) {
    if (slot < 0 || slot >= wad.meshCount || std::size_t(slot) >= wad.meshes.size())
        return nullptr;
    return &wad.meshes[slot];
}

std::pair<int, int> fieldRange(FieldGroup group) {
    switch (group) {
    case FieldGroup::All:
        return {1, 13};
    case FieldGroup::Vis:
        return {1, 6};
    case FieldGroup::Col:
        return {7, 12};
    case FieldGroup::Mov:
        return {7, 10};
    }
    return {1, 0};
}

void setFields(BoundPanel& panel, FieldGroup group, bool on) {
    const auto [first, last] = fieldRange(group);
    for (int f = first; f <= last; ++f)
        panel.enabled[f - 1] = on;
    if (group == FieldGroup::Mov)
        panel.enabled[kFlagField - 1] = false;
    else if (group != FieldGroup::All)
        panel.enabled[kFlagField - 1] = on;
}

FieldGroup groupOf(BoxKind kind) {
    return kind == BoxKind::Collision ? FieldGroup::Col : FieldGroup::Vis;
}

void loadSphereFields(BoundPanel& panel, const Mesh& mesh) {
    panel.fields[6] = mesh.sphereX;
    panel.fields[7] = mesh.sphereY;
    panel.fields[8] = mesh.sphereZ;
    panel.fields[9] = mesh.sphereRadius;
}

// The static's numbers in the fields, its box group editable.
void loadStatic(const Package& wad, BoundPanel& panel, int s) {
    panel.fields = staticFieldValues(wad.statics[s]);
    disableFields(panel, FieldGroup::All);
    enableFields(panel, groupOf(panel.boxKind));
}

} // namespace

int staticOfMesh(const Package& wad, int slot) {
    if (slot < 0)
        return -1;
    for (std::size_t s = 0; s < wad.statics.size(); ++s) {
        if (wad.meshSlotOfStatic(s) == slot)
            return static_cast<int>(s);
    }
    return -1;
}

std::vector<int> staticsOfMesh(const Package& wad, int slot) {
    std::vector<int> result;
    if (slot < 0)
        return result;
    for (std::size_t s = 0; s < wad.statics.size(); ++s) {
        if (wad.meshSlotOfStatic(s) == slot)
            result.push_back(static_cast<int>(s));
    }
    return result;
}

std::optional<std::array<std::int16_t, 6>> meshExtents(const Mesh& mesh) {
    const std::size_t n = std::min<std::size_t>(mesh.vertexCount, kMaxMeshVertices);
    if (n == 0)
        return std::nullopt;
    std::array<std::int16_t, 6> box{INT16_MAX, INT16_MIN, INT16_MAX,
                                    INT16_MIN, INT16_MAX, INT16_MIN};
    for (std::size_t i = 0; i < n; ++i) {
        const MeshVertex& v = mesh.vertices[i];
        const std::int16_t c[3] = {v.x, v.y, v.z};
        for (int a = 0; a < 3; ++a) {
            box[2 * a] = std::min(box[2 * a], c[a]);
            box[2 * a + 1] = std::max(box[2 * a + 1], c[a]);
        }
    }
    return box;
}

std::optional<Sphere> boundingSphere(const Mesh& mesh) {
    const auto box = meshExtents(mesh);
    if (!box)
        return std::nullopt;
    // Integer division truncates toward zero, as the centre rule asks.
    const int c[3] = {((*box)[0] + (*box)[1]) / 2, ((*box)[2] + (*box)[3]) / 2,
                      ((*box)[4] + (*box)[5]) / 2};
    double largest = 0;
    const std::size_t n = std::min<std::size_t>(mesh.vertexCount, kMaxMeshVertices);
    for (std::size_t i = 0; i < n; ++i) {
        const double dx = mesh.vertices[i].x - c[0], dy = mesh.vertices[i].y - c[1],
                     dz = mesh.vertices[i].z - c[2];
        largest = std::max(largest, std::sqrt(dx * dx + dy * dy + dz * dz));
    }
    Sphere sphere;
    sphere.x = static_cast<std::int16_t>(c[0]);
    sphere.y = static_cast<std::int16_t>(c[1]);
    sphere.z = static_cast<std::int16_t>(c[2]);
    sphere.radius = static_cast<std::uint16_t>(std::min(std::trunc(largest), 65535.0));
    return sphere;
}

BoundPanel freshBoundPanel(BoxKind kind) {
    BoundPanel panel;
    panel.boxKind = kind;
    panel.enabled.fill(true);
    return panel;
}

void enableFields(BoundPanel& panel, FieldGroup group) {
    setFields(panel, group, true);
}

void disableFields(BoundPanel& panel, FieldGroup group) {
    // Disabling "mov" leaves field 13 as it is; "vis" and "col" take it along.
    const bool flag = panel.enabled[kFlagField - 1];
    setFields(panel, group, false);
    if (group == FieldGroup::Mov)
        panel.enabled[kFlagField - 1] = flag;
}

std::array<int, kBoundFieldCount> staticFieldValues(const StaticMesh& st) {
    std::array<int, kBoundFieldCount> fields{};
    for (int f = 1; f <= 6; ++f) {
        fields[f - 1] = st.visibilityBox[boxIndexOfField(f)];
        fields[f + 5] = st.collisionBox[boxIndexOfField(f)];
    }
    fields[kFlagField - 1] = st.flags;
    return fields;
}

bool panelEditsStatic(const Package& wad, int currentMesh, const BoundPanel& panel) {
    if (currentMesh < 0 || panel.selectedStatic < 0)
        return false;
    return wad.meshSlotOfStatic(std::size_t(panel.selectedStatic)) == currentMesh;
}

bool showMeshBounds(const Package& wad, int currentMesh, BoundPanel& panel) {
    const int s = panelEditsStatic(wad, currentMesh, panel) ? panel.selectedStatic
                                                            : staticOfMesh(wad, currentMesh);
    if (s >= 0) {
        panel.visibilityRadioEnabled = true;
        panel.selectedStatic = s;
        panel.boxKind =
            panel.collisionChosen.contains(s) ? BoxKind::Collision : BoxKind::Visibility;
        loadStatic(wad, panel, s);
        return true;
    }
    panel.selectedStatic = -1;
    panel.boxKind = BoxKind::Collision;
    panel.visibilityRadioEnabled = false;
    disableFields(panel, FieldGroup::All);
    panel.fields.fill(0);
    if (const Mesh* mesh = meshAt(wad, currentMesh)) {
        loadSphereFields(panel, *mesh);
        enableFields(panel, FieldGroup::Mov);
    }
    return false;
}

int selectStatic(const Package& wad, int staticIndex, BoundPanel& panel) {
    if (staticIndex < 0 || std::size_t(staticIndex) >= wad.statics.size())
        return -1;
    panel.selectedStatic = staticIndex;
    const int slot = wad.meshSlotOfStatic(std::size_t(staticIndex));
    if (slot >= 0)
        showMeshBounds(wad, slot, panel);
    loadStatic(wad, panel, staticIndex);
    return slot;
}

void setBoxKind(const Package& wad, int currentMesh, BoundPanel& panel, BoxKind kind) {
    if (kind == BoxKind::Visibility && !panel.visibilityRadioEnabled)
        return;
    panel.boxKind = kind;
    if (panelEditsStatic(wad, currentMesh, panel)) {
        if (kind == BoxKind::Collision)
            panel.collisionChosen.insert(panel.selectedStatic);
        else
            panel.collisionChosen.erase(panel.selectedStatic);
        disableFields(panel, FieldGroup::All);
        enableFields(panel, groupOf(kind));
    }
}

BoundEdit editBoundField(Package& wad, int currentMesh, BoundPanel& panel, int field,
                         long long value) {
    BoundEdit edit;
    if (field < 1 || field > kBoundFieldCount || !panel.enabled[field - 1])
        return edit;
    const bool editsStatic = panelEditsStatic(wad, currentMesh, panel);
    const bool sphereField = field >= 7 && field <= 10;
    if (!sphereField && !editsStatic) {
        edit.messages.push_back(
            {MessageKind::Information, "Select Static mesh from the static mesh list control."});
        return edit;
    }
    if (editsStatic && !wad.statics.empty()) {
        StaticMesh& st = wad.statics[panel.selectedStatic];
        if (field == kFlagField) {
            st.flags = static_cast<std::uint16_t>(value);
            panel.fields[field - 1] = st.flags;
            edit.changed = true;
            return edit;
        }
        auto& box = field <= 6 ? st.visibilityBox : st.collisionBox;
        box[boxIndexOfField(field)] = clampToInt16(value);
        panel.fields[field - 1] = box[boxIndexOfField(field)];
        edit.changed = edit.redraw = true;
        return edit;
    }
    if (!meshAt(wad, currentMesh))
        return edit;
    Mesh& mesh = wad.meshes[currentMesh];
    switch (field) {
    case 7:
        mesh.sphereX = clampToInt16(value);
        break;
    case 8:
        mesh.sphereY = clampToInt16(value);
        break;
    case 9:
        mesh.sphereZ = clampToInt16(value);
        break;
    default:
        mesh.sphereRadius = static_cast<std::uint16_t>(std::clamp<long long>(value, 0, 65535));
        break;
    }
    loadSphereFields(panel, mesh);
    edit.changed = edit.redraw = true;
    return edit;
}

BoundEdit automaticBound(Package& wad, int currentMesh, BoundPanel& panel) {
    BoundEdit edit;
    if (!wad.isLoaded()) {
        edit.messages.push_back({MessageKind::Error, "No wad opened."});
        return edit;
    }
    if (!meshAt(wad, currentMesh))
        return edit;
    Mesh& mesh = wad.meshes[currentMesh];
    const auto box = meshExtents(mesh);
    if (!box)
        return edit;
    if (!wad.statics.empty() && panelEditsStatic(wad, currentMesh, panel)) {
        StaticMesh& st = wad.statics[panel.selectedStatic];
        (panel.boxKind == BoxKind::Collision ? st.collisionBox : st.visibilityBox) = *box;
        loadStatic(wad, panel, panel.selectedStatic);
    } else {
        const Sphere sphere = *boundingSphere(mesh);
        mesh.sphereX = sphere.x;
        mesh.sphereY = sphere.y;
        mesh.sphereZ = sphere.z;
        mesh.sphereRadius = sphere.radius;
        loadSphereFields(panel, mesh);
        enableFields(panel, FieldGroup::Mov);
    }
    edit.changed = edit.redraw = true;
    return edit;
}

} // namespace kavlen
