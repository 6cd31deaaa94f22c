#include "interchange/imported_model.h"

#include "document/bounds.h"
#include "interchange/text_numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <limits>
#include <map>
#include <memory>
#include <unordered_map>

namespace kavlen {

namespace {

using Point = std::array<std::int32_t, 3>; // a rounded mesh point

std::uint64_t pointKey(const Point& p) {
    return (std::uint64_t(std::uint16_t(p[0])) << 32) | (std::uint64_t(std::uint16_t(p[1])) << 16) |
           std::uint16_t(p[2]);
}

std::string numberText(double value) {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::string("?");
}

double largestSide(const ImportedModel& model) {
    if (model.vertices.empty())
        return 0;
    std::array<double, 3> low = model.vertices.front(), high = low;
    for (const auto& v : model.vertices)
        for (int a = 0; a < 3; ++a) {
            low[a] = std::min(low[a], v[a]);
            high[a] = std::max(high[a], v[a]);
        }
    return std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2]});
}

double largestCoordinate(const ImportedModel& model) {
    double largest = 0;
    for (const auto& v : model.vertices)
        for (const double c : v)
            largest = std::max(largest, std::fabs(c));
    return largest;
}

// Twice the area of a polygon's fan triangles, summed by size (zero only when
// every triangle of the fan is degenerate).
template <typename P> double fanArea(const std::array<P, 4>& c, int corners) {
    double sum = 0;
    for (int k = 1; k + 1 < corners; ++k) {
        const double e1[3] = {double(c[k][0]) - c[0][0], double(c[k][1]) - c[0][1],
                              double(c[k][2]) - c[0][2]};
        const double e2[3] = {double(c[k + 1][0]) - c[0][0], double(c[k + 1][1]) - c[0][1],
                              double(c[k + 1][2]) - c[0][2]};
        const double x = e1[1] * e2[2] - e1[2] * e2[1], y = e1[2] * e2[0] - e1[0] * e2[2],
                     z = e1[0] * e2[1] - e1[1] * e2[0];
        sum += std::sqrt(x * x + y * y + z * z);
    }
    return sum;
}

struct ScaleCheck {
    bool fits = true;
    double reach = 0;          // largest rounded coordinate, in absolute value
    std::size_t collapsed = 0; // faces with an area in the file and none in the mesh
};

ScaleCheck checkScale(const ImportedModel& model, double scale, std::vector<Point>& points) {
    ScaleCheck check;
    points.resize(model.vertices.size());
    for (std::size_t v = 0; v < model.vertices.size(); ++v) {
        for (int a = 0; a < 3; ++a) {
            const double scaled = model.vertices[v][a] * scale;
            const auto c = meshCoordinate(scaled);
            if (!c) {
                check.fits = false;
                check.reach = std::max(check.reach, std::fabs(roundHalfEven(scaled)));
                points[v][a] = 0;
            } else {
                check.reach = std::max(check.reach, std::fabs(double(*c)));
                points[v][a] = *c;
            }
        }
    }
    if (!check.fits)
        return check;
    // A face counts as having an area in the file when it is not degenerate
    // against the model's own size.
    const double side = largestSide(model) * scale;
    const double tiny = 1e-9 * side * side;
    for (const ImportedFace& f : model.faces) {
        std::array<std::array<double, 3>, 4> exact{};
        std::array<Point, 4> rounded{};
        for (int k = 0; k < f.corners; ++k) {
            for (int a = 0; a < 3; ++a)
                exact[k][a] = model.vertices[f.vertex[k]][a] * scale;
            rounded[k] = points[f.vertex[k]];
        }
        if (fanArea(exact, f.corners) > tiny && fanArea(rounded, f.corners) == 0)
            ++check.collapsed;
    }
    return check;
}

bool tooManyCollapse(const ScaleCheck& check, std::size_t faces) {
    return check.collapsed * 10 > faces;
}

// Rounded down to two significant digits.
double roundedDown(double value) {
    if (!(value > 0) || !std::isfinite(value))
        return 0;
    // Powers of ten built by multiplying are exact up to 1e22, and one division
    // by an exact power gives the double nearest the decimal (0.81, not
    // 0.8100000000000002 as a multiplication by an inexact 0.01 may give).
    const int digits = static_cast<int>(std::floor(std::log10(value))) - 1;
    double power = 1;
    for (int k = 0; k < std::min(std::abs(digits), 22); ++k)
        power *= 10;
    const double r =
        digits < 0 ? std::floor(value * power) / power : std::floor(value / power) * power;
    return r > 0 ? r : value;
}

// A scale at which the model fits and keeps its faces, or 0: the one that gives it
// the size of the current mesh (or a typical mesh size), else the largest that fits.
double suggestedScale(const ImportedModel& model, double targetSide) {
    const double side = largestSide(model), reach = largestCoordinate(model);
    if (!(side > 0) || !std::isfinite(side) || !std::isfinite(reach))
        return 0;
    constexpr double kTypicalSide = 1024;
    const double limit = 32767 / reach;
    const double preferred = (targetSide > 0 ? targetSide : kTypicalSide) / side;
    std::vector<Point> points;
    for (const double candidate : {std::min(preferred, limit), limit}) {
        const double scale = roundedDown(candidate);
        if (scale <= 0)
            continue;
        const ScaleCheck check = checkScale(model, scale, points);
        if (check.fits && !tooManyCollapse(check, model.faces.size()))
            return scale;
    }
    return 0;
}

std::string suggestion(const ImportedModel& model, double targetSide, const char* verb) {
    const double s = suggestedScale(model, targetSide);
    if (s <= 0)
        return " No scale would import it whole.";
    return " The scale " + numberText(s) + " would " + verb + ".";
}

double sideOf(const Mesh& mesh) {
    const auto box = meshExtents(mesh);
    if (!box)
        return 0;
    return std::max({double((*box)[1]) - (*box)[0], double((*box)[3]) - (*box)[2],
                     double((*box)[5]) - (*box)[4]});
}

std::string vertexLimitText(const ImportedModel& model, std::size_t count) {
    if (model.limitWording == ImportedModel::LimitWording::Dxf)
        return "Number of vertices(=" + std::to_string(count) + ") exceeds mesh limit of 1500";
    return "Too many vertices " + std::to_string(count);
}

std::string faceLimitText(const ImportedModel& model, std::size_t count) {
    if (model.limitWording == ImportedModel::LimitWording::Dxf)
        return "Number of polys (=" + std::to_string(count) + ") exceeds mesh limit of 1500";
    return "Too many faces " + std::to_string(count);
}

struct BuiltFace {
    std::uint16_t shape = kShapeTriangle;
    std::array<std::uint32_t, 4> vertex{}; // canonical vertices
    std::uint16_t texture = 0, attributes = 0;
    int corners() const { return shape == kShapeQuad ? 4 : 3; }
};

// Where a vertex of the new mesh comes from: a vertex of the replaced mesh
// (kept in its old order) or a vertex of the model (after those).
constexpr std::uint64_t kNewVertex = std::uint64_t(1) << 40;

// The new mesh's index of every canonical model vertex and of every face corner,
// keeping the replaced mesh's indices where the points match. Faces that match an
// old face corner for corner take its indices, so that vertices sharing one point
// in the old mesh stay apart. Old vertices that no face uses keep their slots
// when the model matched any vertex: files have no room for them (DXF) or other
// programs drop them (assimp), and the indices after them must not shift.
struct VertexOrder {
    std::vector<std::uint64_t> slotOfVertex;                // per model vertex (canonical ones)
    std::vector<std::array<std::uint64_t, 4>> slotOfCorner; // per face
    std::vector<std::int64_t> oldFace;  // per face: the old face it matches, or -1
    std::vector<std::uint64_t> keptOld; // old vertices without faces that stay
};

VertexOrder matchTargetOrder(const Mesh& target, const std::vector<Point>& points,
                             const std::vector<std::uint32_t>& canonical,
                             const std::vector<BuiltFace>& faces) {
    VertexOrder order;
    const std::size_t oldCount = std::min<std::size_t>(target.vertexCount, kMaxMeshVertices);
    const auto oldPoint = [&target](std::size_t i) {
        return Point{target.vertices[i].x, target.vertices[i].y, target.vertices[i].z};
    };
    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> oldByPoint;
    for (std::size_t i = 0; i < oldCount; ++i)
        oldByPoint[pointKey(oldPoint(i))].push_back(std::uint32_t(i));

    // The k-th model vertex at a point takes the k-th old vertex there.
    std::unordered_map<std::uint64_t, std::size_t> rank;
    order.slotOfVertex.assign(points.size(), 0);
    for (std::size_t v = 0; v < points.size(); ++v) {
        if (canonical[v] != v)
            continue;
        const std::uint64_t key = pointKey(points[v]);
        const std::size_t r = rank[key]++;
        const auto it = oldByPoint.find(key);
        order.slotOfVertex[v] =
            it != oldByPoint.end() && r < it->second.size() ? it->second[r] : (kNewVertex | v);
    }

    using FaceKey = std::array<std::int32_t, 13>;
    const auto faceKey = [](int corners, const std::array<Point, 4>& c) {
        FaceKey key{};
        key[0] = corners;
        for (int k = 0; k < corners; ++k)
            for (int a = 0; a < 3; ++a)
                key[1 + 3 * k + a] = c[k][a];
        return key;
    };
    std::map<FaceKey, std::deque<std::size_t>> oldFaces;
    const std::size_t oldFaceCount =
        std::clamp<std::int64_t>(target.faceCount, 0, std::int64_t(kMaxMeshVertices));
    for (std::size_t f = 0; f < oldFaceCount; ++f) {
        const MeshFace& face = target.faces[f];
        const int corners = face.shape == kShapeQuad ? 4 : 3;
        std::array<Point, 4> c{};
        bool valid = true;
        for (int k = 0; k < corners; ++k) {
            valid = valid && face.vertexIndex[k] < oldCount;
            if (valid)
                c[k] = oldPoint(face.vertexIndex[k]);
        }
        if (valid)
            oldFaces[faceKey(corners, c)].push_back(f);
    }

    order.slotOfCorner.resize(faces.size());
    order.oldFace.assign(faces.size(), -1);
    for (std::size_t f = 0; f < faces.size(); ++f) {
        const BuiltFace& face = faces[f];
        std::array<Point, 4> c{};
        for (int k = 0; k < face.corners(); ++k)
            c[k] = points[face.vertex[k]];
        const auto it = oldFaces.find(faceKey(face.corners(), c));
        for (int k = 0; k < face.corners(); ++k)
            order.slotOfCorner[f][k] = order.slotOfVertex[face.vertex[k]];
        if (it != oldFaces.end() && !it->second.empty()) {
            const MeshFace& old = target.faces[it->second.front()];
            order.oldFace[f] = std::int64_t(it->second.front());
            it->second.pop_front();
            for (int k = 0; k < face.corners(); ++k)
                order.slotOfCorner[f][k] = old.vertexIndex[k];
        }
    }

    std::vector<char> taken(oldCount, 0);
    bool matched = false;
    for (std::size_t v = 0; v < points.size(); ++v)
        if (canonical[v] == v && order.slotOfVertex[v] < oldCount) {
            taken[order.slotOfVertex[v]] = 1;
            matched = true;
        }
    if (!matched)
        return order;
    for (std::size_t f = 0; f < faces.size(); ++f)
        for (int k = 0; k < faces[f].corners(); ++k)
            if (order.slotOfCorner[f][k] < oldCount)
                taken[order.slotOfCorner[f][k]] = 1;
    for (std::size_t f = 0; f < oldFaceCount; ++f) {
        const MeshFace& face = target.faces[f];
        for (int k = 0; k < (face.shape == kShapeQuad ? 4 : 3); ++k)
            if (face.vertexIndex[k] < oldCount)
                taken[face.vertexIndex[k]] = 1; // used by a face: goes unless matched
    }
    for (std::size_t i = 0; i < oldCount; ++i)
        if (!taken[i])
            order.keptOld.push_back(i);
    return order;
}

} // namespace

std::string displayName(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    return name.empty() ? file.string() : name;
}

ImportedMesh buildImportedMesh(const Mesh& target, const ImportedModel& model,
                               const ImportOptions& options, std::string_view fileName) {
    ImportedMesh result;
    const auto refusal = [&model](std::string text) {
        return Message{model.refusalKind, std::move(text)};
    };
    result.messages = model.notices;
    if (model.faces.empty()) {
        result.messages.push_back(refusal(noFacesMessage(fileName, model.holds)));
        return result;
    }
    for (const ImportedFace& f : model.faces)
        for (int k = 0; k < f.corners; ++k)
            if (f.vertex[k] >= model.vertices.size()) {
                result.messages.push_back(refusal(
                    "A face uses vertex " + std::to_string(f.vertex[k]) + ", but " +
                    std::string(fileName) + " has " + std::to_string(model.vertices.size()) +
                    " vertices; the mesh was not changed."));
                return result;
            }

    // The scale: the user's factor, or the one that gives the model the size of
    // the mesh it replaces.
    const double targetSide = sideOf(target);
    double scale = options.scale;
    if (options.fit) {
        const double side = largestSide(model);
        if (!(targetSide > 0)) {
            result.messages.push_back(refusal(
                "The current mesh has no size to fit to; choose a scale instead. The mesh was "
                "not changed."));
            return result;
        }
        if (!(side > 0) || !std::isfinite(side)) {
            result.messages.push_back(
                refusal(std::string(fileName) + " has no size to fit; the mesh was not changed."));
            return result;
        }
        scale = targetSide / side;
    } else if (!(scale > 0) || !std::isfinite(scale)) {
        result.messages.push_back(
            refusal("The scale must be a number above 0, not " + numberText(scale) + "."));
        return result;
    }

    std::vector<Point> points;
    const ScaleCheck check = checkScale(model, scale, points);
    if (!check.fits) {
        std::string reach = check.reach < 1e15 ? formatFixed(check.reach, 0) : "beyond any range";
        result.messages.push_back(
            refusal("At scale " + numberText(scale) + " the coordinates of " +
                    std::string(fileName) + " reach " + reach +
                    ", outside the mesh range -32768 .. 32767; the mesh was not changed." +
                    suggestion(model, targetSide, "fit")));
        return result;
    }

    // Welding and the faces' final shapes.
    const std::size_t n = model.vertices.size();
    std::vector<std::uint32_t> canonical(n);
    {
        std::unordered_map<std::uint64_t, std::uint32_t> first;
        for (std::size_t v = 0; v < n; ++v)
            canonical[v] =
                model.weld ? first.try_emplace(pointKey(points[v]), std::uint32_t(v)).first->second
                           : std::uint32_t(v);
    }
    std::vector<BuiltFace> faces(model.faces.size());
    for (std::size_t f = 0; f < faces.size(); ++f) {
        const ImportedFace& in = model.faces[f];
        BuiltFace& out = faces[f];
        for (int k = 0; k < in.corners; ++k)
            out.vertex[k] = canonical[in.vertex[k]];
        out.shape = in.corners == 4 ? kShapeQuad : kShapeTriangle;
        out.texture = in.texture;
        out.attributes = in.attributes;
        if (in.corners == 4 && in.triangleWhenClosed &&
            points[out.vertex[3]] == points[out.vertex[2]]) {
            out.shape = kShapeTriangle;
            out.texture = in.triangleTexture;
        }
    }
    std::size_t vertexCount = 0;
    for (std::size_t v = 0; v < n; ++v)
        vertexCount += canonical[v] == v;
    if (vertexCount > kMaxMeshVertices) {
        result.messages.push_back(refusal(vertexLimitText(model, vertexCount)));
        return result;
    }
    if (faces.size() > kMaxMeshVertices) {
        result.messages.push_back(refusal(faceLimitText(model, faces.size())));
        return result;
    }
    if (tooManyCollapse(check, faces.size())) {
        result.messages.push_back(
            refusal("At scale " + numberText(scale) + ", " + std::to_string(check.collapsed) +
                    " of " + std::to_string(faces.size()) + " faces of " + std::string(fileName) +
                    " collapse to zero area; the mesh was not changed." +
                    suggestion(model, targetSide, "keep them")));
        return result;
    }

    // The new mesh's vertex of every model vertex and face corner.
    VertexOrder order;
    if (model.keepTargetOrder) {
        order = matchTargetOrder(target, points, canonical, faces);
    } else {
        order.slotOfVertex.resize(n);
        for (std::size_t v = 0; v < n; ++v)
            order.slotOfVertex[v] = kNewVertex | v;
        order.slotOfCorner.resize(faces.size());
        for (std::size_t f = 0; f < faces.size(); ++f)
            for (int k = 0; k < faces[f].corners(); ++k)
                order.slotOfCorner[f][k] = order.slotOfVertex[faces[f].vertex[k]];
    }
    std::vector<std::uint64_t> used;
    for (std::size_t v = 0; v < n; ++v)
        if (canonical[v] == v)
            used.push_back(order.slotOfVertex[v]);
    for (std::size_t f = 0; f < faces.size(); ++f)
        for (int k = 0; k < faces[f].corners(); ++k)
            used.push_back(order.slotOfCorner[f][k]);
    used.insert(used.end(), order.keptOld.begin(), order.keptOld.end());
    std::sort(used.begin(), used.end()); // old vertices first in their order, then new ones
    used.erase(std::unique(used.begin(), used.end()), used.end());
    if (used.size() > kMaxMeshVertices) {
        result.messages.push_back(refusal(vertexLimitText(model, used.size())));
        return result;
    }
    const auto indexOf = [&used](std::uint64_t s) {
        return static_cast<std::uint16_t>(std::lower_bound(used.begin(), used.end(), s) -
                                          used.begin());
    };
    result.vertexIndex.resize(n);
    for (std::size_t v = 0; v < n; ++v)
        result.vertexIndex[v] = indexOf(order.slotOfVertex[canonical[v]]);
    result.cornerIndex.resize(faces.size());
    for (std::size_t f = 0; f < faces.size(); ++f)
        for (int k = 0; k < faces[f].corners(); ++k)
            result.cornerIndex[f][std::size_t(k)] = indexOf(order.slotOfCorner[f][k]);

    // Where each face goes: its old face's place when kept, else after the old faces.
    std::vector<std::pair<std::int64_t, std::size_t>> places(faces.size());
    for (std::size_t f = 0; f < faces.size(); ++f) {
        const bool kept =
            model.keepTargetFaceOrder && f < order.oldFace.size() && order.oldFace[f] >= 0;
        places[f] = {kept ? order.oldFace[f] : std::int64_t(kMaxMeshVertices + f), f};
    }
    std::sort(places.begin(), places.end());

    auto mesh = std::make_unique<Mesh>(target);
    mesh->vertexCount = static_cast<std::uint16_t>(used.size());
    mesh->normalCount = static_cast<std::int16_t>(used.size());
    for (std::size_t i = 0; i < used.size(); ++i) {
        const Point p = used[i] & kNewVertex
                            ? points[used[i] & ~kNewVertex]
                            : Point{target.vertices[used[i]].x, target.vertices[used[i]].y,
                                    target.vertices[used[i]].z};
        mesh->vertices[i] = {std::int16_t(p[0]), std::int16_t(p[1]), std::int16_t(p[2])};
        mesh->normals[i] = {};
    }
    mesh->faceCount = static_cast<std::int16_t>(faces.size());
    for (std::size_t i = 0; i < places.size(); ++i) {
        const std::size_t f = places[i].second;
        MeshFace& face = mesh->faces[i];
        face.shape = faces[f].shape;
        for (int k = 0; k < faces[f].corners(); ++k)
            face.vertexIndex[k] = result.cornerIndex[f][std::size_t(k)];
        face.texture = faces[f].texture;
        face.attributes = faces[f].attributes;
        face.visible = 1;
    }
    finishImportedLighting(*mesh, options);
    // Old vertices without faces keep their lighting when it is of the chosen kind.
    for (const std::uint64_t old : order.keptOld) {
        const std::uint16_t i = indexOf(old);
        if (options.moveable && target.normalCount > 0)
            mesh->normals[i] = target.normals[old];
        else if (!options.moveable && target.normalCount < 0)
            mesh->shades[i] = target.shades[old];
    }
    if (const auto sphere = boundingSphere(*mesh)) {
        mesh->sphereX = sphere->x;
        mesh->sphereY = sphere->y;
        mesh->sphereZ = sphere->z;
        mesh->sphereRadius = sphere->radius;
    }

    ImportChanges changes = model.changes;
    changes.add(check.collapsed, "face collapsed to zero area at this scale",
                "faces collapsed to zero area at this scale");
    changes.report(model.facesRead ? model.facesRead : faces.size(), result.messages);
    result.mesh = std::move(mesh);
    return result;
}

ImportResult placeImportedModel(Package& wad, int slot, const ImportedModel& model,
                                const ImportOptions& options, std::string_view fileName) {
    ImportResult result;
    const Mesh* target = meshForInterchange(wad, slot, result.messages);
    if (!target)
        return result;
    ImportedMesh built = buildImportedMesh(*target, model, options, fileName);
    result.messages.insert(result.messages.end(), built.messages.begin(), built.messages.end());
    if (!built.mesh)
        return result;
    wad.meshes[std::size_t(slot)] = *built.mesh;
    result.imported = true;
    result.vertexCount = built.mesh->vertexCount;
    result.faceCount = built.mesh->faceCount;
    return result;
}

} // namespace kavlen
