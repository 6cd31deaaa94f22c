// Reads the one document of a kind from a zip archive held in memory (how
// Metasequoia compresses a document into ".mqoz").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kavlen {

// Whether the bytes start like a zip archive.
bool isZipArchive(std::string_view bytes);

// Whether this build can open zip archives.
bool canReadZipArchives();

// Unpacks the only member whose name ends in `extension` (any case) into `out`;
// false with a message when there is none, more than one, or it unpacks to more
// than `maxBytes`.
bool readZipMember(std::string_view archive, std::string_view extension, std::uintmax_t maxBytes,
                   std::string& out, std::string& message);

} // namespace kavlen
