// info, resave, mesh, check and demo: the package document itself.
#include "cli.h"
#include "document/demo_package.h"
#include "document/package.h"
#include "document/wad_check.h"
#include "load.h"

#include <cstdint>
#include <functional>
#include <ostream>

namespace kavlen::cli {

namespace {

// The package counts, in the order info prints them.
std::vector<std::pair<const char*, std::int64_t>> packageCounts(const Package& wad) {
    return {{"version", wad.version},
            {"samples", wad.texInfoCount},
            {"pages", wad.pageCount()},
            {"meshPointers", wad.meshPointerCount},
            {"meshes", wad.meshCount},
            {"directory", std::int64_t(wad.directory.count())},
            {"moveables", std::int64_t(wad.moveables.size())},
            {"statics", std::int64_t(wad.statics.size())},
            {"addedMeshes", wad.addedMeshCount},
            {"objectMeshCount", wad.objectMeshCount},
            {"animations", wad.animationCount},
            {"stateChanges", wad.stateChangeCount},
            {"dispatches", wad.dispatchCount},
            {"commands", wad.commandCount},
            {"meshTree", wad.meshTreeCount},
            {"keyframeWords", wad.keyframeWordCount}};
}

// Runs `each` on every package named in args and reports the ones that cannot be
// read. Text lines are prefixed with the file name when there are several files.
// The JSON form is {"files": [entry...]}, an entry being {"path", "loaded", ...}
// with "error" instead of the rest when the file could not be read.
// Exit status: 2 when a file could not be read, else 1 when `each` found
// problems in one, else 0.
int forEachPackage(
    const Arguments& args, Reporter& report,
    const std::function<bool(const Package&, const std::string& prefix, JsonValue& entry)>& each) {
    if (args.empty())
        throw UsageError{"expected at least 1 argument, got 0"};
    JsonValue files = JsonValue::array();
    bool unreadable = false, problems = false;
    for (const std::string& path : args) {
        JsonValue entry = JsonValue::object();
        entry.set("path", path);
        try {
            auto wad = loadOrThrow(path);
            entry.set("loaded", true);
            problems |= each(*wad, args.size() > 1 ? path + ": " : std::string(), entry);
        } catch (const std::exception& e) {
            entry.set("loaded", false).set("error", e.what());
            report.error(e.what());
            unreadable = true;
        }
        files.push(std::move(entry));
    }
    if (report.json())
        report.printJson(JsonValue::object().set("files", std::move(files)));
    return unreadable ? kExitUsageOrIo : problems ? kExitRefused : kExitSuccess;
}

int info(const Arguments& args, Reporter& report) {
    return forEachPackage(args, report,
                          [&](const Package& wad, const std::string& prefix, JsonValue& entry) {
                              JsonValue counts = JsonValue::object();
                              for (const auto& [name, value] : packageCounts(wad)) {
                                  counts.set(name, value);
                                  if (!report.json())
                                      report.out() << prefix << name << ": " << value << "\n";
                              }
                              entry.set("counts", std::move(counts));
                              return false;
                          });
}

int resave(const Arguments& args, Reporter&) {
    expectArgs(args, 2);
    auto wad = loadOrThrow(args[0]);
    saveOrThrow(*wad, args[1]);
    return 0;
}

int meshDump(const Arguments& args, Reporter& report) {
    expectArgs(args, 2);
    auto wad = loadOrThrow(args[0]);
    const int n = parseInt(args[1], "mesh slot");
    if (n < 0 || n >= wad->meshCount)
        throw UsageError{"mesh slot " + args[1] + " does not exist (" +
                         std::to_string(wad->meshCount) + " meshes)"};
    const Mesh& m = wad->meshes[n];
    std::ostream& o = report.out();
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

int check(const Arguments& args, Reporter& report) {
    return forEachPackage(args, report,
                          [&](const Package& wad, const std::string& prefix, JsonValue& entry) {
                              const std::vector<std::string> problems = checkWad(wad);
                              JsonValue list = JsonValue::array();
                              for (const std::string& p : problems) {
                                  list.push(p);
                                  if (!report.json())
                                      report.out() << prefix << p << "\n";
                              }
                              if (problems.empty() && !report.json())
                                  report.out() << prefix << "no problems found\n";
                              entry.set("problems", std::move(list));
                              return !problems.empty();
                          });
}

int demo(const Arguments& args, Reporter&) {
    expectArgs(args, 1);
    auto wad = makeDemoPackage();
    saveOrThrow(*wad, args[0]);
    return 0;
}

} // namespace

void addDocumentCommands(CommandTable& table) {
    table.push_back({"info", "FILE.wad...",
                     "Print each package's counts, one 'name: value' a line (prefixed with the "
                     "file name when there are several files).",
                     info, true});
    table.push_back({"resave", "IN.wad OUT.wad", "Load a package and save it again.", resave});
    table.push_back({"mesh", "FILE.wad N", "Print mesh slot N in a stable text form.", meshDump});
    table.push_back({"check", "FILE.wad...",
                     "List every inconsistency of each package; exit 1 when there is any.", check,
                     true});
    table.push_back({"demo", "OUT.wad", "Write the bundled demo package.", demo});
}

} // namespace kavlen::cli
