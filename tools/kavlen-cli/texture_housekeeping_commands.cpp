// unused, delete-texture, remove-unused, delete-page and compact-atlas: finding
// and removing what the faces do not use.
#include "cli.h"
#include "load.h"
#include "textures/atlas_compaction.h"
#include "textures/sample_deletion.h"
#include "textures/samples.h"
#include "textures/texture_usage.h"

#include <ostream>

namespace kavlen::cli {

namespace {

// Saves the edited package; a refusal writes nothing and exits 1. An edit that
// found nothing to do writes the package unchanged.
int finish(Package& wad, const AtlasEditResult& r, const std::string& out, Reporter& report) {
    if (hasProblem(r.messages))
        return report.refused(r.messages);
    saveOrThrow(wad, out);
    report.done(r.messages);
    if (!r.changed)
        report.out() << "written unchanged\n";
    return kExitSuccess;
}

std::string pageList(const std::vector<int>& pages) {
    std::string text = std::to_string(pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i)
        text += (i == 0 ? " (" : " ") + pageLabel(pages[i]);
    return pages.empty() ? text : text + ")";
}

// The JSON form: {"path", "samples", "unused": [{"sample", "page", "x", "y",
// "width", "height"}], "pagesOnlyUnused": [page], "pagesWithoutSample": [page]}.
JsonValue unusedJson(const std::string& path, const UnusedReport& r) {
    JsonValue samples = JsonValue::array();
    for (const UnusedSample& s : r.unused)
        samples.push(JsonValue::object()
                         .set("sample", s.index)
                         .set("page", s.page)
                         .set("x", s.rect.left)
                         .set("y", s.rect.top)
                         .set("width", s.rect.width())
                         .set("height", s.rect.height()));
    return JsonValue::object()
        .set("path", path)
        .set("samples", r.sampleCount)
        .set("unused", std::move(samples))
        .set("pagesOnlyUnused", jsonInts(r.pagesOnlyUnused))
        .set("pagesWithoutSample", jsonInts(r.pagesWithoutSample));
}

int unused(const Arguments& args, Reporter& report) {
    expectArgs(args, 1);
    auto wad = loadOrThrow(args[0]);
    const UnusedReport r = unusedSamples(*wad);
    if (report.json()) {
        report.printJson(unusedJson(args[0], r));
        return kExitSuccess;
    }
    std::ostream& out = report.out();
    for (const UnusedSample& s : r.unused)
        out << textureLabel(s.index) << " " << pageLabel(s.page) << " x=" << s.rect.left
            << " y=" << s.rect.top << " " << s.rect.width() << " x " << s.rect.height() << "\n";
    out << "unused textures: " << r.unused.size() << " of " << r.sampleCount << "\n"
        << "pages holding only unused textures: " << pageList(r.pagesOnlyUnused) << "\n"
        << "pages holding no texture: " << pageList(r.pagesWithoutSample) << "\n";
    return kExitSuccess;
}

int deleteTextureCommand(const Arguments& all, Reporter& report) {
    std::vector<std::string> args;
    std::optional<int> replacement;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i] == "--replace") {
            if (i + 1 == all.size())
                throw UsageError{"--replace needs a sample number"};
            replacement = parseInt(all[++i], "replacement sample");
        } else if (all[i].rfind("--", 0) == 0) {
            throw UsageError{"unknown option " + all[i]};
        } else {
            args.push_back(all[i]);
        }
    }
    expectArgs(args, 3);
    auto wad = loadOrThrow(args[0]);
    const int n = parseInt(args[1], "sample number");
    return finish(*wad, deleteTexture(*wad, n, replacement), args[2], report);
}

int removeUnused(const Arguments& args, Reporter& report) {
    expectArgs(args, 2);
    auto wad = loadOrThrow(args[0]);
    return finish(*wad, removeUnusedTextures(*wad), args[1], report);
}

int deletePageCommand(const Arguments& args, Reporter& report) {
    expectArgs(args, 3);
    auto wad = loadOrThrow(args[0]);
    const int p = parseInt(args[1], "page number");
    return finish(*wad, deletePage(*wad, p), args[2], report);
}

int compact(const Arguments& args, Reporter& report) {
    expectArgs(args, 2);
    auto wad = loadOrThrow(args[0]);
    return finish(*wad, compactAtlas(*wad), args[1], report);
}

} // namespace

void addTextureHousekeepingCommands(CommandTable& table) {
    table.push_back({"unused", "IN.wad",
                     "List the samples no face uses with their page and rectangle, and the pages "
                     "holding only unused samples.",
                     unused, true});
    table.push_back({"delete-texture", "IN.wad N OUT.wad [--replace K]",
                     "Delete sample N; higher numbers move down one (a used sample needs "
                     "--replace K for its faces).",
                     deleteTextureCommand});
    table.push_back(
        {"remove-unused", "IN.wad OUT.wad", "Delete every sample no face uses.", removeUnused});
    table.push_back({"delete-page", "IN.wad P OUT.wad",
                     "Delete page P, which no sample may lie on; later pages move up.",
                     deletePageCommand});
    table.push_back({"compact-atlas", "IN.wad OUT.wad",
                     "Drop unused samples and repack the used samples' texels onto as few pages "
                     "as possible.",
                     compact});
}

} // namespace kavlen::cli
