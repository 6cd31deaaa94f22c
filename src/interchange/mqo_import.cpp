#include "interchange/imported_model.h"
#include "interchange/line_tokens.h"
#include "interchange/mqo_document.h"
#include "interchange/polygon_split.h"
#include "interchange/text_numbers.h"
#include "interchange/zip_member.h"

#include <cmath>
#include <functional>

namespace kavlen {

namespace {

Message refusal(std::string text) {
    return {MessageKind::Error, std::move(text)};
}

struct FaceWords {
    std::uint16_t quad = 0;     // texture word of a quad
    std::uint16_t triangle = 0; // of a triangle
    std::uint16_t attributes = 0;
};

// Texture words and attributes of a face from its material name. The numbers are
// widened before their sign is taken, so that the smallest int has a magnitude.
FaceWords decodeMaterial(const MqoDocument& model, int material, std::uint32_t texInfoCount,
                         bool staticImport) {
    std::string name = "0_0_0";
    if (material >= 0 && std::size_t(material) < model.materials.size())
        name = model.materials[std::size_t(material)];
    LineTokens parts = materialNameParts(name);
    if (parts.count() != 3)
        parts = materialNameParts("0_0_0");
    const long long t = parseInteger(parts.token(0)).value_or(0);
    long long sample = t < 0 ? -t : t;
    bool mirrored = t < 0;
    if (sample > 4095 || sample > static_cast<long long>(texInfoCount) - 1) {
        sample = 0;
        mirrored = false;
    }
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
    words.quad = static_cast<std::uint16_t>(mirrored ? -sample : sample);
    words.triangle = static_cast<std::uint16_t>((mirrored ? 0x8000 : 0) | (r << 12) | sample);
    return words;
}

// Objects that go into the mesh: visible, with at least one vertex and one face.
bool copied(const MqoObject& o) {
    return o.isVisible() && !o.vertices.empty() && !o.faces.empty();
}

// The axis sets an object is mirrored across: none (the object itself), then, for
// a mirror object, every combination of its mirror axes (bit 0 x, 1 y, 2 z).
std::vector<int> mirrorCopies(const MqoObject& o) {
    std::vector<int> copies{0};
    const int axes = o.mirror != 0 ? (o.mirrorAxis & 7) : 0;
    for (int mask = 1; mask < 8; ++mask)
        if ((mask & axes) == mask)
            copies.push_back(mask);
    return copies;
}

std::size_t meshFacesOf(const MqoFace& f) {
    if (f.vertexCount < 3)
        return 0;
    return f.vertexCount <= 4 ? 1 : std::size_t(f.vertexCount) - 2;
}

class ModelBuilder {
  public:
    ModelBuilder(const MqoDocument& document, std::uint32_t texInfoCount, bool staticImport)
        : document_(document), texInfoCount_(texInfoCount), static_(staticImport) {}

    // Adds one object with its mirror copies; false after a refusal.
    bool add(const MqoObject& o, Messages& messages) {
        for (std::size_t j = 0; j < o.faces.size(); ++j)
            for (const int index : o.faces[j].vertexIndex)
                if (index < 0 || std::size_t(index) >= o.vertices.size()) {
                    messages.push_back(refusal("Face " + std::to_string(j) + " of object \"" +
                                               o.name + "\" uses vertex " + std::to_string(index) +
                                               ", but the object has " +
                                               std::to_string(o.vertices.size()) + " vertices."));
                    return false;
                }
        for (const MqoFace& f : o.faces) {
            ++model_.facesRead;
            if (f.vertexCount < 3)
                ++fewer_;
            else if (f.vertexCount > 4)
                ++split_;
        }
        for (const int mask : mirrorCopies(o))
            addCopy(o, mask);
        return true;
    }

    ImportedModel finish() {
        model_.changes.splitIntoTriangles(split_);
        model_.changes.fewerThanThreePoints(fewer_);
        return std::move(model_);
    }

  private:
    // The object mirrored across the axes in `mask` (none for the object itself).
    // In a connected mirror (mirror 2) points within mirror_dis of the mirror
    // plane are shared by both halves.
    void addCopy(const MqoObject& o, int mask) {
        std::vector<std::uint32_t> id(o.vertices.size());
        const std::uint32_t base = static_cast<std::uint32_t>(model_.vertices.size());
        const bool connected = o.mirror == 2;
        const double reach = std::max(0.0, double(o.mirrorDis));
        for (std::size_t k = 0; k < o.vertices.size(); ++k) {
            double p[3] = {o.vertices[k].x, o.vertices[k].y, o.vertices[k].z};
            bool onPlane = mask != 0;
            for (int a = 0; a < 3; ++a)
                if (mask & (1 << a)) {
                    onPlane = onPlane && std::fabs(p[a]) <= reach;
                    p[a] = -p[a];
                }
            if (connected && onPlane) {
                id[k] = originalBase_ + std::uint32_t(k);
                continue;
            }
            id[k] = static_cast<std::uint32_t>(model_.vertices.size());
            model_.vertices.push_back({-p[0], -p[1], p[2]});
        }
        if (mask == 0)
            originalBase_ = base;
        const bool reversed = (((mask & 1) != 0) + ((mask & 2) != 0) + ((mask & 4) != 0)) % 2 == 1;
        for (const MqoFace& f : o.faces) {
            if (f.vertexCount < 3)
                continue;
            std::vector<std::uint32_t> corners;
            corners.reserve(std::size_t(f.vertexCount));
            for (const int index : f.vertexIndex)
                corners.push_back(id[std::size_t(index)]);
            if (reversed)
                std::reverse(corners.begin(), corners.end());
            const FaceWords words = decodeMaterial(document_, f.material, texInfoCount_, static_);
            if (corners.size() <= 4) {
                addFace(corners, corners.size() == 4 ? words.quad : words.triangle,
                        words.attributes);
                continue;
            }
            std::vector<Point3> points;
            points.reserve(corners.size());
            for (const std::uint32_t c : corners)
                points.push_back(model_.vertices[c]);
            for (const auto& t : splitPolygon(points))
                addFace({corners[t[0]], corners[t[1]], corners[t[2]]}, words.triangle,
                        words.attributes);
        }
    }

    void addFace(const std::vector<std::uint32_t>& corners, std::uint16_t texture,
                 std::uint16_t attributes) {
        ImportedFace face;
        face.corners = static_cast<std::uint8_t>(corners.size());
        for (std::size_t k = 0; k < corners.size(); ++k)
            face.vertex[k] = corners[k];
        face.texture = texture;
        face.attributes = attributes;
        model_.faces.push_back(face);
    }

    const MqoDocument& document_;
    std::uint32_t texInfoCount_;
    bool static_;
    ImportedModel model_;
    std::uint32_t originalBase_ = 0;
    std::size_t split_ = 0, fewer_ = 0;
};

ImportResult importModel(Package& wad, int slot, const MqoDocument& document,
                         const ImportOptions& options, std::string_view fileName,
                         ImportResult result) {
    std::size_t visible = 0, meshFaces = 0;
    for (const MqoObject& o : document.objects) {
        if (!o.isVisible())
            continue;
        ++visible;
        if (!copied(o))
            continue;
        std::size_t faces = 0;
        for (const MqoFace& f : o.faces)
            faces += meshFacesOf(f);
        meshFaces += faces * mirrorCopies(o).size();
    }
    if (visible > 1)
        result.messages.push_back({MessageKind::Information, "More than one visible object"});
    // Refused before any face is split, so that no polygon is split in vain.
    if (meshFaces > kMaxMeshVertices) {
        result.messages.push_back(refusal("Too many faces " + std::to_string(meshFaces)));
        return result;
    }
    ModelBuilder builder(document, wad.texInfoCount, !options.moveable);
    for (const MqoObject& o : document.objects)
        if (copied(o) && !builder.add(o, result.messages))
            return result;
    ImportedModel model = builder.finish();
    if (visible == 0)
        model.holds = "It has no visible object.";
    else if (model.faces.empty())
        model.holds = "Its visible objects have no faces of 3 or more points.";
    ImportResult placed = placeImportedModel(wad, slot, model, options, fileName);
    result.messages.insert(result.messages.end(), placed.messages.begin(), placed.messages.end());
    placed.messages = std::move(result.messages);
    return placed;
}

ImportResult importLoaded(Package& wad, int slot, const ImportOptions& options,
                          std::string_view fileName,
                          const std::function<Messages(int&, MqoDocument&)>& load) {
    ImportResult result;
    if (!meshForInterchange(wad, slot, result.messages))
        return result;
    MqoDocument model;
    int lineCount = 0;
    try {
        Messages notices = load(lineCount, model);
        for (const Message& m : notices)
            if (m.kind == MessageKind::Error) {
                result.messages.push_back(m);
                return result;
            }
        result.messages.insert(result.messages.end(), notices.begin(), notices.end());
    } catch (const MqoParseError& e) {
        result.messages.push_back(refusal("Error reading file near line #" +
                                          std::to_string(lineCount) + ": expected " + e.expected +
                                          "\r\n\r\n" + e.message));
        return result;
    } catch (const ConversionError& e) {
        result.messages.push_back(refusal("Error reading file near line #" +
                                          std::to_string(lineCount) + "\r\n\r\n" + e.message));
        return result;
    }
    if (model.objects.empty()) {
        result.messages.push_back(
            refusal(noFacesMessage(fileName, "It has no vertices in visible objects.")));
        return result;
    }
    return importModel(wad, slot, model, options, fileName, std::move(result));
}

ImportResult importDocument(Package& wad, int slot, std::string_view bytes,
                            const ImportOptions& options, std::string_view fileName) {
    if (!isZipArchive(bytes))
        return importLoaded(wad, slot, options, fileName, [bytes](int& lineCount, MqoDocument& m) {
            return loadMqo(bytes, lineCount, m);
        });
    ImportResult result;
    if (!meshForInterchange(wad, slot, result.messages))
        return result;
    std::string unpacked, why;
    if (!readZipMember(bytes, ".mqo", kMqoMaxFileBytes, unpacked, why)) {
        result.messages.push_back(refusal(noFacesMessage(
            fileName, "It is a compressed Metasequoia document (.mqoz), and " + why + ".")));
        return result;
    }
    return importLoaded(wad, slot, options, fileName, [&unpacked](int& lineCount, MqoDocument& m) {
        return loadMqo(unpacked, lineCount, m);
    });
}

} // namespace

ImportResult importMqoBytes(Package& wad, int slot, std::string_view bytes,
                            const ImportOptions& options, std::string_view fileName) {
    return importDocument(wad, slot, bytes, options, fileName);
}

ImportResult importMqo(Package& wad, int slot, const std::filesystem::path& file,
                       const ImportOptions& options) {
    ImportResult result;
    if (!meshForInterchange(wad, slot, result.messages))
        return result;
    std::string bytes, message;
    if (!readTextFile(file, bytes, message, kMqoMaxFileBytes)) {
        result.messages.push_back(refusal(message));
        return result;
    }
    return importDocument(wad, slot, bytes, options, displayName(file));
}

} // namespace kavlen
