// Loading and saving packages for commands: failures become exceptions that the
// command dispatcher prints with exit status 2.
#pragma once

#include "cli.h"
#include "document/package.h"

#include <memory>
#include <stdexcept>
#include <string>

namespace kavlen::cli {

inline std::unique_ptr<Package> loadOrThrow(const std::string& path) {
    auto wad = std::make_unique<Package>();
    const LoadResult r = loadWad(*wad, filePath(path));
    if (!r.ok())
        throw std::runtime_error(r.status == LoadResult::WrongVersion ? path + ": " + r.message
                                                                      : r.message);
    return wad;
}

inline void saveOrThrow(Package& wad, const std::string& path) {
    const SaveResult r = saveWad(wad, filePath(path));
    if (!r.ok)
        throw std::runtime_error(r.message);
}

} // namespace kavlen::cli
