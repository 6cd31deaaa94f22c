#include "document/demo_package.h"
#include "meshedit/mesh_reports.h"
#include "test_package.h"

#include <gtest/gtest.h>

namespace kavlen {
namespace {

using test::addQuad;
using test::addTriangle;

std::uint16_t word(int signedValue) {
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(signedValue));
}

TEST(AboutMesh, DemoCube) {
    auto wad = makeDemoPackage();
    const auto report = aboutMesh(*wad, 0);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->meshType, "Moveable");
    EXPECT_EQ(report->lightingType, "Moveable");
    EXPECT_EQ(report->shine, "1 of 6 faces");
    EXPECT_EQ(report->transparency, "1 of 6 faces");
    EXPECT_EQ(report->texturesUsed, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(report->textureLabels.front(), "Texture#1");
    EXPECT_EQ(report->texturesCaption, "Textures used (6)");
    EXPECT_FALSE(report->invalidTextures);

    const auto wall = aboutMesh(*wad, 11);
    ASSERT_TRUE(wall);
    EXPECT_EQ(wall->meshType, "Static");
    EXPECT_EQ(wall->lightingType, "Static");
    EXPECT_EQ(wall->transparency, "None");
}

TEST(AboutMesh, CountsSamplesTheWayFacesReadThem) {
    auto wad = test::makeBarePackage(); // 10 samples
    const int slot = test::addMesh(*wad, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}});
    Mesh& m = wad->meshes[slot];
    addQuad(m, 0, 1, 3, 2, word(-3), kAttrTransparent); // mirrored sample 3
    addTriangle(m, 0, 1, 2, 0x2003);                    // corner 2, sample 3
    addTriangle(m, 0, 1, 2, 0x8009, kAttrShine);        // mirrored sample 9
    auto report = aboutMesh(*wad, slot);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->texturesUsed, (std::vector<int>{3, 9}));
    EXPECT_EQ(report->textureLabels, (std::vector<std::string>{"Texture#3", "Texture#9"}));
    EXPECT_EQ(report->transparency, "1 of 3 faces");
    EXPECT_EQ(report->shine, "1 of 3 faces");
    EXPECT_FALSE(report->invalidTextures);

    // Samples beyond the package's count: nothing listed, the note shows.
    for (int f = 0; f < 3; ++f)
        m.faces[f].texture = f == 0 ? word(-10) : 0x100A;
    report = aboutMesh(*wad, slot);
    EXPECT_TRUE(report->texturesUsed.empty());
    EXPECT_EQ(report->texturesCaption, "Textures used (0)");
    EXPECT_TRUE(report->invalidTextures);
}

TEST(AboutMesh, OneFaceIsSingular) {
    auto wad = test::makeBarePackage();
    const int slot = test::addMesh(*wad, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    addTriangle(wad->meshes[slot], 0, 1, 2, 1, kAttrTransparent);
    wad->meshes[slot].normalCount = 0;
    const auto report = aboutMesh(*wad, slot);
    EXPECT_EQ(report->transparency, "1 of 1 face");
    EXPECT_EQ(report->shine, "None");
    EXPECT_EQ(report->lightingType, "Moveable"); // also without normals
    EXPECT_EQ(aboutMeshText(*report),
              (std::vector<std::string>{"Mesh Type: Moveable", "Lighting Type: Moveable",
                                        "Shine: None", "Transparency: 1 of 1 face",
                                        "Textures used (1)", "  Texture#1"}));
}

TEST(AboutMesh, NeedsAPackageAndAMesh) {
    auto wad = makeDemoPackage();
    EXPECT_FALSE(aboutMesh(*wad, -1));
    EXPECT_FALSE(aboutMesh(*wad, 13));
    wad->version = 0;
    EXPECT_FALSE(aboutMesh(*wad, 0));
    EXPECT_FALSE(aboutMeshes(*wad));
}

TEST(AboutMeshes, DemoPackageLists) {
    auto wad = makeDemoPackage();
    wad->meshes[4].faces[3].visible = 0;
    wad->meshes[8].faces[0].texture = 62; // one past the last sample
    const auto report = aboutMeshes(*wad);
    ASSERT_TRUE(report);
    const auto list = [&](MeshProperty p) { return report->meshSlots[static_cast<int>(p)]; };
    EXPECT_EQ(list(MeshProperty::Shine), (std::vector<int>{0, 1, 2, 3, 5, 6, 11}));
    EXPECT_EQ(list(MeshProperty::Transparency), (std::vector<int>{0, 3, 5, 7}));
    EXPECT_EQ(list(MeshProperty::HiddenFaces), (std::vector<int>{4}));
    EXPECT_EQ(list(MeshProperty::TextureZero), (std::vector<int>{6, 9}));
    EXPECT_EQ(list(MeshProperty::InvalidTexture), (std::vector<int>{8}));
    EXPECT_EQ(report->labels[static_cast<int>(MeshProperty::HiddenFaces)],
              (std::vector<std::string>{"Mesh #4"}));
    EXPECT_EQ(report->countLabel, "13 meshes in wad");

    const auto text = aboutMeshesText(*report);
    EXPECT_EQ(text.front(), "Shine");
    EXPECT_EQ(text[1], "  Mesh #0");
    EXPECT_EQ(text.back(), "13 meshes in wad");
    EXPECT_NE(std::find(text.begin(), text.end(), "Hidden Faces"), text.end());
}

TEST(AboutMeshes, PackageWithoutMeshes) {
    auto wad = test::makeBarePackage();
    const auto report = aboutMeshes(*wad);
    ASSERT_TRUE(report);
    for (const auto& slots : report->meshSlots)
        EXPECT_TRUE(slots.empty());
    EXPECT_EQ(report->countLabel, "0 meshes in wad");
    EXPECT_EQ(aboutMeshesText(*report),
              (std::vector<std::string>{"Shine", "Transparency", "Hidden Faces", "Texture #0",
                                        "Invalid Texture", "0 meshes in wad"}));
}

TEST(MoveablesUsingMesh, SharedMeshEnablesTheCountButton) {
    auto wad = test::makeBarePackage();
    for (int k = 0; k < 4; ++k)
        test::addMesh(*wad, {{0, 0, 0}});
    test::addMoveable(*wad, {0, 1});
    test::addMoveable(*wad, {2});
    test::addMoveable(*wad, {1, 3, 1}); // counted once
    test::addMoveable(*wad, {1});
    const auto shared = moveablesUsingMesh(*wad, 1, {"Lara", "Pistols_anim"});
    EXPECT_EQ(shared.moveables, (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(shared.labels, (std::vector<std::string>{"Lara", "Moveable #2", "Moveable #3"}));
    EXPECT_EQ(shared.caption, "3");
    EXPECT_TRUE(shared.buttonEnabled);
    EXPECT_EQ(shared.hint, "Number of moveables using mesh\n\rClick for list");

    const auto single = moveablesUsingMesh(*wad, 2);
    EXPECT_EQ(single.caption, "1");
    EXPECT_FALSE(single.buttonEnabled);
    EXPECT_EQ(single.hint, "Number of moveables using mesh");
    EXPECT_EQ(moveablesUsingMesh(*wad, -1).caption, "0");
}

TEST(LocateMesh, PrefersTheFirstMoveableThenAddedMeshes) {
    auto wad = makeDemoPackage();
    using Kind = MeshLocation::Kind;
    EXPECT_EQ(locateMesh(*wad, 2), (MeshLocation{Kind::Moveable, 0, 2}));
    EXPECT_EQ(locateMesh(*wad, 5), (MeshLocation{Kind::Moveable, 1, 1}));
    EXPECT_EQ(locateMesh(*wad, 9), (MeshLocation{Kind::Moveable, 3, 1}));
    // Mesh 12 is the one added mesh: entry 0 of "-- Added Meshes --".
    ASSERT_EQ(wad->objectMeshCount, 12);
    EXPECT_EQ(locateMesh(*wad, 12), (MeshLocation{Kind::AddedMeshes, 4, 0}));
    // Static meshes are shown from the list of all meshes.
    EXPECT_EQ(locateMesh(*wad, 10), (MeshLocation{Kind::AllMeshes, 0, 10}));
}

} // namespace
} // namespace kavlen
