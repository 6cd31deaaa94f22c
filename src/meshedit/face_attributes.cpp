#include "meshedit/face_attributes.h"

#include <algorithm>
#include <string>

namespace kavlen {

namespace {

// The mesh that a face command works on, or nullptr (after noting "No wad
// opened." when there is no package) when it has nothing to do.
Mesh* facesToEdit(Package& wad, int slot, MeshEditResult& result) {
    if (!wad.isLoaded()) {
        result.messages.push_back(noWadOpened());
        return nullptr;
    }
    Mesh* mesh = meshInSlot(wad, slot);
    return mesh && faceLoopCount(*mesh) > 0 ? mesh : nullptr;
}

} // namespace

Message textureAllQuestion() {
    return {MessageKind::Warning, "This will destroy current texturing.\rPress OK to continue."};
}

MeshEditResult textureAll(Package& wad, int slot, int sample) {
    MeshEditResult result;
    Mesh* mesh = facesToEdit(wad, slot, result);
    if (!mesh)
        return result;
    if (sample < 0) {
        result.messages.push_back({MessageKind::Error, "No texture selected."});
        return result;
    }
    if (std::size_t(sample) >= std::min<std::size_t>(wad.texInfoCount, kMaxTexInfos)) {
        result.messages.push_back(
            {MessageKind::Error, "Texture #" + std::to_string(sample) + " does not exist."});
        return result;
    }
    for (int f = 0; f < faceLoopCount(*mesh); ++f)
        assignFaceSample(mesh->faces[f], static_cast<std::uint16_t>(sample));
    result.changed = true;
    return result;
}

MeshEditResult shineAll(Package& wad, int slot, int shining) {
    MeshEditResult result;
    Mesh* mesh = facesToEdit(wad, slot, result);
    if (!mesh)
        return result;
    const int s = std::min<int>(static_cast<std::uint16_t>(shining), 31);
    if (mesh->normalCount < 0 && s != 0) {
        result.messages.push_back(
            {MessageKind::Information, "Static lighting.\rDo not apply shine."});
        return result;
    }
    for (int f = 0; f < faceLoopCount(*mesh); ++f)
        mesh->faces[f].attributes = withShine(mesh->faces[f].attributes, s);
    result.changed = true;
    result.messages.push_back(
        {MessageKind::Status, "Shine set to " + std::to_string(s) + " for all faces."});
    return result;
}

MeshEditResult opaqueAll(Package& wad, int slot, OpacityChoice choice) {
    MeshEditResult result;
    Mesh* mesh = facesToEdit(wad, slot, result);
    if (!mesh)
        return result;
    if (choice == OpacityChoice::None) {
        result.messages.push_back({MessageKind::Error, "Choose Opaque or Semi-Transparent first."});
        return result;
    }
    const bool transparent = choice == OpacityChoice::SemiTransparent;
    for (int f = 0; f < faceLoopCount(*mesh); ++f)
        mesh->faces[f].attributes = withTransparency(mesh->faces[f].attributes, transparent);
    result.changed = true;
    result.messages.push_back(
        {MessageKind::Status,
         std::string("All faces set to ") + (transparent ? "semi-transparent" : "opaque") + "."});
    return result;
}

void rotateFaceVertexOrder(MeshFace& face) {
    auto& v = face.vertexIndex;
    if (face.isQuad())
        v = {v[3], v[0], v[1], v[2]};
    else
        v = {v[2], v[0], v[1], v[3]};
}

MeshEditResult rotateAll(Package& wad, int slot) {
    MeshEditResult result;
    Mesh* mesh = facesToEdit(wad, slot, result);
    if (!mesh)
        return result;
    for (int f = 0; f < faceLoopCount(*mesh); ++f)
        rotateFaceVertexOrder(mesh->faces[f]);
    result.changed = true;
    return result;
}

MeshEditResult unhideFaces(Package& wad, int slot) {
    MeshEditResult result;
    if (!wad.isLoaded()) {
        result.messages.push_back(noWadOpened());
        return result;
    }
    Mesh* mesh = meshInSlot(wad, slot);
    if (!mesh || mesh->hasHiddenFaces == 0)
        return result;
    for (int f = 0; f < faceLoopCount(*mesh); ++f)
        mesh->faces[f].visible = 1;
    mesh->hasHiddenFaces = 0;
    result.changed = true;
    return result;
}

std::span<const int> hairVertexIndices(HairHighlight set) {
    static constexpr int kLara[] = {37, 38, 39, 40};
    static constexpr int kYoungLara[] = {68, 69, 70, 71, 76, 77, 78, 79};
    switch (set) {
    case HairHighlight::Lara:
        return kLara;
    case HairHighlight::YoungLara:
        return kYoungLara;
    case HairHighlight::None:
        break;
    }
    return {};
}

bool isHairVertex(HairHighlight set, int vertex) {
    const auto indices = hairVertexIndices(set);
    return std::find(indices.begin(), indices.end(), vertex) != indices.end();
}

} // namespace kavlen
