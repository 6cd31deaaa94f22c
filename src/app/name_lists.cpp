#include "app/name_lists.h"

#include "app/text_lines.h"

namespace kavlen {

NameList parseNameList(std::string_view text) {
    NameList list;
    for (const std::string_view line : splitLines(text)) {
        std::string name(line);
        for (char& c : name)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        if (!name.empty() && name[0] >= 'a' && name[0] <= 'z')
            name[0] = static_cast<char>(name[0] - 'a' + 'A');
        list.names.push_back(std::move(name));
    }
    return list;
}

NameList readNameList(const std::filesystem::path& path) {
    return parseNameList(readTextFile(path).value_or(""));
}

std::string objectLabel(const NameList& names, std::uint32_t objectId, std::size_t position,
                        std::string_view prefix) {
    if (objectId < names.names.size())
        return names.names[objectId];
    return std::string(prefix) + std::to_string(position);
}

std::vector<std::string> staticLabels(const Package& wad, const NameList& names) {
    std::vector<std::string> labels;
    const std::size_t count = std::min<std::size_t>(wad.staticCount, wad.statics.size());
    for (std::size_t i = 0; i < count; ++i)
        labels.push_back(objectLabel(names, wad.statics[i].objectId, i, "Static #"));
    return labels;
}

std::vector<std::string> moveableLabels(const Package& wad, const NameList& names) {
    std::vector<std::string> labels;
    const std::size_t count = std::min<std::size_t>(wad.moveableCount, wad.moveables.size());
    for (std::size_t i = 0; i < count; ++i)
        labels.push_back(objectLabel(names, wad.moveables[i].objectId, i, "Moveable #"));
    if (wad.addedMeshCount != 0)
        labels.emplace_back(kAddedMeshesEntry);
    return labels;
}

} // namespace kavlen
