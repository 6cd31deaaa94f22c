#include "app/editor_settings.h"

#include "app/colour_names.h"

#include <array>
#include <variant>

namespace kavlen {

namespace {

constexpr const char* kRecent = "MRUFiles";

// One key of the file: where it lives, which field it holds and in what form.
// Keys are written in table order; read-only keys are never written.
struct Colour {
    std::uint32_t EditorSettings::*field;
};
struct Flag {
    bool EditorSettings::*field;
};
struct Number {
    int EditorSettings::*field;
};
struct Text {
    std::string EditorSettings::*field;
};
struct Key {
    const char* section;
    const char* name;
    std::variant<Colour, Flag, Number, Text> value;
    bool readOnly = false;
};

using S = EditorSettings;
const std::array kKeys = {
    Key{"Colours", "background", Colour{&S::background}},
    Key{"Colours", "line", Colour{&S::line}},
    Key{"Colours", "box", Colour{&S::box}},
    Key{"Colours", "point", Colour{&S::point}},
    Key{"Colours", "point2", Colour{&S::point2}},
    Key{"Colours", "grid", Colour{&S::grid}},
    Key{"Colours", "texture highlight", Colour{&S::textureHighlight}},
    Key{"Colours", "texture shape", Colour{&S::textureShape}},
    Key{"Mode", "Tx", Flag{&S::modeTx}, true},
    Key{"Mode", "Sh", Flag{&S::modeSh}, true},
    Key{"Mode", "Op", Flag{&S::modeOp}, true},
    Key{"View", "show axes", Flag{&S::showAxes}},
    Key{"View", "show grid", Flag{&S::showGrid}},
    Key{"View", "bilinear filtering", Flag{&S::bilinearFiltering}},
    Key{"View", "show box", Flag{&S::showBox}},
    Key{"View", "show lines", Flag{&S::showLines}},
    Key{"View", "tex#0 white", Flag{&S::tex0White}},
    Key{"View", "enable stipple", Flag{&S::enableStipple}},
    Key{"View", "stipple pattern", Number{&S::stipplePattern}},
    Key{"View", "dark UI", Flag{&S::darkUI}},
    Key{"Options", "query close", Flag{&S::queryClose}},
    Key{"Options", "open in textured mode", Flag{&S::openInTexturedMode}},
    Key{"Options", "show all meshes list", Flag{&S::showAllMeshesList}},
    Key{"Layout", "main window", Text{&S::windowLayout}},
};

// Unreadable values leave the field at its default.
void readKey(const Key& key, const std::string& text, EditorSettings& s) {
    if (const auto* t = std::get_if<Text>(&key.value)) {
        s.*(t->field) = text;
    } else if (const auto* c = std::get_if<Colour>(&key.value)) {
        if (const auto value = colourFromText(text))
            s.*(c->field) = *value;
    } else if (const auto value = integerFromText(text)) {
        if (const auto* f = std::get_if<Flag>(&key.value))
            s.*(f->field) = *value != 0;
        else
            s.*(std::get<Number>(key.value).field) = static_cast<int>(*value);
    }
}

std::string keyText(const Key& key, const EditorSettings& s) {
    if (const auto* t = std::get_if<Text>(&key.value))
        return s.*(t->field);
    if (const auto* c = std::get_if<Colour>(&key.value))
        return colourToText(s.*(c->field));
    if (const auto* f = std::get_if<Flag>(&key.value))
        return s.*(f->field) ? "1" : "0";
    return std::to_string(s.*(std::get<Number>(key.value).field));
}

} // namespace

EditorSettings readSettings(const IniFile& ini,
                            const std::function<bool(const std::string&)>& fileExists) {
    EditorSettings s;
    for (const Key& key : kKeys)
        if (const auto text = ini.value(key.section, key.name))
            readKey(key, *text, s);

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
    for (const Key& key : kKeys) {
        // No text: the file keeps what it had (the default when it had nothing).
        const auto* text = std::get_if<Text>(&key.value);
        if (!key.readOnly && !(text && (s.*(text->field)).empty()))
            ini.setValue(key.section, key.name, keyText(key, s));
    }

    ini.eraseSection(kRecent);
    for (std::size_t i = 0; i < s.recentFiles.size(); ++i)
        ini.setValue(kRecent, "File" + std::to_string(i), s.recentFiles[i]);
}

} // namespace kavlen
