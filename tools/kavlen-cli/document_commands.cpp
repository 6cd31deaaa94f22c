// info, resave, mesh, check and demo: the package document itself.
#include "cli.h"
#include "document/demo_package.h"
#include "document/package.h"
#include "document/wad_check.h"
#include "load.h"

#include <ostream>

namespace kavlen::cli {

namespace {

void expectArgs(const std::vector<std::string>& args, std::size_t n) {
    if (args.size() != n)
        throw UsageError{"expected " + std::to_string(n) + " arguments, got " +
                         std::to_string(args.size())};
}

int info(const std::vector<std::string>& args, Context& ctx) {
    expectArgs(args, 1);
    auto wad = loadOrThrow(args[0]);
    std::ostream& o = ctx.out;
    o << "version: " << wad->version << "\n"
      << "samples: " << wad->texInfoCount << "\n"
      << "pages: " << wad->pageCount() << "\n"
      << "meshPointers: " << wad->meshPointerCount << "\n"
      << "meshes: " << wad->meshCount << "\n"
      << "directory: " << wad->directory.count() << "\n"
      << "moveables: " << wad->moveables.size() << "\n"
      << "statics: " << wad->statics.size() << "\n"
      << "addedMeshes: " << wad->addedMeshCount << "\n"
      << "objectMeshCount: " << wad->objectMeshCount << "\n"
      << "animations: " << wad->animationCount << "\n"
      << "stateChanges: " << wad->stateChangeCount << "\n"
      << "dispatches: " << wad->dispatchCount << "\n"
      << "commands: " << wad->commandCount << "\n"
      << "meshTree: " << wad->meshTreeCount << "\n"
      << "keyframeWords: " << wad->keyframeWordCount << "\n";
    return 0;
}

int resave(const std::vector<std::string>& args, Context&) {
    expectArgs(args, 2);
    auto wad = loadOrThrow(args[0]);
    saveOrThrow(*wad, args[1]);
    return 0;
}

int meshDump(const std::vector<std::string>& args, Context& ctx) {
    expectArgs(args, 2);
    auto wad = loadOrThrow(args[0]);
    const int n = parseInt(args[1], "mesh slot");
    if (n < 0 || n >= wad->meshCount)
        throw UsageError{"mesh slot " + args[1] + " does not exist (" +
                         std::to_string(wad->meshCount) + " meshes)"};
    const Mesh& m = wad->meshes[n];
    std::ostream& o = ctx.out;
    o << "mesh " << n << "\n"
      << "sphere " << m.sphereX << " " << m.sphereY << " " << m.sphereZ << " " << m.sphereRadius
      << "\n"
      << "extraWord " << m.extraWord << "\n"
      << "vertexCount " << m.vertexCount << "\n";
    for (int i = 0; i < m.vertexCount; ++i)
        o << "v " << i << " " << m.vertices[i].x << " " << m.vertices[i].y << " " << m.vertices[i].z
          << "\n";
    o << "normalCount " << m.normalCount << "\n";
    for (int i = 0; i < m.normalCount; ++i)
        o << "n " << i << " " << m.normals[i].x << " " << m.normals[i].y << " " << m.normals[i].z
          << "\n";
    for (int i = 0; i < -int(m.normalCount); ++i)
        o << "s " << i << " " << m.shades[i] << "\n";
    o << "faceCount " << m.faceCount << "\n";
    for (int i = 0; i < m.faceCount; ++i) {
        const MeshFace& f = m.faces[i];
        o << "f " << i << " "
          << (f.shape == kShapeQuad       ? "quad"
              : f.shape == kShapeTriangle ? "tri"
                                          : "shape" + std::to_string(f.shape));
        for (int c = 0; c < f.cornerCount(); ++c)
            o << " " << f.vertexIndex[c];
        o << " tex 0x" << std::hex << f.texture << " attr 0x" << f.attributes << std::dec << "\n";
    }
    return 0;
}

int check(const std::vector<std::string>& args, Context& ctx) {
    expectArgs(args, 1);
    auto wad = loadOrThrow(args[0]);
    const auto problems = checkWad(*wad);
    for (const std::string& p : problems)
        ctx.out << p << "\n";
    if (problems.empty())
        ctx.out << "no problems found\n";
    return problems.empty() ? 0 : 1;
}

int demo(const std::vector<std::string>& args, Context&) {
    expectArgs(args, 1);
    auto wad = makeDemoPackage();
    saveOrThrow(*wad, args[0]);
    return 0;
}

} // namespace

void addDocumentCommands(CommandTable& table) {
    table.push_back(
        {"info", "FILE.wad", "Print the package's counts, one 'name: value' a line.", info});
    table.push_back({"resave", "IN.wad OUT.wad", "Load a package and save it again.", resave});
    table.push_back({"mesh", "FILE.wad N", "Print mesh slot N in a stable text form.", meshDump});
    table.push_back({"check", "FILE.wad",
                     "List every inconsistency of a package; exit 1 when there is any.", check});
    table.push_back({"demo", "OUT.wad", "Write the bundled demo package.", demo});
}

} // namespace kavlen::cli
