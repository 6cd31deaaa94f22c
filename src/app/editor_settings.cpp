#include "app/editor_settings.h"

#include "app/colour_names.h"

namespace kavlen {

namespace {

constexpr const char* kColours = "Colours";
constexpr const char* kMode = "Mode";
constexpr const char* kView = "View";
constexpr const char* kOptions = "Options";
constexpr const char* kRecent = "MRUFiles";

void readColour(const IniFile& ini, const char* key, std::uint32_t& colour) {
    if (const auto text = ini.value(kColours, key))
        if (const auto value = colourFromText(*text))
            colour = *value;
}

void readInteger(const IniFile& ini, const char* section, const char* key, int& number) {
    if (const auto text = ini.value(section, key))
        if (const auto value = integerFromText(*text))
            number = static_cast<int>(*value);
}

void readBool(const IniFile& ini, const char* section, const char* key, bool& flag) {
    if (const auto text = ini.value(section, key))
        if (const auto value = integerFromText(*text))
            flag = *value != 0;
}

void writeColour(IniFile& ini, const char* key, std::uint32_t colour) {
    ini.setValue(kColours, key, colourToText(colour));
}

void writeBool(IniFile& ini, const char* section, const char* key, bool flag) {
    ini.setValue(section, key, flag ? "1" : "0");
}

} // namespace

EditorSettings readSettings(const IniFile& ini,
                            const std::function<bool(const std::string&)>& fileExists) {
    EditorSettings s;
    readColour(ini, "background", s.background);
    readColour(ini, "line", s.line);
    readColour(ini, "box", s.box);
    readColour(ini, "point", s.point);
    readColour(ini, "point2", s.point2);
    readColour(ini, "grid", s.grid);
    readColour(ini, "texture highlight", s.textureHighlight);
    readColour(ini, "texture shape", s.textureShape);

    readBool(ini, kMode, "Tx", s.modeTx);
    readBool(ini, kMode, "Sh", s.modeSh);
    readBool(ini, kMode, "Op", s.modeOp);

    readBool(ini, kView, "show axes", s.showAxes);
    readBool(ini, kView, "show grid", s.showGrid);
    readBool(ini, kView, "bilinear filtering", s.bilinearFiltering);
    readBool(ini, kView, "show box", s.showBox);
    readBool(ini, kView, "show lines", s.showLines);
    readBool(ini, kView, "tex#0 white", s.tex0White);
    readBool(ini, kView, "enable stipple", s.enableStipple);
    readInteger(ini, kView, "stipple pattern", s.stipplePattern);
    readBool(ini, kView, "dark UI", s.darkUI);

    readBool(ini, kOptions, "query close", s.queryClose);
    readBool(ini, kOptions, "open in textured mode", s.openInTexturedMode);
    readBool(ini, kOptions, "show all meshes list", s.showAllMeshesList);

    // One entry per key of the section, each taken from "File" + its position.
    const std::size_t count = ini.keys(kRecent).size();
    for (std::size_t i = 0; i < count; ++i) {
        std::string path = ini.value(kRecent, "File" + std::to_string(i)).value_or("");
        if (!path.empty() && fileExists(path))
            s.recentFiles.push_back(std::move(path));
    }
    if (s.recentFiles.size() > kMaxRecentFiles)
        s.recentFiles.resize(kMaxRecentFiles);
    return s;
}

void writeSettings(IniFile& ini, const EditorSettings& s) {
    writeColour(ini, "background", s.background);
    writeColour(ini, "line", s.line);
    writeColour(ini, "box", s.box);
    writeColour(ini, "point", s.point);
    writeColour(ini, "point2", s.point2);
    writeColour(ini, "grid", s.grid);
    writeColour(ini, "texture highlight", s.textureHighlight);
    writeColour(ini, "texture shape", s.textureShape);

    writeBool(ini, kView, "show axes", s.showAxes);
    writeBool(ini, kView, "show grid", s.showGrid);
    writeBool(ini, kView, "bilinear filtering", s.bilinearFiltering);
    writeBool(ini, kView, "show box", s.showBox);
    writeBool(ini, kView, "show lines", s.showLines);
    writeBool(ini, kView, "tex#0 white", s.tex0White);
    writeBool(ini, kView, "enable stipple", s.enableStipple);
    ini.setValue(kView, "stipple pattern", std::to_string(s.stipplePattern));
    writeBool(ini, kView, "dark UI", s.darkUI);

    writeBool(ini, kOptions, "query close", s.queryClose);
    writeBool(ini, kOptions, "open in textured mode", s.openInTexturedMode);
    writeBool(ini, kOptions, "show all meshes list", s.showAllMeshesList);

    ini.eraseSection(kRecent);
    for (std::size_t i = 0; i < s.recentFiles.size(); ++i)
        ini.setValue(kRecent, "File" + std::to_string(i), s.recentFiles[i]);
}

} // namespace kavlen
