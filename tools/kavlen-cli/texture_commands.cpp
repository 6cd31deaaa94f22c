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

// A core result: refused when it says so or brings an error or warning.
int finishOrRefuse(const Messages& messages, bool carriedOut, Reporter& report) {
    if (!carriedOut || hasProblem(messages))
        return report.refused(messages);
    return report.done(messages);
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

// Answers the size questions from --resize. A resize is reported as a warning; a
// declined question is kept as the reason for the refusal that follows.
struct ResizeAnswers {
    bool resize = false;
    std::string declined;

    AskUser asker(Reporter& report) {
        return [this, &report](const UserQuestion& q) {
            if (resize)
                report.warning(q.text + " yes (--resize)");
            else
                declined = q.text + " no (pass --resize to resize)";
            return resize;
        };
    }

    int refuse(const Messages& messages, Reporter& report) const {
        if (declined.empty())
            return report.refused(messages);
        report.error(declined);
        for (const Message& m : messages)
            report.error(m.text);
        return kExitRefused;
    }
};

ChoosePicture pictureFromFile(const std::string& path) {
#ifdef KAVLEN_CLI_PICTURES
    return [path] { return pictureChoiceFromFile(filePath(path)); };
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

int exportAtlas(const Arguments& args, Reporter& report) {
    expectArgs(args, 2);
    auto wad = loadOrThrow(args[0]);
    return finishOrRefuse(exportAtlasToBitmap(*wad, filePath(args[1])), true, report);
}

int importAtlas(const Arguments& args, Reporter& report) {
    expectArgs(args, 3);
    auto wad = loadOrThrow(args[0]);
    const AtlasImportResult r = importAtlasFromBitmap(*wad, filePath(args[1]));
    if (!r.changed || hasProblem(r.messages))
        return report.refused(r.messages);
    saveOrThrow(*wad, args[2]);
    report.done(r.messages);
    return kExitSuccess;
}

int addPage(const Arguments& all, Reporter& report) {
    ResizeAnswers answers;
    const std::vector<std::string> args = positional(all, answers.resize);
    if (args.size() != 2 && args.size() != 3)
        throw UsageError{"expected 2 or 3 arguments, got " + std::to_string(args.size())};
    auto wad = loadOrThrow(args[0]);
    const AddPageResult r =
        args.size() == 2 ? addBlankPage(*wad)
                         : addPageFromImage(*wad, pictureFromFile(args[1]), answers.asker(report));
    if (!r.added || hasProblem(r.messages))
        return answers.refuse(r.messages, report);
    saveOrThrow(*wad, args.back());
    report.done(r.messages);
    report.out() << "Added " << pageLabel(r.page) << "\n";
    return kExitSuccess;
}

int addTexture(const Arguments& all, Reporter& report) {
    ResizeAnswers answers;
    const std::vector<std::string> args = positional(all, answers.resize);
    expectArgs(args, 3);
    auto wad = loadOrThrow(args[0]);
    const AddTextureResult r = addNewTexture(*wad, pictureFromFile(args[1]), answers.asker(report));
    if (!r.added || hasProblem(r.messages))
        return answers.refuse(r.messages, report);
    saveOrThrow(*wad, args[2]);
    report.done(r.messages);
    const TexInfo& t = wad->texInfos[r.sample];
    report.out() << "Added " << textureLabel(r.sample) << " (" << sampleSizeLabel(t)
                 << ") at x=" << int(t.x) << " y=" << int(t.y) << " of " << pageLabel(r.page)
                 << (r.pageAdded ? " (new page)" : "") << "\n";
    return kExitSuccess;
}

int exportTexture(const Arguments& args, Reporter& report) {
    expectArgs(args, 3);
    auto wad = loadOrThrow(args[0]);
    const int n = sampleArgument(*wad, args[1]);
    return finishOrRefuse(exportTextureToBmp(*wad, n, filePath(args[2])), true, report);
}

int importTextureCommand(const Arguments& args, Reporter& report) {
    expectArgs(args, 4);
    auto wad = loadOrThrow(args[0]);
    const int n = sampleArgument(*wad, args[1]);
    const ImportTextureResult r = importTexture(*wad, n, pictureFromFile(args[2]));
    if (!r.changed || hasProblem(r.messages))
        return report.refused(r.messages);
    saveOrThrow(*wad, args[3]);
    report.done(r.messages);
    report.out() << "Replaced the texels of " << textureLabel(n) << "; textures to rebuild:";
    for (int i : r.rebuild)
        report.out() << " " << i;
    report.out() << "\n";
    return kExitSuccess;
}

int swapTextures(const Arguments& args, Reporter& report) {
    expectArgs(args, 4);
    auto wad = loadOrThrow(args[0]);
    const int a = sampleArgument(*wad, args[1]);
    const int b = sampleArgument(*wad, args[2]);
    if (!swapAllowed(*wad, a, b))
        throw UsageError{"two different samples other than sample 0 are needed"};
    const SwapResult r = swapTextureNumbers(*wad, a, b);
    if (!r.swapped || hasProblem(r.messages))
        return report.refused(r.messages);
    saveOrThrow(*wad, args[3]);
    report.done(r.messages);
    return kExitSuccess;
}

// The JSON form: {"path", "sample", "total", "meshes": [{"mesh", "faces", "of"}],
// "faces": [{"mesh", "face"}]}, faces in search order.
JsonValue findTextureJson(const std::string& path, const Package& wad, int sample,
                          const FindFirstResult& first, const std::vector<FaceRef>& found) {
    JsonValue meshes = JsonValue::array(), faces = JsonValue::array();
    for (std::size_t i = 0; i < found.size();) {
        std::size_t j = i;
        while (j < found.size() && found[j].mesh == found[i].mesh)
            ++j;
        meshes.push(JsonValue::object()
                        .set("mesh", found[i].mesh)
                        .set("faces", j - i)
                        .set("of", int(wad.meshes[found[i].mesh].faceCount)));
        i = j;
    }
    for (const FaceRef& f : found)
        faces.push(JsonValue::object().set("mesh", f.mesh).set("face", f.face));
    return JsonValue::object()
        .set("path", path)
        .set("sample", sample)
        .set("total", first.total)
        .set("meshes", std::move(meshes))
        .set("faces", std::move(faces));
}

int findTexture(const Arguments& all, Reporter& report) {
    Arguments args = all;
    const bool faces = takeFlag(args, "--faces");
    expectArgs(args, 2);
    auto wad = loadOrThrow(args[0]);
    const int n = sampleArgument(*wad, args[1]);
    FindState state;
    const FindFirstResult first = findFirst(*wad, state, n);
    std::vector<FaceRef> found;
    std::vector<std::string> foundLines;
    if (first.found) {
        found.push_back(*first.found);
        foundLines.push_back(first.foundLine);
        for (FindNextResult next = findNext(*wad, state, n); next.found;
             next = findNext(*wad, state, n)) {
            found.push_back(*next.found);
            foundLines.push_back(next.line);
        }
    }
    if (report.json()) {
        report.printJson(findTextureJson(args[0], *wad, n, first, found));
        return kExitSuccess;
    }
    report.out() << first.status << "\n";
    for (const std::string& line : first.meshLines)
        report.out() << line << "\n";
    if (faces) {
        for (const std::string& line : foundLines)
            report.out() << line << "\n";
    }
    return kExitSuccess;
}

} // namespace

void addTextureCommands(CommandTable& table) {
    table.push_back({"export-atlas", "IN.wad OUT.bmp",
                     "Write the texture atlas as a 24-bit bitmap, 256 wide, page 0 on top.",
                     exportAtlas});
    table.push_back({"import-atlas", "IN.wad FILE.bmp OUT.wad",
                     "Replace the atlas pages from a bitmap 256 wide with at least as many rows.",
                     importAtlas});
    table.push_back({"add-page", "IN.wad [PICTURE] OUT.wad [--resize]",
                     "Append a blank page, or a page holding a picture (--resize fits a larger "
                     "one into 256 x 256).",
                     addPage});
    table.push_back({"add-texture", "IN.wad PICTURE OUT.wad [--resize]",
                     "Place a picture as a new sample in the first free space of the atlas "
                     "(--resize fits a picture larger than 256).",
                     addTexture});
    table.push_back({"export-texture", "IN.wad N OUT.bmp",
                     "Write sample N's picture as a 24-bit bitmap.", exportTexture});
    table.push_back({"import-texture", "IN.wad N PICTURE OUT.wad",
                     "Replace sample N's texels with a picture scaled to the sample.",
                     importTextureCommand});
    table.push_back({"swap-textures", "IN.wad A B OUT.wad",
                     "Exchange the numbers of samples A and B (faces keep their numbers).",
                     swapTextures});
    table.push_back({"find-texture", "IN.wad N [--faces]",
                     "Print how many faces use sample N and in which meshes (--faces: every "
                     "face).",
                     findTexture, true});
}

} // namespace kavlen::cli
