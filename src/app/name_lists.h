// Object name lists: plain text files with one name per line, the line number
// being the object id ("NGLEStatics.txt" for statics, "NGLEObjects.txt" for
// moveables). Names are shown with only their first letter in upper case.
#pragma once

#include "document/package.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kavlen {

inline constexpr const char* kStaticNamesFile = "NGLEStatics.txt";
inline constexpr const char* kMoveableNamesFile = "NGLEObjects.txt";
inline constexpr const char* kAddedMeshesEntry = "-- Added Meshes --";

struct NameList {
    std::vector<std::string> names; // names[id]
};

// Splits the text into lines (CR LF, LF or CR; a final line end adds no empty
// line), lowers A-Z and raises the first letter a-z of each non-empty line.
NameList parseNameList(std::string_view text);
// A missing or unreadable file gives an empty list.
NameList readNameList(const std::filesystem::path& path);

// The list's name for the id, or prefix + position when the list has none.
// Every line of the list names its id, the last one included.
std::string objectLabel(const NameList& names, std::uint32_t objectId, std::size_t position,
                        std::string_view prefix);

// Entries of the statics list, in package order.
std::vector<std::string> staticLabels(const Package& wad, const NameList& names);
// Entries of the moveables list, in package order, then "-- Added Meshes --" when
// the package has added meshes.
std::vector<std::string> moveableLabels(const Package& wad, const NameList& names);

} // namespace kavlen
