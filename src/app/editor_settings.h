// The editor's settings as the settings file holds them, with their defaults.
// Read once at start, written once at close. The Mode keys are read only: a
// written file keeps whatever Mode keys it had. A new setting is a field here
// and a line in the key table of editor_settings.cpp.
#pragma once

#include "app/ini_file.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kavlen {

inline constexpr std::size_t kMaxRecentFiles = 4;

struct EditorSettings {
    // Colours, 0x00BBGGRR or a system colour.
    std::uint32_t background = 0x005A411E;
    std::uint32_t line = 0x00FFFF00;             // clAqua
    std::uint32_t box = 0x0000FFFF;              // clYellow
    std::uint32_t point = 0x0000FF00;            // clLime
    std::uint32_t point2 = 0x000000FF;           // clRed
    std::uint32_t grid = 0x00808080;             // clGray
    std::uint32_t textureHighlight = 0x00FFFFFF; // clWhite
    std::uint32_t textureShape = 0x000000FF;     // clRed

    // Mode check boxes.
    bool modeTx = true;
    bool modeSh = true;
    bool modeOp = true;

    // View.
    bool showAxes = false;
    bool showGrid = false;
    bool bilinearFiltering = false;
    bool showBox = true;
    bool showLines = false;
    bool tex0White = false;
    bool enableStipple = false;
    int stipplePattern = 3855; // 0x0F0F
    bool darkUI = false;

    // Options.
    bool queryClose = false;
    bool openInTexturedMode = false;
    bool showAllMeshesList = false;

    // Most recent first.
    std::vector<std::string> recentFiles;

    // Where the main window's docks are (docked or floating, and their places),
    // as the main window encodes it; empty for the default layout.
    std::string windowLayout;

    bool operator==(const EditorSettings&) const = default;
};

// Reads the settings; missing keys and unreadable values give the defaults.
// Recent files whose file does not exist are dropped, and at most four are kept.
EditorSettings readSettings(const IniFile& ini,
                            const std::function<bool(const std::string&)>& fileExists);

// Writes the Colours, View, Options, Layout and MRUFiles sections (MRUFiles anew).
void writeSettings(IniFile& ini, const EditorSettings& settings);

} // namespace kavlen
