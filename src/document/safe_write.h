// Writing files so that a failure never destroys the existing file: the content
// goes to a temporary file beside the target (created exclusively, flushed to the
// disk), which replaces the target only when everything was written. Saving
// through a symbolic link replaces the file the link points to; the replaced
// file's permission bits (and owner, where the process may set it) are kept.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kavlen {

struct WriteResult {
    bool ok = true;
    std::string message; // why the write failed
};

// Where a safe write puts its bytes. Small pieces are gathered in a buffer; large
// blocks go to the file straight from the caller's memory.
class FileSink {
  public:
    virtual ~FileSink() = default;
    // False when the write failed; the failure's cause is reported by the write.
    virtual bool write(const void* data, std::size_t n) = 0;
};

// `produce` writes the whole content to the sink; returning false aborts the
// write and keeps the old file.
WriteResult writeFileSafely(const std::filesystem::path& path,
                            const std::function<bool(FileSink&)>& produce);

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

// The file that a write to `path` replaces: the end of its chain of symbolic links
// (`path` itself when it is no link).
std::filesystem::path writeTarget(const std::filesystem::path& path);

// Reads a whole file; returns false with a message when it cannot.
bool readWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& out,
                   std::string& message);

} // namespace kavlen
