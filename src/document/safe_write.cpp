#include "document/safe_write.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kavlen {

namespace fs = std::filesystem;

namespace {

fs::path temporaryPathBeside(const fs::path& target) {
    std::random_device rd;
    const auto tag = std::to_string(rd() & 0xFFFFFF);
    fs::path tmp = target;
    tmp += ".kavlen-" + tag + ".tmp";
    return tmp;
}

#ifdef _WIN32
// Windows: rename does not replace an existing file; MoveFileExW does, and
// returns only once the move has reached the disk.
void replaceFile(const fs::path& from, const fs::path& to, std::error_code& ec) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ec.clear();
    else
        ec.assign(static_cast<int>(GetLastError()), std::system_category());
}
#else
void replaceFile(const fs::path& from, const fs::path& to, std::error_code& ec) {
    fs::rename(from, to, ec);
}
#endif

} // namespace

WriteResult writeFileSafely(const fs::path& path,
                            const std::function<bool(std::ostream&)>& produce) {
    const fs::path tmp = temporaryPathBeside(path);
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out)
            return {false, "Cannot create " + tmp.string() + ": " + std::strerror(errno)};
        bool produced = false;
        try {
            produced = produce(out);
        } catch (const std::exception& e) {
            out.close();
            std::error_code ignored;
            fs::remove(tmp, ignored);
            return {false, "Cannot write " + path.string() + ": " + e.what()};
        }
        out.flush();
        if (!produced || !out) {
            out.close();
            std::error_code ignored;
            fs::remove(tmp, ignored);
            return {false, "Cannot write " + path.string() + ": write failed"};
        }
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(tmp, ignored);
            return {false, "Cannot write " + path.string() + ": close failed"};
        }
    }
    std::error_code ec;
    replaceFile(tmp, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(tmp, ignored);
        return {false, "Cannot replace " + path.string() + ": " + ec.message()};
    }
    return {};
}

WriteResult writeFileSafely(const fs::path& path, std::span<const std::uint8_t> bytes) {
    return writeFileSafely(path, [bytes](std::ostream& out) {
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(out);
    });
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
