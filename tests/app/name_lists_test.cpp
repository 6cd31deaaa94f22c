#include "app/name_lists.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace kavlen {
namespace {

TEST(NameLists, NamesShowOnlyTheirFirstLetterInUpperCase) {
    const NameList list = parseNameList("LARA\r\nbridge_FLAT\n\n3_PILLAR\n\xC9TAGE\n");
    EXPECT_EQ(list.names,
              (std::vector<std::string>{"Lara", "Bridge_flat", "", "3_pillar", "\xC9tage"}));
}

TEST(NameLists, LineEndsOfEveryKindAndNoEmptyLastLine) {
    EXPECT_EQ(parseNameList("a\rb\r\nc\nd").names, (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_EQ(parseNameList("a\n").names.size(), 1u);
    EXPECT_TRUE(parseNameList("").names.empty());
}

TEST(NameLists, EveryLineNamesItsIdTheLastOneIncluded) {
    const NameList list = parseNameList("zero\none\ntwo\n");
    EXPECT_EQ(objectLabel(list, 2, 7, "Static #"), "Two");
    // An id beyond the list gets the position, not the id.
    EXPECT_EQ(objectLabel(list, 3, 7, "Static #"), "Static #7");
    EXPECT_EQ(objectLabel({}, 0, 0, "Moveable #"), "Moveable #0");
}

TEST(NameLists, LabelsFollowPackageOrderAndMarkAddedMeshes) {
    Package wad;
    wad.moveableCount = 3;
    wad.moveables.resize(3);
    wad.moveables[0].objectId = 1;
    wad.moveables[1].objectId = 40;
    wad.moveables[2].objectId = 0;
    wad.staticCount = 2;
    wad.statics.resize(2);
    wad.statics[0].objectId = 5;
    wad.statics[1].objectId = 0;
    const NameList names = parseNameList("LARA\nPISTOLS_ANIM\n");

    EXPECT_EQ(moveableLabels(wad, names),
              (std::vector<std::string>{"Pistols_anim", "Moveable #1", "Lara"}));
    EXPECT_EQ(moveableLabels(wad, {}),
              (std::vector<std::string>{"Moveable #0", "Moveable #1", "Moveable #2"}));
    EXPECT_EQ(staticLabels(wad, names), (std::vector<std::string>{"Static #0", "Lara"}));

    wad.addedMeshCount = 2;
    const auto labels = moveableLabels(wad, {});
    ASSERT_EQ(labels.size(), 4u);
    EXPECT_EQ(labels.back(), "-- Added Meshes --");
}

TEST(NameLists, AMissingFileGivesAnEmptyList) {
    const auto dir = std::filesystem::temp_directory_path() / "kavlen_names_test";
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(readNameList(dir / "NGLEObjects.txt").names.empty());
    std::ofstream(dir / "NGLEObjects.txt", std::ios::binary) << "LARA\r\nDOOR_TYPE1\r\n";
    EXPECT_EQ(readNameList(dir / "NGLEObjects.txt").names,
              (std::vector<std::string>{"Lara", "Door_type1"}));
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace kavlen
