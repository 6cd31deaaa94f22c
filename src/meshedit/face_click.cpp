#include "meshedit/face_click.h"

#include "meshedit/lighting.h"
#include "meshedit/quad_bend.h"
#include "meshedit/swap_vertices.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace kavlen {

namespace {

using Mode = RenderModeEntry;

// Wireframe, Solid and Textured: the modes where every face action applies.
bool isPlainFaceMode(Mode m) {
    return m == Mode::Wireframe || m == Mode::Solid || m == Mode::Textured;
}

// The modes where the Lighting Editor paints and reads vertex light.
bool isLightingMode(Mode m) {
    return isPlainFaceMode(m) || m == Mode::PolyPtOrder;
}

// Track bar position of a shade value: the nearest intensity, so that reading back
// a painted corner gives the position it was painted with (truncating would give
// 15 for the shade of 16).
int intensityOfShade(int shade) {
    return std::clamp(static_cast<int>(std::lround(shade * 31.0 / 8191.0)), 0, 31);
}

int textureListCount(const Package& wad) {
    return static_cast<int>(std::min<std::size_t>(wad.texInfoCount, kMaxTexInfos));
}

// Whether face k exists and all its corners name vertices of the mesh.
bool isUsableFace(const Mesh& mesh, int k) {
    if (k < 0 || k >= faceLoopCount(mesh))
        return false;
    const MeshFace& face = mesh.faces[k];
    for (int c = 0; c < face.cornerCount(); ++c)
        if (face.vertexIndex[c] >= vertexLoopCount(mesh))
            return false;
    return true;
}

bool hasStaticLighting(const Mesh& mesh) {
    return mesh.normalCount < 0;
}

// Everything one click works with.
struct Click {
    Package& wad;
    int slot;
    Mesh& mesh;
    int k; // face index in the face modes, vertex index in the point modes
    const FaceClickInput& in;
    FaceClickResult& result;

    MeshFace& face() { return mesh.faces[k]; }
    void status(std::string text) {
        result.messages.push_back({MessageKind::Status, std::move(text)});
    }
    void done(FaceClickAction action, bool changed) {
        result.action = action;
        result.changed = changed;
    }
};

void inspect(Click& click);

void paintLight(Click& click) {
    const std::int16_t shade = shadeFromIntensity(std::clamp(click.in.lighting.intensity, 0, 31));
    const MeshFace& face = click.face();
    bool painted = false;
    for (int n = 0; n < face.cornerCount(); ++n) {
        if (!click.in.lighting.vertexBoxes[n])
            continue;
        click.mesh.shades[face.vertexIndex[n]] = shade;
        painted = true;
    }
    click.done(FaceClickAction::PaintLight, painted);
}

void applyToFace(Click& click) {
    const FaceClickInput& in = click.in;
    const Mode m = in.mode;
    if (in.lighting.lightsEnabled && hasStaticLighting(click.mesh) && isLightingMode(m)) {
        paintLight(click);
        return;
    }
    if (!in.modeBoxes.tx && !in.modeBoxes.sh && !in.modeBoxes.op) {
        inspect(click);
        return;
    }
    bool acted = false, changed = false;
    if (in.modeBoxes.tx && isPlainFaceMode(m)) {
        acted = true;
        if (in.currentSample < 0) {
            click.status("No texture selected.");
        } else if (in.currentSample >= textureListCount(click.wad)) {
            click.status("Texture #" + std::to_string(in.currentSample) + " does not exist.");
        } else {
            assignFaceSample(click.face(), static_cast<std::uint16_t>(in.currentSample));
            changed = true;
        }
    }
    // Without a chosen entry the opacity list says nothing: the face keeps its own.
    if (in.modeBoxes.op && (isPlainFaceMode(m) || m == Mode::Transparency) &&
        in.opacity != OpacityChoice::None) {
        click.face().attributes =
            withTransparency(click.face().attributes, in.opacity == OpacityChoice::SemiTransparent);
        acted = changed = true;
    }
    if (in.modeBoxes.sh && (isPlainFaceMode(m) || m == Mode::Shine)) {
        acted = true;
        const int s = std::min<int>(static_cast<std::uint16_t>(in.shining), 31);
        if (click.mesh.normalCount <= 0) {
            // Without normals the game draws no shine.
            if (s != 0)
                click.result.messages.push_back(
                    {MessageKind::Information, "Static lighting.\rDo not apply shine."});
            click.result.shining = 0;
        } else {
            click.face().attributes = withShine(click.face().attributes, s);
            changed = true;
        }
    }
    if (acted)
        click.done(FaceClickAction::Apply, changed);
}

void swapWithPickedVertex(Click& click) {
    const int picked = click.in.pickedVertex;
    if (picked < 0)
        return;
    click.result.pickedVertex = -1;
    MeshEditResult swap = swapVertices(click.wad, click.slot, picked, click.k);
    for (Message& message : swap.messages)
        click.result.messages.push_back(std::move(message));
    if (swap.changed)
        click.done(FaceClickAction::SwapVertices, true);
}

void mirrorTexture(Click& click) {
    if (!isPlainFaceMode(click.in.mode))
        return;
    MeshFace& face = click.face();
    if (face.isQuad())
        face.texture = static_cast<std::uint16_t>(-static_cast<std::int16_t>(face.texture));
    else
        face.texture ^= 0x8000;
    click.done(FaceClickAction::MirrorTexture, true);
}

void turnCorner(Click& click) {
    const Mode m = click.in.mode;
    if (!(isPlainFaceMode(m) || m == Mode::TriangleType) || click.face().isQuad())
        return;
    TextureWordInfo info = decodeTextureWord(click.face().texture);
    const int chosen = click.in.triangleType.corner;
    const bool chosenIsCorner = chosen >= 0 && chosen <= 6 && chosen % 2 == 0;
    if (click.in.triangleType.useSelected && chosenIsCorner)
        info.corner = static_cast<std::uint8_t>(chosen);
    else if (info.corner % 2 == 0)
        info.corner = static_cast<std::uint8_t>((info.corner + 2) % 8);
    // Odd corners have no shape of their own and stay as they are.
    click.status("Poly#" + std::to_string(click.k) + " Tri type " + std::to_string(info.corner));
    if (info.corner % 2 == 0)
        click.result.triangleCorner = info.corner;
    click.face().texture = encodeTextureWord(info);
    click.done(FaceClickAction::TurnCorner, true);
}

void rotateOrder(Click& click) {
    const Mode m = click.in.mode;
    if (!(isPlainFaceMode(m) || m == Mode::PolyPtOrder))
        return;
    rotateFaceVertexOrder(click.face());
    click.done(FaceClickAction::RotateOrder, true);
}

void hideFace(Click& click) {
    click.face().visible = 0;
    click.mesh.hasHiddenFaces = 1;
    click.result.showHiddenFacesIndicator = true;
    click.done(FaceClickAction::HideFace, true);
}

void inspectVertex(Click& click) {
    const MeshVertex& v = click.mesh.vertices[click.k];
    click.status("Vertex " + std::to_string(click.k) + "  (" + std::to_string(v.x) + ", " +
                 std::to_string(v.y) + ", " + std::to_string(v.z) + ")");
    click.result.pickedVertex = click.k;
    click.done(FaceClickAction::InspectVertex, false);
}

void inspectFace(Click& click) {
    const MeshFace& face = click.face();
    FaceClickResult& r = click.result;
    r.opacity = (face.attributes & kAttrTransparent) ? OpacityChoice::SemiTransparent
                                                     : OpacityChoice::Opaque;
    r.shining = (face.attributes & 0x7F) >> 2;
    const int listCount = textureListCount(click.wad);
    int sample = 0;
    std::string type;
    if (face.isQuad()) {
        sample = std::abs(static_cast<std::int16_t>(face.texture));
        type = "Quad";
    } else {
        const TextureWordInfo info = decodeTextureWord(face.texture);
        sample = info.index;
        type = "Tri type " + std::to_string(info.corner);
        if (info.corner % 2 == 0)
            r.triangleCorner = info.corner;
    }
    const bool validSample = sample < listCount;
    if (validSample)
        r.selectSample = sample;
    std::string text = "Poly#" + std::to_string(click.k) + " " + type + " " +
                       (validSample ? "Tex " + std::to_string(sample) : "Invalid Tex");
    if (static_cast<std::int16_t>(face.texture) < 0)
        text += " Flip";
    if (face.isQuad()) {
        const auto& v = click.mesh.vertices;
        const auto& i = face.vertexIndex;
        const double bend = quadBendDeterminant(v[i[0]], v[i[1]], v[i[2]], v[i[3]]);
        text += " (" + formatWithThousands(std::abs(bend)) + ")";
    }
    click.status(std::move(text));
    click.done(FaceClickAction::InspectFace, false);
}

void inspect(Click& click) {
    click.result.pickedVertex = -1;
    if (isPointMode(click.in.mode)) {
        inspectVertex(click);
    } else if (click.in.lighting.lightsEnabled && hasStaticLighting(click.mesh) &&
               isLightingMode(click.in.mode)) {
        click.result.lightIntensity =
            intensityOfShade(click.mesh.shades[click.face().vertexIndex[0]]);
        click.done(FaceClickAction::InspectLight, false);
    } else {
        inspectFace(click);
    }
}

} // namespace

FaceClickResult clickInView(Package& wad, int slot, const PickHit& hit, const FaceClickInput& in) {
    FaceClickResult result;
    result.pickedVertex = in.pickedVertex;
    const int mode = static_cast<int>(in.mode);
    if (in.button != MouseButton::Left || !wad.isLoaded() || mode < 0 || mode > 8)
        return result;
    Mesh* mesh = meshInSlot(wad, slot);
    if (!mesh)
        return result;
    const bool pointMode = isPointMode(in.mode);
    if (hit.kind != (pointMode ? PickHit::Kind::Vertex : PickHit::Kind::Face))
        return result;
    const bool inMesh = pointMode ? hit.index >= 0 && hit.index < vertexLoopCount(*mesh)
                                  : isUsableFace(*mesh, hit.index);
    if (!inMesh)
        return result;

    Click click{wad, slot, *mesh, hit.index, in, result};
    const ClickKeys& keys = in.keys;
    if (keys.alt && keys.shift) {
        // A vertex pick names no face to hide.
        if (!pointMode)
            hideFace(click);
    } else if (keys.alt && keys.ctrl) {
        turnCorner(click);
    } else if (keys.alt) {
        rotateOrder(click);
    } else if (keys.shift) {
        mirrorTexture(click);
    } else if (keys.ctrl) {
        inspect(click);
    } else if (pointMode) {
        swapWithPickedVertex(click);
    } else {
        applyToFace(click);
    }
    return result;
}

std::string formatWithThousands(double value) {
    // to_chars: always a '.', whatever locale the program runs in.
    char buffer[400];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    if (ec != std::errc())
        return {};
    std::string text(buffer, end);
    const std::size_t point = text.find('.');
    if (point == std::string::npos)
        return text; // inf or nan
    const std::size_t firstDigit = text[0] == '-' ? 1 : 0;
    for (std::size_t at = point; at > firstDigit + 3; at -= 3)
        text.insert(at - 3, 1, ',');
    return text;
}

} // namespace kavlen
