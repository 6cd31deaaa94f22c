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

void expectCount(const std::vector<std::string>& args, std::size_t n) {
    if (args.size() != n)
        throw UsageError{"expected " + std::to_string(n) + " arguments, got " +
                         std::to_string(args.size())};
}

// Prints the messages, errors to stderr; box line breaks become new lines.
// Returns true when one of them is an error.
bool report(const Messages& messages, Context& ctx) {
    bool refused = false;
    for (const Message& m : messages) {
        std::string text;
        for (const char c : m.text)
            if (c != '\n')
                text += c == '\r' ? '\n' : c;
        if (m.kind == MessageKind::Error || m.kind == MessageKind::Warning) {
            ctx.err << "error: " << text << "\n";
            refused = true;
        } else {
            ctx.out << text << "\n";
        }
    }
    return refused;
}

// Saves the edited package; a refusal writes nothing and exits 1. An edit that
// found nothing to do writes the package unchanged.
int finish(Package& wad, const AtlasEditResult& r, const std::string& out, Context& ctx) {
    if (report(r.messages, ctx))
        return 1;
    saveOrThrow(wad, out);
    if (!r.changed)
        ctx.out << "written unchanged\n";
    return 0;
}

std::string pageList(const std::vector<int>& pages) {
    std::string text = std::to_string(pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i)
        text += (i == 0 ? " (" : " ") + pageLabel(pages[i]);
    return pages.empty() ? text : text + ")";
}

int unused(const std::vector<std::string>& args, Context& ctx) {
    expectCount(args, 1);
    auto wad = loadOrThrow(args[0]);
    const UnusedReport r = unusedSamples(*wad);
    for (const UnusedSample& s : r.unused)
        ctx.out << textureLabel(s.index) << " " << pageLabel(s.page) << " x=" << s.rect.left
                << " y=" << s.rect.top << " " << s.rect.width() << " x " << s.rect.height() << "\n";
    ctx.out << "unused textures: " << r.unused.size() << " of " << r.sampleCount << "\n"
            << "pages holding only unused textures: " << pageList(r.pagesOnlyUnused) << "\n"
            << "pages holding no texture: " << pageList(r.pagesWithoutSample) << "\n";
    return 0;
}

int deleteTextureCommand(const std::vector<std::string>& all, Context& ctx) {
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
    expectCount(args, 3);
    auto wad = loadOrThrow(args[0]);
    const int n = parseInt(args[1], "sample number");
    return finish(*wad, deleteTexture(*wad, n, replacement), args[2], ctx);
}

int removeUnused(const std::vector<std::string>& args, Context& ctx) {
    expectCount(args, 2);
    auto wad = loadOrThrow(args[0]);
    return finish(*wad, removeUnusedTextures(*wad), args[1], ctx);
}

int deletePageCommand(const std::vector<std::string>& args, Context& ctx) {
    expectCount(args, 3);
    auto wad = loadOrThrow(args[0]);
    const int p = parseInt(args[1], "page number");
    return finish(*wad, deletePage(*wad, p), args[2], ctx);
}

int compact(const std::vector<std::string>& args, Context& ctx) {
    expectCount(args, 2);
    auto wad = loadOrThrow(args[0]);
    return finish(*wad, compactAtlas(*wad), args[1], ctx);
}

} // namespace

void addTextureHousekeepingCommands(CommandTable& table) {
    table.push_back({"unused", "IN.wad",
                     "list the samples no face uses with their page and rectangle, and the pages "
                     "holding only unused samples",
                     unused});
    table.push_back({"delete-texture", "IN.wad N OUT.wad [--replace K]",
                     "delete sample N; higher numbers move down one (a used sample needs "
                     "--replace K for its faces)",
                     deleteTextureCommand});
    table.push_back(
        {"remove-unused", "IN.wad OUT.wad", "delete every sample no face uses", removeUnused});
    table.push_back({"delete-page", "IN.wad P OUT.wad",
                     "delete page P, which no sample may lie on; later pages move up",
                     deletePageCommand});
    table.push_back({"compact-atlas", "IN.wad OUT.wad",
                     "drop unused samples and repack the used samples' texels onto as few pages "
                     "as possible",
                     compact});
}

} // namespace kavlen::cli
