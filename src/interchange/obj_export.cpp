#include "interchange/obj_export.h"

#include "document/safe_write.h"
#include "interchange/obj_material_name.h"
#include "interchange/text_numbers.h"
#include "textures/png_writer.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace kavlen {

namespace {

// A number as short as it reads back exactly: integers without a point.
std::string objNumber(double value) {
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return formatFixed(value == 0 ? 0.0 : value, 0);
    std::string text = formatFixed(value, 6);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    return text == "-0" ? "0" : text;
}

constexpr std::array<TextureWordInfo::UV, 4> kQuadPairs{{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
constexpr std::array<TextureWordInfo::UV, 4> kMirroredQuadPairs{{{1, 0}, {0, 0}, {0, 1}, {1, 1}}};

std::string pictureName(const std::string& stem, int page) {
    return stem + "_page" + std::to_string(page) + ".png";
}

} // namespace

std::string objObjectName(int slot) {
    return "Mesh_" + std::to_string(slot);
}

ObjFiles buildObj(const Package& wad, const std::vector<ObjExportPart>& parts,
                  const std::string& stem) {
    ObjFiles files;
    std::string& o = files.obj;
    const auto line = [&o](const std::string& text) { o += text + "\r\n"; };
    line("# Kavlen OBJ export: material names carry each face's texture word and attributes");
    line("mtllib " + stem + ".mtl");

    std::map<std::string, int> materialPage; // -1: no picture
    std::map<std::string, bool> materialTransparent;
    std::map<std::pair<double, double>, int> texCoords;
    std::size_t vertexBase = 0, normalBase = 0;
    for (const ObjExportPart& part : parts) {
        const Mesh& mesh = wad.meshes[std::size_t(part.slot)];
        const int vertexCount = std::min<int>(mesh.vertexCount, int(kMaxMeshVertices));
        const int faceCount = std::clamp<int>(mesh.faceCount, 0, int(kMaxMeshVertices));
        line("o " + part.objectName);
        const bool shaded = mesh.normalCount < 0 && -mesh.normalCount == mesh.vertexCount;
        for (int k = 0; k < vertexCount; ++k) {
            const MeshVertex& v = mesh.vertices[std::size_t(k)];
            std::string text = "v " + objNumber(v.x + part.offset[0]) + " " +
                               objNumber(-(v.y + part.offset[1])) + " " +
                               objNumber(-(v.z + part.offset[2]));
            if (shaded) {
                // Static shades as grey vertex colours: white is full light.
                const double light =
                    1.0 - std::clamp<int>(mesh.shades[std::size_t(k)], 0, 8191) / 8191.0;
                const std::string grey = formatFixed(light, 6);
                text += " " + grey + " " + grey + " " + grey;
            }
            line(text);
        }
        const bool normals = mesh.normalCount > 0 && mesh.normalCount == mesh.vertexCount;
        if (normals) {
            for (int k = 0; k < vertexCount; ++k) {
                const MeshNormal& n = mesh.normals[std::size_t(k)];
                line("vn " + objNumber(std::round(n.x / 16300.0 * 1e6) / 1e6) + " " +
                     objNumber(std::round(-n.y / 16300.0 * 1e6) / 1e6) + " " +
                     objNumber(std::round(-n.z / 16300.0 * 1e6) / 1e6));
            }
        }
        std::string current;
        for (int f = 0; f < faceCount; ++f) {
            const MeshFace& face = mesh.faces[std::size_t(f)];
            const int corners = face.cornerCount();
            const std::string material = objMaterialName(face);
            const int sample = faceSampleIndex(face);
            int page = -1;
            if (sample > 0 && std::uint32_t(sample) < wad.texInfoCount &&
                wad.texInfos[std::size_t(sample)].page < wad.pageCount())
                page = wad.texInfos[std::size_t(sample)].page;
            materialPage.emplace(material, page);
            materialTransparent.emplace(material, (face.attributes & kAttrTransparent) != 0);
            if (material != current) {
                line("usemtl " + material);
                current = material;
            }
            // Sample corners of the face's corners in mesh order.
            std::array<TextureWordInfo::UV, 4> pairs{};
            if (face.isQuad()) {
                pairs = faceMirrored(face) ? kMirroredQuadPairs : kQuadPairs;
            } else {
                const TextureWordInfo info = decodeTextureWord(face.texture);
                std::copy(info.pairs.begin(), info.pairs.end(), pairs.begin());
            }
            // File order reverses the winding: (c, b, a) and (c, b, a, d).
            const int order[4] = {2, 1, 0, 3};
            std::string text = "f";
            for (int i = 0; i < corners; ++i) {
                const int k = order[i];
                const std::uint16_t v = face.vertexIndex[std::size_t(k)];
                text += " " + std::to_string(vertexBase + v + 1);
                std::string tail;
                if (page >= 0) {
                    const TexInfo& t = wad.texInfos[std::size_t(sample)];
                    const double u = (t.x + pairs[std::size_t(k)].u * (t.width + 1)) / 256.0;
                    const double w = 1.0 - (t.y + pairs[std::size_t(k)].v * (t.height + 1)) / 256.0;
                    const auto [it, added] =
                        texCoords.try_emplace({u, w}, int(texCoords.size() + 1));
                    if (added)
                        line("vt " + objNumber(u) + " " + objNumber(w));
                    tail = "/" + std::to_string(it->second);
                }
                if (normals)
                    text += (tail.empty() ? "/" : tail) + "/" + std::to_string(normalBase + v + 1);
                else
                    text += tail;
            }
            line(text);
            ++files.faceCount;
        }
        vertexBase += std::size_t(vertexCount);
        if (normals)
            normalBase += std::size_t(vertexCount);
    }

    std::set<int> pages;
    std::string& m = files.mtl;
    m = "# Kavlen OBJ export: one material per texture word and attribute word\r\n";
    for (const auto& [name, page] : materialPage) {
        m += "\r\nnewmtl " + name + "\r\nKd 1 1 1\r\n";
        if (materialTransparent[name])
            m += "d 0.5\r\n";
        if (page >= 0) {
            m += "map_Kd " + pictureName(stem, page) + "\r\n";
            pages.insert(page);
        }
    }
    files.pages.assign(pages.begin(), pages.end());
    files.materialCount = materialPage.size();
    return files;
}

ExportResult writeObjFiles(const Package& wad, const std::vector<ObjExportPart>& parts,
                           const std::filesystem::path& file) {
    ExportResult result;
    const std::string stem = file.stem().string();
    const ObjFiles files = buildObj(wad, parts, stem);
    const std::filesystem::path folder = file.parent_path();
    const auto fail = [&result](const WriteResult& w) {
        result.messages.push_back({MessageKind::Error, w.message});
        return result;
    };
    for (const int page : files.pages) {
        const std::vector<std::uint8_t> png = encodePagePng(wad, page);
        const WriteResult w = writeFileSafely(folder / pictureName(stem, page), std::span(png));
        if (!w.ok)
            return fail(w);
    }
    if (const WriteResult w =
            writeFileSafely(folder / (stem + ".mtl"), std::string_view(files.mtl));
        !w.ok)
        return fail(w);
    if (const WriteResult w = writeFileSafely(file, std::string_view(files.obj)); !w.ok)
        return fail(w);
    result.written = true;
    result.faceCount = files.faceCount;
    result.nameCount = files.materialCount;
    return result;
}

ExportResult exportObj(const Package& wad, int slot, const std::filesystem::path& file) {
    ExportResult result;
    if (!meshForInterchange(wad, slot, result.messages))
        return result;
    return writeObjFiles(wad, {{slot, {0, 0, 0}, objObjectName(slot)}}, file);
}

} // namespace kavlen
