#include "interchange/dxf.h"
#include "interchange/imported_model.h"
#include "interchange/text_lines.h"
#include "interchange/text_numbers.h"

#include <array>
#include <cmath>
#include <unordered_map>

namespace kavlen {

namespace {

// One group code and its value.
struct Pair {
    int code = 0;
    std::string_view value;
};

// A drawing that ends before its EOF marker.
struct CutShort {};

// The pairs of an ASCII drawing up to its EOF marker (what follows it is not read).
std::vector<Pair> readPairs(std::string_view text) {
    std::vector<Pair> pairs;
    TextLines lines(text);
    while (!lines.atEnd()) {
        const std::string_view codeLine = lines.next();
        if (lines.atEnd() && trimText(codeLine).empty())
            break;
        const int code = integerOrThrow(codeLine);
        const std::string_view value = trimText(lines.next());
        if (code == 0 && value == "EOF")
            return pairs;
        pairs.push_back({code, value});
    }
    throw CutShort{};
}

// An affine map of drawing coordinates: rows of a 3 x 4 matrix.
struct Transform {
    std::array<std::array<double, 4>, 3> m{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}}};

    std::array<double, 3> apply(const std::array<double, 3>& p) const {
        std::array<double, 3> out{};
        for (int r = 0; r < 3; ++r)
            out[r] = m[r][0] * p[0] + m[r][1] * p[1] + m[r][2] * p[2] + m[r][3];
        return out;
    }
    // This map after `inner`.
    Transform after(const Transform& inner) const {
        Transform t;
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c) {
                double v = c == 3 ? m[r][3] : 0;
                for (int k = 0; k < 3; ++k)
                    v += m[r][k] * inner.m[k][c];
                t.m[r][c] = v;
            }
        return t;
    }
};

struct Block {
    std::size_t begin = 0, end = 0; // its entities' pairs
    std::array<double, 3> base{};
};

// Entity expansions allowed for blocks that insert one another (guards against
// drawings whose inserts multiply without end).
constexpr std::size_t kMaxEntityVisits = 10'000'000;
constexpr int kMaxInsertDepth = 16;

struct TooManyInserts {};

// The texture word of a face from its layer's packed word.
std::uint16_t quadTextureWord(std::uint16_t packed) {
    const TextureWordInfo info = decodeTextureWord(packed);
    // A mirrored quad stores minus the sample; sample 0 cannot carry the sign.
    if (!info.mirrored || info.index == 0)
        return info.index;
    return static_cast<std::uint16_t>(-int(info.index));
}

std::uint16_t triangleTextureWord(std::uint16_t packed) {
    TextureWordInfo info = decodeTextureWord(packed);
    static constexpr std::uint8_t kCornerOfCode[5] = {0, 0, 4, 6, 2};
    info.corner = info.corner <= 4 ? kCornerOfCode[info.corner] : 0;
    return encodeTextureWord(info);
}

class DxfReader {
  public:
    DxfReader(std::string_view text, std::uint32_t texInfoCount, bool staticImport)
        : pairs_(readPairs(text)), texInfoCount_(texInfoCount), static_(staticImport) {}

    ImportedModel read() {
        model_.weld = true;
        model_.keepTargetOrder = true;
        model_.limitWording = ImportedModel::LimitWording::Dxf;
        bool hasEntities = false;
        std::size_t entitiesBegin = 0, entitiesEnd = 0;
        for (std::size_t i = 0; i < pairs_.size(); ++i) {
            if (!isEntity(i, "SECTION") || i + 1 >= pairs_.size() || pairs_[i + 1].code != 2)
                continue;
            const std::string_view name = pairs_[i + 1].value;
            std::size_t end = i + 2;
            while (end < pairs_.size() && !isEntity(end, "ENDSEC"))
                ++end;
            if (name == "BLOCKS")
                readBlocks(i + 2, end);
            else if (name == "ENTITIES") {
                hasEntities = true;
                entitiesBegin = i + 2;
                entitiesEnd = end;
            }
            i = end;
        }
        if (hasEntities)
            walk(entitiesBegin, entitiesEnd, Transform{}, {}, 0);
        model_.facesRead = facesRead_;
        model_.changes.fewerThanThreePoints(fewerThanThree_);
        model_.changes.add(missingVertex_,
                           "face of a polyface mesh naming a missing vertex was left out",
                           "faces of polyface meshes naming missing vertices were left out");
        if (model_.faces.empty())
            model_.holds = holdsText(hasEntities);
        return std::move(model_);
    }

  private:
    bool isEntity(std::size_t i, std::string_view type) const {
        return pairs_[i].code == 0 && pairs_[i].value == type;
    }

    // End of the entity starting at `i`: the next group 0.
    std::size_t entityEnd(std::size_t i, std::size_t end) const {
        std::size_t j = i + 1;
        while (j < end && pairs_[j].code != 0)
            ++j;
        return j;
    }

    void readBlocks(std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            if (!isEntity(i, "BLOCK"))
                continue;
            const std::size_t header = entityEnd(i, end);
            std::string name;
            Block block;
            for (std::size_t j = i + 1; j < header; ++j) {
                const Pair& p = pairs_[j];
                if (p.code == 2)
                    name = p.value;
                else if (p.code == 10 || p.code == 20 || p.code == 30)
                    block.base[std::size_t(p.code / 10 - 1)] = realOrThrow(p.value);
            }
            std::size_t j = header;
            while (j < end && !isEntity(j, "ENDBLK"))
                ++j;
            block.begin = header;
            block.end = j;
            blocks_.try_emplace(std::move(name), block);
            i = j;
        }
    }

    void noteType(std::string_view type) {
        for (const std::string& t : seenTypes_)
            if (t == type)
                return;
        seenTypes_.emplace_back(type);
    }

    // Walks the entities of pairs [begin, end) under `place`; entities on layer
    // "0" inside a block take the inserting entity's layer.
    void walk(std::size_t begin, std::size_t end, const Transform& place,
              std::string_view inheritedLayer, int depth) {
        std::size_t i = begin;
        while (i < end && pairs_[i].code != 0)
            ++i;
        while (i < end) {
            if (++visits_ > kMaxEntityVisits)
                throw TooManyInserts{};
            const std::string_view type = pairs_[i].value;
            std::size_t next = entityEnd(i, end);
            if (paperSpace(i, next)) {
                i = next;
                continue;
            }
            if (type == "3DFACE") {
                readFace(i + 1, next, place, inheritedLayer);
            } else if (type == "POLYLINE") {
                next = readPolyline(i, end, place, inheritedLayer);
            } else if (type == "INSERT") {
                next = readInsert(i, end, place, inheritedLayer, depth);
            } else if (!type.empty()) {
                noteType(type);
            }
            i = next;
        }
    }

    bool paperSpace(std::size_t i, std::size_t next) const {
        for (std::size_t j = i + 1; j < next; ++j)
            if (pairs_[j].code == 67 && parseInteger(pairs_[j].value).value_or(0) == 1)
                return true;
        return false;
    }

    std::string_view layerName(std::string_view name, std::string_view inherited) const {
        return name == "0" && !inherited.empty() ? inherited : name;
    }

    const DxfLayer& layer(std::string_view name) {
        auto it = layers_.find(std::string(name));
        if (it == layers_.end())
            it = layers_.emplace(std::string(name), parseDxfLayer(name, texInfoCount_, static_))
                     .first;
        return it->second;
    }

    // A drawing point in the mesh's axes at scale 1.
    std::uint32_t addPoint(const Transform& place, const std::array<double, 3>& p) {
        const std::array<double, 3> q = place.apply(p);
        model_.vertices.push_back({100.0 * q[0], -100.0 * q[2], -100.0 * q[1]});
        return static_cast<std::uint32_t>(model_.vertices.size() - 1);
    }

    void addFace(const std::array<std::uint32_t, 4>& corners, std::string_view layerText) {
        ++facesRead_;
        if (model_.faces.size() >= kDxfMaxPolygons)
            return;
        const DxfLayer& l = layer(layerText);
        ImportedFace face;
        face.corners = 4;
        face.vertex = corners;
        face.texture = quadTextureWord(l.packedWord());
        face.triangleWhenClosed = true;
        face.triangleTexture = triangleTextureWord(l.packedWord());
        face.attributes = l.attribute;
        model_.faces.push_back(face);
    }

    void readFace(std::size_t begin, std::size_t end, const Transform& place,
                  std::string_view inherited) {
        if (model_.faces.size() >= kDxfMaxPolygons) {
            ++facesRead_; // counted for the refusal, not kept
            return;
        }
        std::array<std::array<double, 3>, 4> c{};
        int fourthGroups = 0;
        std::string_view layerText;
        for (std::size_t j = begin; j < end; ++j) {
            const Pair& p = pairs_[j];
            if (p.code == 8)
                layerText = p.value;
            else if (p.code >= 10 && p.code <= 33 && p.code % 10 <= 3 && p.code / 10 <= 3) {
                c[std::size_t(p.code % 10)][std::size_t(p.code / 10 - 1)] = realOrThrow(p.value);
                if (p.code % 10 == 3)
                    ++fourthGroups;
            }
        }
        std::array<std::uint32_t, 4> corners{};
        for (int k = 0; k < 3; ++k)
            corners[k] = addPoint(place, c[k]);
        corners[3] = fourthGroups == 3 ? addPoint(place, c[3]) : corners[2];
        addFace(corners, layerName(layerText, inherited));
    }

    // A POLYLINE with its VERTEX entities up to SEQEND; returns the pair after it.
    std::size_t readPolyline(std::size_t i, std::size_t end, const Transform& place,
                             std::string_view inherited) {
        const std::size_t header = entityEnd(i, end);
        int flags = 0;
        std::string_view polylineLayer;
        for (std::size_t j = i + 1; j < header; ++j) {
            if (pairs_[j].code == 70)
                flags = parseInteger(pairs_[j].value).value_or(0);
            else if (pairs_[j].code == 8)
                polylineLayer = pairs_[j].value;
        }
        const bool polyface = (flags & 64) != 0;
        if (!polyface)
            noteType("POLYLINE");
        std::vector<std::uint32_t> points; // the polyface's vertices, numbered from 1
        std::size_t j = header;
        while (j < end && isEntity(j, "VERTEX")) {
            const std::size_t next = entityEnd(j, end);
            if (polyface)
                readPolyfaceVertex(j + 1, next, place, points, layerName(polylineLayer, inherited),
                                   inherited);
            j = next;
        }
        if (j < end && isEntity(j, "SEQEND"))
            j = entityEnd(j, end);
        return j;
    }

    void readPolyfaceVertex(std::size_t begin, std::size_t end, const Transform& place,
                            std::vector<std::uint32_t>& points, std::string_view polylineLayer,
                            std::string_view inherited) {
        std::array<double, 3> p{};
        std::array<long long, 4> index{};
        int flags = 0;
        std::string_view layerText = polylineLayer;
        for (std::size_t j = begin; j < end; ++j) {
            const Pair& q = pairs_[j];
            if (q.code == 8)
                layerText = layerName(q.value, inherited);
            else if (q.code == 10 || q.code == 20 || q.code == 30)
                p[std::size_t(q.code / 10 - 1)] = realOrThrow(q.value);
            else if (q.code == 70)
                flags = parseInteger(q.value).value_or(0);
            else if (q.code >= 71 && q.code <= 74)
                index[std::size_t(q.code - 71)] = integerOrThrow(q.value);
        }
        if (flags & 64) { // a vertex of the mesh (flags 192)
            points.push_back(addPoint(place, p));
            return;
        }
        // A face record: 1-based indices, negative where the edge is hidden; 0 ends
        // the list.
        std::vector<std::uint32_t> corners;
        for (const long long k : index) {
            if (k == 0)
                break;
            const long long at = k < 0 ? -k : k;
            if (at > static_cast<long long>(points.size())) {
                ++facesRead_;
                ++missingVertex_;
                return;
            }
            corners.push_back(points[std::size_t(at - 1)]);
        }
        if (corners.size() < 3) {
            ++facesRead_;
            ++fewerThanThree_;
            return;
        }
        if (corners.size() == 3)
            corners.push_back(corners[2]);
        addFace({corners[0], corners[1], corners[2], corners[3]}, layerText);
    }

    // An INSERT of a block: its entities placed at the insertion point, scaled and
    // turned about Z. Attributes that follow it are skipped.
    std::size_t readInsert(std::size_t i, std::size_t end, const Transform& place,
                           std::string_view inherited, int depth) {
        const std::size_t header = entityEnd(i, end);
        std::string name;
        std::array<double, 3> at{}, scale{1, 1, 1};
        double degrees = 0;
        bool attributes = false;
        std::string_view insertLayer;
        for (std::size_t j = i + 1; j < header; ++j) {
            const Pair& p = pairs_[j];
            if (p.code == 2)
                name = p.value;
            else if (p.code == 8)
                insertLayer = p.value;
            else if (p.code == 10 || p.code == 20 || p.code == 30)
                at[std::size_t(p.code / 10 - 1)] = realOrThrow(p.value);
            else if (p.code >= 41 && p.code <= 43)
                scale[std::size_t(p.code - 41)] = realOrThrow(p.value);
            else if (p.code == 50)
                degrees = realOrThrow(p.value);
            else if (p.code == 66)
                attributes = parseInteger(p.value).value_or(0) == 1;
        }
        std::size_t next = header;
        if (attributes) {
            while (next < end && !isEntity(next, "SEQEND"))
                next = entityEnd(next, end);
            if (next < end)
                next = entityEnd(next, end);
        }
        const auto block = blocks_.find(name);
        if (block == blocks_.end() || depth >= kMaxInsertDepth)
            return next;
        const double r = degrees * 3.14159265358979323846 / 180.0;
        const double c = std::cos(r), s = std::sin(r);
        const std::array<double, 3>& base = block->second.base;
        Transform local;
        local.m = {{{c * scale[0], -s * scale[1], 0, 0},
                    {s * scale[0], c * scale[1], 0, 0},
                    {0, 0, scale[2], 0}}};
        for (int row = 0; row < 3; ++row)
            local.m[row][3] = at[row] - (local.m[row][0] * base[0] + local.m[row][1] * base[1] +
                                         local.m[row][2] * base[2]);
        walk(block->second.begin, block->second.end, place.after(local),
             layerName(insertLayer, inherited), depth + 1);
        return next;
    }

    std::string holdsText(bool hasEntities) const {
        if (!hasEntities)
            return "It has no ENTITIES section.";
        if (seenTypes_.empty())
            return "It holds no entities.";
        std::string list;
        for (std::size_t k = 0; k < seenTypes_.size(); ++k) {
            if (k > 0)
                list += k + 1 == seenTypes_.size() ? " and " : ", ";
            list += seenTypes_[k];
        }
        return "It holds only " + list + (seenTypes_.size() == 1 ? " entities." : " entities.");
    }

    std::vector<Pair> pairs_;
    std::uint32_t texInfoCount_;
    bool static_;
    std::unordered_map<std::string, Block> blocks_;
    std::unordered_map<std::string, DxfLayer> layers_;
    std::vector<std::string> seenTypes_;
    ImportedModel model_;
    std::size_t facesRead_ = 0, fewerThanThree_ = 0, missingVertex_ = 0, visits_ = 0;
};

bool isBinaryDxf(std::string_view text) {
    return text.starts_with("AutoCAD Binary DXF");
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
    // The fourth "_"-separated field; widened so that the minimum int has a size.
    std::string_view field = name;
    for (int k = 1; k < 4 && !field.empty(); ++k) {
        const std::size_t at = field.find('_');
        field = at == std::string_view::npos ? std::string_view() : field.substr(at + 1);
    }
    const long long value = parseInteger(field.substr(0, field.find('_'))).value_or(0);
    int attribute = static_cast<int>(std::min<long long>(value < 0 ? -value : value, 127));
    if (!(attribute & kAttrShine) || staticImport)
        attribute &= kAttrTransparent;
    layer.attribute = static_cast<std::uint16_t>(attribute);
    return layer;
}

ImportResult importDxfText(Package& wad, int slot, std::string_view text,
                           const ImportOptions& options, std::string_view fileName) {
    ImportResult result;
    if (!meshForInterchange(wad, slot, result.messages))
        return result;
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    ImportedModel model;
    if (isBinaryDxf(text)) {
        model.holds = "It is a binary DXF; save it as an ASCII DXF.";
    } else {
        try {
            model = DxfReader(text, wad.texInfoCount, !options.moveable).read();
        } catch (const ConversionError& e) {
            result.messages.push_back({MessageKind::Error, e.message});
            return result;
        } catch (const CutShort&) {
            result.messages.push_back(
                {MessageKind::Error, std::string(fileName) +
                                         " ends before its EOF marker (it may be cut short); "
                                         "the mesh was not changed."});
            return result;
        } catch (const TooManyInserts&) {
            result.messages.push_back(
                {MessageKind::Error, std::string(fileName) +
                                         " inserts its blocks into one another too often to be "
                                         "read; the mesh was not changed."});
            return result;
        }
    }
    return placeImportedModel(wad, slot, model, options, fileName);
}

ImportResult importDxf(Package& wad, int slot, const std::filesystem::path& file,
                       const ImportOptions& options) {
    ImportResult result;
    if (!meshForInterchange(wad, slot, result.messages))
        return result;
    std::string text, message;
    if (!readTextFile(file, text, message, kDxfMaxFileBytes)) {
        result.messages.push_back({MessageKind::Error, message});
        return result;
    }
    return importDxfText(wad, slot, text, options, displayName(file));
}

} // namespace kavlen
