// about: the "About Meshes" and "About Mesh" reports.
#include "cli.h"
#include "load.h"
#include "meshedit/mesh_reports.h"

#include <ostream>

namespace kavlen::cli {

namespace {

int about(const std::vector<std::string>& args, Context& ctx) {
    if (args.size() != 1 && args.size() != 2)
        throw UsageError{"expected 1 or 2 arguments, got " + std::to_string(args.size())};
    auto wad = loadOrThrow(args[0]);
    std::vector<std::string> lines;
    if (args.size() == 1) {
        lines = aboutMeshesText(*aboutMeshes(*wad));
    } else {
        const int n = parseInt(args[1], "mesh slot");
        const auto report = aboutMesh(*wad, n);
        if (!report)
            throw UsageError{"mesh slot " + args[1] + " does not exist (" +
                             std::to_string(wad->meshCount) + " meshes)"};
        lines = aboutMeshText(*report);
    }
    for (const std::string& line : lines)
        ctx.out << line << "\n";
    return 0;
}

} // namespace

void addReportCommands(CommandTable& table) {
    table.push_back({"about", "FILE.wad [N]",
                     "Without N: the About Meshes lists; with N: About Mesh for mesh N.", about});
}

} // namespace kavlen::cli
