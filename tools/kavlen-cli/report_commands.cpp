// about: the "About Meshes" and "About Mesh" reports.
#include "cli.h"
#include "load.h"
#include "meshedit/mesh_reports.h"

#include <ostream>

namespace kavlen::cli {

namespace {

// JSON keys of the "About Meshes" lists, in window order.
constexpr std::array<const char*, kMeshPropertyCount> kMeshPropertyKeys = {
    "shine", "transparency", "hiddenFaces", "textureZero", "invalidTexture"};

JsonValue aboutMeshesJson(const std::string& path, const Package& wad,
                          const AboutMeshesReport& report) {
    JsonValue lists = JsonValue::object();
    for (std::size_t i = 0; i < kMeshPropertyCount; ++i)
        lists.set(kMeshPropertyKeys[i], jsonInts(report.meshSlots[i]));
    return JsonValue::object()
        .set("path", path)
        .set("meshes", wad.meshCount)
        .set("lists", std::move(lists));
}

JsonValue aboutMeshJson(const std::string& path, int slot, const AboutMeshReport& report) {
    return JsonValue::object()
        .set("path", path)
        .set("mesh", slot)
        .set("meshType", report.meshType)
        .set("lightingType", report.lightingType)
        .set("shine", report.shine)
        .set("transparency", report.transparency)
        .set("texturesUsed", jsonInts(report.texturesUsed))
        .set("invalidTextures", report.invalidTextures);
}

int about(const Arguments& args, Reporter& report) {
    if (args.size() != 1 && args.size() != 2)
        throw UsageError{"expected 1 or 2 arguments, got " + std::to_string(args.size())};
    auto wad = loadOrThrow(args[0]);
    std::vector<std::string> lines;
    if (args.size() == 1) {
        const auto meshes = aboutMeshes(*wad);
        if (report.json()) {
            report.printJson(aboutMeshesJson(args[0], *wad, *meshes));
            return kExitSuccess;
        }
        lines = aboutMeshesText(*meshes);
    } else {
        const int n = parseInt(args[1], "mesh slot");
        const auto mesh = aboutMesh(*wad, n);
        if (!mesh)
            throw UsageError{"mesh slot " + args[1] + " does not exist (" +
                             std::to_string(wad->meshCount) + " meshes)"};
        if (report.json()) {
            report.printJson(aboutMeshJson(args[0], n, *mesh));
            return kExitSuccess;
        }
        lines = aboutMeshText(*mesh);
    }
    for (const std::string& line : lines)
        report.out() << line << "\n";
    return kExitSuccess;
}

} // namespace

void addReportCommands(CommandTable& table) {
    table.push_back({"about", "FILE.wad [N]",
                     "Without N: the About Meshes lists; with N: About Mesh for mesh N.", about,
                     true});
}

} // namespace kavlen::cli
