#include "document/demo_package.h"
#include "document/edit_history.h"
#include "meshedit/add_mesh.h"
#include "meshedit/face_attributes.h"
#include "meshedit/mirror_mesh.h"
#include "meshedit/move_mesh.h"
#include "textures/adding.h"
#include "textures/texture_numbers.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

namespace kavlen {
namespace {

std::vector<std::uint8_t> bytesOf(const Package& wad) {
    std::array<std::uint32_t, kMaxMeshPointers> pointers{};
    std::uint32_t words = 0;
    return serializeWad(wad, pointers, words);
}

// One random user-level edit through the history: the operations that the
// editor's commands run, each with the scope its command declares.
void randomEdit(EditHistory& history, Package& wad, std::mt19937& rng) {
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    const int slot = pick(wad.meshCount);
    switch (pick(9)) {
    case 0: {
        EditScope scope = EditScope::mesh(slot);
        scope.statics = true;
        history.edit("Mirror", scope,
                     [&] { mirrorMesh(wad, slot, mirrorAxis(static_cast<MirrorPlane>(pick(3)))); });
        break;
    }
    case 1: {
        EditScope scope = EditScope::mesh(slot);
        scope.statics = true;
        history.edit("Move", scope, [&] { moveMesh(wad, slot, pick(200) - 100, pick(50), 7); });
        break;
    }
    case 2:
        history.edit("Texture All", EditScope::mesh(slot),
                     [&] { textureAll(wad, slot, pick(static_cast<int>(wad.texInfoCount))); });
        break;
    case 3:
        history.edit("Shine All", EditScope::mesh(slot), [&] { shineAll(wad, slot, pick(32)); });
        break;
    case 4: {
        EditScope scope;
        scope.allMeshSlots = scope.samples = true;
        const int n = static_cast<int>(wad.texInfoCount);
        history.edit("Swap", scope, [&] { swapTextureNumbers(wad, pick(n), pick(n)); });
        break;
    }
    case 5: {
        EditScope scope;
        scope.meshTables = true;
        history.edit("Add mesh", scope, [&] { addEmptyMesh(wad); });
        break;
    }
    case 6: {
        EditScope scope;
        scope.wholeAtlas = true;
        history.edit("Add page", scope, [&] { addBlankPage(wad); });
        break;
    }
    case 7: {
        const int page = pick(wad.pageCount());
        history.edit("Paint", EditScope{}.withPage(page), [&] {
            for (int i = 0; i < 40; ++i)
                wad.textureData[page * kPageBytes + pick(int(kPageBytes))] ^= 0x5A;
        });
        break;
    }
    default: // an edit that changes nothing records nothing
        history.edit("Nothing", EditScope::mesh(slot), [] {});
        break;
    }
}

TEST(EditHistoryTest, RandomEditsUndoAndRedoByteForByteAndTrackTheSavedStep) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        auto wad = makeDemoPackage();
        EditHistory history(*wad);
        std::vector<std::vector<std::uint8_t>> states{bytesOf(*wad)};
        const std::size_t savedAt = rng() % 6;
        for (int i = 0; i < 25; ++i) {
            const std::size_t before = history.undoableSteps();
            randomEdit(history, *wad, rng);
            if (history.undoableSteps() != before) {
                states.push_back(bytesOf(*wad));
                ASSERT_NE(states.back(), states[states.size() - 2]) << "a step without a change";
            } else {
                ASSERT_EQ(bytesOf(*wad), states.back()) << "a change without a step";
            }
            if (history.undoableSteps() == savedAt)
                history.markSaved();
        }
        const std::size_t steps = states.size() - 1;
        ASSERT_EQ(history.undoableSteps(), steps);
        const bool savedReached = savedAt <= steps;
        for (std::size_t k = steps; k > 0; --k) {
            EXPECT_EQ(history.isModified(), !(savedReached && k == savedAt)) << k;
            EXPECT_FALSE(history.undo().empty());
            ASSERT_EQ(bytesOf(*wad), states[k - 1]) << "undo to " << k - 1;
        }
        EXPECT_FALSE(history.canUndo());
        EXPECT_EQ(history.isModified(), !(savedReached && savedAt == 0));
        for (std::size_t k = 1; k <= steps; ++k) {
            history.redo();
            ASSERT_EQ(bytesOf(*wad), states[k]) << "redo to " << k;
        }
        EXPECT_FALSE(history.canRedo());
    }
}

TEST(EditHistoryTest, StepsHoldOnlyWhatChangedAndTellTheListenersOnce) {
    auto wad = makeDemoPackage();
    EditHistory history(*wad);
    std::vector<DocumentChange> told;
    Subscription subscription =
        history.onChange([&](const DocumentChange& c) { told.push_back(c); });

    // Every mesh in scope, one changed: the step keeps about one slot.
    EditScope all;
    all.allMeshSlots = true;
    history.edit("Shine All", all, [&] { shineAll(*wad, 0, 9); });
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].meshSlots, std::vector<int>{0});
    EXPECT_FALSE(told[0].touchesTextures());
    EXPECT_LT(history.lastStepBytes(), 2 * sizeof(Mesh));
    EXPECT_EQ(history.undoCaption(), "Shine All");

    // A page of texels: the samples on that page are named, the others not.
    history.edit("Paint", EditScope{}.withPage(0), [&] { wad->textureData[5] ^= 1; });
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[1].pages, std::vector<int>{0});
    for (std::uint32_t s = 0; s < wad->texInfoCount; ++s)
        EXPECT_EQ(told[1].touchesSample(int(s)), wad->texInfos[s].page == 0) << s;
    EXPECT_LT(history.lastStepBytes(), kPageBytes + sizeof(PackageSnapshot) + 1024);

    // Nothing changed: nothing told, nothing recorded.
    history.edit("Nothing", EditScope::mesh(0), [&] { shineAll(*wad, 0, 9); });
    EXPECT_EQ(told.size(), 2u);
    EXPECT_EQ(history.undoableSteps(), 2u);

    // Light painting merges while the key stays and the parts are covered.
    history.edit(
        "Paint light", EditScope::mesh(1), [&] { wad->meshes[1].shades[0] += 1; }, "drag");
    history.edit(
        "Paint light", EditScope::mesh(1), [&] { wad->meshes[1].shades[1] += 1; }, "drag");
    EXPECT_EQ(history.undoableSteps(), 3u);
    subscription.reset();
    history.undo();
    EXPECT_EQ(told.size(), 4u) << "an unsubscribed listener is not told";
    EXPECT_EQ(history.redoCaption(), "Paint light");
}

TEST(EditHistoryTest, AFailedEditLeavesNoChangeAndTheBudgetDropsTheOldestSteps) {
    auto wad = makeDemoPackage();
    const auto original = bytesOf(*wad);
    {
        EditHistory history(*wad);
        EditScope scope;
        scope.wholeAtlas = scope.samples = true;
        EXPECT_THROW(history.edit("Add texture", scope,
                                  [&] {
                                      addBlankPage(*wad);
                                      throw std::runtime_error("picture failed");
                                  }),
                     std::runtime_error);
        EXPECT_EQ(bytesOf(*wad), original);
        EXPECT_FALSE(history.canUndo());
        EXPECT_FALSE(history.isModified());
    }
    // A budget of about three mesh slots keeps the newest three steps.
    EditHistory history(*wad, 3 * sizeof(Mesh) + 3 * sizeof(PackageSnapshot) + 3000);
    history.markSaved();
    for (int i = 1; i <= 6; ++i)
        history.edit("Shine", EditScope::mesh(0), [&] { shineAll(*wad, 0, i); });
    EXPECT_EQ(history.undoableSteps(), 3u);
    EXPECT_LE(history.memoryUsed(), history.memoryBudget());
    while (history.canUndo())
        history.undo();
    EXPECT_TRUE(history.isModified()) << "the saved state was dropped; it cannot be reached";
    EXPECT_NE(bytesOf(*wad), original);
}

} // namespace
} // namespace kavlen
