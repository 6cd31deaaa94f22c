#include "interchange/imported_model.h"
#include "interchange/obj_model.h"
#include "interchange/text_numbers.h"

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
                         const ImportOptions& options, ImportResult result,
                         std::string_view fileName) {
    if (const std::string why = refusal(model); !why.empty()) {
        result.messages.push_back(plain(why));
        return result;
    }
    // The file's (x, y, z) is the mesh's (x, -y, -z); faces turn the other way.
    ImportedModel imported;
    imported.keepTargetOrder = true;
    for (const ObjVector& p : model.vertices)
        imported.vertices.push_back({p.x, -double(p.y), -double(p.z)});
    for (const ObjGroup& g : model.groups) {
        for (const ObjFace& in : g.faces) {
            ImportedFace face;
            face.corners = static_cast<std::uint8_t>(in.vertexCount);
            const auto index = [&in](int k) {
                return static_cast<std::uint32_t>(in.vertexIndex[std::size_t(k)] - 1);
            };
            face.vertex = {index(2), index(1), index(0), 0};
            if (in.vertexCount == 4)
                face.vertex[3] = index(3);
            imported.faces.push_back(face);
        }
    }
    ImportResult placed = placeImportedModel(wad, slot, imported, options, fileName);
    result.messages.insert(result.messages.end(), placed.messages.begin(), placed.messages.end());
    placed.messages = std::move(result.messages);
    return placed;
}

template <typename Load>
ImportResult importLoaded(Package& wad, int slot, const ImportOptions& options,
                          std::string_view fileName, Load load) {
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
    return importModel(wad, slot, model, options, std::move(result), fileName);
}

} // namespace

ImportResult importObjText(Package& wad, int slot, std::string_view text,
                           const MtlSource& materials, const ImportOptions& options) {
    return importLoaded(wad, slot, options, "The model",
                        [&](ObjModel& model) { return loadObjText(text, model, materials); });
}

ImportResult importObj(Package& wad, int slot, const std::filesystem::path& file,
                       const ImportOptions& options) {
    return importLoaded(wad, slot, options, displayName(file),
                        [&](ObjModel& model) { return loadObj(file, model); });
}

} // namespace kavlen
