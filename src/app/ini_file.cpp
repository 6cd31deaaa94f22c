#include "app/ini_file.h"

#include "app/text_lines.h"
#include "document/safe_write.h"

#include <algorithm>

namespace kavlen {

namespace {

std::string_view trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

IniFile IniFile::load(const std::filesystem::path& path) {
    return parse(readTextFile(path).value_or(""));
}

IniFile IniFile::parse(std::string_view text) {
    IniFile ini;
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    for (const std::string_view lineText : splitLines(text)) {
        Line line;
        line.text = std::string(lineText);
        const std::string_view body = trim(line.text);
        if (body.size() >= 2 && body.front() == '[' && body.find(']') != std::string_view::npos) {
            line.kind = Line::Section;
            line.name = std::string(trim(body.substr(1, body.find(']') - 1)));
        } else if (!body.empty() && body.front() != ';' &&
                   body.find('=') != std::string_view::npos) {
            const std::size_t eq = body.find('=');
            line.kind = Line::Key;
            line.name = std::string(trim(body.substr(0, eq)));
            line.value = std::string(trim(body.substr(eq + 1)));
        }
        ini.lines_.push_back(std::move(line));
    }
    return ini;
}

std::string IniFile::text() const {
    std::string out;
    for (const Line& line : lines_) {
        out += line.text;
        out += "\r\n";
    }
    return out;
}

bool IniFile::save(const std::filesystem::path& path, std::string& message) const {
    const std::string content = text();
    const WriteResult result = writeFileSafely(
        path, std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
    message = result.message;
    return result.ok;
}

std::optional<std::pair<std::size_t, std::size_t>>
IniFile::sectionRange(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind != Line::Section || !sameName(lines_[i].name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines_.size() && lines_[end].kind != Line::Section)
            ++end;
        return std::pair{i + 1, end};
    }
    return std::nullopt;
}

bool IniFile::hasSection(std::string_view section) const {
    return sectionRange(section).has_value();
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
    const auto range = sectionRange(section);
    if (!range)
        return std::nullopt;
    for (std::size_t i = range->first; i < range->second; ++i)
        if (lines_[i].kind == Line::Key && sameName(lines_[i].name, key))
            return lines_[i].value;
    return std::nullopt;
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
    std::vector<std::string> names;
    if (const auto range = sectionRange(section))
        for (std::size_t i = range->first; i < range->second; ++i)
            if (lines_[i].kind == Line::Key)
                names.push_back(lines_[i].name);
    return names;
}

void IniFile::setValue(std::string_view section, std::string_view key, std::string_view value) {
    Line line;
    line.kind = Line::Key;
    line.name = std::string(trim(key));
    line.value = std::string(trim(value));
    line.text = line.name + "=" + line.value;

    auto range = sectionRange(section);
    if (!range) {
        // A new section goes to the end, set off by a blank line.
        if (!lines_.empty() && !trim(lines_.back().text).empty())
            lines_.push_back(Line{});
        Line header;
        header.kind = Line::Section;
        header.name = std::string(section);
        header.text = "[" + header.name + "]";
        lines_.push_back(std::move(header));
        lines_.push_back(std::move(line));
        return;
    }
    std::size_t insertAt = range->first;
    for (std::size_t i = range->first; i < range->second; ++i) {
        if (lines_[i].kind != Line::Key)
            continue;
        if (sameName(lines_[i].name, key)) {
            line.name = lines_[i].name; // keep the spelling the file has
            line.text = line.name + "=" + line.value;
            lines_[i] = std::move(line);
            return;
        }
        insertAt = i + 1;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
}

void IniFile::eraseSection(std::string_view section) {
    while (auto range = sectionRange(section))
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->first - 1),
                     lines_.begin() + static_cast<std::ptrdiff_t>(range->second));
}

} // namespace kavlen
