#include "interchange/obj_material_name.h"
#include "interchange/obj_mesh_builder.h"
#include "interchange/polygon_split.h"
#include "interchange/text_numbers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <unordered_map>

namespace kavlen {

namespace {

int cornersOf(std::uint16_t shape) {
    return shape == kShapeQuad ? 4 : 3;
}

Message plain(std::string text) {
    return {MessageKind::Information, std::move(text)};
}

// One face of the new mesh before it is stored: file corners in mesh order.
struct PendingFace {
    std::uint16_t shape = kShapeTriangle;
    std::array<int, 4> corner{}; // into ObjModel::corners
    std::uint16_t texture = 0;
    std::uint16_t attributes = 0;
};

// Sample rectangles of the package by page and edges, for texture coordinates.
class SampleFinder {
  public:
    explicit SampleFinder(const Package& wad) {
        const std::uint32_t count = std::min<std::uint32_t>(wad.texInfoCount, kMaxTexInfos);
        for (std::uint32_t s = count; s-- > 0;) {
            const TexInfo& t = wad.texInfos[s];
            samples_[key(t.page, t.x, t.y, t.x + t.width + 1, t.y + t.height + 1)] = int(s);
        }
    }

    // The texture word of a face whose corners (mesh order) have these texture
    // coordinates on page `page`, or nothing when they match no sample.
    std::optional<std::uint16_t> match(int page, const std::vector<ObjTexCoord>& uv) const {
        std::vector<double> xs, ys;
        for (const ObjTexCoord& c : uv) {
            xs.push_back(c.u * 256.0);
            ys.push_back((1.0 - c.v) * 256.0);
        }
        const double left = std::round(*std::min_element(xs.begin(), xs.end()));
        const double right = std::round(*std::max_element(xs.begin(), xs.end()));
        const double top = std::round(*std::min_element(ys.begin(), ys.end()));
        const double bottom = std::round(*std::max_element(ys.begin(), ys.end()));
        if (!(left >= 0 && top >= 0 && right <= 256 && bottom <= 256 && right > left &&
              bottom > top))
            return std::nullopt;
        const auto found = samples_.find(key(page, int(left), int(top), int(right), int(bottom)));
        if (found == samples_.end())
            return std::nullopt;
        std::vector<TextureWordInfo::UV> pairs;
        for (std::size_t k = 0; k < uv.size(); ++k) {
            const auto near = [](double a, double b) { return std::fabs(a - b) <= 0.5; };
            const bool l = near(xs[k], left), r = near(xs[k], right);
            const bool t = near(ys[k], top), b = near(ys[k], bottom);
            if (l == r || t == b)
                return std::nullopt;
            pairs.push_back({std::uint8_t(r ? 1 : 0), std::uint8_t(b ? 1 : 0)});
        }
        const int sample = found->second;
        if (uv.size() == 4) {
            using P = std::vector<TextureWordInfo::UV>;
            if (pairs == P{{0, 0}, {1, 0}, {1, 1}, {0, 1}})
                return std::uint16_t(sample);
            if (pairs == P{{1, 0}, {0, 0}, {0, 1}, {1, 1}})
                return std::uint16_t(-sample);
            return std::nullopt;
        }
        for (int corner = 0; corner < 8; corner += 2) {
            for (const bool mirrored : {false, true}) {
                TextureWordInfo info;
                info.index = std::uint16_t(sample);
                info.corner = std::uint8_t(corner);
                info.mirrored = mirrored;
                const std::uint16_t word = encodeTextureWord(info);
                const TextureWordInfo decoded = decodeTextureWord(word);
                if (std::equal(pairs.begin(), pairs.end(), decoded.pairs.begin()))
                    return word;
            }
        }
        return std::nullopt;
    }

  private:
    static std::uint64_t key(int page, int left, int top, int right, int bottom) {
        return (std::uint64_t(std::uint32_t(page)) << 36) | (std::uint64_t(left) << 27) |
               (std::uint64_t(top) << 18) | (std::uint64_t(right) << 9) | std::uint64_t(bottom);
    }
    std::unordered_map<std::uint64_t, int> samples_;
};

// Counts of what the import changed, for its one message.
struct Changes {
    std::size_t facesRead = 0;
    std::size_t split = 0, splitTriangles = 0;
    std::size_t dropped = 0;
    std::size_t unmatched = 0;     // textured faces whose coordinates match no sample
    std::size_t missingSample = 0; // names of samples the package does not have
    std::size_t otherShape = 0;    // a quad's name on a triangle or the other way

    std::optional<Message> notice() const {
        std::vector<std::string> parts;
        const auto n = [](std::size_t count, const char* one, const char* many) {
            return std::to_string(count) + " " + (count == 1 ? one : many);
        };
        if (split)
            parts.push_back(n(split, "face", "faces") + " of 5 or more points " +
                            (split == 1 ? "was" : "were") + " split into " +
                            n(splitTriangles, "triangle", "triangles"));
        if (dropped)
            parts.push_back(n(dropped, "face", "faces") + " of fewer than 3 points " +
                            (dropped == 1 ? "was" : "were") + " dropped");
        if (unmatched)
            parts.push_back(n(unmatched, "textured face gets", "textured faces get") +
                            " sample 0: their texture coordinates match no sample of their page");
        if (missingSample)
            parts.push_back(n(missingSample, "face names", "faces name") +
                            " a sample the package does not have and " +
                            (missingSample == 1 ? "gets" : "get") + " sample 0");
        if (otherShape)
            parts.push_back(n(otherShape, "face has", "faces have") +
                            " a material written for the other shape (triangle or quad)");
        if (parts.empty())
            return std::nullopt;
        std::string text = std::to_string(facesRead) + " faces read: ";
        for (std::size_t i = 0; i < parts.size(); ++i)
            text += (i ? "; " : "") + parts[i];
        return plain(text + ".");
    }
};

struct Builder {
    const Package& wad;
    const ObjModel& model;
    const ObjMeshSource& source;
    std::optional<SampleFinder> finder;
    Changes changes;

    // Texture word and attributes of a face (corners in mesh order) from its material.
    void dress(PendingFace& face, const ObjFace& from) {
        const bool quad = face.shape == kShapeQuad;
        if (from.material < 0)
            return;
        const std::string& name = model.usedMaterials[std::size_t(from.material)];
        if (const auto words = parseObjMaterialName(name)) {
            if (words->quad != quad)
                ++changes.otherShape;
            ObjFaceWords w = *words;
            if (w.sample >= wad.texInfoCount) {
                ++changes.missingSample;
                w.sample = 0;
            }
            face.texture = w.textureWord(quad);
            face.attributes = w.attributes;
            return;
        }
        const ObjMaterial* material = model.materialOf(from);
        if (!material || material->diffuseMap.empty())
            return;
        const std::optional<int> page = pageOfPictureName(material->diffuseMap);
        std::vector<ObjTexCoord> uv;
        for (int k = 0; k < cornersOf(face.shape); ++k) {
            const int t = model.corners[std::size_t(face.corner[std::size_t(k)])].texCoord;
            if (t < 0)
                break;
            uv.push_back(model.texCoords[std::size_t(t)]);
        }
        std::optional<std::uint16_t> word;
        if (page && *page < wad.pageCount() && uv.size() == std::size_t(cornersOf(face.shape))) {
            if (!finder)
                finder.emplace(wad);
            word = finder->match(*page, uv);
        }
        if (word)
            face.texture = *word;
        else
            ++changes.unmatched;
    }
};

// Order of the new faces: faces equal to one of the slot's faces (same corner
// positions in the same order) take that face's place, the rest follow in file
// order. A round trip through a program that regroups faces keeps their order.
void keepFaceOrder(std::vector<PendingFace>& faces, const std::vector<MeshVertex>& points,
                   const std::vector<int>& meshIndexOfVertex, const ObjModel& model,
                   const Mesh& base) {
    using Key = std::array<std::int64_t, 5>;
    const auto pack = [](const MeshVertex& v) {
        return (std::int64_t(v.x) + 32768) << 32 | (std::int64_t(v.y) + 32768) << 16 |
               (std::int64_t(v.z) + 32768);
    };
    std::map<Key, std::vector<int>> old;
    const int oldCount = std::clamp<int>(base.faceCount, 0, int(kMaxMeshVertices));
    for (int f = oldCount; f-- > 0;) {
        const MeshFace& face = base.faces[std::size_t(f)];
        Key key{face.shape, 0, 0, 0, -1};
        bool valid = true;
        for (int k = 0; k < face.cornerCount(); ++k) {
            const std::uint16_t v = face.vertexIndex[std::size_t(k)];
            valid = valid && v < base.vertexCount && v < kMaxMeshVertices;
            if (valid)
                key[std::size_t(k + 1)] = pack(base.vertices[v]);
        }
        if (valid)
            old[key].push_back(f); // last pushed = lowest index
    }
    std::vector<std::pair<int, std::size_t>> order;
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const PendingFace& face = faces[i];
        Key key{face.shape, 0, 0, 0, -1};
        for (int k = 0; k < cornersOf(face.shape); ++k) {
            const int v = model.corners[std::size_t(face.corner[std::size_t(k)])].vertex;
            key[std::size_t(k + 1)] = pack(points[std::size_t(meshIndexOfVertex[std::size_t(v)])]);
        }
        int place = oldCount + int(i);
        if (const auto it = old.find(key); it != old.end() && !it->second.empty()) {
            place = it->second.back();
            it->second.pop_back();
        }
        order.push_back({place, i});
    }
    std::sort(order.begin(), order.end());
    std::vector<PendingFace> sorted;
    sorted.reserve(faces.size());
    for (const auto& [place, i] : order)
        sorted.push_back(faces[i]);
    faces = std::move(sorted);
}

// Moveable lighting takes the file's normals when every corner names one and
// each vertex has one normal (as exported); otherwise the averaged normals stay.
void takeFileNormals(Mesh& mesh, const std::vector<PendingFace>& faces,
                     const std::vector<int>& meshIndexOfVertex, const ObjModel& model) {
    std::vector<int> normalOf(mesh.vertexCount, -1);
    // Files that number normals like vertices (as exported) give unused vertices
    // their normals too.
    bool alike = model.normals.size() == model.vertices.size();
    for (const ObjCorner& c : model.corners)
        alike = alike && c.normal == c.vertex;
    for (std::size_t v = 0; alike && v < meshIndexOfVertex.size(); ++v)
        if (meshIndexOfVertex[v] >= 0)
            normalOf[std::size_t(meshIndexOfVertex[v])] = int(v);
    for (const PendingFace& face : faces) {
        for (int k = 0; k < cornersOf(face.shape); ++k) {
            const ObjCorner& c = model.corners[std::size_t(face.corner[std::size_t(k)])];
            if (c.normal < 0)
                return;
            int& mine = normalOf[std::size_t(meshIndexOfVertex[std::size_t(c.vertex)])];
            if (mine >= 0 && mine != c.normal) {
                const ObjVector& a = model.normals[std::size_t(mine)];
                const ObjVector& b = model.normals[std::size_t(c.normal)];
                if (a.x != b.x || a.y != b.y || a.z != b.z)
                    return;
            }
            mine = c.normal;
        }
    }
    const auto component = [](double value) {
        return static_cast<std::int16_t>(std::clamp(std::lround(value * 16300.0), -32768L, 32767L));
    };
    for (std::size_t k = 0; k < normalOf.size(); ++k) {
        if (normalOf[k] < 0)
            continue;
        const ObjVector& n = model.normals[std::size_t(normalOf[k])];
        if (!std::isfinite(n.x) || !std::isfinite(n.y) || !std::isfinite(n.z))
            return;
    }
    for (std::size_t k = 0; k < normalOf.size(); ++k) {
        if (normalOf[k] < 0)
            continue;
        const ObjVector& n = model.normals[std::size_t(normalOf[k])];
        mesh.normals[k] = {component(n.x), component(-n.y), component(-n.z)};
    }
}

} // namespace

std::optional<int> pageOfPictureName(std::string_view fileName) {
    const std::size_t slash = fileName.find_last_of("/\\");
    if (slash != std::string_view::npos)
        fileName.remove_prefix(slash + 1);
    const std::size_t dot = fileName.rfind('.');
    std::string stem = lowerAscii(fileName.substr(0, dot));
    std::size_t digits = stem.size();
    while (digits > 0 && stem[digits - 1] >= '0' && stem[digits - 1] <= '9')
        --digits;
    if (digits == stem.size() || stem.size() - digits > 4 || digits < 4 ||
        stem.compare(digits - 4, 4, "page") != 0)
        return std::nullopt;
    return std::stoi(stem.substr(digits));
}

ObjMeshBuild meshFromObj(const Package& wad, const Mesh& base, const ObjMeshSource& source,
                         const ImportOptions& options) {
    ObjMeshBuild build;
    const ObjModel& model = *source.model;
    const auto chosen = [&](const ObjFace& f) {
        return source.object < 0 || f.object == source.object;
    };
    const std::string empty =
        source.fileLabel + " holds no faces that can be imported; the mesh was not changed.";

    // The vertices of the new mesh: every vertex of the file, or those of the section.
    std::vector<int> vertexOrder;
    if (source.object < 0) {
        vertexOrder.resize(model.vertices.size());
        for (std::size_t i = 0; i < vertexOrder.size(); ++i)
            vertexOrder[i] = int(i);
    } else {
        bool own = true;
        std::vector<char> used(model.vertices.size(), 0);
        for (const ObjFace& f : model.faces) {
            if (!chosen(f))
                continue;
            for (int k = 0; k < f.cornerCount; ++k) {
                const int v = model.corners[f.firstCorner + std::size_t(k)].vertex;
                used[std::size_t(v)] = 1;
                own = own && model.vertices[std::size_t(v)].object == source.object;
            }
        }
        for (std::size_t i = 0; i < model.vertices.size(); ++i)
            if (own ? model.vertices[i].object == source.object : used[i] != 0)
                vertexOrder.push_back(int(i));
    }

    // Count before splitting anything: a huge polygon is refused in linear time.
    std::size_t faceTotal = 0, read = 0;
    for (const ObjFace& f : model.faces) {
        if (!chosen(f))
            continue;
        ++read;
        if (f.cornerCount >= 3)
            faceTotal += f.cornerCount > 4 ? std::size_t(f.cornerCount - 2) : 1;
    }
    if (faceTotal == 0) {
        build.refusal = empty;
        return build;
    }
    if (vertexOrder.size() > kMaxMeshVertices) {
        build.refusal = "Too many vertices " + std::to_string(vertexOrder.size());
        return build;
    }
    if (faceTotal > kMaxMeshVertices) {
        build.refusal = "Too many faces " + std::to_string(faceTotal);
        return build;
    }

    std::vector<int> meshIndex(model.vertices.size(), -1);
    std::vector<MeshVertex> points;
    for (const int v : vertexOrder) {
        const ObjVertex& p = model.vertices[std::size_t(v)];
        const double file[3] = {p.x, p.y, p.z};
        const double turned[3] = {p.x - source.offset[0], -p.y - source.offset[1],
                                  -p.z - source.offset[2]};
        std::int16_t out[3];
        for (int i = 0; i < 3; ++i) {
            const auto c = meshCoordinate(turned[i]);
            if (!c) {
                build.refusal = coordinateOutOfRangeMessage(formatFixed(file[i], 4), turned[i]);
                return build;
            }
            out[i] = *c;
        }
        meshIndex[std::size_t(v)] = int(points.size());
        points.push_back({out[0], out[1], out[2]});
    }

    Builder builder{wad, model, source, std::nullopt, {}};
    builder.changes.facesRead = read;
    std::vector<PendingFace> faces;
    for (const ObjFace& f : model.faces) {
        if (!chosen(f))
            continue;
        const int n = f.cornerCount;
        const int first = int(f.firstCorner);
        if (n < 3) {
            ++builder.changes.dropped;
            continue;
        }
        // Reversed winding: file (a, b, c) becomes (c, b, a), (a, b, c, d) becomes (c, b, a, d).
        const auto add = [&](int a, int b, int c, int d) {
            PendingFace face;
            face.shape = d < 0 ? kShapeTriangle : kShapeQuad;
            face.corner = {c, b, a, d < 0 ? c : d};
            builder.dress(face, f);
            faces.push_back(face);
        };
        if (n <= 4) {
            add(first, first + 1, first + 2, n == 4 ? first + 3 : -1);
            continue;
        }
        std::vector<Point3> polygon;
        for (int k = 0; k < n; ++k) {
            const ObjVertex& p =
                model.vertices[std::size_t(model.corners[std::size_t(first + k)].vertex)];
            polygon.push_back({p.x, p.y, p.z});
        }
        const auto triangles = splitPolygon(polygon);
        for (const auto& t : triangles)
            add(first + int(t[0]), first + int(t[1]), first + int(t[2]), -1);
        ++builder.changes.split;
        builder.changes.splitTriangles += triangles.size();
    }
    keepFaceOrder(faces, points, meshIndex, model, base);

    auto mesh = std::make_unique<Mesh>(base);
    for (std::size_t k = 0; k < points.size(); ++k) {
        mesh->vertices[k] = points[k];
        mesh->normals[k] = {};
    }
    mesh->vertexCount = static_cast<std::uint16_t>(points.size());
    mesh->normalCount = static_cast<std::int16_t>(points.size());
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const PendingFace& in = faces[i];
        MeshFace& face = mesh->faces[i];
        face.shape = in.shape;
        const int corners = cornersOf(in.shape);
        for (int k = 0; k < corners; ++k) {
            const int v = model.corners[std::size_t(in.corner[std::size_t(k)])].vertex;
            face.vertexIndex[std::size_t(k)] =
                static_cast<std::uint16_t>(meshIndex[std::size_t(v)]);
        }
        face.texture = in.texture;
        face.attributes = in.attributes;
        face.visible = 1;
    }
    mesh->faceCount = static_cast<std::int16_t>(faces.size());
    finishImportedLighting(*mesh, options);
    if (options.moveable)
        takeFileNormals(*mesh, faces, meshIndex, model);
    // Vertex colours of a static import become its shades (white is full light).
    const bool coloured =
        !vertexOrder.empty() && std::all_of(vertexOrder.begin(), vertexOrder.end(), [&](int v) {
            return model.vertices[std::size_t(v)].hasColour;
        });
    if (!options.moveable && coloured) {
        for (std::size_t k = 0; k < vertexOrder.size(); ++k) {
            const ObjVertex& p = model.vertices[std::size_t(vertexOrder[k])];
            const double light = std::clamp((double(p.r) + p.g + p.b) / 3.0, 0.0, 1.0);
            mesh->shades[k] = static_cast<std::int16_t>(std::lround((1.0 - light) * 8191.0));
        }
    }
    build.mesh = std::move(mesh);
    build.notice = builder.changes.notice();
    return build;
}

namespace {

template <typename Load>
ImportResult importLoaded(Package& wad, int slot, const ImportOptions& options,
                          const std::string& fileLabel, Load load) {
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
    ObjMeshSource source;
    source.model = &model;
    source.fileLabel = fileLabel;
    ObjMeshBuild build = meshFromObj(wad, wad.meshes[std::size_t(slot)], source, options);
    if (!build.mesh) {
        result.messages.push_back(plain(build.refusal));
        return result;
    }
    wad.meshes[std::size_t(slot)] = *build.mesh;
    result.imported = true;
    result.vertexCount = build.mesh->vertexCount;
    result.faceCount = build.mesh->faceCount;
    if (build.notice)
        result.messages.push_back(*build.notice);
    return result;
}

} // namespace

ImportResult importObjText(Package& wad, int slot, std::string_view text,
                           const MtlSource& materials, const ImportOptions& options) {
    return importLoaded(wad, slot, options, "The file",
                        [&](ObjModel& model) { return loadObjText(text, model, materials); });
}

ImportResult importObj(Package& wad, int slot, const std::filesystem::path& file,
                       const ImportOptions& options) {
    return importLoaded(wad, slot, options, file.filename().string(),
                        [&](ObjModel& model) { return loadObj(file, model); });
}

} // namespace kavlen
