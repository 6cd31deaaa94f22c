#include "textures/buffered_file.h"

#include "document/regular_file.h"

#include <cstring>
#include <zlib.h>

namespace kavlen {

namespace {

constexpr std::uint8_t kTag[4] = {'Z', 'L', 'I', 'B'};
constexpr std::size_t kHeaderSize = 12;

void putU32(std::uint8_t* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint32_t getU32(const std::uint8_t* at) {
    return std::uint32_t(at[0]) | (std::uint32_t(at[1]) << 8) | (std::uint32_t(at[2]) << 16) |
           (std::uint32_t(at[3]) << 24);
}

} // namespace

std::vector<std::uint8_t> packContent(std::span<const std::uint8_t> content) {
    uLongf packedSize = compressBound(static_cast<uLong>(content.size()));
    std::vector<std::uint8_t> file(kHeaderSize + packedSize);
    const int rc = compress2(file.data() + kHeaderSize, &packedSize, content.data(),
                             static_cast<uLong>(content.size()), 9);
    if (rc != Z_OK)
        return {};
    file.resize(kHeaderSize + packedSize);
    std::memcpy(file.data(), kTag, 4);
    putU32(file.data() + 4, static_cast<std::uint32_t>(packedSize));
    putU32(file.data() + 8, static_cast<std::uint32_t>(content.size()));
    return file;
}

std::size_t maxPackedFileSize(std::size_t maxContent) {
    // zlib's bound for incompressible content, plus the header.
    return kHeaderSize + compressBound(static_cast<uLong>(maxContent));
}

bool unpackFileBytes(std::span<const std::uint8_t> file, std::size_t maxContent,
                     std::vector<std::uint8_t>& content, bool& packed, std::string& message) {
    packed = file.size() > kHeaderSize && std::memcmp(file.data(), kTag, 4) == 0;
    if (!packed) {
        content.assign(file.begin(), file.end());
        return true;
    }
    const std::uint32_t packedSize = getU32(file.data() + 4);
    const std::uint32_t contentSize = getU32(file.data() + 8);
    if (contentSize > maxContent) {
        message = "The packed content (" + std::to_string(contentSize) +
                  " bytes) is larger than any texture set can be.";
        return false;
    }
    if (packedSize > file.size() - kHeaderSize) {
        message = "The file ends before its packed data (" + std::to_string(packedSize) +
                  " bytes announced, " + std::to_string(file.size() - kHeaderSize) + " present).";
        return false;
    }
    content.assign(contentSize, 0);
    uLongf outSize = contentSize;
    uLong inSize = packedSize;
    // uncompress2 wants a non-null destination even for an empty content.
    std::uint8_t scratch = 0;
    const int rc = uncompress2(contentSize ? content.data() : &scratch, &outSize,
                               file.data() + kHeaderSize, &inSize);
    if (rc != Z_OK) {
        message = std::string("The packed data does not unpack: ") +
                  (rc == Z_BUF_ERROR ? "it is cut short or larger than announced" : zError(rc)) +
                  ".";
        return false;
    }
    if (outSize != contentSize) {
        message = "The packed data unpacks to " + std::to_string(outSize) + " bytes, not the " +
                  std::to_string(contentSize) + " announced.";
        return false;
    }
    return true;
}

void BufferedFile::assign(const std::filesystem::path& name) {
    name_ = name;
    packed = false;
}

void BufferedFile::openForWriting(std::size_t elementSize) {
    elementSize_ = elementSize;
    size_ = 0;
    position_ = 0;
    buffer_.assign(kBufferStep, 0);
}

bool BufferedFile::openForReading(std::size_t elementSize, std::size_t maxContent,
                                  std::string& message) {
    elementSize_ = elementSize;
    size_ = 0;
    position_ = 0;
    buffer_.clear();
    std::vector<std::uint8_t> file;
    if (!readRegularFile(name_, maxPackedFileSize(maxContent), file, message))
        return false;
    if (!unpackFileBytes(file, maxContent, buffer_, packed, message)) {
        buffer_.clear();
        return false;
    }
    size_ = buffer_.size();
    return true;
}

void BufferedFile::write(const void* data, std::size_t count) {
    const std::size_t n = count * elementSize_;
    if (position_ + n > buffer_.size())
        buffer_.resize(position_ + n + kBufferStep);
    if (n > 0)
        std::memcpy(buffer_.data() + position_, data, n);
    position_ += n;
    size_ = std::max(size_, position_);
}

std::size_t BufferedFile::read(void* data, std::size_t count) {
    const std::size_t n = std::min(count * elementSize_, size_ - std::min(size_, position_));
    if (n > 0)
        std::memcpy(data, buffer_.data() + position_, n);
    position_ += n;
    return n;
}

WriteResult BufferedFile::close(bool flush) {
    WriteResult result;
    if (flush) {
        if (packed) {
            const std::vector<std::uint8_t> file = packContent(content());
            result = file.empty() ? WriteResult{false, "Cannot pack " + name_.string()}
                                  : writeFileSafely(name_, file);
        } else {
            result = writeFileSafely(name_, content());
        }
    }
    buffer_.clear();
    buffer_.shrink_to_fit();
    size_ = 0;
    position_ = 0;
    return result;
}

} // namespace kavlen
