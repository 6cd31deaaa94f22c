// DXF, MQO and OBJ import and export, texture-set files, and the lighting
// operations the importers use.
#include "cli.h"
#include "interchange/dxf.h"
#include "interchange/mqo_document.h"
#include "interchange/obj_export.h"
#include "interchange/obj_model.h"
#include "interchange/obj_moveable.h"
#include "load.h"
#include "meshedit/lighting.h"
#include "textures/texture_set.h"

#include <ostream>

namespace kavlen::cli {

namespace {

// Positional arguments and the "--static I", "--scale S" and "--fit" options of
// the importers.
struct ImportArgs {
    std::vector<std::string> positional;
    ImportOptions options;
};

int parseIntensity(const std::string& text) {
    const int intensity = parseInt(text, "intensity");
    if (intensity < 0 || intensity > 31)
        throw UsageError{"intensity must be 0 to 31, not " + text};
    return intensity;
}

ImportArgs parseImportArgs(const std::vector<std::string>& args, std::size_t positional) {
    ImportArgs parsed;
    bool scaled = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--static") {
            if (i + 1 >= args.size())
                throw UsageError{"--static needs an intensity"};
            parsed.options.moveable = false;
            parsed.options.intensity = parseIntensity(args[++i]);
        } else if (args[i] == "--scale") {
            if (i + 1 >= args.size())
                throw UsageError{"--scale needs a factor"};
            parsed.options.scale = parseDouble(args[++i], "scale");
            if (!(parsed.options.scale > 0))
                throw UsageError{"the scale must be above 0, not " + args[i]};
            scaled = true;
        } else if (args[i] == "--fit") {
            parsed.options.fit = true;
        } else {
            parsed.positional.push_back(args[i]);
        }
    }
    if (parsed.positional.size() != positional)
        throw UsageError{"expected " + std::to_string(positional) + " arguments, got " +
                         std::to_string(parsed.positional.size())};
    if (scaled && parsed.options.fit)
        throw UsageError{"choose either --scale or --fit"};
    return parsed;
}

using Importer = ImportResult (*)(Package&, int, const std::filesystem::path&,
                                  const ImportOptions&);

int runImport(const Arguments& args, Reporter& report, Importer importer) {
    const ImportArgs a = parseImportArgs(args, 4);
    auto wad = loadOrThrow(a.positional[0]);
    const int slot = parseInt(a.positional[1], "mesh slot");
    const ImportResult r = importer(*wad, slot, filePath(a.positional[2]), a.options);
    if (!r.imported)
        return report.refused(r.messages);
    saveOrThrow(*wad, a.positional[3]);
    report.done(r.messages);
    report.out() << "mesh " << slot << ": " << r.vertexCount << " vertices, " << r.faceCount
                 << " faces, " << (a.options.moveable ? "moveable" : "static") << " lighting\n";
    return 0;
}

using Exporter = ExportResult (*)(const Package&, int, const std::filesystem::path&);

int runExport(const Arguments& args, Reporter& report, Exporter exporter, const char* names) {
    expectArgs(args, 3);
    auto wad = loadOrThrow(args[0]);
    const int slot = parseInt(args[1], "mesh slot");
    const ExportResult r = exporter(*wad, slot, filePath(args[2]));
    if (!r.written)
        return report.refused(r.messages);
    report.done(r.messages);
    report.out() << "mesh " << slot << ": " << r.faceCount << " faces, " << r.nameCount << " "
                 << names << "\n";
    return 0;
}

int exportMoveable(const Arguments& args, Reporter& report) {
    expectArgs(args, 3);
    auto wad = loadOrThrow(args[0]);
    const int moveable = parseInt(args[1], "moveable");
    const ExportResult r = exportMoveableObj(*wad, moveable, filePath(args[2]));
    if (!r.written)
        return report.refused(r.messages);
    report.done(r.messages);
    report.out() << "moveable " << moveable << ": " << r.faceCount << " faces, " << r.nameCount
                 << " materials\n";
    return kExitSuccess;
}

int importMoveable(const Arguments& args, Reporter& report) {
    const ImportArgs a = parseImportArgs(args, 4);
    auto wad = loadOrThrow(a.positional[0]);
    const int moveable = parseInt(a.positional[1], "moveable");
    const ImportResult r = importMoveableObj(*wad, moveable, filePath(a.positional[2]), a.options);
    if (!r.imported)
        return report.refused(r.messages);
    saveOrThrow(*wad, a.positional[3]);
    report.done(r.messages);
    report.out() << "moveable " << moveable << ": " << r.vertexCount << " vertices, " << r.faceCount
                 << " faces, " << (a.options.moveable ? "moveable" : "static") << " lighting\n";
    return kExitSuccess;
}

int saveTav(const Arguments& args, Reporter& report) {
    expectArgs(args, 2);
    auto wad = loadOrThrow(args[0]);
    const TextureSetResult r = saveTextureSet(*wad, filePath(args[1]));
    if (!r.ok)
        return report.refused(r.messages);
    report.done(r.messages);
    report.out() << r.sampleCount << " samples, " << r.meshCount << " meshes, " << r.contentSize
                 << " bytes before packing\n";
    return 0;
}

void printNumbers(std::ostream& out, const char* label, const std::vector<int>& numbers) {
    if (numbers.empty())
        return;
    out << label << ":";
    for (int n : numbers)
        out << " " << n;
    out << "\n";
}

int restoreTav(const Arguments& args, Reporter& report) {
    expectArgs(args, 3);
    auto wad = loadOrThrow(args[0]);
    // Naming the file on the command line is the user's yes to the restore question.
    const TextureSetResult r =
        restoreTextureSet(*wad, filePath(args[1]), [](const UserQuestion&) { return true; });
    if (!r.ok)
        return report.refused(r.messages);
    saveOrThrow(*wad, args[2]);
    report.done(r.messages);
    report.out() << r.sampleCount << " samples, " << r.meshCount << " meshes restored\n";
    printNumbers(report.out(), "changed samples", r.changedSamples);
    printNumbers(report.out(), "changed meshes", r.changedMeshes);
    return kExitSuccess;
}

// Why a lighting command leaves mesh slot `slot` alone when it says nothing itself.
std::string unlitReason(const Package& wad, int slot, bool needsNormals) {
    const Mesh& mesh = wad.meshes[std::size_t(slot)];
    const std::string name = "mesh " + std::to_string(slot);
    if (mesh.vertexCount == 0 && mesh.faceCount <= 0)
        return name + " is empty (no vertices, no faces)";
    if (mesh.vertexCount == 0)
        return name + " has no vertices";
    if (mesh.faceCount <= 0)
        return name + " has no faces";
    if (needsNormals && mesh.normalCount == 0)
        return name + " has neither normals nor shades";
    return name + " was not changed";
}

int lightingResult(const LightingResult& r, Package& wad, int slot, bool needsNormals,
                   const std::string& out, Reporter& report) {
    if (!r.changed) {
        if (r.messages.empty())
            return report.refused(unlitReason(wad, slot, needsNormals) + "; nothing written");
        return report.refused(r.messages);
    }
    saveOrThrow(wad, out);
    return report.done(r.messages);
}

int recalcNormalsCmd(const Arguments& args, Reporter& report) {
    std::vector<std::string> positional;
    bool weighted = false;
    for (const std::string& a : args) {
        if (a == "--weighted")
            weighted = true;
        else
            positional.push_back(a);
    }
    expectArgs(positional, 3);
    auto wad = loadOrThrow(positional[0]);
    const int slot = parseInt(positional[1], "mesh slot");
    if (slot < 0 || slot >= wad->meshCount)
        throw UsageError{"mesh slot " + positional[1] + " does not exist"};
    return lightingResult(recalcNormalsCommand(*wad, slot, !weighted), *wad, slot, true,
                          positional[2], report);
}

int staticLighting(const Arguments& args, Reporter& report) {
    expectArgs(args, 4);
    auto wad = loadOrThrow(args[0]);
    const int slot = parseInt(args[1], "mesh slot");
    if (slot < 0 || slot >= wad->meshCount)
        throw UsageError{"mesh slot " + args[1] + " does not exist"};
    const int intensity = parseIntensity(args[2]);
    return lightingResult(changeToStaticLighting(*wad, slot, intensity), *wad, slot, false, args[3],
                          report);
}

int moveableLighting(const Arguments& args, Reporter& report) {
    expectArgs(args, 3);
    auto wad = loadOrThrow(args[0]);
    const int slot = parseInt(args[1], "mesh slot");
    if (slot < 0 || slot >= wad->meshCount)
        throw UsageError{"mesh slot " + args[1] + " does not exist"};
    return lightingResult(changeToMoveableLighting(*wad, slot), *wad, slot, false, args[2], report);
}

} // namespace

void addInterchangeCommands(CommandTable& table) {
    table.push_back(
        {"export-dxf", "IN.wad N OUT.dxf", "Write mesh slot N as a DXF drawing.",
         [](const auto& a, Reporter& c) { return runExport(a, c, exportDxf, "layers"); }});
    table.push_back(
        {"import-dxf", "IN.wad N FILE.dxf OUT.wad [--static I] [--scale S | --fit]",
         "Replace mesh slot N with a DXF drawing's 3DFACEs and polyface meshes; exit 1 when "
         "refused.",
         [](const auto& a, Reporter& c) { return runImport(a, c, importDxf); }});
    table.push_back(
        {"export-mqo", "IN.wad N OUT.mqo", "Write mesh slot N as a Metasequoia document.",
         [](const auto& a, Reporter& c) { return runExport(a, c, exportMqo, "materials"); }});
    table.push_back(
        {"import-mqo", "IN.wad N FILE.mqo OUT.wad [--static I] [--scale S | --fit]",
         "Replace mesh slot N with a Metasequoia document's visible objects; exit 1 when refused.",
         [](const auto& a, Reporter& c) { return runImport(a, c, importMqo); }});
    table.push_back({"import-obj", "IN.wad N FILE.obj OUT.wad [--static I] [--scale S | --fit]",
                     "Replace mesh slot N with a Wavefront OBJ model; exit 1 when refused.",
                     [](const auto& a, Reporter& c) { return runImport(a, c, importObj); }});
    table.push_back(
        {"export-obj", "IN.wad N OUT.obj",
         "Write mesh slot N as an OBJ model with its material file and page pictures.",
         [](const auto& a, Reporter& c) { return runExport(a, c, exportObj, "materials"); }});
    table.push_back({"export-moveable", "IN.wad MOVEABLE OUT.obj",
                     "Write every mesh of moveable MOVEABLE (list index) as one OBJ model, placed "
                     "by its mesh tree.",
                     exportMoveable});
    table.push_back({"import-moveable",
                     "IN.wad MOVEABLE FILE.obj OUT.wad [--static I] [--scale S | --fit]",
                     "Put each object of an OBJ model back into its mesh slot of moveable "
                     "MOVEABLE (each scaled or fitted on its own); exit 1 when refused.",
                     importMoveable});
    table.push_back(
        {"save-tav", "IN.wad OUT.tav", "Write the package's texture set (.tav).", saveTav});
    table.push_back({"restore-tav", "IN.wad FILE.tav OUT.wad",
                     "Read a texture set over the package; exit 1 when refused.", restoreTav});
    table.push_back({"recalc-normals", "IN.wad N OUT.wad [--weighted]",
                     "Recalculate the normals of mesh slot N (averaged unless --weighted).",
                     recalcNormalsCmd});
    table.push_back({"static-lighting", "IN.wad N I OUT.wad",
                     "Give mesh slot N static lighting of intensity I (0..31), removing shine.",
                     staticLighting});
    table.push_back({"moveable-lighting", "IN.wad N OUT.wad",
                     "Give mesh slot N moveable lighting with averaged normals.",
                     moveableLighting});
}

} // namespace kavlen::cli
