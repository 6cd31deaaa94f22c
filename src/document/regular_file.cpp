#include "document/regular_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kavlen {

namespace fs = std::filesystem;

std::string cutForMessage(std::string_view text, std::size_t maxChars) {
    if (text.size() <= maxChars)
        return std::string(text);
    std::size_t keep = maxChars > 3 ? maxChars - 3 : 0;
    // Do not split a UTF-8 sequence.
    while (keep > 0 && (static_cast<unsigned char>(text[keep]) & 0xC0) == 0x80)
        --keep;
    return std::string(text.substr(0, keep)) + "...";
}

namespace {

std::string quotedName(const fs::path& path) {
    return "\"" + cutForMessage(path.string(), 120) + "\"";
}

std::string kindProblem(const fs::file_status& status) {
    switch (status.type()) {
    case fs::file_type::regular:
        return {};
    case fs::file_type::directory:
        return "it is a folder, not a file";
    case fs::file_type::fifo:
        return "it is a pipe (FIFO), not a regular file";
    case fs::file_type::socket:
        return "it is a socket, not a regular file";
    case fs::file_type::block:
    case fs::file_type::character:
        return "it is a device, not a regular file";
    case fs::file_type::not_found:
        return "no such file";
    default:
        return "it is not a regular file";
    }
}

std::string sizeProblem(std::uint64_t size, std::uint64_t maxBytes) {
    if (size <= maxBytes)
        return {};
    return "it holds " + std::to_string(size) + " bytes, more than the " +
           std::to_string(maxBytes) + " this kind of file may have";
}

} // namespace

std::string regularFileProblem(const fs::path& path, std::uint64_t maxBytes) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec && status.type() != fs::file_type::not_found)
        return "Cannot open " + quotedName(path) + ": " + ec.message();
    if (std::string kind = kindProblem(status); !kind.empty())
        return "Cannot open " + quotedName(path) + ": " + kind;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec)
        return "Cannot open " + quotedName(path) + ": " + ec.message();
    if (std::string tooLarge = sizeProblem(size, maxBytes); !tooLarge.empty())
        return "Cannot open " + quotedName(path) + ": " + tooLarge;
    return {};
}

#ifdef _WIN32

RegularFile::RegularFile(const fs::path& path, std::uint64_t maxBytes) : name_(quotedName(path)) {
    error_ = regularFileProblem(path, maxBytes);
    if (!error_.empty())
        return;
    std::FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) {
        error_ = "Cannot open " + name_ + ": " + std::strerror(errno);
        return;
    }
    std::error_code ec;
    size_ = fs::file_size(path, ec);
    stream_ = f;
    open_ = true;
}

RegularFile::~RegularFile() {
    if (stream_)
        std::fclose(static_cast<std::FILE*>(stream_));
}

bool RegularFile::read(void* out, std::size_t n) {
    if (!open_)
        return false;
    const std::size_t got = std::fread(out, 1, n, static_cast<std::FILE*>(stream_));
    if (got == n)
        return true;
    error_ = "Cannot read " + name_ + ": " +
             (std::ferror(static_cast<std::FILE*>(stream_)) ? std::strerror(errno)
                                                            : "the file ends early");
    return false;
}

#else

RegularFile::RegularFile(const fs::path& path, std::uint64_t maxBytes) : name_(quotedName(path)) {
    // Refuse by name first: opening some devices has effects of its own.
    error_ = regularFileProblem(path, maxBytes);
    if (!error_.empty())
        return;
    // O_NONBLOCK: should the path have become a FIFO meanwhile, open must not wait.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) {
        error_ = "Cannot open " + name_ + ": " + std::strerror(errno);
        return;
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        error_ = "Cannot open " + name_ + ": " + std::strerror(errno);
        return;
    }
    if (!S_ISREG(st.st_mode)) {
        error_ = "Cannot open " + name_ + ": it is not a regular file";
        return;
    }
    size_ = static_cast<std::uint64_t>(st.st_size);
    if (std::string tooLarge = sizeProblem(size_, maxBytes); !tooLarge.empty()) {
        error_ = "Cannot open " + name_ + ": " + tooLarge;
        return;
    }
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    open_ = true;
}

RegularFile::~RegularFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool RegularFile::read(void* out, std::size_t n) {
    if (!open_)
        return false;
    auto* p = static_cast<char*>(out);
    while (n > 0) {
        const ssize_t got = ::read(fd_, p, n);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            error_ = "Cannot read " + name_ + ": " +
                     (got < 0 ? std::string(std::strerror(errno)) : "the file ends early");
            return false;
        }
        p += got;
        n -= static_cast<std::size_t>(got);
    }
    return true;
}

#endif

bool readRegularFile(const fs::path& path, std::uint64_t maxBytes, std::vector<std::uint8_t>& out,
                     std::string& message) {
    RegularFile file(path, maxBytes);
    if (!file.isOpen()) {
        message = file.error();
        return false;
    }
    try {
        out.resize(static_cast<std::size_t>(file.size()));
    } catch (const std::bad_alloc&) {
        message = "Not enough memory to read " + quotedName(path);
        return false;
    }
    if (!file.read(out.data(), out.size())) {
        message = file.error();
        return false;
    }
    return true;
}

} // namespace kavlen
