// Consistency report of a package: everything a file may hold that the editor
// cannot honour (pointers outside the table, indices beyond their arrays, meshes
// stored out of first-reference order, samples reaching off their page, sizes
// that disagree with the data, bytes after the last section).
#pragma once

#include "document/package.h"

#include <string>
#include <vector>

namespace kavlen {

std::vector<std::string> checkWad(const Package& wad);

} // namespace kavlen
