#include "app/recent_files.h"

#include "app/editor_settings.h"

#include <algorithm>

namespace kavlen {

RecentFiles::RecentFiles(std::vector<std::string> paths) : paths_(std::move(paths)) {
    if (paths_.size() > kMaxRecentFiles)
        paths_.resize(kMaxRecentFiles);
}

void RecentFiles::add(const std::string& path) {
    std::erase(paths_, path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kMaxRecentFiles)
        paths_.resize(kMaxRecentFiles);
}

std::string shortenPath(std::string_view path, char separator, int maxWidth,
                        const std::function<int(const std::string&)>& width) {
    std::string full(path);
    if (width(full) <= maxWidth)
        return full;

    const std::size_t nameStart = path.rfind(separator);
    if (nameStart == std::string_view::npos)
        return full;
    const std::string name(path.substr(nameStart + 1));

    // The drive ("C:") or nothing; a path from the root starts with a separator.
    std::string drive;
    std::string_view rest = path.substr(0, nameStart + 1); // directories with separators
    if (rest.size() >= 2 && rest[1] == ':') {
        drive = std::string(rest.substr(0, 2));
        rest.remove_prefix(2);
    }
    const bool rooted = !rest.empty() && rest.front() == separator;
    if (rooted)
        rest.remove_prefix(1);

    std::vector<std::string> dirs;
    while (!rest.empty()) {
        const std::size_t end = rest.find(separator);
        dirs.emplace_back(rest.substr(0, end));
        rest.remove_prefix(end + 1);
    }

    const std::string sep(1, separator);
    const std::string dots = "..." + sep;
    const std::string root = drive + (rooted ? sep : "");
    for (std::size_t drop = 1; drop <= dirs.size(); ++drop) {
        std::string candidate = root + dots;
        for (std::size_t i = drop; i < dirs.size(); ++i)
            candidate += dirs[i] + sep;
        candidate += name;
        if (width(candidate) <= maxWidth)
            return candidate;
    }
    if (const std::string candidate = dots + name; width(candidate) <= maxWidth)
        return candidate;
    return name;
}

} // namespace kavlen
