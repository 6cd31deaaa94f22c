// move, mirror, swap-vertices and add-mesh: the mesh geometry commands.
#include "cli.h"
#include "document/package.h"
#include "load.h"
#include "meshedit/add_mesh.h"
#include "meshedit/mirror_mesh.h"
#include "meshedit/move_mesh.h"
#include "meshedit/swap_vertices.h"

#include <algorithm>
#include <ostream>

namespace kavlen::cli {

namespace {

int parseSlot(const Package& wad, const std::string& text) {
    const int n = parseInt(text, "mesh slot");
    if (n < 0 || n >= wad.meshCount)
        throw UsageError{"mesh slot " + text + " does not exist (" + std::to_string(wad.meshCount) +
                         " meshes)"};
    return n;
}

// Saves the edited package, or leaves OUT alone and fails when nothing was
// changed; `unchanged` says why when the edit itself gave no message.
int finish(Package& wad, const MeshEditResult& result, const std::string& out,
           const std::string& unchanged, Reporter& report) {
    if (!result.changed) {
        if (result.messages.empty())
            return report.refused(unchanged + "; nothing written");
        return report.refused(result.messages);
    }
    saveOrThrow(wad, out);
    return report.done(result.messages);
}

int noVertices(int slot, Reporter& report) {
    return report.refused("mesh " + std::to_string(slot) + " has no vertices; nothing written");
}

int move(const Arguments& args, Reporter& report) {
    expectArgs(args, 6);
    auto wad = loadOrThrow(args[0]);
    const int slot = parseSlot(*wad, args[1]);
    const int dx = parseInt(args[2], "DX"), dy = parseInt(args[3], "DY"),
              dz = parseInt(args[4], "DZ");
    if (wad->meshes[slot].vertexCount == 0)
        return noVertices(slot, report);
    return finish(*wad, moveMesh(*wad, slot, dx, dy, dz), args[5],
                  "mesh " + std::to_string(slot) + " not moved: DX, DY and DZ are all 0", report);
}

int mirror(const Arguments& args, Reporter& report) {
    expectArgs(args, 4);
    auto wad = loadOrThrow(args[0]);
    const int slot = parseSlot(*wad, args[1]);
    std::string plane = args[2];
    std::transform(plane.begin(), plane.end(), plane.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    MirrorPlane p;
    if (plane == "xz")
        p = MirrorPlane::XZ;
    else if (plane == "yz")
        p = MirrorPlane::YZ;
    else if (plane == "xy")
        p = MirrorPlane::XY;
    else
        throw UsageError{"plane must be xz, yz or xy, not " + args[2]};
    if (wad->meshes[slot].vertexCount == 0)
        return noVertices(slot, report);
    return finish(*wad, mirrorMesh(*wad, slot, mirrorAxis(p)), args[3],
                  "mesh " + std::to_string(slot) + " not mirrored", report);
}

int swapVertexIndices(const Arguments& args, Reporter& report) {
    expectArgs(args, 5);
    auto wad = loadOrThrow(args[0]);
    const int slot = parseSlot(*wad, args[1]);
    const int a = parseInt(args[2], "vertex A"), b = parseInt(args[3], "vertex B");
    const int count = wad->meshes[slot].vertexCount;
    for (int v : {a, b}) {
        if (v < 0 || v >= count)
            throw UsageError{"vertex " + std::to_string(v) + " does not exist (mesh " + args[1] +
                             " has " + std::to_string(count) + " vertices)"};
    }
    if (a == b)
        throw UsageError{"vertices A and B are the same"};
    return finish(*wad, swapVertices(*wad, slot, a, b), args[4],
                  "vertices " + std::to_string(a) + " and " + std::to_string(b) + " of mesh " +
                      std::to_string(slot) + " not exchanged",
                  report);
}

int addMesh(const Arguments& args, Reporter& report) {
    expectArgs(args, 2);
    auto wad = loadOrThrow(args[0]);
    const AddMeshResult result = addEmptyMesh(*wad);
    if (result.slot < 0) {
        if (result.messages.empty())
            return report.refused("no mesh added; nothing written");
        return report.refused(result.messages);
    }
    saveOrThrow(*wad, args[1]);
    report.done(result.messages);
    report.out() << "added " << result.meshLabel << "\n";
    return kExitSuccess;
}

} // namespace

void addMeshEditCommands(CommandTable& table) {
    table.push_back({"move", "IN.wad N DX DY DZ OUT.wad",
                     "Move mesh N (and its static's boxes, or its sphere) by DX DY DZ.", move});
    table.push_back(
        {"mirror", "IN.wad N xz|yz|xy OUT.wad", "Mirror mesh N on a coordinate plane.", mirror});
    table.push_back({"swap-vertices", "IN.wad N A B OUT.wad",
                     "Exchange vertex indices A and B of mesh N.", swapVertexIndices});
    table.push_back({"add-mesh", "IN.wad OUT.wad", "Append a new empty mesh.", addMesh});
}

} // namespace kavlen::cli
