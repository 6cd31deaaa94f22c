// Unused samples, deleting samples and pages, and compacting the atlas: on the
// demo package and on random atlases and texture words laid over its meshes.
#include "document/demo_package.h"
#include "document/wad_check.h"
#include "texture_test_support.h"
#include "textures/atlas_compaction.h"
#include "textures/rectangle_packer.h"
#include "textures/sample_deletion.h"
#include "textures/samples.h"
#include "textures/texture_usage.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace kavlen {
namespace {

// How a face looks: its sample's texels and the bits that place them.
struct FaceLook {
    Bitmap24 texels;
    std::uint16_t placing = 0; // a triangle's bits 12-15; a quad's sign bit
    bool operator==(const FaceLook&) const = default;
};

std::vector<FaceLook> faceLooks(const Package& wad) {
    std::vector<FaceLook> looks;
    for (std::size_t m = 0; m < wad.meshCount; ++m)
        for (int f = 0; f < wad.meshes[m].faceCount; ++f) {
            const MeshFace& face = wad.meshes[m].faces[f];
            auto picture = samplePicture(wad, faceSampleIndex(face));
            looks.push_back(
                {picture ? *picture : Bitmap24{},
                 static_cast<std::uint16_t>(face.texture & (face.isQuad() ? 0x8000 : 0xF000))});
        }
    return looks;
}

std::vector<std::uint8_t> bytesOf(const Package& wad) {
    std::array<std::uint32_t, kMaxMeshPointers> pointers;
    std::uint32_t words = 0;
    return serializeWad(wad, pointers, words);
}

// The demo package with `pages` pages of random texels, random samples (some
// overlapping, some sharing a rectangle) and random texture words on its faces,
// which use only part of the samples.
std::unique_ptr<Package> randomAtlas(std::mt19937& rng, int pages, int samples) {
    auto wad = makeDemoPackage();
    wad->textureDataSize = static_cast<std::uint32_t>(pages * kPageBytes);
    wad->textureData.resize(wad->textureDataSize);
    for (std::uint8_t& b : wad->textureData)
        b = static_cast<std::uint8_t>(rng());
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    wad->texInfoCount = 0;
    for (int i = 0; i < samples; ++i) {
        if (i > 0 && pick(0, 9) == 0) { // the same rectangle as an earlier sample
            wad->texInfos[wad->texInfoCount++] = wad->texInfos[pick(0, i - 1)];
            continue;
        }
        const int w = pick(0, 3) == 0 ? pick(1, 256) : pick(1, 64);
        const int h = pick(0, 3) == 0 ? pick(1, 256) : pick(1, 64);
        test::addSample(*wad, pick(0, pages - 1), pick(0, 256 - w), pick(0, 256 - h), w, h);
    }
    std::vector<int> usable;
    for (int i = 0; i < samples; ++i)
        if (pick(0, 2) > 0)
            usable.push_back(i);
    if (usable.empty())
        usable.push_back(samples - 1);
    for (std::size_t m = 0; m < wad->meshCount; ++m)
        for (int f = 0; f < wad->meshes[m].faceCount; ++f) {
            MeshFace& face = wad->meshes[m].faces[f];
            const int sample = usable[pick(0, int(usable.size()) - 1)];
            if (face.isQuad())
                face.texture = static_cast<std::uint16_t>(pick(0, 1) ? sample : -sample);
            else
                face.texture = static_cast<std::uint16_t>(sample | pick(0, 15) << 12);
        }
    return wad;
}

TEST(AtlasHousekeeping, RemoveUnusedAndCompactKeepEveryFaceLookingTheSame) {
    std::mt19937 rng(15);
    for (int round = 0; round < 24; ++round) {
        const int pages = 1 + round % 5;
        std::unique_ptr<Package> original =
            round == 0 ? makeDemoPackage() : randomAtlas(rng, pages, 2 + int(rng() % 120));
        const std::vector<FaceLook> before = faceLooks(*original);
        const std::vector<int> uses = sampleUseCounts(*original);
        const int usedCount =
            int(std::count_if(uses.begin(), uses.end(), [](int n) { return n > 0; }));
        for (const bool compact : {false, true}) {
            SCOPED_TRACE("round " + std::to_string(round) + (compact ? " compact" : " remove"));
            Package wad = *original;
            const AtlasEditResult r = compact ? compactAtlas(wad) : removeUnusedTextures(wad);
            EXPECT_EQ(faceLooks(wad), before);
            EXPECT_EQ(checkWad(wad), std::vector<std::string>{});
            // Only unused samples went, at most sample 0 stays for mirrored quads.
            EXPECT_GE(int(wad.texInfoCount), usedCount);
            EXPECT_LE(int(wad.texInfoCount), usedCount + 1);
            EXPECT_EQ(r.samplesAfter, int(wad.texInfoCount));
            EXPECT_EQ(r.pagesAfter, wad.pageCount());
            EXPECT_LE(r.pagesAfter, r.pagesBefore);
            const std::vector<std::uint8_t> bytes = bytesOf(wad);
            Package back;
            ASSERT_TRUE(loadWadFromBytes(back, bytes.data(), bytes.size()).ok());
            EXPECT_EQ(faceLooks(back), before);
            // Whatever overlapped or shared a rectangle still does, the same way.
            for (int i = 0; i < int(original->texInfoCount); ++i)
                for (int j = i + 1; j < int(original->texInfoCount); ++j) {
                    const int a = r.newSampleNumber[i], b = r.newSampleNumber[j];
                    const TexInfo &oi = original->texInfos[i], &oj = original->texInfos[j];
                    if (a < 0 || b < 0 || oi.page != oj.page ||
                        !sampleRect(oi).overlaps(sampleRect(oj)))
                        continue;
                    const TexInfo &ni = wad.texInfos[a], &nj = wad.texInfos[b];
                    EXPECT_EQ(ni.page, nj.page);
                    EXPECT_EQ(ni.x - nj.x, oi.x - oj.x);
                    EXPECT_EQ(ni.y - nj.y, oi.y - oj.y);
                }
        }
    }
}

TEST(AtlasHousekeeping, CompactionPacksLooseSamplesOntoFewerPages) {
    // Four pages each holding a used 100 x 130 sample and an unused one: two fit a page.
    auto wad = test::makeAtlasPackage(4);
    for (int p = 0; p < 4; ++p) {
        test::addSample(*wad, p, 10, 20 + p, 100, 130);
        test::addSample(*wad, p, 150, 150, 50, 50);
    }
    Mesh& mesh = wad->appendMeshSlot();
    mesh.faceCount = 4;
    for (int f = 0; f < 4; ++f)
        mesh.faces[f] = {.shape = kShapeTriangle, .texture = std::uint16_t(2 * f | 0x4000)};
    const std::vector<FaceLook> before = faceLooks(*wad);
    const AtlasEditResult r = compactAtlas(*wad);
    ASSERT_TRUE(r.changed);
    EXPECT_EQ(std::tie(r.pagesBefore, r.pagesAfter, r.samplesBefore, r.samplesAfter),
              std::make_tuple(4, 2, 8, 4));
    EXPECT_EQ(faceLooks(*wad), before);
    EXPECT_EQ(r.messages.back().text,
              "Compacted the atlas.\r\nPages: 4 before, 2 after.\r\nTextures: 8 before, 4 after.");
    const AtlasEditResult again = compactAtlas(*wad);
    EXPECT_FALSE(again.changed);
    EXPECT_EQ(again.messages.back().text, "The atlas is already compact: 2 pages, 4 textures.");
}

// One mesh whose faces carry `words` (triangles, or quads for words marked q).
std::unique_ptr<Package> packageWithFaces(int samples,
                                          const std::vector<std::pair<bool, int>>& faces) {
    auto wad = test::makeAtlasPackage(2);
    for (int i = 0; i < samples; ++i)
        test::addSample(*wad, i % 2, i * 8, 0, 8, 8);
    Mesh& mesh = wad->appendMeshSlot();
    mesh.faceCount = std::int16_t(faces.size());
    for (std::size_t f = 0; f < faces.size(); ++f)
        mesh.faces[f] = {.shape = faces[f].first ? kShapeQuad : kShapeTriangle,
                         .texture = static_cast<std::uint16_t>(faces[f].second)};
    return wad;
}

std::vector<std::uint16_t> wordsOf(const Package& wad) {
    std::vector<std::uint16_t> words;
    for (int f = 0; f < wad.meshes[0].faceCount; ++f)
        words.push_back(wad.meshes[0].faces[f].texture);
    return words;
}

TEST(AtlasHousekeeping, DeleteTextureRenumbersOrRefusesWithoutChange) {
    constexpr bool Quad = true, Tri = false;
    struct Case {
        const char* name;
        std::vector<std::pair<bool, int>> faces;
        int n;
        std::optional<int> replacement;
        std::vector<std::uint16_t> wordsAfter; // empty: refused
        std::string message;
    };
    const std::vector<Case> cases{
        {"unused sample: higher numbers move down",
         {{Tri, 0xB004}, {Quad, -3}, {Quad, 1}},
         2,
         {},
         {0xB003, std::uint16_t(-2), 1},
         "Deleted Texture#2."},
        {"used sample without a replacement",
         {{Tri, 0x2002}},
         2,
         {},
         {},
         "Texture#2 is used by 1 face. Choose a replacement texture for them."},
        {"used sample with a replacement keeps corner, mirroring and sign",
         {{Tri, 0xA002}, {Quad, -2}, {Tri, 0x0003}},
         2,
         4,
         {0xA003, std::uint16_t(-3), 0x0002},
         "Deleted Texture#2; 2 faces now use Texture#3 (was Texture#4)."},
        {"replacement below the deleted sample keeps its number",
         {{Quad, -3}},
         3,
         1,
         {std::uint16_t(-1)},
         "Deleted Texture#3; 1 face now uses Texture#1."},
        {"replacement is the sample itself", {{Quad, 2}}, 2, 2, {}, ""},
        {"replacement does not exist", {{Quad, 2}}, 2, 9, {}, ""},
        {"sample does not exist", {{Quad, 2}}, 5, {}, {}, "Texture#5 does not exist."},
        {"a mirrored quad would move to sample 0",
         {{Quad, -1}},
         0,
         {},
         {},
         "Texture#1 is mirrored on quads and would become Texture#0, which a quad cannot "
         "mirror."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto wad = packageWithFaces(5, c.faces);
        const Package before = *wad;
        const AtlasEditResult r = deleteTexture(*wad, c.n, c.replacement);
        EXPECT_EQ(r.changed, !c.wordsAfter.empty());
        if (!c.message.empty()) {
            EXPECT_EQ(r.messages.back().text, c.message);
        }
        if (c.wordsAfter.empty()) {
            EXPECT_EQ(r.messages.back().kind, MessageKind::Error);
            EXPECT_EQ(bytesOf(*wad), bytesOf(before));
            continue;
        }
        EXPECT_EQ(wordsOf(*wad), c.wordsAfter);
        ASSERT_EQ(wad->texInfoCount, 4u);
        for (int i = 0; i < 5; ++i)
            if (i != c.n) {
                EXPECT_EQ(sampleRect(wad->texInfos[r.newSampleNumber[i]]),
                          sampleRect(before.texInfos[i]));
            }
        EXPECT_EQ(wad->textureData, before.textureData); // texels stay on the page
    }
}

TEST(AtlasHousekeeping, RemoveUnusedKeepsSampleZeroForMirroredQuads) {
    auto wad = packageWithFaces(5, {{true, -2}, {false, 0x8004}});
    AtlasEditResult r = removeUnusedTextures(*wad);
    ASSERT_TRUE(r.changed);
    EXPECT_EQ(r.newSampleNumber, (std::vector<int>{0, -1, 1, -1, 2}));
    EXPECT_EQ(wordsOf(*wad), (std::vector<std::uint16_t>{std::uint16_t(-1), 0x8002}));
    EXPECT_EQ(textureListLabel(0, false), "Texture#0  (unused)");
    r = removeUnusedTextures(*wad);
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(r.messages.back().text,
              "No unused textures to remove (Texture#0 stays for the mirrored quads).");
}

TEST(AtlasHousekeeping, DeletePageMovesLaterPagesUpOrRefuses) {
    auto wad = test::makeAtlasPackage(4);
    test::addSample(*wad, 0, 0, 0, 4, 4);
    test::addSample(*wad, 3, 5, 6, 4, 4);
    Mesh& mesh = wad->appendMeshSlot();
    mesh.faceCount = 1;
    mesh.faces[0] = {.shape = kShapeQuad, .texture = 1};
    const UnusedReport unused = unusedSamples(*wad);
    ASSERT_EQ(unused.unused.size(), 1u);
    EXPECT_EQ(unused.unused[0].index, 0);
    EXPECT_EQ(unused.pagesOnlyUnused, std::vector<int>{0});
    EXPECT_EQ(unused.pagesWithoutSample, (std::vector<int>{1, 2}));

    const std::vector<FaceLook> looks = faceLooks(*wad);
    for (const int refused : {0, 3, 4, -1}) {
        const Package before = *wad;
        EXPECT_FALSE(deletePage(*wad, refused).changed);
        EXPECT_EQ(bytesOf(*wad), bytesOf(before));
    }
    EXPECT_EQ(deletePage(*wad, 3).messages.back().text,
              "Page#3 still holds 1 texture; delete or move them first.");
    const AtlasEditResult r = deletePage(*wad, 1);
    ASSERT_TRUE(r.changed);
    EXPECT_EQ(r.newPageNumber, (std::vector<int>{0, -1, 1, 2}));
    EXPECT_EQ(wad->pageCount(), 3);
    EXPECT_EQ(wad->texInfos[1].page, 2);
    EXPECT_EQ(faceLooks(*wad), looks);

    auto single = test::makeAtlasPackage(1);
    EXPECT_EQ(deletePage(*single, 0).messages.back().text,
              "The atlas must keep at least one page.");
}

TEST(RectanglePacker, PlacesEveryRectangleInsideAPageWithoutOverlap) {
    std::mt19937 rng(4096);
    for (int round = 0; round < 30; ++round) {
        std::vector<PackSize> sizes(1 + rng() % 300);
        long area = 0;
        for (PackSize& s : sizes) {
            s = {1 + int(rng() % (round % 2 ? 256 : 64)), 1 + int(rng() % 64)};
            area += long(s.width) * s.height;
        }
        const std::optional<PackLayout> layout = packRectangles(sizes);
        ASSERT_TRUE(layout);
        EXPECT_GE(layout->pages, int((area + 65535) / 65536));
        std::map<int, std::vector<PageRect>> onPage;
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            const PackPlace& at = layout->places[i];
            const PageRect r{at.x, at.y, at.x + sizes[i].width - 1, at.y + sizes[i].height - 1};
            ASSERT_TRUE(at.page >= 0 && at.page < layout->pages && r.left >= 0 && r.top >= 0 &&
                        r.right < 256 && r.bottom < 256);
            for (const PageRect& other : onPage[at.page])
                ASSERT_FALSE(r.overlaps(other));
            onPage[at.page].push_back(r);
        }
    }
    EXPECT_FALSE(packRectangles({{257, 10}}));
    EXPECT_FALSE(packRectangles({{0, 10}}));
}

} // namespace
} // namespace kavlen
