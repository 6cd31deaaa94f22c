// Hostile input: the demo package cut short at every byte and with random bytes
// changed must never crash the reader, must give a message when refused, and must
// leave the caller's document as it was.
#include "document/demo_package.h"
#include "document/package.h"
#include "document/safe_write.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

using namespace kavlen;

namespace {

std::vector<std::uint8_t> demoBytes() {
    std::vector<std::uint8_t> bytes;
    std::string message;
    EXPECT_TRUE(
        readWholeFile(std::filesystem::path(KAVLEN_SAMPLES_DIR) / "demo.wad", bytes, message));
    return bytes;
}

std::vector<std::uint8_t> serialize(const Package& wad) {
    std::array<std::uint32_t, kMaxMeshPointers> pointers{};
    std::uint32_t words = 0;
    return serializeWad(wad, pointers, words);
}

// A small package as the "previously loaded" document.
std::unique_ptr<Package> previousDocument() {
    auto wad = makeDemoPackage();
    wad->texInfoCount = 3;
    wad->meshCount = 2;
    wad->meshes.resize(2);
    return wad;
}

} // namespace

TEST(WadRobustness, TruncatedAtEveryOffset) {
    const auto bytes = demoBytes();
    ASSERT_FALSE(bytes.empty());
    auto wad = previousDocument();
    const auto reference = serialize(*wad);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        const LoadResult r = loadWadFromBytes(*wad, bytes.data(), size);
        ASSERT_FALSE(r.ok()) << "truncated at " << size;
        ASSERT_FALSE(r.message.empty()) << "truncated at " << size;
        ASSERT_EQ(wad->texInfoCount, 3u);
        ASSERT_EQ(wad->meshCount, 2);
        if (size % 4099 == 0) {
            ASSERT_EQ(serialize(*wad), reference) << "truncated at " << size;
        }
    }
    EXPECT_TRUE(loadWadFromBytes(*wad, bytes.data(), bytes.size()).ok());
}

TEST(WadRobustness, RandomByteChangesNeverCrash) {
    const auto original = demoBytes();
    ASSERT_FALSE(original.empty());
    // The atlas is opaque pixels; aim the changes at the structure around it.
    const std::size_t atlasEnd = 16 + 8 * 62 + 3 * kPageBytes;
    std::mt19937 rng(12345);
    const auto previous = previousDocument();
    const auto reference = serialize(*previous);
    int loaded = 0, refused = 0;
    for (int round = 0; round < 3000; ++round) {
        auto bytes = original;
        const int changes = 1 + static_cast<int>(rng() % 6);
        for (int c = 0; c < changes; ++c) {
            std::size_t at = rng() % bytes.size();
            if (rng() % 4 != 0 && at >= 16 + 8 * 62 && at < atlasEnd)
                at = atlasEnd + rng() % (bytes.size() - atlasEnd);
            bytes[at] = static_cast<std::uint8_t>(rng());
        }
        auto target = std::make_unique<Package>(*previous);
        const LoadResult r = loadWadFromBytes(*target, bytes.data(), bytes.size());
        if (r.ok()) {
            ++loaded;
            // Whatever was accepted can be saved again without harm.
            const auto again = serialize(*target);
            Package back;
            ASSERT_TRUE(loadWadFromBytes(back, again.data(), again.size()).ok());
        } else {
            ++refused;
            ASSERT_FALSE(r.message.empty());
            if (round % 50 == 0) {
                ASSERT_EQ(serialize(*target), reference);
            }
        }
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
}
