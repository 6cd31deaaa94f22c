#include "interchange/dxf.h"
#include "interchange/sorted_string_list.h"
#include "interchange/text_lines.h"
#include "interchange/text_numbers.h"

#include <array>
#include <cstdlib>
#include <memory>
#include <unordered_map>

namespace kavlen {

namespace {

struct Point {
    std::int16_t x = 0, y = 0, z = 0;
    bool operator==(const Point&) const = default;
    std::uint64_t key() const {
        return (std::uint64_t(std::uint16_t(x)) << 32) | (std::uint64_t(std::uint16_t(y)) << 16) |
               std::uint16_t(z);
    }
};

struct Polygon {
    std::array<Point, 4> corners{};
    std::uint16_t texture = 0;
    std::uint16_t attributes = 0;
    std::uint16_t shape = kShapeTriangle;
};

// A refusal of the import with the message to show.
struct Refusal {
    Message message;
};

std::int16_t scaledCoordinate(std::string_view text, double factor) {
    const double value = realOrThrow(text) * factor;
    const auto c = meshCoordinate(value);
    if (!c)
        throw Refusal{
            {MessageKind::Information, coordinateOutOfRangeMessage(trimText(text), value)}};
    return *c;
}

// The fourth "_"-separated field of a name, empty when missing.
std::string_view fourthField(std::string_view name) {
    for (int field = 1; field < 4; ++field) {
        const std::size_t at = name.find('_');
        if (at == std::string_view::npos)
            return {};
        name.remove_prefix(at + 1);
    }
    return name.substr(0, name.find('_'));
}

class DxfReader {
  public:
    DxfReader(std::string_view text, std::uint32_t texInfoCount, bool staticImport)
        : lines_(text), texInfoCount_(texInfoCount), static_(staticImport) {}

    void read() {
        std::string_view lastValue = readLayers();
        if (!lines_.atEnd())
            readEntities(lastValue);
    }

    const std::vector<Polygon>& polygons() const { return polygons_; }

  private:
    std::string_view next() { return lines_.next(); }
    int nextCode() { return integerOrThrow(next()); }

    // Reads the layer table; returns the last value line read.
    std::string_view readLayers() {
        std::string_view value;
        while (!lines_.atEnd() && trimText(value) != "ENTITIES") {
            const std::string_view code = next();
            value = next();
            if (code == "  0" && trimText(value) == "LAYER") {
                std::string name;
                for (;;) {
                    const int c = nextCode();
                    value = next();
                    if (c == 2)
                        name = std::string(value);
                    else if (c == 62)
                        realOrThrow(value);
                    if (c == 6)
                        break;
                }
                if (layers_.find(name) == -1)
                    layers_.add(name, parseDxfLayer(name, texInfoCount_, static_));
            }
        }
        return value;
    }

    void readEntities(std::string_view current) {
        for (;;) {
            if (trimText(current) == "3DFACE") {
                current = readFace();
                continue;
            }
            if (lines_.atEnd())
                return;
            current = next();
        }
    }

    // Reads one 3DFACE up to its group 0; returns the next entity's type.
    std::string_view readFace() {
        Polygon p;
        int fourthGroups = 0;
        for (;;) {
            const int code = nextCode();
            const std::string_view value = next();
            if (code == 0) {
                finishFace(p, fourthGroups);
                return value;
            }
            if (code == 8) {
                const int at = layers_.find(value);
                const DxfLayer layer =
                    at >= 0 ? layers_.record(at) : parseDxfLayer(value, texInfoCount_, static_);
                p.texture = layer.packedWord();
                p.attributes = layer.attribute;
            } else if (code >= 10 && code <= 13) {
                p.corners[std::size_t(code - 10)].x = scaledCoordinate(value, 100.0);
            } else if (code >= 20 && code <= 23) {
                p.corners[std::size_t(code - 20)].z = scaledCoordinate(value, -100.0);
            } else if (code >= 30 && code <= 33) {
                p.corners[std::size_t(code - 30)].y = scaledCoordinate(value, -100.0);
            }
            if (code == 13 || code == 23 || code == 33)
                ++fourthGroups;
        }
    }

    void finishFace(Polygon& p, int fourthGroups) {
        if (fourthGroups != 3)
            p.corners[3] = p.corners[2];
        p.shape = p.corners[3] == p.corners[2] ? kShapeTriangle : kShapeQuad;
        if (polygons_.size() < kDxfMaxPolygons)
            polygons_.push_back(p);
    }

    TextLines lines_;
    std::uint32_t texInfoCount_;
    bool static_;
    SortedStringList<DxfLayer> layers_;
    std::vector<Polygon> polygons_;
};

// The texture word of a face from its layer's packed word.
std::uint16_t faceTextureWord(const Polygon& p) {
    TextureWordInfo info = decodeTextureWord(p.texture);
    if (p.shape == kShapeQuad) {
        // A mirrored quad stores minus the sample; sample 0 cannot carry the sign.
        if (!info.mirrored || info.index == 0)
            return info.index;
        return static_cast<std::uint16_t>(-int(info.index));
    }
    static constexpr std::uint8_t kCornerOfCode[5] = {0, 0, 4, 6, 2};
    info.corner = info.corner <= 4 ? kCornerOfCode[info.corner] : 0;
    return encodeTextureWord(info);
}

} // namespace

DxfLayer parseDxfLayer(std::string_view name, std::uint32_t texInfoCount, bool staticImport) {
    DxfLayer layer;
    layer.mirrored = upperAscii(name.substr(0, 6)) == "FLIPED";
    const auto sample = parseInteger(name.size() > 7 ? name.substr(7, 4) : std::string_view());
    if (sample && *sample >= 0 && std::uint32_t(*sample) < texInfoCount)
        layer.sample = static_cast<std::uint16_t>(*sample);
    if (name.size() > 12 && name[12] >= '0' && name[12] <= '4')
        layer.cornerCode = static_cast<std::uint16_t>(name[12] - '0');
    int attribute = parseInteger(fourthField(name)).value_or(0);
    attribute = std::min(std::abs(attribute), 127);
    if (!(attribute & kAttrShine) || staticImport)
        attribute &= kAttrTransparent;
    layer.attribute = static_cast<std::uint16_t>(attribute);
    return layer;
}

ImportResult importDxfText(Package& wad, int slot, std::string_view text,
                           const ImportOptions& options) {
    ImportResult result;
    const Mesh* target = meshForInterchange(wad, slot, result.messages);
    if (!target)
        return result;

    DxfReader reader(text, wad.texInfoCount, !options.moveable);
    try {
        reader.read();
    } catch (const ConversionError& e) {
        result.messages.push_back({MessageKind::Error, e.message});
        return result;
    } catch (const Refusal& r) {
        result.messages.push_back(r.message);
        return result;
    }

    // Welding: corners with identical coordinates become one vertex.
    const std::vector<Polygon>& polygons = reader.polygons();
    std::vector<Point> points;
    std::unordered_map<std::uint64_t, std::uint16_t> pointIndex;
    std::vector<std::array<std::uint16_t, 4>> faceIndices(polygons.size());
    for (std::size_t f = 0; f < polygons.size(); ++f) {
        for (std::size_t k = 0; k < 4; ++k) {
            const Point& c = polygons[f].corners[k];
            const auto [it, added] =
                pointIndex.try_emplace(c.key(), static_cast<std::uint16_t>(points.size()));
            if (added) {
                if (points.size() < kDxfMaxPoints) {
                    points.push_back(c);
                } else {
                    pointIndex.erase(it);
                    faceIndices[f][k] = 0;
                    continue;
                }
            }
            faceIndices[f][k] = it->second;
        }
    }
    if (points.size() > kMaxMeshVertices) {
        result.messages.push_back(
            {MessageKind::Information, "Number of vertices(=" + std::to_string(points.size()) +
                                           ") exceeds mesh limit of 1500"});
        return result;
    }
    if (polygons.size() > kMaxMeshVertices) {
        result.messages.push_back(
            {MessageKind::Information, "Number of polys (=" + std::to_string(polygons.size()) +
                                           ") exceeds mesh limit of 1500"});
        return result;
    }

    // Build the new mesh apart and copy it in only when it is complete.
    auto mesh = std::make_unique<Mesh>(*target);
    mesh->faceCount = static_cast<std::int16_t>(polygons.size());
    for (std::size_t f = 0; f < polygons.size(); ++f) {
        MeshFace& face = mesh->faces[f];
        const Polygon& p = polygons[f];
        face.shape = p.shape;
        const int corners = p.shape == kShapeQuad ? 4 : 3;
        for (int k = 0; k < corners; ++k)
            face.vertexIndex[std::size_t(k)] = faceIndices[f][std::size_t(k)];
        face.texture = faceTextureWord(p);
        face.attributes = p.attributes;
        face.visible = 1;
    }
    mesh->vertexCount = static_cast<std::uint16_t>(points.size());
    mesh->normalCount = static_cast<std::int16_t>(points.size());
    for (std::size_t k = 0; k < points.size(); ++k) {
        mesh->vertices[k] = {points[k].x, points[k].y, points[k].z};
        mesh->normals[k] = {};
    }
    finishImportedLighting(*mesh, options);
    wad.meshes[std::size_t(slot)] = *mesh;
    result.imported = true;
    result.vertexCount = mesh->vertexCount;
    result.faceCount = mesh->faceCount;
    return result;
}

ImportResult importDxf(Package& wad, int slot, const std::filesystem::path& file,
                       const ImportOptions& options) {
    ImportResult result;
    if (!meshForInterchange(wad, slot, result.messages))
        return result;
    std::string text, message;
    if (!readTextFile(file, text, message)) {
        result.messages.push_back({MessageKind::Error, message});
        return result;
    }
    return importDxfText(wad, slot, text, options);
}

} // namespace kavlen
