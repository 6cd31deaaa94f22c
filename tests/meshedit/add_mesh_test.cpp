#include "document/demo_package.h"
#include "document/wad_check.h"
#include "meshedit/add_mesh.h"
#include "test_package.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kavlen {
namespace {

// A consistent package of `meshes` slots whose directory entries 1..meshes-1 sit at
// offsets 250 * k, each named by one pointer.
std::unique_ptr<Package> packageWithMeshes(int meshes) {
    auto wad = test::makeBarePackage();
    for (int k = 0; k < meshes; ++k) {
        test::addMesh(*wad, {{std::int16_t(k), 0, 0}});
        wad->meshPointers[wad->meshPointerCount++] = 250u * static_cast<std::uint32_t>(k);
    }
    buildMeshDirectory(*wad);
    computeMeshUsage(*wad);
    return wad;
}

TEST(AddEmptyMesh, AppendsDirectoryEntryAndPointerTenPastTheLastEntry) {
    auto wad = packageWithMeshes(5);
    wad->directory.entries[4].offset = 1000; // last entry (1000, 4)
    wad->meshPointers[4] = 1000;
    const std::uint16_t addedBefore = wad->addedMeshCount;
    const AddMeshResult r = addEmptyMesh(*wad);
    ASSERT_EQ(r.slot, 5);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.meshLabel, "Mesh #5");
    EXPECT_EQ(wad->meshCount, 6);
    ASSERT_EQ(wad->directory.count(), 5);
    EXPECT_EQ(wad->directory.entries[5].offset, 1010u);
    EXPECT_EQ(wad->directory.entries[5].meshIndex, 5);
    EXPECT_EQ(wad->meshPointerCount, 6u);
    EXPECT_EQ(wad->meshPointers[5], 1010u);
    EXPECT_EQ(wad->pointerMeshIndex[5], 5);
    EXPECT_EQ(wad->meshSlotOfPointer(5), 5);
    EXPECT_EQ(wad->addedMeshCount, addedBefore + 1);
    EXPECT_EQ(wad->meshUsage.size(), 6u);

    // The new slot is cleared as a whole.
    const Mesh& m = wad->meshes[5];
    EXPECT_EQ(m.vertexCount, 0);
    EXPECT_EQ(m.faceCount, 0);
    EXPECT_EQ(m.normalCount, 0);
    EXPECT_EQ(m.sphereRadius, 0);
    EXPECT_TRUE(test::sameVertex(m.vertices[1499], {}));

    // Offsets stored out of order: the placeholder steps past the largest one, so
    // it never names an existing mesh.
    auto unordered = packageWithMeshes(3);
    unordered->directory.entries[1].offset = 990;
    unordered->directory.entries[2].offset = 980;
    ASSERT_EQ(addEmptyMesh(*unordered).slot, 3);
    EXPECT_EQ(unordered->directory.entries[3].offset, 1000u);
}

TEST(AddEmptyMesh, ListsAddedMeshesOnlyOnce) {
    auto wad = makeDemoPackage(); // mesh 12 is already an added mesh
    ASSERT_EQ(wad->addedMeshCount, 1);
    AddMeshResult r = addEmptyMesh(*wad);
    EXPECT_FALSE(r.addedMeshesEntryNew);
    EXPECT_EQ(wad->addedMeshCount, 2);

    auto used = packageWithMeshes(3);
    test::addMoveable(*used, {0, 1, 2});
    ASSERT_EQ(used->addedMeshCount, 0);
    r = addEmptyMesh(*used);
    EXPECT_TRUE(r.addedMeshesEntryNew);
    r = addEmptyMesh(*used);
    EXPECT_FALSE(r.addedMeshesEntryNew);
    EXPECT_EQ(used->addedMeshCount, 2);
    // Added mesh i is slot objectMeshCount + i.
    EXPECT_EQ(used->objectMeshCount + 0, 3);
    EXPECT_EQ(used->directory.entries[4].meshIndex, 4);
}

TEST(AddEmptyMesh, SavedPackageStoresTheMeshWhereItsPointerSays) {
    auto wad = makeDemoPackage();
    const AddMeshResult first = addEmptyMesh(*wad);
    const AddMeshResult second = addEmptyMesh(*wad);
    ASSERT_EQ(first.slot, 13);
    ASSERT_EQ(second.slot, 14);
    const auto path = std::filesystem::temp_directory_path() / "kavlen_add_mesh_test.wad";
    ASSERT_TRUE(saveWad(*wad, path).ok);
    // The writer moved the placeholder offsets onto the meshes' real offsets.
    std::uint32_t start13 = 0;
    for (int k = 0; k < 13; ++k)
        start13 += static_cast<std::uint32_t>(wad->meshes[k].fileSize());
    EXPECT_EQ(wad->meshPointers[wad->meshPointerCount - 2], start13);
    EXPECT_EQ(wad->meshPointers[wad->meshPointerCount - 1], start13 + wad->meshes[13].fileSize());

    Package reloaded;
    ASSERT_TRUE(loadWad(reloaded, path).ok());
    std::filesystem::remove(path);
    EXPECT_EQ(reloaded.meshCount, 15);
    EXPECT_EQ(reloaded.directory.count(), 14);
    EXPECT_EQ(reloaded.addedMeshCount, wad->addedMeshCount);
    EXPECT_EQ(reloaded.objectMeshCount, wad->objectMeshCount);
    EXPECT_EQ(reloaded.meshSlotOfPointer(reloaded.meshPointerCount - 1), 14);
    EXPECT_TRUE(checkWad(reloaded).empty());
}

TEST(AddEmptyMesh, RefusedOnAFullPackage) {
    auto slotsFull = packageWithMeshes(static_cast<int>(kMaxMeshes));
    // 1000 slots need 999 entries: the slot limit is met first.
    AddMeshResult r = addEmptyMesh(*slotsFull);
    EXPECT_EQ(r.slot, -1);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(r.messages[0].text, "The package already holds 1000 meshes; no mesh can be added.");
    EXPECT_EQ(slotsFull->meshCount, kMaxMeshes);
    EXPECT_EQ(slotsFull->meshPointerCount, kMaxMeshes);

    auto directoryFull = packageWithMeshes(5);
    directoryFull->directory.entries.resize(kMaxDirectoryEntries + 1);
    r = addEmptyMesh(*directoryFull);
    EXPECT_EQ(r.slot, -1);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text,
              "The mesh directory is full (999 entries); no mesh can be added.");
    EXPECT_EQ(directoryFull->meshCount, 5);

    auto pointersFull = packageWithMeshes(5);
    pointersFull->meshPointerCount = kMaxMeshPointers;
    r = addEmptyMesh(*pointersFull);
    EXPECT_EQ(r.slot, -1);
    EXPECT_EQ(pointersFull->meshCount, 5);
    EXPECT_EQ(pointersFull->directory.count(), 4);
}

TEST(AddEmptyMesh, RefusedWhenSlotsAndPointersDisagree) {
    auto extraSlot = packageWithMeshes(4);
    test::addMesh(*extraSlot, {}); // a stored mesh that no pointer names
    const AddMeshResult r = addEmptyMesh(*extraSlot);
    EXPECT_EQ(r.slot, -1);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(extraSlot->meshCount, 5);
    EXPECT_EQ(extraSlot->meshPointerCount, 4u);

    auto closed = packageWithMeshes(2);
    closed->version = 0;
    EXPECT_EQ(addEmptyMesh(*closed).messages, (Messages{{MessageKind::Error, "No wad opened."}}));
    EXPECT_EQ(closed->meshCount, 2);
}

TEST(AddEmptyMesh, FirstMeshOfAnEmptyPackageSitsAtOffsetZero) {
    auto wad = test::makeBarePackage();
    AddMeshResult r = addEmptyMesh(*wad);
    ASSERT_EQ(r.slot, 0);
    EXPECT_EQ(wad->directory.count(), 0);
    EXPECT_EQ(wad->meshPointers[0], 0u);
    EXPECT_EQ(wad->addedMeshCount, 0); // mesh 0 is never an added mesh
    r = addEmptyMesh(*wad);
    ASSERT_EQ(r.slot, 1);
    EXPECT_EQ(wad->directory.count(), 1);
    EXPECT_EQ(wad->directory.entries[1].offset, 10u);
    EXPECT_EQ(wad->meshSlotOfPointer(1), 1);
    EXPECT_TRUE(r.addedMeshesEntryNew);
}

} // namespace
} // namespace kavlen
