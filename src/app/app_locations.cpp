#include "app/app_locations.h"

#include <system_error>

namespace kavlen {

std::filesystem::path AppLocations::dataFile(std::string_view name) const {
    for (const auto& dir : dataDirs) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(dir / name, ec))
            return dir / name;
    }
    return dataDirs.empty() ? std::filesystem::path(name) : dataDirs.front() / name;
}

std::filesystem::path settingsFileFor(const std::filesystem::path& executable,
                                      bool executableDirWritable,
                                      const std::filesystem::path& userConfigDir) {
    std::filesystem::path name = executable.filename();
    name.replace_extension(".INI");
    return (executableDirWritable ? executable.parent_path() : userConfigDir) / name;
}

} // namespace kavlen
