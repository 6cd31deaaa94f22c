// Reading only regular files of a bounded size. Folders, FIFOs, sockets and
// devices are refused with a message before anything is read: sizing a buffer by
// a folder's end position or waiting on a FIFO for a writer must not happen.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kavlen {

// `text` cut to at most `maxChars` characters (an ellipsis marks the cut), so that
// a message quoting a name or a value from a file stays readable.
std::string cutForMessage(std::string_view text, std::size_t maxChars = 80);

// A file opened for reading after it was found to be a regular file of at most
// `maxBytes` bytes. Opening never blocks. On refusal the file is not open and
// `error()` says why, naming the file.
class RegularFile {
  public:
    RegularFile(const std::filesystem::path& path, std::uint64_t maxBytes);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    bool isOpen() const { return open_; }
    const std::string& error() const { return error_; }
    std::uint64_t size() const { return size_; }

    // Reads exactly `n` bytes from the current position; false (and `error()` set)
    // when the file ends early or the read fails.
    bool read(void* out, std::size_t n);

#ifndef _WIN32
    int descriptor() const {
        return fd_;
    }
#endif

  private:
    std::string name_;
    std::string error_;
    std::uint64_t size_ = 0;
    bool open_ = false;
#ifdef _WIN32
    void* stream_ = nullptr; // std::FILE*
#else
    int fd_ = -1;
#endif
};

// Reads a whole regular file of at most `maxBytes` into `out`; false with a
// message otherwise.
bool readRegularFile(const std::filesystem::path& path, std::uint64_t maxBytes,
                     std::vector<std::uint8_t>& out, std::string& message);

// Why `path` cannot be read as a regular file of at most `maxBytes`, or an empty
// string when it can. For readers that hand the path on to a library.
std::string regularFileProblem(const std::filesystem::path& path, std::uint64_t maxBytes);

} // namespace kavlen
