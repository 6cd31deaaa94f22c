#include "document/demo_package.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

namespace kavlen {

namespace {

struct Rgb {
    int r, g, b;
};

void putTexel(Package& wad, int page, int x, int y, Rgb c) {
    const std::size_t at = std::size_t(page) * kPageBytes + std::size_t(y) * kAtlasRowBytes + 3 * x;
    wad.textureData[at + 0] = static_cast<std::uint8_t>(std::clamp(c.b, 0, 255));
    wad.textureData[at + 1] = static_cast<std::uint8_t>(std::clamp(c.g, 0, 255));
    wad.textureData[at + 2] = static_cast<std::uint8_t>(std::clamp(c.r, 0, 255));
}

// Page 0: an 8 x 8 board of 32-texel tiles in distinct colours, each with a dark
// border and a light diagonal, so orientation and mirroring are easy to see.
void paintTiles(Package& wad) {
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const int tx = x / 32, ty = y / 32, lx = x % 32, ly = y % 32;
            Rgb c{40 + tx * 30, 40 + ty * 30, 220 - (tx + ty) * 12};
            if (lx < 2 || ly < 2)
                c = {20, 20, 20};
            else if (lx == ly || lx == ly + 1)
                c = {240, 240, 240};
            else if (lx < 10 && ly > 22)
                c = {c.r / 2, c.g / 2, c.b / 2}; // marks the lower left corner
            putTexel(wad, 0, x, y, c);
        }
    }
}

// Page 1: concentric rings around the page centre with an arrow pointing up.
void paintRings(Package& wad) {
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const double dx = x - 127.5, dy = y - 127.5;
            const int ring = static_cast<int>(std::sqrt(dx * dx + dy * dy) / 16);
            Rgb c = ring % 2 ? Rgb{230, 180, 40} : Rgb{40, 90, 200};
            const bool shaft = std::abs(dx) < 8 && y > 60 && y < 200;
            const bool head = y >= 20 && y <= 60 && std::abs(dx) <= (y - 20) * 0.8;
            if (shaft || head)
                c = {250, 250, 250};
            putTexel(wad, 1, x, y, c);
        }
    }
}

// Page 2: a brick wall with mortar lines and a shaded band per course.
void paintBricks(Package& wad) {
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const int course = y / 16;
            const int shift = (course % 2) * 16;
            const bool mortar = y % 16 < 2 || (x + shift) % 32 < 2;
            const int shade = ((x + shift) / 32 * 37 + course * 53) % 40;
            Rgb c = mortar ? Rgb{200, 200, 190} : Rgb{150 + shade, 60 + shade / 2, 40};
            putTexel(wad, 2, x, y, c);
        }
    }
}

void addSample(Package& wad, int page, int x, int y, int w, int h) {
    TexInfo& t = wad.texInfos[wad.texInfoCount++];
    t.x = static_cast<std::uint8_t>(x);
    t.y = static_cast<std::uint8_t>(y);
    t.page = static_cast<std::uint16_t>(page);
    t.xFlag = -1;
    t.width = static_cast<std::uint8_t>(w - 1);
    t.yFlag = -1;
    t.height = static_cast<std::uint8_t>(h - 1);
}

void addSamples(Package& wad) {
    // Sample 0: the whole ring page, 256 x 256.
    addSample(wad, 1, 0, 0, 256, 256);
    // 32 x 32 tiles of page 0 (samples 1..32).
    for (int i = 0; i < 32; ++i)
        addSample(wad, 0, (i % 8) * 32, (i / 8) * 32, 32, 32);
    // Larger and odd-sized samples of page 0, some overlapping the tiles.
    addSample(wad, 0, 0, 128, 64, 64);
    addSample(wad, 0, 64, 128, 64, 32);
    addSample(wad, 0, 128, 128, 48, 48);
    addSample(wad, 0, 176, 128, 80, 40);
    addSample(wad, 0, 16, 16, 64, 64); // overlaps four tiles
    addSample(wad, 0, 200, 200, 56, 56);
    addSample(wad, 0, 0, 192, 128, 64);
    addSample(wad, 0, 128, 192, 20, 12);
    // Ring page details.
    addSample(wad, 1, 64, 64, 128, 128);
    addSample(wad, 1, 96, 0, 64, 64);
    addSample(wad, 1, 0, 0, 16, 16);
    addSample(wad, 1, 240, 240, 16, 16);
    addSample(wad, 1, 100, 100, 57, 33);
    // Brick page: courses and single bricks.
    for (int i = 0; i < 8; ++i)
        addSample(wad, 2, 0, i * 32, 128, 32);
    for (int i = 0; i < 6; ++i)
        addSample(wad, 2, 128 + (i % 2) * 64, (i / 2) * 64, 64, 64);
    addSample(wad, 2, 2, 2, 30, 14);
    addSample(wad, 2, 96, 96, 24, 72);
}

// Builds meshes with vertices and faces; texture words are given per face.
struct MeshBuilder {
    Mesh& mesh;

    int vertex(int x, int y, int z) {
        mesh.vertices[mesh.vertexCount] = {static_cast<std::int16_t>(x),
                                           static_cast<std::int16_t>(y),
                                           static_cast<std::int16_t>(z)};
        return mesh.vertexCount++;
    }
    MeshFace& quad(int a, int b, int c, int d, std::uint16_t texture,
                   std::uint16_t attributes = 0) {
        MeshFace& f = mesh.faces[mesh.faceCount++];
        f.shape = kShapeQuad;
        f.vertexIndex = {std::uint16_t(a), std::uint16_t(b), std::uint16_t(c), std::uint16_t(d)};
        f.texture = texture;
        f.attributes = attributes;
        f.visible = 1;
        return f;
    }
    MeshFace& tri(int a, int b, int c, std::uint16_t texture, std::uint16_t attributes = 0) {
        MeshFace& f = mesh.faces[mesh.faceCount++];
        f.shape = kShapeTriangle;
        f.vertexIndex = {std::uint16_t(a), std::uint16_t(b), std::uint16_t(c), 0};
        f.texture = texture;
        f.attributes = attributes;
        f.visible = 1;
        return f;
    }
};

std::uint16_t triWord(int sample, int corner, bool mirrored) {
    TextureWordInfo info;
    info.index = static_cast<std::uint16_t>(sample);
    info.corner = static_cast<std::uint8_t>(corner);
    info.mirrored = mirrored;
    return encodeTextureWord(info);
}

std::uint16_t quadWord(int sample, bool mirrored) {
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(mirrored ? -sample : sample));
}

std::uint16_t shine(int s, bool transparent = false) {
    return withShine(transparent ? kAttrTransparent : 0, s);
}

// Sphere, normals pointing outward from the centre and shades or normals as asked.
void finishMesh(Mesh& mesh, bool staticLit) {
    int minV[3] = {32767, 32767, 32767}, maxV[3] = {-32768, -32768, -32768};
    for (int i = 0; i < mesh.vertexCount; ++i) {
        const int v[3] = {mesh.vertices[i].x, mesh.vertices[i].y, mesh.vertices[i].z};
        for (int a = 0; a < 3; ++a) {
            minV[a] = std::min(minV[a], v[a]);
            maxV[a] = std::max(maxV[a], v[a]);
        }
    }
    const int c[3] = {(minV[0] + maxV[0]) / 2, (minV[1] + maxV[1]) / 2, (minV[2] + maxV[2]) / 2};
    mesh.sphereX = static_cast<std::int16_t>(c[0]);
    mesh.sphereY = static_cast<std::int16_t>(c[1]);
    mesh.sphereZ = static_cast<std::int16_t>(c[2]);
    double radius = 0;
    for (int i = 0; i < mesh.vertexCount; ++i) {
        const double dx = mesh.vertices[i].x - c[0], dy = mesh.vertices[i].y - c[1],
                     dz = mesh.vertices[i].z - c[2];
        const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
        radius = std::max(radius, d);
        if (staticLit) {
            // Lighter at the top (y points down), darker towards the bottom.
            const double t =
                (mesh.vertices[i].y - minV[1]) / double(std::max(1, maxV[1] - minV[1]));
            mesh.shades[i] = static_cast<std::int16_t>(1000 + t * 6000);
        } else {
            const double len = d > 0 ? d : 1;
            mesh.normals[i] = {static_cast<std::int16_t>(std::lround(dx / len * 16300)),
                               static_cast<std::int16_t>(std::lround(dy / len * 16300)),
                               static_cast<std::int16_t>(std::lround(dz / len * 16300))};
        }
    }
    mesh.sphereRadius = static_cast<std::uint16_t>(std::lround(radius));
    mesh.normalCount = static_cast<std::int16_t>(staticLit ? -mesh.vertexCount : mesh.vertexCount);
}

// A box from (x0,y0,z0) to (x1,y1,z1) with quads, samples s..s+5.
void box(MeshBuilder& b, int x0, int y0, int z0, int x1, int y1, int z1, int s,
         std::uint16_t attributes = 0) {
    const int v0 = b.vertex(x0, y0, z0), v1 = b.vertex(x1, y0, z0), v2 = b.vertex(x1, y1, z0),
              v3 = b.vertex(x0, y1, z0), v4 = b.vertex(x0, y0, z1), v5 = b.vertex(x1, y0, z1),
              v6 = b.vertex(x1, y1, z1), v7 = b.vertex(x0, y1, z1);
    b.quad(v0, v1, v2, v3, quadWord(s, false), attributes);
    b.quad(v5, v4, v7, v6, quadWord(s + 1, false), attributes);
    b.quad(v4, v0, v3, v7, quadWord(s + 2, false), attributes);
    b.quad(v1, v5, v6, v2, quadWord(s + 3, false), attributes);
    b.quad(v4, v5, v1, v0, quadWord(s + 4, false), attributes);
    b.quad(v3, v2, v6, v7, quadWord(s + 5, false), attributes);
}

void makeMeshes(Package& wad) {
    wad.meshes.resize(13);
    wad.meshCount = 13;
    auto builder = [&](int slot) { return MeshBuilder{wad.meshes[slot]}; };

    { // 0: textured cube, one face shiny, one transparent.
        MeshBuilder b = builder(0);
        box(b, -256, -256, -256, 256, 256, 256, 1);
        b.mesh.faces[0].attributes = shine(16);
        b.mesh.faces[1].attributes = shine(0, true);
        finishMesh(b.mesh, false);
    }
    { // 1: square pyramid of triangles, all four corners, plain and mirrored.
        MeshBuilder b = builder(1);
        const int apex = b.vertex(0, -400, 0);
        const int a = b.vertex(-300, 100, -300), c = b.vertex(300, 100, -300),
                  d = b.vertex(300, 100, 300), e = b.vertex(-300, 100, 300);
        b.tri(apex, c, a, triWord(9, 0, false));
        b.tri(apex, d, c, triWord(10, 2, false));
        b.tri(apex, e, d, triWord(11, 4, false));
        b.tri(apex, a, e, triWord(12, 6, false), shine(31));
        b.tri(a, c, d, triWord(13, 0, true));
        b.tri(a, d, e, triWord(13, 6, true));
        finishMesh(b.mesh, false);
    }
    { // 2: wedge of quads and triangles, shared by two moveables.
        MeshBuilder b = builder(2);
        const int v0 = b.vertex(-200, 0, -300), v1 = b.vertex(200, 0, -300),
                  v2 = b.vertex(200, 0, 300), v3 = b.vertex(-200, 0, 300),
                  v4 = b.vertex(-200, -300, 300), v5 = b.vertex(200, -300, 300);
        b.quad(v3, v2, v1, v0, quadWord(33, false));
        b.quad(v0, v1, v5, v4, quadWord(34, true), shine(8));
        b.quad(v3, v4, v5, v2, quadWord(35, false));
        b.tri(v0, v4, v3, triWord(36, 2, true));
        b.tri(v1, v2, v5, triWord(36, 4, false));
        finishMesh(b.mesh, false);
    }
    { // 3: octahedron, triangles only.
        MeshBuilder b = builder(3);
        const int top = b.vertex(0, -350, 0), bottom = b.vertex(0, 350, 0);
        const int r[4] = {b.vertex(350, 0, 0), b.vertex(0, 0, 350), b.vertex(-350, 0, 0),
                          b.vertex(0, 0, -350)};
        for (int i = 0; i < 4; ++i) {
            b.tri(top, r[i], r[(i + 1) % 4], triWord(14 + i, (i * 2) % 8, i % 2 == 1));
            b.tri(bottom, r[(i + 1) % 4], r[i], triWord(18 + i, 6 - (i * 2) % 8, i % 2 == 0),
                  i == 0 ? shine(4, true) : 0);
        }
        finishMesh(b.mesh, false);
    }
    { // 4: hexagonal prism with quad sides and triangle caps.
        MeshBuilder b = builder(4);
        int top[6], bot[6];
        for (int i = 0; i < 6; ++i) {
            const double a = i * std::numbers::pi / 3;
            const int x = static_cast<int>(std::lround(std::cos(a) * 250));
            const int z = static_cast<int>(std::lround(std::sin(a) * 250));
            top[i] = b.vertex(x, -300, z);
            bot[i] = b.vertex(x, 300, z);
        }
        const int ct = b.vertex(0, -300, 0), cb = b.vertex(0, 300, 0);
        for (int i = 0; i < 6; ++i) {
            const int j = (i + 1) % 6;
            b.quad(top[i], top[j], bot[j], bot[i], quadWord(41 + i % 3, i % 2 == 1));
            b.tri(ct, top[j], top[i], triWord(22, 0, false));
            b.tri(cb, bot[i], bot[j], triWord(23, 4, true));
        }
        finishMesh(b.mesh, false);
    }
    { // 5: three quads in a row (an odd number of quads, so the mesh is padded).
        MeshBuilder b = builder(5);
        int row0[4], row1[4];
        for (int i = 0; i < 4; ++i) {
            row0[i] = b.vertex(-300 + i * 200, 0, 0);
            row1[i] = b.vertex(-300 + i * 200, -200, 40 * i);
        }
        for (int i = 0; i < 3; ++i)
            b.quad(row0[i], row0[i + 1], row1[i + 1], row1[i], quadWord(24 + i, i == 1),
                   i == 2 ? shine(20, true) : 0);
        finishMesh(b.mesh, false);
    }
    { // 6: UV sphere of 16 x 14 segments: 210 vertices.
        MeshBuilder b = builder(6);
        const int slices = 16, stacks = 14;
        const int north = b.vertex(0, -512, 0);
        int ring[13][16];
        for (int s = 1; s < stacks; ++s) {
            const double phi = s * std::numbers::pi / stacks;
            for (int i = 0; i < slices; ++i) {
                const double theta = i * 2 * std::numbers::pi / slices;
                ring[s - 1][i] =
                    b.vertex(static_cast<int>(std::lround(std::sin(phi) * std::cos(theta) * 512)),
                             static_cast<int>(std::lround(-std::cos(phi) * 512)),
                             static_cast<int>(std::lround(std::sin(phi) * std::sin(theta) * 512)));
            }
        }
        const int south = b.vertex(0, 512, 0);
        for (int i = 0; i < slices; ++i) {
            const int j = (i + 1) % slices;
            b.tri(north, ring[0][j], ring[0][i], triWord(0, 0, false));
            for (int s = 0; s + 1 < stacks - 1; ++s)
                b.quad(ring[s][i], ring[s][j], ring[s + 1][j], ring[s + 1][i],
                       quadWord(1 + (i + s) % 32, false), (s == 5) ? shine(12) : 0);
            b.tri(south, ring[stacks - 2][i], ring[stacks - 2][j], triWord(0, 4, false));
        }
        finishMesh(b.mesh, false);
    }
    { // 7: flat ring (annulus) of quads, double-sided look through transparency.
        MeshBuilder b = builder(7);
        int inner[12], outer[12];
        for (int i = 0; i < 12; ++i) {
            const double a = i * std::numbers::pi / 6;
            inner[i] = b.vertex(static_cast<int>(std::lround(std::cos(a) * 200)), 0,
                                static_cast<int>(std::lround(std::sin(a) * 200)));
            outer[i] = b.vertex(static_cast<int>(std::lround(std::cos(a) * 450)), 0,
                                static_cast<int>(std::lround(std::sin(a) * 450)));
        }
        for (int i = 0; i < 12; ++i) {
            const int j = (i + 1) % 12;
            b.quad(inner[i], inner[j], outer[j], outer[i], quadWord(49, false),
                   i % 3 == 0 ? kAttrTransparent : 0);
        }
        finishMesh(b.mesh, false);
    }
    { // 8: three steps of stairs.
        MeshBuilder b = builder(8);
        for (int s = 0; s < 3; ++s)
            box(b, -300, -128 * (s + 1), -300 + 200 * s, 300, 0, -100 + 200 * s, 50 + s);
        finishMesh(b.mesh, false);
    }
    { // 9: texture showcase: one quad per page sample plus all corners mirrored.
        MeshBuilder b = builder(9);
        int grid[3][5];
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 5; ++c)
                grid[r][c] = b.vertex(-400 + c * 200, -200 * r, 0);
        b.quad(grid[0][0], grid[0][1], grid[1][1], grid[1][0], quadWord(0, false));
        b.quad(grid[0][1], grid[0][2], grid[1][2], grid[1][1], quadWord(0, true));
        b.quad(grid[0][2], grid[0][3], grid[1][3], grid[1][2], quadWord(37, false));
        b.quad(grid[0][3], grid[0][4], grid[1][4], grid[1][3], quadWord(55, false));
        for (int c = 0; c < 4; ++c) {
            b.tri(grid[1][c], grid[1][c + 1], grid[2][c], triWord(38 + c, 2 * c, true));
            b.tri(grid[1][c + 1], grid[2][c + 1], grid[2][c], triWord(42 + c % 2, 2 * c, false));
        }
        finishMesh(b.mesh, false);
    }
    { // 10: static-lit column with shades.
        MeshBuilder b = builder(10);
        box(b, -128, -1024, -128, 128, 0, 128, 50);
        box(b, -200, -1100, -200, 200, -1024, 200, 53);
        finishMesh(b.mesh, true);
    }
    { // 11: static-lit low wall.
        MeshBuilder b = builder(11);
        box(b, -512, -256, -64, 512, 0, 64, 50);
        finishMesh(b.mesh, true);
        b.mesh.faces[4].attributes = shine(2);
    }
    { // 12: an added mesh no object uses: a small arrow.
        MeshBuilder b = builder(12);
        const int a = b.vertex(0, -300, 0), l = b.vertex(-150, 0, 0), r = b.vertex(150, 0, 0),
                  bl = b.vertex(-60, 0, 0), br = b.vertex(60, 0, 0), tl = b.vertex(-60, 250, 0),
                  tr = b.vertex(60, 250, 0);
        b.tri(a, r, l, triWord(26, 0, false));
        b.quad(bl, br, tr, tl, quadWord(27, false));
        finishMesh(b.mesh, false);
    }
}

void setPointers(Package& wad) {
    // Mesh slot each pointer designates, in the order the objects use them.
    const int pointerSlots[] = {0,  1,  2, 3, // moveable 0
                                4,  5,  2,    // moveable 1 (shares mesh 2)
                                6,  7,        // moveable 2
                                8,  9,        // moveable 3
                                10, 11,       // statics
                                12};          // the added mesh
    std::vector<std::uint32_t> starts(wad.meshCount + 1, 0);
    for (std::size_t k = 0; k < wad.meshCount; ++k)
        starts[k + 1] = starts[k] + static_cast<std::uint32_t>(wad.meshes[k].fileSize());
    for (int slot : pointerSlots)
        wad.meshPointers[wad.meshPointerCount++] = starts[slot];
    wad.meshDataWords = starts[wad.meshCount] / 2;
    buildMeshDirectory(wad);
}

void setObjects(Package& wad) {
    const std::pair<int, int> ranges[] = {{0, 4}, {4, 3}, {7, 2}, {9, 2}};
    for (int m = 0; m < 4; ++m) {
        Moveable mv;
        mv.objectId = static_cast<std::uint32_t>(m == 3 ? 12 : m);
        mv.firstPointer = static_cast<std::uint16_t>(ranges[m].first);
        mv.pointerCount = static_cast<std::uint16_t>(ranges[m].second);
        // Mesh tree index (in words), frame offset and animation index.
        const std::uint8_t treeIndex[4] = {0, 12, 20, 24};
        const std::uint8_t tail[10] = {treeIndex[m],        0, 0, 0, std::uint8_t(m * 20), 0, 0, 0,
                                       std::uint8_t(m % 2), 0};
        std::copy(std::begin(tail), std::end(tail), mv.opaqueTail.begin());
        wad.moveables.push_back(mv);
    }
    wad.moveableCount = static_cast<std::uint32_t>(wad.moveables.size());

    for (int s = 0; s < 2; ++s) {
        StaticMesh st;
        st.objectId = static_cast<std::uint32_t>(s == 0 ? 0 : 10);
        st.pointerIndex = static_cast<std::uint16_t>(11 + s);
        const Mesh& mesh = wad.meshes[10 + s];
        std::int16_t lo[3] = {32767, 32767, 32767}, hi[3] = {-32768, -32768, -32768};
        for (int i = 0; i < mesh.vertexCount; ++i) {
            const std::int16_t v[3] = {mesh.vertices[i].x, mesh.vertices[i].y, mesh.vertices[i].z};
            for (int a = 0; a < 3; ++a) {
                lo[a] = std::min(lo[a], v[a]);
                hi[a] = std::max(hi[a], v[a]);
            }
        }
        for (int a = 0; a < 3; ++a) {
            st.visibilityBox[2 * a] = lo[a];
            st.visibilityBox[2 * a + 1] = hi[a];
            st.collisionBox[2 * a] = static_cast<std::int16_t>(lo[a] + 16);
            st.collisionBox[2 * a + 1] = static_cast<std::int16_t>(hi[a] - 16);
        }
        st.flags = 2;
        wad.statics.push_back(st);
    }
    wad.staticCount = static_cast<std::uint32_t>(wad.statics.size());
}

void setAnimations(Package& wad) {
    auto fill = [](std::vector<std::uint8_t>& block, std::uint32_t& count, std::uint32_t n,
                   std::size_t size, int seed) {
        count = n;
        block.resize(n * size);
        std::uint32_t x = static_cast<std::uint32_t>(seed) * 2654435761u + 1;
        for (auto& byte : block) {
            x = x * 1664525u + 1013904223u;
            byte = static_cast<std::uint8_t>(x >> 24);
        }
    };
    fill(wad.animations, wad.animationCount, 2, kAnimationRecordSize, 1);
    fill(wad.stateChanges, wad.stateChangeCount, 1, kStateChangeRecordSize, 2);
    fill(wad.dispatches, wad.dispatchCount, 1, kDispatchRecordSize, 3);
    fill(wad.commands, wad.commandCount, 4, kCommandRecordSize, 4);
    // Joint records of four words (flags, x, y, z) for the meshes after each
    // moveable's first: moveable 0 branches from its root with push and pop.
    const std::int32_t tree[] = {2, 0,   -200, 0,   1, 150, 0,    0, 0, 0, -100, 50, // moveable 0
                                 0, 0,   -256, 0,   0, 0,   -128, 0,                 // moveable 1
                                 0, 300, 0,    0,                                    // moveable 2
                                 0, 0,   0,    -256};                                // moveable 3
    wad.meshTreeCount = static_cast<std::uint32_t>(std::size(tree));
    wad.meshTree.clear();
    for (const std::int32_t word : tree)
        for (int shift = 0; shift < 32; shift += 8)
            wad.meshTree.push_back(
                static_cast<std::uint8_t>(static_cast<std::uint32_t>(word) >> shift));
    fill(wad.keyframes, wad.keyframeWordCount, 24, kKeyframeRecordSize, 6);
}

} // namespace

std::unique_ptr<Package> makeDemoPackage() {
    auto wad = std::make_unique<Package>();
    wad->version = 129;
    wad->textureDataSize = static_cast<std::uint32_t>(3 * kPageBytes);
    wad->textureData.assign(wad->textureDataSize, 0);
    paintTiles(*wad);
    paintRings(*wad);
    paintBricks(*wad);
    addSamples(*wad);
    makeMeshes(*wad);
    setPointers(*wad);
    setObjects(*wad);
    setAnimations(*wad);
    computeMeshUsage(*wad);
    return wad;
}

} // namespace kavlen
