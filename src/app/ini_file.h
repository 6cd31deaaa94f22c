// A settings file in the common INI text form: "[Section]" lines and "key=value"
// lines. Keys are stored verbatim (spaces and '#' included); lookups ignore ASCII
// case as the platform's profile functions do. Everything the program does not
// touch (unknown sections and keys, comments, blank lines, their order) is kept.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavlen {

class IniFile {
  public:
    IniFile() = default;
    // Reads a file; a missing or unreadable file gives an empty one.
    static IniFile load(const std::filesystem::path& path);
    static IniFile parse(std::string_view text);

    // Text with CR LF line ends.
    std::string text() const;
    // Writes through a temporary file; returns false with a message on failure.
    bool save(const std::filesystem::path& path, std::string& message) const;

    bool hasSection(std::string_view section) const;
    // Value of the first such key in the first such section, trimmed.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Key names of the section in file order.
    std::vector<std::string> keys(std::string_view section) const;

    // Replaces the key's value or adds the key after the section's last key,
    // creating the section at the end of the file when needed.
    void setValue(std::string_view section, std::string_view key, std::string_view value);
    // Removes every section of that name with all its lines.
    void eraseSection(std::string_view section);

  private:
    struct Line {
        enum Kind { Other, Section, Key } kind = Other;
        std::string text;  // the whole line as read or written
        std::string name;  // section or key name, trimmed
        std::string value; // key value, trimmed
    };

    // Index range [first, last) of the lines of the first such section (after
    // its header), or nullopt.
    std::optional<std::pair<std::size_t, std::size_t>> sectionRange(std::string_view section) const;

    std::vector<Line> lines_;
};

// Whether two names are equal ignoring ASCII case.
bool sameName(std::string_view a, std::string_view b);

} // namespace kavlen
