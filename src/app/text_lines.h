// Reading small text files and splitting them into lines.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavlen {

// The lines of a text, ended by CR LF, LF or CR; a final line end adds no empty
// line.
std::vector<std::string_view> splitLines(std::string_view text);

// The whole file as bytes, or nullopt when it is missing or unreadable.
std::optional<std::string> readTextFile(const std::filesystem::path& path);

} // namespace kavlen
