// DXF, MQO and OBJ import and export, texture-set files, and the lighting
// operations the importers use.
#include "cli.h"
#include "interchange/dxf.h"
#include "interchange/mqo_document.h"
#include "interchange/obj_model.h"
#include "load.h"
#include "meshedit/lighting.h"
#include "textures/texture_set.h"

#include <ostream>

namespace kavlen::cli {

namespace {

// Positional arguments and the "--static I" option of the importers.
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
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--static") {
            if (i + 1 >= args.size())
                throw UsageError{"--static needs an intensity"};
            parsed.options.moveable = false;
            parsed.options.intensity = parseIntensity(args[++i]);
        } else {
            parsed.positional.push_back(args[i]);
        }
    }
    if (parsed.positional.size() != positional)
        throw UsageError{"expected " + std::to_string(positional) + " arguments, got " +
                         std::to_string(parsed.positional.size())};
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

int restoreTav(const Arguments& args, Reporter& report) {
    expectArgs(args, 3);
    auto wad = loadOrThrow(args[0]);
    const TextureSetResult r = restoreTextureSet(*wad, filePath(args[1]));
    if (!r.ok)
        return report.refused(r.messages);
    saveOrThrow(*wad, args[2]);
    report.done(r.messages);
    report.out() << r.sampleCount << " samples, " << r.meshCount << " meshes restored\n";
    return 0;
}

int lightingResult(const LightingResult& r, Package& wad, const std::string& out,
                   Reporter& report) {
    if (!r.changed)
        return report.refused(r.messages);
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
    return lightingResult(recalcNormalsCommand(*wad, slot, !weighted), *wad, positional[2], report);
}

int staticLighting(const Arguments& args, Reporter& report) {
    expectArgs(args, 4);
    auto wad = loadOrThrow(args[0]);
    const int slot = parseInt(args[1], "mesh slot");
    if (slot < 0 || slot >= wad->meshCount)
        throw UsageError{"mesh slot " + args[1] + " does not exist"};
    const int intensity = parseIntensity(args[2]);
    return lightingResult(changeToStaticLighting(*wad, slot, intensity), *wad, args[3], report);
}

int moveableLighting(const Arguments& args, Reporter& report) {
    expectArgs(args, 3);
    auto wad = loadOrThrow(args[0]);
    const int slot = parseInt(args[1], "mesh slot");
    if (slot < 0 || slot >= wad->meshCount)
        throw UsageError{"mesh slot " + args[1] + " does not exist"};
    return lightingResult(changeToMoveableLighting(*wad, slot), *wad, args[2], report);
}

} // namespace

void addInterchangeCommands(CommandTable& table) {
    table.push_back(
        {"export-dxf", "IN.wad N OUT.dxf", "Write mesh slot N as a DXF drawing.",
         [](const auto& a, Reporter& c) { return runExport(a, c, exportDxf, "layers"); }});
    table.push_back({"import-dxf", "IN.wad N FILE.dxf OUT.wad [--static I]",
                     "Replace mesh slot N with a DXF drawing's 3DFACEs; exit 1 when refused.",
                     [](const auto& a, Reporter& c) { return runImport(a, c, importDxf); }});
    table.push_back(
        {"export-mqo", "IN.wad N OUT.mqo", "Write mesh slot N as a Metasequoia document.",
         [](const auto& a, Reporter& c) { return runExport(a, c, exportMqo, "materials"); }});
    table.push_back(
        {"import-mqo", "IN.wad N FILE.mqo OUT.wad [--static I]",
         "Replace mesh slot N with a Metasequoia document's visible objects; exit 1 when refused.",
         [](const auto& a, Reporter& c) { return runImport(a, c, importMqo); }});
    table.push_back({"import-obj", "IN.wad N FILE.obj OUT.wad [--static I]",
                     "Replace mesh slot N with a Wavefront OBJ model; exit 1 when refused.",
                     [](const auto& a, Reporter& c) { return runImport(a, c, importObj); }});
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
