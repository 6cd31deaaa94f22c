#include "document/bounds.h"
#include "document/demo_package.h"

#include <gtest/gtest.h>

namespace kavlen {
namespace {

using Box = std::array<std::int16_t, 6>;

Mesh meshOf(std::initializer_list<MeshVertex> vertices) {
    Mesh mesh;
    for (const MeshVertex& v : vertices)
        mesh.vertices[mesh.vertexCount++] = v;
    return mesh;
}

// A loaded package with meshes 0 (a static's), 1 (shared by statics 1 and 2) and
// 2 (no static).
std::unique_ptr<Package> boxedPackage() {
    auto wad = std::make_unique<Package>();
    wad->version = 129;
    for (int k = 0; k < 3; ++k) {
        Mesh& m = wad->appendMeshSlot();
        m.vertices[0] = {std::int16_t(-120 * (k + 1)), 10, -5};
        m.vertices[1] = {35, std::int16_t(40 * k), 7};
        m.vertexCount = 2;
        m.sphereRadius = 99;
    }
    const int pointerSlots[] = {0, 1, 1, 2};
    for (int slot : pointerSlots) {
        wad->meshPointers[wad->meshPointerCount] = 100u * std::uint32_t(slot);
        wad->pointerMeshIndex[wad->meshPointerCount++] = std::uint16_t(slot);
    }
    for (int s = 0; s < 3; ++s) {
        StaticMesh st;
        st.pointerIndex = std::uint16_t(s);
        st.visibilityBox = {std::int16_t(-10 * (s + 1)), 10, -20, 20, -30, 30};
        st.collisionBox = {-1, 1, -2, 2, -3, 3};
        st.flags = std::uint16_t(s + 1);
        wad->statics.push_back(st);
    }
    wad->staticCount = 3;
    computeMeshUsage(*wad);
    return wad;
}

TEST(MeshBounds, ExtentsAndSphere) {
    const Mesh mesh = meshOf({{-120, 4, 0}, {35, -6, 0}, {0, 0, 9}});
    EXPECT_EQ(*meshExtents(mesh), (Box{-120, 35, -6, 4, 0, 9}));
    const Sphere s = *boundingSphere(mesh);
    EXPECT_EQ(s.x, -42); // -42.5 truncated toward zero
    EXPECT_EQ(s.y, -1);
    EXPECT_EQ(s.z, 4);
    // Largest distance: vertex 0, sqrt(78^2 + 5^2 + 4^2) = 78.26.
    EXPECT_EQ(s.radius, 78);

    const Mesh single = meshOf({{7, -8, 9}});
    EXPECT_EQ(*meshExtents(single), (Box{7, 7, -8, -8, 9, 9}));
    EXPECT_EQ(*boundingSphere(single), (Sphere{7, -8, 9, 0}));

    EXPECT_FALSE(meshExtents(Mesh{}));
    EXPECT_FALSE(boundingSphere(Mesh{}));

    // The widest mesh there can be: centre 0 (-0.5 truncated), radius 32768 * sqrt(3).
    const Mesh huge = meshOf({{-32768, -32768, -32768}, {32767, 32767, 32767}});
    EXPECT_EQ(*boundingSphere(huge), (Sphere{0, 0, 0, 56755}));
}

TEST(BoundPanel, FieldsMapToBoxesInTheirOwnOrder) {
    StaticMesh st;
    st.visibilityBox = {1, 4, 2, 5, 3, 6}; // minX, maxX, minY, maxY, minZ, maxZ
    st.collisionBox = {7, 10, 8, 11, 9, 12};
    st.flags = 13;
    const auto fields = staticFieldValues(st);
    for (int f = 1; f <= 13; ++f)
        EXPECT_EQ(fields[f - 1], f) << "field " << f;
}

TEST(BoundPanel, EnablingByKeyword) {
    BoundPanel p = freshBoundPanel();
    for (bool on : p.enabled)
        EXPECT_TRUE(on);
    disableFields(p, FieldGroup::All);
    enableFields(p, FieldGroup::Col);
    for (int f = 1; f <= 13; ++f)
        EXPECT_EQ(p.enabled[f - 1], f >= 7) << f;
    disableFields(p, FieldGroup::Vis); // takes field 13 along
    EXPECT_FALSE(p.enabled[12]);
    enableFields(p, FieldGroup::Vis);
    EXPECT_TRUE(p.enabled[12]);
    enableFields(p, FieldGroup::Mov); // turns field 13 off
    EXPECT_FALSE(p.enabled[12]);
    EXPECT_TRUE(p.enabled[9]);
    enableFields(p, FieldGroup::All);
    EXPECT_TRUE(p.enabled[12]);
}

TEST(BoundPanel, StaticMeshShowsItsStaticAndOtherMeshesTheirSphere) {
    auto wad = boxedPackage();
    BoundPanel p = freshBoundPanel();
    EXPECT_TRUE(showMeshBounds(*wad, 0, p));
    EXPECT_EQ(p.selectedStatic, 0);
    EXPECT_EQ(p.fields, staticFieldValues(wad->statics[0]));
    EXPECT_TRUE(p.visibilityRadioEnabled);
    for (int f = 1; f <= 13; ++f)
        EXPECT_EQ(p.enabled[f - 1], f <= 6 || f == 13) << f;

    wad->meshes[2].sphereX = -4;
    wad->meshes[2].sphereY = 5;
    wad->meshes[2].sphereZ = -6;
    EXPECT_FALSE(showMeshBounds(*wad, 2, p));
    EXPECT_EQ(p.selectedStatic, -1);
    EXPECT_EQ(p.boxKind, BoxKind::Collision);
    EXPECT_FALSE(p.visibilityRadioEnabled);
    EXPECT_EQ(p.fields, (std::array<int, 13>{0, 0, 0, 0, 0, 0, -4, 5, -6, 99, 0, 0, 0}));
    for (int f = 1; f <= 13; ++f)
        EXPECT_EQ(p.enabled[f - 1], f >= 7 && f <= 10) << f;
    // The visibility radio stays off while a sphere is shown.
    setBoxKind(*wad, 2, p, BoxKind::Visibility);
    EXPECT_EQ(p.boxKind, BoxKind::Collision);

    // Back on a static mesh, its visibility box shows: the collision radio the
    // sphere left checked is not the user's choice for this static.
    EXPECT_TRUE(showMeshBounds(*wad, 0, p));
    EXPECT_EQ(p.boxKind, BoxKind::Visibility);
    for (int f = 1; f <= 13; ++f)
        EXPECT_EQ(p.enabled[f - 1], f <= 6 || f == 13) << f;
    // A collision box the user chose stays chosen for that static.
    setBoxKind(*wad, 0, p, BoxKind::Collision);
    EXPECT_FALSE(showMeshBounds(*wad, 2, p));
    EXPECT_TRUE(showMeshBounds(*wad, 0, p));
    EXPECT_EQ(p.boxKind, BoxKind::Collision);
    for (int f = 1; f <= 13; ++f)
        EXPECT_EQ(p.enabled[f - 1], f >= 7) << f;
}

TEST(BoundPanel, SelectingAStaticThatSharesItsMeshKeepsItSelected) {
    auto wad = boxedPackage();
    BoundPanel p = freshBoundPanel();
    EXPECT_EQ(selectStatic(*wad, 2, p), 1);
    EXPECT_EQ(p.selectedStatic, 2);
    EXPECT_EQ(p.fields, staticFieldValues(wad->statics[2]));
    // Edits go to the static whose numbers are shown.
    const BoundEdit e = editBoundField(*wad, 1, p, 1, -77);
    EXPECT_TRUE(e.changed);
    EXPECT_EQ(wad->statics[2].visibilityBox[0], -77);
    EXPECT_EQ(wad->statics[1].visibilityBox[0], -20);
    // Coming to the mesh from the render window picks the first static.
    BoundPanel fresh = freshBoundPanel();
    showMeshBounds(*wad, 1, fresh);
    EXPECT_EQ(fresh.selectedStatic, 1);
    EXPECT_EQ(selectStatic(*wad, 3, p), -1); // no such static: nothing changes
    EXPECT_EQ(p.selectedStatic, 2);
}

TEST(BoundPanel, EditingFields) {
    auto wad = boxedPackage();
    BoundPanel p = freshBoundPanel();
    // After opening every field is enabled but no static is selected.
    BoundEdit e = editBoundField(*wad, 0, p, 4, 50);
    EXPECT_FALSE(e.changed);
    EXPECT_EQ(e.messages, (Messages{{MessageKind::Information,
                                     "Select Static mesh from the static mesh list control."}}));
    EXPECT_EQ(wad->statics[0].visibilityBox[1], 10);

    selectStatic(*wad, 0, p);
    e = editBoundField(*wad, 0, p, 5, 60); // visibility maxY
    EXPECT_TRUE(e.redraw);
    EXPECT_EQ(wad->statics[0].visibilityBox[3], 60);
    e = editBoundField(*wad, 0, p, 13, -1); // flags keep the low 16 bits
    EXPECT_TRUE(e.changed);
    EXPECT_FALSE(e.redraw);
    EXPECT_EQ(wad->statics[0].flags, 0xFFFF);
    EXPECT_EQ(p.fields[12], 65535);
    e = editBoundField(*wad, 0, p, 6, 40000); // box bounds stay within 16 bits
    EXPECT_EQ(wad->statics[0].visibilityBox[5], 32767);
    EXPECT_EQ(p.fields[5], 32767);
    // Collision fields are disabled while the visibility box is checked.
    e = editBoundField(*wad, 0, p, 12, 5);
    EXPECT_FALSE(e.changed);
    EXPECT_EQ(wad->statics[0].collisionBox[5], 3);
    setBoxKind(*wad, 0, p, BoxKind::Collision);
    editBoundField(*wad, 0, p, 12, 5);
    editBoundField(*wad, 0, p, 7, -9);
    editBoundField(*wad, 0, p, 10, 8);
    EXPECT_EQ(wad->statics[0].collisionBox, (Box{-9, 8, -2, 2, -3, 5}));
    EXPECT_EQ(wad->meshes[0].sphereX, 0); // not the sphere

    // A mesh without a static: fields 7..10 edit its sphere.
    showMeshBounds(*wad, 2, p);
    editBoundField(*wad, 2, p, 7, -100000);
    editBoundField(*wad, 2, p, 9, 12);
    EXPECT_EQ(wad->meshes[2].sphereX, -32768);
    EXPECT_EQ(wad->meshes[2].sphereZ, 12);
    editBoundField(*wad, 2, p, 10, 70000);
    EXPECT_EQ(wad->meshes[2].sphereRadius, 65535);
    EXPECT_EQ(p.fields[9], 65535);
    editBoundField(*wad, 2, p, 10, -3);
    EXPECT_EQ(wad->meshes[2].sphereRadius, 0);
    // Fields 11..13 and 1..6 are disabled there: no effect, no message.
    e = editBoundField(*wad, 2, p, 11, 4);
    EXPECT_FALSE(e.changed);
    EXPECT_TRUE(e.messages.empty());
    EXPECT_FALSE(editBoundField(*wad, 2, p, 14, 4).changed);
}

TEST(BoundPanel, PackageWithoutStaticsEditsSpheres) {
    auto wad = makeDemoPackage();
    wad->statics.clear();
    wad->staticCount = 0;
    computeMeshUsage(*wad);
    BoundPanel p = freshBoundPanel();
    for (int slot : {0, 10}) {
        EXPECT_FALSE(showMeshBounds(*wad, slot, p));
        EXPECT_FALSE(p.visibilityRadioEnabled);
    }
    editBoundField(*wad, 10, p, 8, -321);
    EXPECT_EQ(wad->meshes[10].sphereY, -321);
}

TEST(AutomaticBound, WritesTheCheckedBoxOfTheSelectedStatic) {
    auto wad = boxedPackage();
    BoundPanel p = freshBoundPanel();
    selectStatic(*wad, 0, p);
    const std::uint16_t radius = wad->meshes[0].sphereRadius;
    BoundEdit e = automaticBound(*wad, 0, p);
    EXPECT_TRUE(e.changed);
    EXPECT_EQ(wad->statics[0].visibilityBox, (Box{-120, 35, 0, 10, -5, 7}));
    EXPECT_EQ(wad->statics[0].collisionBox, (Box{-1, 1, -2, 2, -3, 3}));
    EXPECT_EQ(p.fields[0], -120);
    EXPECT_EQ(p.fields[3], 35);
    EXPECT_EQ(wad->meshes[0].sphereRadius, radius);

    setBoxKind(*wad, 0, p, BoxKind::Collision);
    automaticBound(*wad, 0, p);
    EXPECT_EQ(wad->statics[0].collisionBox, (Box{-120, 35, 0, 10, -5, 7}));
    EXPECT_EQ(p.fields[6], -120);
}

TEST(AutomaticBound, OtherMeshesGetTheirSphere) {
    auto wad = boxedPackage();
    BoundPanel p = freshBoundPanel();
    showMeshBounds(*wad, 2, p);
    const BoundEdit e = automaticBound(*wad, 2, p);
    EXPECT_TRUE(e.redraw);
    // Vertices (-360, 10, -5) and (35, 80, 7).
    const Mesh& m = wad->meshes[2];
    EXPECT_EQ(m.sphereX, -162);
    EXPECT_EQ(m.sphereY, 45);
    EXPECT_EQ(m.sphereZ, 1);
    // The far vertex is (-360, 10, -5): sqrt(198^2 + 35^2 + 6^2) = 201.16.
    EXPECT_EQ(m.sphereRadius, 201);
    EXPECT_EQ(p.fields[6], -162);
    EXPECT_EQ(p.fields[9], 201);
    EXPECT_TRUE(p.enabled[9]);
    EXPECT_FALSE(p.enabled[12]);
}

TEST(AutomaticBound, NeedsAPackageAndAMeshWithVertices) {
    auto wad = boxedPackage();
    BoundPanel p = freshBoundPanel();
    EXPECT_FALSE(automaticBound(*wad, -1, p).changed);
    wad->meshes[2].vertexCount = 0;
    showMeshBounds(*wad, 2, p);
    BoundEdit e = automaticBound(*wad, 2, p);
    EXPECT_FALSE(e.changed);
    EXPECT_TRUE(e.messages.empty());
    EXPECT_EQ(wad->meshes[2].sphereRadius, 99);
    wad->version = 0;
    e = automaticBound(*wad, 0, p);
    EXPECT_EQ(e.messages, (Messages{{MessageKind::Error, "No wad opened."}}));
    EXPECT_FALSE(e.changed);
}

} // namespace
} // namespace kavlen
