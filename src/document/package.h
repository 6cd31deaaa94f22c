// The package document: one TRLE object package (".wad") held in memory.
//
// A `Package` is owned by its user (the editor, the command-line tool, a test) and
// passed by reference; there is no process-wide instance. Mesh slots keep
// fixed-capacity arrays because several editing operations rely on what a slot
// holds beyond its counts; the list of slots itself grows up to kMaxMeshes.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kavlen {

// Capacities of a package.
inline constexpr std::size_t kMaxTexInfos = 4096;
inline constexpr std::size_t kMaxMeshPointers = 2000;
inline constexpr std::size_t kMaxMeshes = 1000;
inline constexpr std::size_t kMaxDirectoryEntries = 999;
inline constexpr std::size_t kMaxMeshVertices = 1500; // also normals, shades, faces

inline constexpr std::size_t kPageBytes = 256 * 256 * 3;
// Largest package file read (real packages hold well under 100 MB).
inline constexpr std::uint64_t kMaxPackageBytes = std::uint64_t(1) << 30;
inline constexpr std::size_t kAtlasRowBytes = 256 * 3;

// Record sizes of the opaque animation tables, in file order.
inline constexpr std::size_t kAnimationRecordSize = 40;
inline constexpr std::size_t kStateChangeRecordSize = 6;
inline constexpr std::size_t kDispatchRecordSize = 8;
inline constexpr std::size_t kCommandRecordSize = 2;
inline constexpr std::size_t kMeshTreeRecordSize = 4;
inline constexpr std::size_t kKeyframeRecordSize = 2;

inline constexpr std::uint16_t kShapeTriangle = 8;
inline constexpr std::uint16_t kShapeQuad = 9;

// Attribute word bits.
inline constexpr std::uint16_t kAttrTransparent = 0x0001;
inline constexpr std::uint16_t kAttrShine = 0x0002;
inline constexpr std::uint16_t kAttrShineMask = 0x007C; // strength 0..31 in bits 2-6
inline constexpr int kAttrShineShift = 2;

// Returns the shine strength (0..31) of an attribute word; 0 when shine is off.
inline int shineStrength(std::uint16_t attributes) {
    return (attributes & kAttrShine) ? (attributes & kAttrShineMask) >> kAttrShineShift : 0;
}
// Shine s on an attribute word: keeps only the transparency bit of the old word.
inline std::uint16_t withShine(std::uint16_t attributes, int strength) {
    const std::uint16_t keep = attributes & kAttrTransparent;
    if (strength == 0)
        return keep;
    return static_cast<std::uint16_t>(keep | ((strength & 31) << kAttrShineShift) | kAttrShine);
}
inline std::uint16_t withTransparency(std::uint16_t attributes, bool on) {
    return on ? (attributes | kAttrTransparent)
              : static_cast<std::uint16_t>(attributes & ~kAttrTransparent);
}

// One texture sample, 8 bytes, same layout in memory and file.
struct TexInfo {
    std::uint8_t x = 0;      // left edge on the page
    std::uint8_t y = 0;      // top edge on the page
    std::uint16_t page = 0;  // atlas page number
    std::int8_t xFlag = 0;   // carried unchanged; new samples store -1
    std::uint8_t width = 0;  // width in texels minus 1
    std::int8_t yFlag = 0;   // carried unchanged; new samples store -1
    std::uint8_t height = 0; // height in texels minus 1

    bool operator==(const TexInfo&) const = default;
};
static_assert(sizeof(TexInfo) == 8);

struct MeshVertex {
    std::int16_t x = 0, y = 0, z = 0;

    bool operator==(const MeshVertex&) const = default;
};
using MeshNormal = MeshVertex;
static_assert(sizeof(MeshVertex) == 6); // read and written as three 16-bit words

struct MeshFace {
    std::uint16_t shape = 0;                    // kShapeTriangle or kShapeQuad
    std::array<std::uint16_t, 4> vertexIndex{}; // a triangle uses the first three
    std::uint16_t texture = 0;                  // texture word
    std::uint16_t attributes = 0;               // attribute word
    std::uint8_t visible = 1;                   // not stored in the file
    std::uint8_t reserved = 0;                  // carried by texture-set files only

    bool isQuad() const { return shape == kShapeQuad; }
    int cornerCount() const { return shape == kShapeQuad ? 4 : 3; }
    bool operator==(const MeshFace&) const = default;
};

struct Mesh {
    std::int16_t sphereX = 0, sphereY = 0, sphereZ = 0;
    std::uint16_t sphereRadius = 0;
    std::uint16_t extraWord = 0;
    std::uint16_t vertexCount = 0;
    std::int16_t normalCount = 0; // >0 normals, <0 minus the number of shades, 0 neither
    std::array<MeshVertex, kMaxMeshVertices> vertices{};
    std::array<MeshNormal, kMaxMeshVertices> normals{};
    std::array<std::int16_t, kMaxMeshVertices> shades{};
    std::int16_t faceCount = 0;
    std::array<MeshFace, kMaxMeshVertices> faces{};
    std::uint8_t hasHiddenFaces = 0;

    int quadCount() const;
    // Bytes the mesh occupies in the file's mesh data block.
    std::size_t fileSize() const;
    bool operator==(const Mesh&) const = default;
};

struct Moveable {
    std::uint32_t objectId = 0;
    std::uint16_t pointerCount = 0;
    std::uint16_t firstPointer = 0;
    std::array<std::uint8_t, 10> opaqueTail{};

    bool operator==(const Moveable&) const = default;
};

struct StaticMesh {
    std::uint32_t objectId = 0;
    std::uint16_t pointerIndex = 0;
    std::array<std::int16_t, 6> visibilityBox{}; // minX, maxX, minY, maxY, minZ, maxZ
    std::array<std::int16_t, 6> collisionBox{};  // same order
    std::uint16_t flags = 0;

    bool operator==(const StaticMesh&) const = default;
};

struct MeshUsage {
    std::int32_t userCount = 0;

    bool operator==(const MeshUsage&) const = default;
};

// Maps mesh pointer offsets to mesh indices in order of first appearance in the
// pointer table. Entry 0 is never used; entries 1..count hold (offset, index).
struct MeshOffsetDirectory {
    struct Entry {
        std::uint32_t offset = 0;
        std::uint16_t meshIndex = 0;

        bool operator==(const Entry&) const = default;
    };
    std::vector<Entry> entries; // entries[0] is the unused entry 0
    std::uint16_t count() const {
        return static_cast<std::uint16_t>(entries.empty() ? 0 : entries.size() - 1);
    }
    bool operator==(const MeshOffsetDirectory&) const = default;
};

// Marks a static whose pointer index lies outside the pointer table: it has no mesh.
inline constexpr std::uint32_t kNoMeshSlot = 0xFFFFFFFFu;

struct Package {
    std::uint32_t version = 0; // 129 or 130 when loaded, 0 when released

    std::uint32_t texInfoCount = 0;
    std::array<TexInfo, kMaxTexInfos> texInfos{};

    std::uint32_t textureDataSize = 0;
    std::vector<std::uint8_t> textureData; // blue, green, red per texel

    std::uint32_t meshPointerCount = 0;
    std::array<std::uint32_t, kMaxMeshPointers> meshPointers{};
    std::array<std::uint16_t, kMaxMeshPointers> pointerMeshIndex{};
    std::uint32_t meshDataWords = 0;

    std::uint16_t meshCount = 0;
    std::vector<Mesh> meshes; // meshes.size() >= meshCount; grows up to kMaxMeshes
    // Where slot k starts in the mesh data as read or last saved; slots added
    // since have no entry. Saving moves each pointer with the mesh it starts.
    std::vector<std::uint32_t> meshFileOffsets;

    std::uint32_t animationCount = 0;
    std::vector<std::uint8_t> animations;
    std::uint32_t stateChangeCount = 0;
    std::vector<std::uint8_t> stateChanges;
    std::uint32_t dispatchCount = 0;
    std::vector<std::uint8_t> dispatches;
    std::uint32_t commandCount = 0;
    std::vector<std::uint8_t> commands;
    std::uint32_t meshTreeCount = 0;
    std::vector<std::uint8_t> meshTree;
    std::uint32_t keyframeWordCount = 0;
    std::vector<std::uint8_t> keyframes;

    std::uint32_t moveableCount = 0;
    std::vector<Moveable> moveables;

    std::vector<MeshUsage> meshUsage;
    std::uint16_t addedMeshCount = 0;
    std::uint16_t objectMeshCount = 0;

    std::uint32_t staticCount = 0;
    std::vector<StaticMesh> statics;
    std::vector<std::uint32_t> staticMeshIndex; // kNoMeshSlot when the static has no mesh

    // Bytes after the statics section, written back unchanged.
    std::vector<std::uint8_t> trailingBytes;

    MeshOffsetDirectory directory;

    bool isLoaded() const { return version == 129 || version == 130; }
    int pageCount() const { return static_cast<int>(textureDataSize / kPageBytes); }

    // Mesh slot that pointer `pointerIndex` designates, or -1 when the pointer
    // index is outside the table or its mesh index names no slot.
    int meshSlotOfPointer(std::size_t pointerIndex) const;
    // Mesh slot of static s, or -1 when it has none.
    int meshSlotOfStatic(std::size_t s) const;
    // The pointer indices of moveable m, clamped to the pointer table.
    std::pair<std::size_t, std::size_t> pointerRange(std::size_t m) const;

    // Appends an empty mesh slot cleared to zero (for editors and importers).
    Mesh& appendMeshSlot();

    bool operator==(const Package&) const = default;
};

// Returns the mesh index of the first directory entry whose offset equals `offset`, 0 when none.
std::uint16_t lookupMeshOffset(const MeshOffsetDirectory& directory, std::uint32_t offset);

// Rebuilds the directory and pointerMeshIndex from the pointer table.
// Returns false when more than kMaxDirectoryEntries distinct offsets occur; the
// directory then holds the first kMaxDirectoryEntries of them.
bool buildMeshDirectory(Package& wad);

// Recomputes meshUsage, staticMeshIndex, addedMeshCount and objectMeshCount.
void computeMeshUsage(Package& wad);

// Frees the atlas and animation blocks and marks the document unloaded.
void releaseDocument(Package& wad);

// Texture words.
struct TextureWordInfo {
    std::uint16_t index = 0; // bits 0-11
    std::uint8_t corner = 0; // bits 12-14
    bool mirrored = false;   // bit 15
    struct UV {
        std::uint8_t u = 0, v = 0;
        bool operator==(const UV&) const = default;
    };
    std::array<UV, 3> pairs{}; // sample corners of triangle vertices 0, 1, 2
};

TextureWordInfo decodeTextureWord(std::uint16_t word);
std::uint16_t encodeTextureWord(const TextureWordInfo& info);
void setTextureWordHighBits(std::uint16_t& word, std::uint16_t highBits);

// Sample index of a face's texture word: the absolute value of the signed word
// for a quad, the low 12 bits for a triangle.
std::uint16_t faceSampleIndex(const MeshFace& face);
// Whether the face's texture is mirrored.
bool faceMirrored(const MeshFace& face);
// Assigns sample n to a face, keeping its mirroring (and a triangle's corner).
void assignFaceSample(MeshFace& face, std::uint16_t sample);

// Reading and writing packages.
struct LoadResult {
    enum Status { Ok = 0, WrongVersion = 1, Failed = 2 };
    Status status = Ok;
    std::string message; // empty on success
    // What the user should know about a package that was read (meshes stored out of
    // first-reference order, pointers that start no mesh, bytes after the last
    // section); empty when there is nothing. Shown once, on the status bar.
    std::string notice;
    bool ok() const { return status == Ok; }
};

// Reads a package into a fresh document and moves it into `wad` only on success;
// on any failure `wad` is left exactly as it was.
LoadResult loadWad(Package& wad, const std::filesystem::path& path);
LoadResult loadWadFromBytes(Package& wad, const std::uint8_t* data, std::size_t size);

struct SaveResult {
    bool ok = true;
    std::string message; // why the save failed
};

// Serialises the document. `newPointers` receives the translated pointer table and
// `newMeshDataWords` the mesh data size that the bytes carry. Each pointer moves
// with the mesh stored at its offset; a pointer that starts no mesh keeps its value.
std::vector<std::uint8_t> serializeWad(const Package& wad,
                                       std::array<std::uint32_t, kMaxMeshPointers>& newPointers,
                                       std::uint32_t& newMeshDataWords);

// Writes the package through a temporary file beside `path` (the file a link
// points to), replacing the target only when everything was written; on success
// brings the document's pointers, meshDataWords, mesh offsets and directory up to
// date. On failure nothing changes.
SaveResult saveWad(Package& wad, const std::filesystem::path& path);

} // namespace kavlen
