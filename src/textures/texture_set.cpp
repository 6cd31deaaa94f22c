#include "textures/texture_set.h"
#include "document/tex_info_io.h"

#include "document/byte_cursor.h"
#include "textures/buffered_file.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace kavlen {

namespace {

constexpr std::size_t kMagicSize = 17;
constexpr std::size_t kFaceRecordSize = 16;
const Message kNoWad{MessageKind::Error, "No wad opened."};
const Message kInvalid{MessageKind::Information, "Invalid TAV File Format!!"};

std::array<std::uint8_t, kMagicSize> magicBytes() {
    std::array<std::uint8_t, kMagicSize> m{};
    m[0] = 16;
    std::memcpy(m.data() + 1, kTavMagic, 16);
    return m;
}

void writeMesh(ByteSink& out, const Mesh& mesh) {
    out.i16(mesh.sphereX);
    out.i16(mesh.sphereY);
    out.i16(mesh.sphereZ);
    out.u16(mesh.sphereRadius);
    out.u16(mesh.extraWord);
    const std::size_t vertices = std::min<std::size_t>(mesh.vertexCount, kMaxMeshVertices);
    const int normalCount =
        std::clamp<int>(mesh.normalCount, -int(kMaxMeshVertices), int(kMaxMeshVertices));
    const int faces = std::clamp<int>(mesh.faceCount, 0, int(kMaxMeshVertices));
    out.u16(static_cast<std::uint16_t>(vertices));
    out.i16(static_cast<std::int16_t>(normalCount));
    for (std::size_t k = 0; k < vertices; ++k) {
        out.i16(mesh.vertices[k].x);
        out.i16(mesh.vertices[k].y);
        out.i16(mesh.vertices[k].z);
    }
    if (normalCount > 0) {
        for (int k = 0; k < normalCount; ++k) {
            out.i16(mesh.normals[std::size_t(k)].x);
            out.i16(mesh.normals[std::size_t(k)].y);
            out.i16(mesh.normals[std::size_t(k)].z);
        }
    } else {
        for (int k = 0; k < -normalCount; ++k)
            out.i16(mesh.shades[std::size_t(k)]);
    }
    out.i16(static_cast<std::int16_t>(faces));
    for (int f = 0; f < faces; ++f) {
        const MeshFace& face = mesh.faces[std::size_t(f)];
        out.u16(face.shape);
        for (const std::uint16_t index : face.vertexIndex)
            out.u16(index);
        out.u16(face.texture);
        out.u16(face.attributes);
        out.u8(face.visible);
        out.u8(face.reserved);
    }
}

// One mesh block as read, checked against the capacities.
struct StagedMesh {
    std::int16_t sphereX = 0, sphereY = 0, sphereZ = 0;
    std::uint16_t sphereRadius = 0, extraWord = 0, vertexCount = 0;
    std::int16_t normalCount = 0, faceCount = 0;
    std::vector<MeshVertex> vertices, normals;
    std::vector<std::int16_t> shades;
    std::vector<MeshFace> faces;
};

struct Staged {
    std::uint32_t sampleCount = 0;
    std::vector<TexInfo> samples;
    std::vector<StagedMesh> meshes;
};

struct Refusal {
    std::string message;
};

void requireBytes(ByteCursor& in, std::size_t n, const std::string& where) {
    if (n > in.remaining())
        throw Refusal{"The TAV file ends early (" + where + ")."};
}

void checkCount(long long count, const std::string& what, const std::string& where) {
    if (count > long(kMaxMeshVertices))
        throw Refusal{where + " of the TAV file has " + std::to_string(count) + " " + what +
                      "; a mesh holds at most 1500."};
}

MeshVertex readTriple(ByteCursor& in) {
    MeshVertex v;
    v.x = in.i16();
    v.y = in.i16();
    v.z = in.i16();
    return v;
}

StagedMesh readMesh(ByteCursor& in, std::size_t index) {
    const std::string where = "Mesh " + std::to_string(index);
    const std::string inMesh = "in mesh " + std::to_string(index);
    StagedMesh m;
    requireBytes(in, 14, inMesh);
    m.sphereX = in.i16();
    m.sphereY = in.i16();
    m.sphereZ = in.i16();
    m.sphereRadius = in.u16();
    m.extraWord = in.u16();
    m.vertexCount = in.u16();
    m.normalCount = in.i16();
    checkCount(m.vertexCount, "vertices", where);
    if (m.normalCount > 0)
        checkCount(m.normalCount, "normals", where);
    else
        checkCount(-int(m.normalCount), "shades", where);
    requireBytes(in, 6 * std::size_t(m.vertexCount), inMesh);
    for (std::size_t k = 0; k < m.vertexCount; ++k)
        m.vertices.push_back(readTriple(in));
    if (m.normalCount > 0) {
        requireBytes(in, 6 * std::size_t(m.normalCount), inMesh);
        for (int k = 0; k < m.normalCount; ++k)
            m.normals.push_back(readTriple(in));
    } else {
        requireBytes(in, 2 * std::size_t(-int(m.normalCount)), inMesh);
        for (int k = 0; k < -int(m.normalCount); ++k)
            m.shades.push_back(in.i16());
    }
    requireBytes(in, 2, inMesh);
    m.faceCount = in.i16();
    if (m.faceCount < 0)
        throw Refusal{where + " of the TAV file has a negative face count (" +
                      std::to_string(m.faceCount) + ")."};
    checkCount(m.faceCount, "faces", where);
    requireBytes(in, kFaceRecordSize * std::size_t(m.faceCount), inMesh);
    for (int f = 0; f < m.faceCount; ++f) {
        MeshFace face;
        face.shape = in.u16();
        for (std::uint16_t& index : face.vertexIndex)
            index = in.u16();
        face.texture = in.u16();
        face.attributes = in.u16();
        face.visible = in.u8();
        face.reserved = in.u8();
        m.faces.push_back(face);
    }
    return m;
}

Staged readContent(std::span<const std::uint8_t> content) {
    ByteCursor in(content.data() + kMagicSize, content.size() - kMagicSize);
    Staged s;
    requireBytes(in, 4, "in the sample count");
    s.sampleCount = in.u32();
    if (s.sampleCount > kMaxTexInfos)
        throw Refusal{"The TAV file holds " + std::to_string(s.sampleCount) +
                      " texture samples; a package holds at most 4096."};
    requireBytes(in, 8 * std::size_t(s.sampleCount) + 2, "in the texture samples");
    for (std::uint32_t i = 0; i < s.sampleCount; ++i) {
        s.samples.push_back(readTexInfo(in));
    }
    const std::uint16_t meshCount = in.u16();
    if (meshCount > kMaxMeshes)
        throw Refusal{"The TAV file holds " + std::to_string(meshCount) +
                      " meshes; a package holds at most 1000."};
    for (std::size_t i = 0; i < meshCount; ++i)
        s.meshes.push_back(readMesh(in, i));
    return s;
}

void apply(Package& wad, const Staged& s) {
    wad.texInfoCount = s.sampleCount;
    std::copy(s.samples.begin(), s.samples.end(), wad.texInfos.begin());
    if (wad.meshes.size() < s.meshes.size())
        wad.meshes.resize(s.meshes.size());
    wad.meshCount = static_cast<std::uint16_t>(s.meshes.size());
    for (std::size_t i = 0; i < s.meshes.size(); ++i) {
        const StagedMesh& m = s.meshes[i];
        Mesh& mesh = wad.meshes[i];
        mesh.sphereX = m.sphereX;
        mesh.sphereY = m.sphereY;
        mesh.sphereZ = m.sphereZ;
        mesh.sphereRadius = m.sphereRadius;
        mesh.extraWord = m.extraWord;
        mesh.vertexCount = m.vertexCount;
        mesh.normalCount = m.normalCount;
        std::copy(m.vertices.begin(), m.vertices.end(), mesh.vertices.begin());
        std::copy(m.normals.begin(), m.normals.end(), mesh.normals.begin());
        std::copy(m.shades.begin(), m.shades.end(), mesh.shades.begin());
        mesh.faceCount = m.faceCount;
        std::copy(m.faces.begin(), m.faces.end(), mesh.faces.begin());
    }
}

TextureSetResult restoreContent(Package& wad, std::span<const std::uint8_t> content) {
    TextureSetResult result;
    // A file shorter than the magic is compared as if filled with 'x'.
    std::array<std::uint8_t, kMagicSize> head{};
    head.fill('x');
    head[0] = 16;
    if (!content.empty())
        std::memcpy(head.data(), content.data(), std::min(content.size(), kMagicSize));
    if (head != magicBytes()) {
        result.messages.push_back(kInvalid);
        return result;
    }
    try {
        const Staged staged = readContent(content);
        apply(wad, staged);
        result.ok = true;
        result.sampleCount = staged.sampleCount;
        result.meshCount = static_cast<std::uint16_t>(staged.meshes.size());
        result.contentSize = content.size();
    } catch (const Refusal& r) {
        result.messages.push_back({MessageKind::Information, r.message});
    }
    return result;
}

} // namespace

std::size_t maxTextureSetContent() {
    const std::size_t meshBlock =
        14 + 6 * kMaxMeshVertices + 6 * kMaxMeshVertices + 2 + kFaceRecordSize * kMaxMeshVertices;
    return kMagicSize + 4 + 8 * kMaxTexInfos + 2 + kMaxMeshes * meshBlock;
}

std::vector<std::uint8_t> buildTextureSetContent(const Package& wad) {
    std::vector<std::uint8_t> content;
    ByteSink out(content);
    const auto magic = magicBytes();
    out.bytes(magic.data(), magic.size());
    const std::uint32_t samples = std::min<std::uint32_t>(wad.texInfoCount, kMaxTexInfos);
    out.u32(samples);
    for (std::uint32_t i = 0; i < samples; ++i) {
        writeTexInfo(out, wad.texInfos[i]);
    }
    const std::size_t meshes = std::min<std::size_t>(wad.meshCount, wad.meshes.size());
    out.u16(static_cast<std::uint16_t>(meshes));
    for (std::size_t i = 0; i < meshes; ++i)
        writeMesh(out, wad.meshes[i]);
    return content;
}

TextureSetResult saveTextureSet(const Package& wad, const std::filesystem::path& file) {
    TextureSetResult result;
    if (!wad.isLoaded()) {
        result.messages.push_back(kNoWad);
        return result;
    }
    const std::vector<std::uint8_t> content = buildTextureSetContent(wad);
    BufferedFile out;
    out.assign(file);
    out.openForWriting(1);
    out.write(content.data(), content.size());
    out.packed = true;
    const WriteResult written = out.close(true);
    if (!written.ok) {
        result.messages.push_back({MessageKind::Error, written.message});
        return result;
    }
    result.ok = true;
    result.sampleCount = std::min<std::uint32_t>(wad.texInfoCount, kMaxTexInfos);
    result.meshCount =
        static_cast<std::uint16_t>(std::min<std::size_t>(wad.meshCount, wad.meshes.size()));
    result.contentSize = content.size();
    return result;
}

TextureSetResult restoreTextureSet(Package& wad, const std::filesystem::path& file) {
    TextureSetResult result;
    if (!wad.isLoaded()) {
        result.messages.push_back(kNoWad);
        return result;
    }
    BufferedFile in;
    in.assign(file);
    std::string message;
    if (!in.openForReading(1, maxTextureSetContent(), message)) {
        result.messages.push_back({MessageKind::Error, message});
        return result;
    }
    result = restoreContent(wad, in.content());
    in.close(false);
    return result;
}

TextureSetResult restoreTextureSetFromBytes(Package& wad, std::span<const std::uint8_t> fileBytes) {
    TextureSetResult result;
    if (!wad.isLoaded()) {
        result.messages.push_back(kNoWad);
        return result;
    }
    std::vector<std::uint8_t> content;
    bool packed = false;
    std::string message;
    if (!unpackFileBytes(fileBytes, maxTextureSetContent(), content, packed, message)) {
        result.messages.push_back({MessageKind::Error, message});
        return result;
    }
    return restoreContent(wad, content);
}

} // namespace kavlen
