// Texture atlas, pages, samples and sample numbers.
#include "cli.h"
#include "load.h"
#include "textures/adding.h"
#include "textures/atlas.h"
#include "textures/samples.h"
#include "textures/texture_numbers.h"

#ifdef KAVLEN_CLI_PICTURES
#include "imagefiles/picture_loader.h"
#endif

#include <algorithm>
#include <ostream>
#include <stdexcept>

namespace kavlen::cli {

namespace {

// Message texts may hold carriage returns meant for message boxes.
std::string forTerminal(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (out.empty() || out.back() != '\n')
                out += '\n';
        } else if (text[i] != '\n' || out.empty() || out.back() != '\n') {
            out += text[i];
        }
    }
    return out;
}

// Prints the messages; returns true when one of them is an error or warning.
bool report(const Messages& messages, Context& ctx) {
    bool refused = false;
    for (const Message& m : messages) {
        switch (m.kind) {
        case MessageKind::Error:
            ctx.err << "error: " << forTerminal(m.text) << "\n";
            refused = true;
            break;
        case MessageKind::Warning:
            ctx.err << "warning: " << forTerminal(m.text) << "\n";
            refused = true;
            break;
        default:
            ctx.out << forTerminal(m.text) << "\n";
        }
    }
    return refused;
}

// Separates "--resize" from the positional arguments.
std::vector<std::string> positional(const std::vector<std::string>& args, bool& resize) {
    std::vector<std::string> out;
    resize = false;
    for (const std::string& a : args) {
        if (a == "--resize")
            resize = true;
        else if (a.rfind("--", 0) == 0)
            throw UsageError{"unknown option " + a};
        else
            out.push_back(a);
    }
    return out;
}

void expectCount(const std::vector<std::string>& args, std::size_t n) {
    if (args.size() != n)
        throw UsageError{"expected " + std::to_string(n) + " arguments, got " +
                         std::to_string(args.size())};
}

// Answers the size questions from the --resize option and shows them.
AskUser answerResize(bool resize, Context& ctx) {
    return [resize, &ctx](const UserQuestion& q) {
        ctx.err << forTerminal(q.text) << " "
                << (resize ? "yes (--resize)" : "no (pass --resize to resize)") << "\n";
        return resize;
    };
}

ChoosePicture pictureFromFile(const std::string& path) {
#ifdef KAVLEN_CLI_PICTURES
    return [path] { return pictureChoiceFromFile(path); };
#else
    (void)path;
    throw std::runtime_error("reading pictures is not available in this build (built without Qt)");
#endif
}

int sampleArgument(const Package& wad, const std::string& text) {
    const int n = parseInt(text, "sample number");
    if (!hasSample(wad, n))
        throw UsageError{"sample " + text + " does not exist (" + std::to_string(wad.texInfoCount) +
                         " samples)"};
    return n;
}

int exportAtlas(const std::vector<std::string>& args, Context& ctx) {
    expectCount(args, 2);
    auto wad = loadOrThrow(args[0]);
    return report(exportAtlasToBitmap(*wad, args[1]), ctx) ? 1 : 0;
}

int importAtlas(const std::vector<std::string>& args, Context& ctx) {
    expectCount(args, 3);
    auto wad = loadOrThrow(args[0]);
    const AtlasImportResult r = importAtlasFromBitmap(*wad, args[1]);
    if (report(r.messages, ctx) || !r.changed)
        return 1;
    saveOrThrow(*wad, args[2]);
    return 0;
}

int addPage(const std::vector<std::string>& all, Context& ctx) {
    bool resize = false;
    const std::vector<std::string> args = positional(all, resize);
    if (args.size() != 2 && args.size() != 3)
        throw UsageError{"expected 2 or 3 arguments, got " + std::to_string(args.size())};
    auto wad = loadOrThrow(args[0]);
    const AddPageResult r = args.size() == 2 ? addBlankPage(*wad)
                                             : addPageFromImage(*wad, pictureFromFile(args[1]),
                                                                answerResize(resize, ctx));
    if (report(r.messages, ctx) || !r.added)
        return 1;
    saveOrThrow(*wad, args.back());
    ctx.out << "Added " << pageLabel(r.page) << "\n";
    return 0;
}

int addTexture(const std::vector<std::string>& all, Context& ctx) {
    bool resize = false;
    const std::vector<std::string> args = positional(all, resize);
    expectCount(args, 3);
    auto wad = loadOrThrow(args[0]);
    const AddTextureResult r =
        addNewTexture(*wad, pictureFromFile(args[1]), answerResize(resize, ctx));
    if (report(r.messages, ctx) || !r.added)
        return 1;
    saveOrThrow(*wad, args[2]);
    const TexInfo& t = wad->texInfos[r.sample];
    ctx.out << "Added " << textureLabel(r.sample) << " (" << sampleSizeLabel(t)
            << ") at x=" << int(t.x) << " y=" << int(t.y) << " of " << pageLabel(r.page)
            << (r.pageAdded ? " (new page)" : "") << "\n";
    return 0;
}

int exportTexture(const std::vector<std::string>& args, Context& ctx) {
    expectCount(args, 3);
    auto wad = loadOrThrow(args[0]);
    const int n = sampleArgument(*wad, args[1]);
    return report(exportTextureToBmp(*wad, n, args[2]), ctx) ? 1 : 0;
}

int importTextureCommand(const std::vector<std::string>& args, Context& ctx) {
    expectCount(args, 4);
    auto wad = loadOrThrow(args[0]);
    const int n = sampleArgument(*wad, args[1]);
    const ImportTextureResult r = importTexture(*wad, n, pictureFromFile(args[2]));
    if (report(r.messages, ctx) || !r.changed)
        return 1;
    saveOrThrow(*wad, args[3]);
    ctx.out << "Replaced the texels of " << textureLabel(n) << "; textures to rebuild:";
    for (int i : r.rebuild)
        ctx.out << " " << i;
    ctx.out << "\n";
    return 0;
}

int swapTextures(const std::vector<std::string>& args, Context& ctx) {
    expectCount(args, 4);
    auto wad = loadOrThrow(args[0]);
    const int a = sampleArgument(*wad, args[1]);
    const int b = sampleArgument(*wad, args[2]);
    if (!swapAllowed(*wad, a, b))
        throw UsageError{"two different samples other than sample 0 are needed"};
    const SwapResult r = swapTextureNumbers(*wad, a, b);
    if (report(r.messages, ctx) || !r.swapped)
        return 1;
    saveOrThrow(*wad, args[3]);
    return 0;
}

int findTexture(const std::vector<std::string>& all, Context& ctx) {
    const bool faces = std::find(all.begin(), all.end(), "--faces") != all.end();
    std::vector<std::string> args;
    std::copy_if(all.begin(), all.end(), std::back_inserter(args),
                 [](const std::string& a) { return a != "--faces"; });
    expectCount(args, 2);
    auto wad = loadOrThrow(args[0]);
    const int n = sampleArgument(*wad, args[1]);
    FindState state;
    const FindFirstResult first = findFirst(*wad, state, n);
    ctx.out << first.status << "\n";
    for (const std::string& line : first.meshLines)
        ctx.out << line << "\n";
    if (faces && first.found) {
        ctx.out << first.foundLine << "\n";
        for (FindNextResult next = findNext(*wad, state, n); next.found;
             next = findNext(*wad, state, n))
            ctx.out << next.line << "\n";
    }
    return 0;
}

} // namespace

void addTextureCommands(CommandTable& table) {
    table.push_back({"export-atlas", "IN.wad OUT.bmp",
                     "write the texture atlas as a 24-bit bitmap, 256 wide, page 0 on top",
                     exportAtlas});
    table.push_back({"import-atlas", "IN.wad FILE.bmp OUT.wad",
                     "replace the atlas pages from a bitmap 256 wide with at least as many rows",
                     importAtlas});
    table.push_back({"add-page", "IN.wad [PICTURE] OUT.wad [--resize]",
                     "append a blank page, or a page holding a picture (--resize fits a larger "
                     "one into 256 x 256)",
                     addPage});
    table.push_back({"add-texture", "IN.wad PICTURE OUT.wad [--resize]",
                     "place a picture as a new sample in the first free space of the atlas "
                     "(--resize fits a picture larger than 256)",
                     addTexture});
    table.push_back({"export-texture", "IN.wad N OUT.bmp",
                     "write sample N's picture as a 24-bit bitmap", exportTexture});
    table.push_back({"import-texture", "IN.wad N PICTURE OUT.wad",
                     "replace sample N's texels with a picture scaled to the sample",
                     importTextureCommand});
    table.push_back({"swap-textures", "IN.wad A B OUT.wad",
                     "exchange the numbers of samples A and B (faces keep their numbers)",
                     swapTextures});
    table.push_back({"find-texture", "IN.wad N [--faces]",
                     "print how many faces use sample N and in which meshes (--faces: every "
                     "face)",
                     findTexture});
}

} // namespace kavlen::cli
