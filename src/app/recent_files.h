// The recent-files list (most recent first, at most four) and the shortening of
// a path for its menu entry.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kavlen {

class RecentFiles {
  public:
    RecentFiles() = default;
    explicit RecentFiles(std::vector<std::string> paths);

    // Moves the path to the top, keeping at most four entries.
    void add(const std::string& path);
    const std::vector<std::string>& paths() const { return paths_; }
    bool empty() const { return paths_.empty(); }

  private:
    std::vector<std::string> paths_;
};

// Shortens a path until `width` of it is at most `maxWidth`: leading directory
// names are dropped one at a time and replaced by "..." (after the drive or root
// part), then the drive goes, then the "..."; the file name always stays whole.
// `separator` is the platform's path separator.
std::string shortenPath(std::string_view path, char separator, int maxWidth,
                        const std::function<int(const std::string&)>& width);

} // namespace kavlen
