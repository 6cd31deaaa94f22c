// Writing files so that a failure never destroys the existing file: the content
// goes to a temporary file beside the target, which replaces the target only when
// everything was written and flushed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace kavlen {

struct WriteResult {
    bool ok = true;
    std::string message; // why the write failed
};

// `produce` writes the whole content to the stream; returning false (or leaving
// the stream failed) aborts the write and keeps the old file.
WriteResult writeFileSafely(const std::filesystem::path& path,
                            const std::function<bool(std::ostream&)>& produce);

WriteResult writeFileSafely(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Text files (exports): the characters as they are.
inline WriteResult writeFileSafely(const std::filesystem::path& path, std::string_view text) {
    return writeFileSafely(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

// Reads a whole file; returns false with a message when it cannot.
bool readWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& out,
                   std::string& message);

} // namespace kavlen
