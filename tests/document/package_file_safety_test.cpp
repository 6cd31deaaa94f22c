// The package file under odd layouts and damage: pointers keep their meshes
// whatever the storage order, damaged counts and pointers are kept and reported,
// bytes after the last section survive, a save keeps the file's identity and
// never leaves a half-written file, and only regular files are read.
#include "document/package.h"
#include "document/safe_write.h"
#include "document/wad_check.h"
#include "package_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

using namespace kavlen;
using namespace kavlen::test;
namespace fs = std::filesystem;

namespace {

struct TempDir {
    fs::path path;
    TempDir() {
        path = fs::temp_directory_path() /
               ("kavlen-safety-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempDir() { fs::remove_all(path); }
};

std::vector<std::uint8_t> serialize(const Package& wad) {
    std::array<std::uint32_t, kMaxMeshPointers> pointers{};
    std::uint32_t words = 0;
    return serializeWad(wad, pointers, words);
}

std::vector<std::uint8_t> readFile(const fs::path& path) {
    std::vector<std::uint8_t> bytes;
    std::string message;
    EXPECT_TRUE(readWholeFile(path, bytes, message)) << message;
    return bytes;
}

bool anyContains(const std::vector<std::string>& lines, const std::string& text) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.find(text) != std::string::npos; });
}

// Three meshes of 52 bytes at offsets 0, 52 and 104, told apart by the x of their
// first vertex (100, 200, 300).
PackageSpec threeMeshes(std::vector<std::uint32_t> pointers) {
    PackageSpec spec;
    for (std::int16_t marker : {100, 200, 300}) {
        MeshSpec m = smallTriangleMesh();
        m.vertexXyz[0] = marker;
        spec.meshes.push_back(m);
    }
    spec.moveables = moveableBytes(1, static_cast<std::uint16_t>(pointers.size()), 0);
    spec.statics = staticBytes(2, static_cast<std::uint16_t>(pointers.size() - 1));
    spec.pointers = std::move(pointers);
    return spec;
}

// The marker of the mesh stored at pointer i's offset, or -1 when it starts none.
int markerOfPointer(const Package& wad, std::size_t i) {
    const auto& starts = wad.meshFileOffsets;
    const auto it = std::find(starts.begin(), starts.end(), wad.meshPointers[i]);
    return it == starts.end() ? -1 : wad.meshes[std::size_t(it - starts.begin())].vertices[0].x;
}

} // namespace

TEST(PackageFileSafety, PointersKeepTheirMeshesWhateverTheStorageOrder) {
    struct Case {
        const char* name;
        std::vector<std::uint32_t> pointers;
        const char* notice; // expected in the load notice; empty: no notice
    };
    const Case cases[] = {
        {"first-reference order", {0, 52, 104, 52}, ""},
        {"reverse order", {104, 52, 0}, "out of first-reference order"},
        {"shared and zero pointers", {0, 104, 104, 0, 52, 104, 52}, "out of first-reference order"},
        {"pointer into a mesh", {52, 7, 104}, "1 mesh pointer starts no mesh"},
        {"pointer into a mesh, then reverse order", {7, 104, 52}, "out of first-reference order"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto bytes = buildPackage(threeMeshes(c.pointers));
        Package wad;
        const LoadResult r = loadWadFromBytes(wad, bytes.data(), bytes.size());
        ASSERT_TRUE(r.ok()) << r.message;
        if (*c.notice == '\0')
            EXPECT_EQ(r.notice, "");
        else
            EXPECT_NE(r.notice.find(c.notice), std::string::npos) << r.notice;
        // Without edits every layout resaves byte for byte.
        EXPECT_EQ(serialize(wad), bytes);

        std::vector<int> named;
        for (std::size_t i = 0; i < c.pointers.size(); ++i)
            named.push_back(markerOfPointer(wad, i));
        // Mesh 0 grows by a triangle: every later mesh moves by 12 bytes.
        Mesh& first = wad.meshes[0];
        first.faces[1] = first.faces[0];
        first.faceCount = 2;
        const fs::path file = dir.path / "out.wad";
        ASSERT_TRUE(saveWad(wad, file).ok);
        Package back;
        ASSERT_TRUE(loadWad(back, file).ok());
        ASSERT_EQ(back.meshCount, 3);
        for (std::size_t i = 0; i < c.pointers.size(); ++i) {
            if (named[i] < 0)
                EXPECT_EQ(back.meshPointers[i], c.pointers[i]) << "pointer " << i;
            else
                EXPECT_EQ(markerOfPointer(back, i), named[i]) << "pointer " << i;
        }
        // A second save writes the same bytes; the order is still reported.
        const auto saved = readFile(file);
        EXPECT_EQ(serialize(back), saved);
        EXPECT_EQ(serialize(wad), saved);
        if (std::string(c.notice).find("order") != std::string::npos) {
            EXPECT_TRUE(anyContains(checkWad(back), "first-reference order"));
        }
    }
}

TEST(PackageFileSafety, DamagedCountsAreReportedAndNeverShrinkAResave) {
    PackageSpec spec = threeMeshes({0, 52, 104});
    spec.moveables.insert(spec.moveables.end(), spec.moveables.begin(), spec.moveables.end());
    spec.statics.insert(spec.statics.end(), spec.statics.begin(), spec.statics.end());
    spec.animationCount = 2;
    const auto good = buildPackage(spec);
    // Byte positions of the counts near the end of the file.
    const std::size_t staticCountAt = good.size() - spec.statics.size() - 4;
    const std::size_t moveableCountAt = staticCountAt - spec.moveables.size() - 4;
    const std::size_t animationCountAt = 4 + 4 + 4 + 4 + 4 * 3 + 4 + 3 * 52;
    const std::size_t meshWordsAt = animationCountAt - 3 * 52 - 4;

    struct Case {
        const char* name;
        std::function<void(std::vector<std::uint8_t>&)> damage;
        const char* refusal;   // expected refusal; empty when the package loads
        const char* problem;   // what check reports when it loads
        bool resavesIdentical; // whether a resave writes the same bytes
    };
    auto setU32 = [](std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    const Case cases[] = {
        {"atlas one byte over whole pages",
         [](auto& b) {
             PackageSpec s;
             s.atlas.assign(kPageBytes + 1, 7);
             b = buildPackage(s);
         },
         "is not a whole number of pages", "", false},
        // The second moveable's object id (1) is then read as the static count.
        {"moveable count lowered", [&](auto& b) { setU32(b, moveableCountAt, 1); }, "",
         "50 bytes after the statics section", true},
        {"static count lowered", [&](auto& b) { setU32(b, staticCountAt, 1); }, "",
         "32 bytes after the statics section", true},
        {"bytes appended",
         [](auto& b) {
             b.insert(b.end(), {'T', 'A', 'I', 'L', 0});
         },
         "", "5 bytes after the statics section", true},
        {"animation count lowered", [&](auto& b) { setU32(b, animationCountAt, 1); },
         "File ends early", "", false},
        {"mesh data size lowered by a word", [&](auto& b) { setU32(b, meshWordsAt, 77); }, "",
         "its size field says 154 bytes, the meshes take 156", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto bytes = good;
        c.damage(bytes);
        Package wad;
        const LoadResult r = loadWadFromBytes(wad, bytes.data(), bytes.size());
        if (*c.refusal != '\0') {
            EXPECT_EQ(r.status, LoadResult::Failed);
            EXPECT_NE(r.message.find(c.refusal), std::string::npos) << r.message;
            continue;
        }
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_TRUE(anyContains(checkWad(wad), c.problem));
        const auto resaved = serialize(wad);
        if (c.resavesIdentical) {
            EXPECT_EQ(resaved, bytes);
        }
        Package back;
        ASSERT_TRUE(loadWadFromBytes(back, resaved.data(), resaved.size()).ok());
        EXPECT_EQ(back.meshCount, wad.meshCount);
        EXPECT_EQ(back.moveables.size(), wad.moveables.size());
        EXPECT_EQ(back.statics.size(), wad.statics.size());
        EXPECT_EQ(back.trailingBytes, wad.trailingBytes);
        EXPECT_GE(resaved.size(), bytes.size());
    }
}

// Symbolic links, POSIX modes and a file size limit: not on Windows.
#ifndef _WIN32
TEST(PackageFileSafety, SaveKeepsLinkModeAndTheOldFileOnFailure) {
    TempDir dir;
    const auto bytes = buildPackage(threeMeshes({0, 104, 52}));
    Package wad;
    ASSERT_TRUE(loadWadFromBytes(wad, bytes.data(), bytes.size()).ok());
    const fs::path real = dir.path / "real.wad";
    const fs::path link = dir.path / "link.wad";
    ASSERT_TRUE(saveWad(wad, real).ok);
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("real.wad", link);

    wad.texInfoCount = 0; // any change
    ASSERT_TRUE(saveWad(wad, link).ok);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(real), serialize(wad));
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::mask,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 2);

    // A name of the longest length a folder entry may have.
    const fs::path longName = dir.path / (std::string(251, 'n') + ".wad");
    EXPECT_TRUE(saveWad(wad, longName).ok);
    EXPECT_EQ(readFile(longName), serialize(wad));

    // The disk refuses more bytes half-way: the cause is reported, the old file
    // and the document stay as they were.
    const auto old = readFile(real);
    const auto pointers = wad.meshPointers;
    wad.meshes[0].faces[1] = wad.meshes[0].faces[0];
    wad.meshes[0].faceCount = 2;
    wad.textureData.assign(kPageBytes, 1);
    wad.textureDataSize = kPageBytes;
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{4096, limit.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const SaveResult failed = saveWad(wad, link);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(failed.ok);
    EXPECT_NE(failed.message.find(std::strerror(EFBIG)), std::string::npos) << failed.message;
    EXPECT_EQ(readFile(real), old);
    EXPECT_EQ(wad.meshPointers, pointers);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 3);
}
#endif

TEST(PackageFileSafety, OnlyRegularFilesAreRead) {
    TempDir dir;
    fs::create_directories(dir.path / "folder.wad");
    std::vector<std::pair<fs::path, const char*>> cases = {
        {dir.path / "folder.wad", "it is a folder, not a file"},
        {dir.path / "missing.wad", "no such file"},
    };
#ifndef _WIN32
    const fs::path fifo = dir.path / "pipe.wad";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    cases.push_back({fifo, "it is a pipe (FIFO), not a regular file"});
    cases.push_back({"/dev/null", "it is a device, not a regular file"});
#endif
    const auto bytes = buildPackage(threeMeshes({0, 52, 104}));
    Package wad;
    ASSERT_TRUE(loadWadFromBytes(wad, bytes.data(), bytes.size()).ok());
    for (const auto& [path, expected] : cases) {
        SCOPED_TRACE(path.string());
        const LoadResult r = loadWad(wad, path);
        EXPECT_EQ(r.status, LoadResult::Failed);
        EXPECT_NE(r.message.find(expected), std::string::npos) << r.message;
        EXPECT_EQ(wad.meshCount, 3); // the document is untouched
    }
}
