#include "textures/texture_set.h"
#include "document/tex_info_io.h"

#include "document/byte_cursor.h"
#include "textures/buffered_file.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

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

bool sameSample(const TexInfo& a, const TexInfo& b) {
    return a.x == b.x && a.y == b.y && a.page == b.page && a.xFlag == b.xFlag &&
           a.width == b.width && a.yFlag == b.yFlag && a.height == b.height;
}

bool sameVertex(const MeshVertex& a, const MeshVertex& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

// Whether the restored mesh has other vertices or face corners than the slot.
bool otherGeometry(const StagedMesh& m, const Mesh& mesh) {
    if (m.vertexCount != mesh.vertexCount || m.faceCount != mesh.faceCount)
        return true;
    for (std::size_t k = 0; k < m.vertices.size(); ++k)
        if (!sameVertex(m.vertices[k], mesh.vertices[k]))
            return true;
    for (std::size_t f = 0; f < m.faces.size(); ++f)
        if (m.faces[f].shape != mesh.faces[f].shape ||
            m.faces[f].vertexIndex != mesh.faces[f].vertexIndex)
            return true;
    return false;
}

bool sameMesh(const StagedMesh& m, const Mesh& mesh) {
    if (m.sphereX != mesh.sphereX || m.sphereY != mesh.sphereY || m.sphereZ != mesh.sphereZ ||
        m.sphereRadius != mesh.sphereRadius || m.extraWord != mesh.extraWord ||
        m.normalCount != mesh.normalCount || otherGeometry(m, mesh))
        return false;
    for (std::size_t k = 0; k < m.normals.size(); ++k)
        if (!sameVertex(m.normals[k], mesh.normals[k]))
            return false;
    for (std::size_t k = 0; k < m.shades.size(); ++k)
        if (m.shades[k] != mesh.shades[k])
            return false;
    for (std::size_t f = 0; f < m.faces.size(); ++f) {
        const MeshFace& a = m.faces[f];
        const MeshFace& b = mesh.faces[f];
        if (a.texture != b.texture || a.attributes != b.attributes || a.visible != b.visible ||
            a.reserved != b.reserved)
            return false;
    }
    return true;
}

// "0, 4 and 9"; long lists end with "and N more".
std::string numberList(const std::vector<int>& numbers) {
    constexpr std::size_t kShown = 10;
    std::string text;
    const std::size_t shown = numbers.size() > kShown + 1 ? kShown : numbers.size();
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0)
            text += i + 1 == numbers.size() ? " and " : ", ";
        text += std::to_string(numbers[i]);
    }
    if (shown < numbers.size())
        text += " and " + std::to_string(numbers.size() - shown) + " more";
    return text;
}

std::string countOf(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Why the set cannot be restored over this package, or nothing when it can.
std::optional<std::string> mismatch(const Package& wad, const Staged& s) {
    const std::string nothing = " Nothing was restored.";
    if (s.meshes.size() != wad.meshCount)
        return "The texture set holds " + countOf(s.meshes.size(), "mesh", "meshes") +
               "; this package has " + std::to_string(wad.meshCount) + "." + nothing;
    if (s.sampleCount != wad.texInfoCount)
        return "The texture set holds " + countOf(s.sampleCount, "sample", "samples") +
               "; this package has " + std::to_string(wad.texInfoCount) + "." + nothing;
    const int pages = wad.pageCount();
    for (std::uint32_t i = 0; i < s.sampleCount; ++i) {
        const TexInfo& t = s.samples[i];
        if (t.page >= pages && !sameSample(t, wad.texInfos[i]))
            return "Sample " + std::to_string(i) + " of the texture set lies on page " +
                   std::to_string(t.page) + "; this package has " +
                   countOf(std::size_t(pages), "page", "pages") + "." + nothing;
    }
    return std::nullopt;
}

std::string restoreQuestion(const Package& wad, const TextureSetResult& changes,
                            const std::vector<int>& otherGeometryMeshes) {
    std::string text = "Restore the texture set over this package?\r\nIt changes ";
    if (!changes.changedSamples.empty())
        text += countOf(changes.changedSamples.size(), "sample", "samples") + " of " +
                std::to_string(wad.texInfoCount) + (changes.changedMeshes.empty() ? "." : " and ");
    if (!changes.changedMeshes.empty())
        text += std::string(changes.changedMeshes.size() == 1 ? "mesh " : "meshes ") +
                numberList(changes.changedMeshes) + ".";
    if (!otherGeometryMeshes.empty())
        text += std::string("\r\nThe vertices or faces of ") +
                (otherGeometryMeshes.size() == 1 ? "mesh " : "meshes ") +
                numberList(otherGeometryMeshes) + " change too.";
    return text;
}

TextureSetResult restoreContent(Package& wad, std::span<const std::uint8_t> content,
                                const AskUser& ask) {
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
    Staged staged;
    try {
        staged = readContent(content);
    } catch (const Refusal& r) {
        result.messages.push_back({MessageKind::Information, r.message});
        return result;
    }
    if (const auto why = mismatch(wad, staged)) {
        result.messages.push_back({MessageKind::Error, *why});
        return result;
    }
    std::vector<int> otherGeometryMeshes;
    for (std::uint32_t i = 0; i < staged.sampleCount; ++i)
        if (!sameSample(staged.samples[i], wad.texInfos[i]))
            result.changedSamples.push_back(static_cast<int>(i));
    for (std::size_t i = 0; i < staged.meshes.size(); ++i) {
        if (sameMesh(staged.meshes[i], wad.meshes[i]))
            continue;
        result.changedMeshes.push_back(static_cast<int>(i));
        if (otherGeometry(staged.meshes[i], wad.meshes[i]))
            otherGeometryMeshes.push_back(static_cast<int>(i));
    }
    if (result.changedSamples.empty() && result.changedMeshes.empty()) {
        result.messages.push_back({MessageKind::Information,
                                   "The texture set equals this package's samples and "
                                   "meshes. Nothing was restored."});
        return result;
    }
    const UserQuestion question{MessageKind::Confirmation,
                                restoreQuestion(wad, result, otherGeometryMeshes),
                                UserQuestion::Buttons::YesNo};
    if (!ask || !ask(question)) {
        result.changedSamples.clear();
        result.changedMeshes.clear();
        return result;
    }
    apply(wad, staged);
    result.ok = true;
    result.sampleCount = staged.sampleCount;
    result.meshCount = static_cast<std::uint16_t>(staged.meshes.size());
    result.contentSize = content.size();
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

TextureSetResult restoreTextureSet(Package& wad, const std::filesystem::path& file,
                                   const AskUser& ask) {
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
    result = restoreContent(wad, in.content(), ask);
    in.close(false);
    return result;
}

TextureSetResult restoreTextureSetFromBytes(Package& wad, std::span<const std::uint8_t> fileBytes,
                                            const AskUser& ask) {
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
    return restoreContent(wad, content, ask);
}

} // namespace kavlen
