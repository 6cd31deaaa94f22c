// A file assembled in, or loaded into, one memory buffer and touched once on open
// and once on close. On closing with flush it is written plainly or packed with
// zlib behind a "ZLIB" header; reading accepts both forms.
#pragma once

#include "document/safe_write.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace kavlen {

// Packed form: "ZLIB", u32 packed size, u32 content size, then the content as
// one zlib stream deflated at level 9.
std::vector<std::uint8_t> packContent(std::span<const std::uint8_t> content);

// The largest file, packed or plain, whose content is at most `maxContent` bytes.
std::size_t maxPackedFileSize(std::size_t maxContent);

// The content of a file's bytes: unpacked when the file is longer than 12 bytes
// and starts with "ZLIB", otherwise the bytes themselves. A packed file is
// refused when its content would exceed `maxContent` bytes, when it ends before
// its packed data, or when the data does not inflate to exactly the announced size.
bool unpackFileBytes(std::span<const std::uint8_t> file, std::size_t maxContent,
                     std::vector<std::uint8_t>& content, bool& packed, std::string& message);

class BufferedFile {
  public:
    static constexpr std::size_t kBufferStep = 262144;

    void assign(const std::filesystem::path& name);

    // Starts an empty content of `elementSize`-byte elements. The file itself is
    // written only by close(true), through a temporary file, so a failed write
    // leaves an existing file intact.
    void openForWriting(std::size_t elementSize);

    // Loads the whole file, unpacking a "ZLIB" file (see unpackFileBytes). Only a
    // regular file no larger than maxPackedFileSize(maxContent) is read.
    bool openForReading(std::size_t elementSize, std::size_t maxContent, std::string& message);

    void write(const void* data, std::size_t count);
    // Copies what is left up to count elements; returns the bytes copied.
    std::size_t read(void* data, std::size_t count);

    // With flush: writes the content, packed when `packed` is set.
    WriteResult close(bool flush);

    bool packed = false;

    std::size_t size() const { return size_; }
    std::size_t position() const { return position_; }
    std::size_t capacity() const { return buffer_.size(); }
    std::span<const std::uint8_t> content() const { return {buffer_.data(), size_}; }

  private:
    std::filesystem::path name_;
    std::vector<std::uint8_t> buffer_;
    std::size_t size_ = 0;
    std::size_t position_ = 0;
    std::size_t elementSize_ = 1;
};

} // namespace kavlen
