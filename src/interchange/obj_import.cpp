#include "interchange/obj_model.h"
#include "interchange/text_numbers.h"

#include <memory>

namespace kavlen {

namespace {

Message plain(std::string text) {
    return {MessageKind::Information, std::move(text)};
}

// Why the model cannot become a mesh, or an empty string.
std::string refusal(const ObjModel& model) {
    const std::size_t v = model.vertices.size();
    if (v == 0)
        return "No vertices";
    if (v > kMaxMeshVertices)
        return "Too many vertices " + std::to_string(v);
    std::size_t f = 0;
    for (const ObjGroup& g : model.groups)
        f += g.faces.size();
    if (f == 0)
        return "No faces";
    if (f > kMaxMeshVertices)
        return "Too many faces " + std::to_string(f);
    for (const ObjGroup& g : model.groups)
        for (const ObjFace& face : g.faces)
            if (face.vertexCount > 4)
                return "Object contains faces with more than 4 points.\r"
                       "Triangulate these faces in your modelling program.";
    for (const ObjGroup& g : model.groups)
        for (const ObjFace& face : g.faces)
            if (face.vertexCount < 3)
                return "Object contains faces with fewer than 3 points.";
    for (const ObjGroup& g : model.groups)
        for (const ObjFace& face : g.faces)
            for (const int index : face.vertexIndex)
                if (index < 0)
                    return "OBJ contains negative face indices";
    std::size_t number = 0;
    for (const ObjGroup& g : model.groups) {
        for (const ObjFace& face : g.faces) {
            ++number;
            for (const int index : face.vertexIndex)
                if (index == 0 || std::size_t(index) > v)
                    return "Face " + std::to_string(number) + " uses vertex " +
                           std::to_string(index) + ", but the file has " + std::to_string(v) +
                           " vertices.";
        }
    }
    return {};
}

ImportResult importModel(Package& wad, int slot, const ObjModel& model,
                         const ImportOptions& options, ImportResult result) {
    if (const std::string why = refusal(model); !why.empty()) {
        result.messages.push_back(plain(why));
        return result;
    }
    auto mesh = std::make_unique<Mesh>(wad.meshes[std::size_t(slot)]);
    const std::size_t v = model.vertices.size();
    for (std::size_t k = 0; k < v; ++k) {
        const ObjVector& p = model.vertices[k];
        const float file[3] = {p.x, p.y, p.z};
        const float turned[3] = {p.x, -p.y, -p.z};
        std::int16_t out[3];
        for (int i = 0; i < 3; ++i) {
            const auto c = meshCoordinate(turned[i]);
            if (!c) {
                result.messages.push_back(
                    plain(coordinateOutOfRangeMessage(formatFixed(file[i], 4), turned[i])));
                return result;
            }
            out[i] = *c;
        }
        mesh->vertices[k] = {out[0], out[1], out[2]};
        mesh->normals[k] = {};
    }
    mesh->vertexCount = static_cast<std::uint16_t>(v);
    mesh->normalCount = static_cast<std::int16_t>(v);
    std::size_t f = 0;
    for (const ObjGroup& g : model.groups) {
        for (const ObjFace& in : g.faces) {
            MeshFace& face = mesh->faces[f++];
            const auto index = [&in](int k) {
                return static_cast<std::uint16_t>(in.vertexIndex[std::size_t(k)] - 1);
            };
            face.visible = 1;
            face.texture = 0;
            face.attributes = 0;
            // Reversed winding: (c, b, a) and (c, b, a, d).
            face.vertexIndex[0] = index(2);
            face.vertexIndex[1] = index(1);
            face.vertexIndex[2] = index(0);
            if (in.vertexCount == 4) {
                face.vertexIndex[3] = index(3);
                face.shape = kShapeQuad;
            } else {
                face.shape = kShapeTriangle;
            }
        }
    }
    mesh->faceCount = static_cast<std::int16_t>(f);
    finishImportedLighting(*mesh, options);
    wad.meshes[std::size_t(slot)] = *mesh;
    result.imported = true;
    result.vertexCount = mesh->vertexCount;
    result.faceCount = mesh->faceCount;
    return result;
}

template <typename Load>
ImportResult importLoaded(Package& wad, int slot, const ImportOptions& options, Load load) {
    ImportResult result;
    if (!meshForInterchange(wad, slot, result.messages))
        return result;
    ObjModel model;
    try {
        Messages notices = load(model);
        result.messages.insert(result.messages.end(), notices.begin(), notices.end());
    } catch (const ConversionError& e) {
        result.messages.push_back(
            plain("OBJ importer unable to load file.\r\rError message is:\r" + e.message));
        return result;
    }
    return importModel(wad, slot, model, options, std::move(result));
}

} // namespace

ImportResult importObjText(Package& wad, int slot, std::string_view text,
                           const MtlSource& materials, const ImportOptions& options) {
    return importLoaded(wad, slot, options,
                        [&](ObjModel& model) { return loadObjText(text, model, materials); });
}

ImportResult importObj(Package& wad, int slot, const std::filesystem::path& file,
                       const ImportOptions& options) {
    return importLoaded(wad, slot, options, [&](ObjModel& model) { return loadObj(file, model); });
}

} // namespace kavlen
