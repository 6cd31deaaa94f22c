// Small hand-made packages and mesh comparisons for the mesh command tests.
#pragma once

#include "document/package.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

namespace kavlen::test {

// A loaded package without meshes, pointers or objects.
inline std::unique_ptr<Package> makeBarePackage() {
    auto wad = std::make_unique<Package>();
    wad->version = 129;
    wad->texInfoCount = 10;
    buildMeshDirectory(*wad);
    computeMeshUsage(*wad);
    return wad;
}

// Appends a mesh slot holding `vertices`; returns its slot.
inline int addMesh(Package& wad, std::initializer_list<MeshVertex> vertices) {
    Mesh& mesh = wad.appendMeshSlot();
    for (const MeshVertex& v : vertices)
        mesh.vertices[mesh.vertexCount++] = v;
    return wad.meshCount - 1;
}

inline MeshFace& addTriangle(Mesh& mesh, int a, int b, int c, std::uint16_t texture = 0,
                             std::uint16_t attributes = 0) {
    MeshFace& f = mesh.faces[mesh.faceCount++];
    f.shape = kShapeTriangle;
    f.vertexIndex = {std::uint16_t(a), std::uint16_t(b), std::uint16_t(c), 0};
    f.texture = texture;
    f.attributes = attributes;
    f.visible = 1;
    return f;
}

inline MeshFace& addQuad(Mesh& mesh, int a, int b, int c, int d, std::uint16_t texture = 0,
                         std::uint16_t attributes = 0) {
    MeshFace& f = mesh.faces[mesh.faceCount++];
    f.shape = kShapeQuad;
    f.vertexIndex = {std::uint16_t(a), std::uint16_t(b), std::uint16_t(c), std::uint16_t(d)};
    f.texture = texture;
    f.attributes = attributes;
    f.visible = 1;
    return f;
}

// Adds a static drawn with mesh `slot` through a pointer of its own; returns its index.
inline int addStatic(Package& wad, int slot, std::array<std::int16_t, 6> visibility = {},
                     std::array<std::int16_t, 6> collision = {}) {
    const std::size_t p = wad.meshPointerCount++;
    wad.meshPointers[p] = 100u * static_cast<std::uint32_t>(slot);
    wad.pointerMeshIndex[p] = static_cast<std::uint16_t>(slot);
    StaticMesh st;
    st.pointerIndex = static_cast<std::uint16_t>(p);
    st.visibilityBox = visibility;
    st.collisionBox = collision;
    wad.statics.push_back(st);
    wad.staticCount = static_cast<std::uint32_t>(wad.statics.size());
    computeMeshUsage(wad);
    return static_cast<int>(wad.statics.size()) - 1;
}

// Adds a moveable whose meshes are `slots`, through pointers of its own.
inline int addMoveable(Package& wad, std::initializer_list<int> slots) {
    Moveable mv;
    mv.firstPointer = static_cast<std::uint16_t>(wad.meshPointerCount);
    for (int slot : slots) {
        const std::size_t p = wad.meshPointerCount++;
        wad.meshPointers[p] = 100u * static_cast<std::uint32_t>(slot);
        wad.pointerMeshIndex[p] = static_cast<std::uint16_t>(slot);
        ++mv.pointerCount;
    }
    wad.moveables.push_back(mv);
    wad.moveableCount = static_cast<std::uint32_t>(wad.moveables.size());
    computeMeshUsage(wad);
    return static_cast<int>(wad.moveables.size()) - 1;
}

inline bool sameVertex(const MeshVertex& a, const MeshVertex& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

// Field-by-field comparison of two mesh slots over their whole capacity.
inline ::testing::AssertionResult sameMesh(const Mesh& a, const Mesh& b) {
    if (a.sphereX != b.sphereX || a.sphereY != b.sphereY || a.sphereZ != b.sphereZ ||
        a.sphereRadius != b.sphereRadius || a.extraWord != b.extraWord ||
        a.vertexCount != b.vertexCount || a.normalCount != b.normalCount ||
        a.faceCount != b.faceCount || a.hasHiddenFaces != b.hasHiddenFaces)
        return ::testing::AssertionFailure() << "header fields differ";
    for (std::size_t i = 0; i < kMaxMeshVertices; ++i) {
        if (!sameVertex(a.vertices[i], b.vertices[i]))
            return ::testing::AssertionFailure() << "vertex slot " << i << " differs";
        if (!sameVertex(a.normals[i], b.normals[i]))
            return ::testing::AssertionFailure() << "normal slot " << i << " differs";
        if (a.shades[i] != b.shades[i])
            return ::testing::AssertionFailure() << "shade slot " << i << " differs";
        const MeshFace &fa = a.faces[i], &fb = b.faces[i];
        if (fa.shape != fb.shape || fa.vertexIndex != fb.vertexIndex || fa.texture != fb.texture ||
            fa.attributes != fb.attributes || fa.visible != fb.visible)
            return ::testing::AssertionFailure() << "face slot " << i << " differs";
    }
    return ::testing::AssertionSuccess();
}

} // namespace kavlen::test
