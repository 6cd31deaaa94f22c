#include "interchange/line_tokens.h"
#include "interchange/mqo_document.h"
#include "interchange/text_numbers.h"

#include <cstdlib>
#include <functional>
#include <memory>

namespace kavlen {

namespace {

Message plain(std::string text) {
    return {MessageKind::Information, std::move(text)};
}

struct FaceWords {
    std::uint16_t texture = 0;
    std::uint16_t attributes = 0;
};

// Texture word and attributes of a face from its material name.
FaceWords decodeMaterial(const MqoDocument& model, const MqoFace& face, std::uint32_t texInfoCount,
                         bool staticImport) {
    std::string name = "0_0_0";
    if (face.material >= 0 && std::size_t(face.material) < model.materials.size())
        name = model.materials[std::size_t(face.material)];
    LineTokens parts = materialNameParts(name);
    if (parts.count() != 3)
        parts = materialNameParts("0_0_0");
    int t = parseInteger(parts.token(0)).value_or(0);
    if (std::abs(t) > 4095 || std::abs(t) > static_cast<long long>(texInfoCount) - 1)
        t = 0;
    int r = parseInteger(parts.token(1)).value_or(0);
    if (r != 0 && r != 2 && r != 4 && r != 6)
        r = 0;
    int a = parseInteger(parts.token(2)).value_or(0);
    if (a < 0 || a > 127)
        a = 0;
    if (!(a & kAttrShine) || staticImport)
        a &= kAttrTransparent;
    FaceWords words;
    words.attributes = static_cast<std::uint16_t>(a);
    const bool mirrored = t < 0;
    if (face.vertexCount == 4)
        words.texture = static_cast<std::uint16_t>(mirrored ? -std::abs(t) : std::abs(t));
    else
        words.texture =
            static_cast<std::uint16_t>((mirrored ? 0x8000 : 0) | (r << 12) | std::abs(t));
    return words;
}

// Objects that go into the mesh: visible, with at least one vertex and one face.
bool copied(const MqoObject& o) {
    return o.isVisible() && !o.vertices.empty() && !o.faces.empty();
}

ImportResult importModel(Package& wad, int slot, const MqoDocument& model,
                         const ImportOptions& options, ImportResult result) {
    std::size_t visible = 0, visibleVertices = 0, vertices = 0, faces = 0;
    for (const MqoObject& o : model.objects) {
        if (!o.isVisible())
            continue;
        ++visible;
        visibleVertices += o.vertices.size();
        if (copied(o)) {
            vertices += o.vertices.size();
            faces += o.faces.size();
        }
    }
    if (visible == 0) {
        result.messages.push_back(plain("No visible objects"));
        return result;
    }
    if (visible > 1)
        result.messages.push_back(plain("More than one visible object"));
    if (vertices == 0) {
        result.messages.push_back(plain(visibleVertices == 0 ? "No vertices" : "No faces"));
        return result;
    }
    if (vertices > kMaxMeshVertices) {
        result.messages.push_back(plain("Too many vertices " + std::to_string(vertices)));
        return result;
    }
    if (faces > kMaxMeshVertices) {
        result.messages.push_back(plain("Too many faces " + std::to_string(faces)));
        return result;
    }

    auto mesh = std::make_unique<Mesh>(wad.meshes[std::size_t(slot)]);
    mesh->vertexCount = static_cast<std::uint16_t>(vertices);
    mesh->normalCount = static_cast<std::int16_t>(vertices);
    mesh->faceCount = static_cast<std::int16_t>(faces);
    std::size_t b = 0, c = 0;
    for (const MqoObject& o : model.objects) {
        if (!copied(o))
            continue;
        for (std::size_t k = 0; k < o.vertices.size(); ++k) {
            const MqoVertex& v = o.vertices[k];
            const float xyz[3] = {-v.x, -v.y, v.z};
            std::int16_t out[3];
            for (int i = 0; i < 3; ++i) {
                const auto coordinate = meshCoordinate(xyz[i]);
                if (!coordinate) {
                    result.messages.push_back(plain(coordinateOutOfRangeMessage(
                        formatFixed(i == 2 ? xyz[i] : -xyz[i], 4), xyz[i])));
                    return result;
                }
                out[i] = *coordinate;
            }
            mesh->vertices[b + k] = {out[0], out[1], out[2]};
            mesh->normals[b + k] = {};
        }
        for (std::size_t j = 0; j < o.faces.size(); ++j) {
            const MqoFace& in = o.faces[j];
            MeshFace& face = mesh->faces[c + j];
            for (int k = 0; k < in.vertexCount; ++k) {
                const int index = in.vertexIndex[std::size_t(k)];
                if (index < 0 || std::size_t(index) >= o.vertices.size()) {
                    result.messages.push_back(
                        plain("Face " + std::to_string(j) + " of object \"" + o.name +
                              "\" uses vertex " + std::to_string(index) + ", but the object has " +
                              std::to_string(o.vertices.size()) + " vertices."));
                    return result;
                }
                face.vertexIndex[std::size_t(k)] =
                    static_cast<std::uint16_t>(b + std::size_t(index));
            }
            const FaceWords words = decodeMaterial(model, in, wad.texInfoCount, !options.moveable);
            face.shape = in.vertexCount == 4 ? kShapeQuad : kShapeTriangle;
            face.texture = words.texture;
            face.attributes = words.attributes;
            face.visible = 1;
        }
        b += o.vertices.size();
        c += o.faces.size();
    }
    finishImportedLighting(*mesh, options);
    wad.meshes[std::size_t(slot)] = *mesh;
    result.imported = true;
    result.vertexCount = mesh->vertexCount;
    result.faceCount = mesh->faceCount;
    return result;
}

ImportResult importLoaded(Package& wad, int slot, const ImportOptions& options,
                          const std::function<Messages(int&, MqoDocument&)>& load) {
    ImportResult result;
    if (!meshForInterchange(wad, slot, result.messages))
        return result;
    MqoDocument model;
    int lineCount = 0;
    try {
        Messages notices = load(lineCount, model);
        result.messages.insert(result.messages.end(), notices.begin(), notices.end());
    } catch (const MqoParseError& e) {
        result.messages.push_back(plain("Error reading file near line #" +
                                        std::to_string(lineCount) + "\r\n\r\n" + e.message));
        return result;
    } catch (const ConversionError& e) {
        result.messages.push_back(plain("Error reading file near line #" +
                                        std::to_string(lineCount) + "\r\n\r\n" + e.message));
        return result;
    }
    if (model.objects.empty())
        return result;
    return importModel(wad, slot, model, options, std::move(result));
}

} // namespace

ImportResult importMqoBytes(Package& wad, int slot, std::string_view bytes,
                            const ImportOptions& options) {
    return importLoaded(wad, slot, options, [bytes](int& lineCount, MqoDocument& model) {
        return loadMqo(bytes, lineCount, model);
    });
}

ImportResult importMqo(Package& wad, int slot, const std::filesystem::path& file,
                       const ImportOptions& options) {
    return importLoaded(wad, slot, options, [&file](int& lineCount, MqoDocument& model) {
        return loadMqoFile(file, lineCount, model);
    });
}

} // namespace kavlen
