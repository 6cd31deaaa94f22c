#include "document/safe_write.h"

#include "document/regular_file.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kavlen {

namespace fs = std::filesystem;

namespace {

std::string quoted(const fs::path& path) {
    return "\"" + cutForMessage(path.string(), 120) + "\"";
}

// A temporary name beside `target` whose length does not depend on the target's
// (a name may have 255 bytes): at most 64 bytes of it, a random tag and ".tmp".
fs::path temporaryPathBeside(const fs::path& target) {
    static constexpr char kTagChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device rd;
    std::string tag;
    for (int i = 0; i < 8; ++i)
        tag += kTagChars[rd() % (sizeof(kTagChars) - 1)];
    std::string stem = target.filename().string();
    std::size_t keep = std::min<std::size_t>(stem.size(), 64);
    while (keep > 0 && keep < stem.size() &&
           (static_cast<unsigned char>(stem[keep]) & 0xC0) == 0x80)
        --keep; // do not split a UTF-8 sequence
    stem.resize(keep);
    return target.parent_path() / ("." + stem + "." + tag + ".tmp");
}

// Passes an ostream's bytes on to a FileSink.
class SinkStreamBuffer : public std::streambuf {
  public:
    explicit SinkStreamBuffer(FileSink& sink) : sink_(sink) {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }

  protected:
    int_type overflow(int_type ch) override {
        if (!drain())
            return traits_type::eof();
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }
    int sync() override { return drain() ? 0 : -1; }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        if (n < std::streamsize(buffer_.size()))
            return std::streambuf::xsputn(s, n);
        return drain() && sink_.write(s, std::size_t(n)) ? n : 0;
    }

  private:
    bool drain() {
        const std::size_t n = std::size_t(pptr() - pbase());
        setp(buffer_.data(), buffer_.data() + buffer_.size());
        return n == 0 || sink_.write(buffer_.data(), n);
    }

    FileSink& sink_;
    std::array<char, 64 * 1024> buffer_{};
};

} // namespace

fs::path writeTarget(const fs::path& path) {
    fs::path p = path;
    for (int depth = 0; depth < 40; ++depth) {
        std::error_code ec;
        if (fs::symlink_status(p, ec).type() != fs::file_type::symlink)
            return p;
        const fs::path link = fs::read_symlink(p, ec);
        if (ec)
            return p;
        p = link.is_absolute() ? link : p.parent_path() / link;
    }
    return p;
}

#ifdef _WIN32

namespace {

class StreamSink final : public FileSink {
  public:
    explicit StreamSink(std::ostream& out) : out_(out) {}
    bool write(const void* data, std::size_t n) override {
        out_.write(static_cast<const char*>(data), static_cast<std::streamsize>(n));
        return static_cast<bool>(out_);
    }

  private:
    std::ostream& out_;
};

} // namespace

WriteResult writeFileSafely(const fs::path& path, const std::function<bool(FileSink&)>& produce) {
    const fs::path target = writeTarget(path);
    const fs::path tmp = temporaryPathBeside(target);
    auto fail = [&](const std::string& message) {
        std::error_code ignored;
        fs::remove(tmp, ignored);
        return WriteResult{false, message};
    };
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out)
            return {false, "Cannot create " + quoted(tmp) + ": " + std::strerror(errno)};
        StreamSink sink(out);
        bool produced = false;
        try {
            produced = produce(sink);
        } catch (const std::exception& e) {
            out.close();
            return fail("Cannot write " + quoted(path) + ": " + e.what());
        }
        out.flush();
        if (!produced || !out) {
            out.close();
            return fail("Cannot write " + quoted(path) + ": write failed");
        }
        out.close();
        if (!out)
            return fail("Cannot write " + quoted(path) + ": close failed");
    }
    std::error_code ec;
    // rename does not replace an existing file here; MoveFileExW does, and
    // returns only once the move has reached the disk.
    if (!MoveFileExW(tmp.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ec.assign(static_cast<int>(GetLastError()), std::system_category());
    if (ec)
        return fail("Cannot replace " + quoted(target) + ": " + ec.message());
    return {};
}

#else

namespace {

// Gathers small pieces in a buffer and writes large blocks straight from the
// caller's memory; remembers the cause of the first failure.
class DescriptorSink final : public FileSink {
  public:
    explicit DescriptorSink(int fd) : fd_(fd), buffer_(256 * 1024) {}

    bool write(const void* data, std::size_t n) override {
        if (error_ != 0)
            return false;
        if (n == 0)
            return true;
        if (n >= buffer_.size() / 2)
            return flush() && writeAll(data, n);
        if (used_ + n > buffer_.size() && !flush())
            return false;
        std::memcpy(buffer_.data() + used_, data, n);
        used_ += n;
        return true;
    }
    bool flush() {
        if (error_ != 0)
            return false;
        const std::size_t n = used_;
        used_ = 0;
        return writeAll(buffer_.data(), n);
    }
    int error() const { return error_; }

  private:
    bool writeAll(const void* data, std::size_t n) {
        const auto* p = static_cast<const char*>(data);
        while (n > 0) {
            const ssize_t done = ::write(fd_, p, n);
            if (done < 0 && errno == EINTR)
                continue;
            if (done <= 0) {
                error_ = done < 0 ? errno : ENOSPC;
                return false;
            }
            p += done;
            n -= std::size_t(done);
        }
        return true;
    }

    int fd_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    int error_ = 0;
};

std::string kindOf(mode_t mode) {
    if (S_ISDIR(mode))
        return "it is a folder, not a file";
    return "it is not a regular file";
}

} // namespace

WriteResult writeFileSafely(const fs::path& path, const std::function<bool(FileSink&)>& produce) {
    const fs::path target = writeTarget(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        return {false, "Cannot write " + quoted(path) + ": " + std::strerror(errno)};
    if (exists && !S_ISREG(old.st_mode))
        return {false, "Cannot write " + quoted(path) + ": " + kindOf(old.st_mode)};

    // Created exclusively: an existing file (or a link planted there) is never
    // opened. A new file gets the usual permissions; a replacement gets the old
    // file's below, before any other process can see it.
    fs::path tmp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tmp = temporaryPathBeside(target);
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return {false, "Cannot write " + quoted(path) + ": " + std::strerror(errno)};

    auto fail = [&](const std::string& cause) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(tmp.c_str());
        return WriteResult{false, "Cannot write " + quoted(path) + ": " + cause};
    };
    DescriptorSink sink(fd);
    bool produced = false;
    try {
        produced = produce(sink);
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    if (!produced || !sink.flush())
        return fail(sink.error() != 0 ? std::strerror(sink.error()) : "write failed");
    if (exists) {
        // The owner where the process may set it; otherwise at least the group.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, uid_t(-1), old.st_gid) != 0) {
            // Nothing more can be kept: the file belongs to whoever saves it.
        }
        if (::fchmod(fd, old.st_mode & 07777) != 0)
            return fail(std::strerror(errno));
    }
    if (::fsync(fd) != 0)
        return fail(std::strerror(errno));
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0)
        return fail(std::strerror(errno));
    if (::rename(tmp.c_str(), target.c_str()) != 0)
        return fail(std::strerror(errno));
    // The rename reaches the disk with the folder.
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

#endif

WriteResult writeFileSafely(const fs::path& path,
                            const std::function<bool(std::ostream&)>& produce) {
    return writeFileSafely(path, [&produce](FileSink& sink) {
        SinkStreamBuffer buffer(sink);
        std::ostream out(&buffer);
        const bool produced = produce(out);
        out.flush();
        return produced && static_cast<bool>(out);
    });
}

WriteResult writeFileSafely(const fs::path& path, std::span<const std::uint8_t> bytes) {
    return writeFileSafely(
        path, [bytes](FileSink& sink) { return sink.write(bytes.data(), bytes.size()); });
}

bool readWholeFile(const fs::path& path, std::vector<std::uint8_t>& out, std::string& message) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        message = "Cannot open " + path.string() + ": " + std::strerror(errno);
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) {
        message = "Cannot read " + path.string();
        return false;
    }
    in.seekg(0, std::ios::beg);
    out.resize(static_cast<std::size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(out.data()), size)) {
        message = "Cannot read " + path.string();
        return false;
    }
    return true;
}

} // namespace kavlen
