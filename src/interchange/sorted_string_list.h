// SortedStringList: a list of (name, attached record) entries kept in ascending byte
// order of the names. The exporters gather layer and material names in it, the
// DXF importer its parsed layers.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace kavlen {

template <typename Record = std::monostate> class SortedStringList {
  public:
    // Position of the first entry whose name equals `name`, or -1.
    int find(std::string_view name) const {
        const auto it =
            std::lower_bound(entries_.begin(), entries_.end(), name,
                             [](const Entry& e, std::string_view n) { return e.first < n; });
        if (it == entries_.end() || it->first != name)
            return -1;
        return static_cast<int>(it - entries_.begin());
    }

    // Adds the entry and keeps the order; an equal name goes after those already
    // there. Returns its position.
    int add(std::string name, Record record = {}) {
        const auto it =
            std::upper_bound(entries_.begin(), entries_.end(), name,
                             [](const std::string& n, const Entry& e) { return n < e.first; });
        const auto at = entries_.insert(it, Entry(std::move(name), std::move(record)));
        return static_cast<int>(at - entries_.begin());
    }

    void clear() { entries_.clear(); }

    int size() const { return static_cast<int>(entries_.size()); }
    const std::string& name(int i) const { return entries_[std::size_t(i)].first; }
    const Record& record(int i) const { return entries_[std::size_t(i)].second; }

  private:
    using Entry = std::pair<std::string, Record>;
    std::vector<Entry> entries_;
};

} // namespace kavlen
