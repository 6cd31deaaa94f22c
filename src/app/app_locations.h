// Where the editor keeps its files. The settings file sits beside the executable,
// named like it with ".INI", when that folder is writable (a portable install);
// otherwise in the per-user configuration folder. Data files (the name lists and
// the like) are looked for beside the executable, then in the data folders.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

namespace kavlen {

struct AppLocations {
    std::filesystem::path settingsFile;
    std::vector<std::filesystem::path> dataDirs; // searched in order

    // The first existing file of that name in the data folders, or the name
    // beside the first folder when none exists (a file that may appear later).
    std::filesystem::path dataFile(std::string_view name) const;
};

// The settings file for an executable: beside it with its extension replaced by
// ".INI" when its folder is writable, else the same name in `userConfigDir`.
std::filesystem::path settingsFileFor(const std::filesystem::path& executable,
                                      bool executableDirWritable,
                                      const std::filesystem::path& userConfigDir);

} // namespace kavlen
