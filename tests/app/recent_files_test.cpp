#include "app/app_locations.h"
#include "app/recent_files.h"

#include <fstream>
#include <gtest/gtest.h>

namespace kavlen {
namespace {

TEST(RecentFiles, OpeningMovesThePathToTheTopOnce) {
    RecentFiles recent;
    recent.add("/a.wad");
    recent.add("/b.wad");
    recent.add("/a.wad");
    EXPECT_EQ(recent.paths(), (std::vector<std::string>{"/a.wad", "/b.wad"}));
}

TEST(RecentFiles, FiveFilesLeaveTheFourMostRecent) {
    RecentFiles recent;
    for (const char* p : {"/1", "/2", "/3", "/4", "/5"})
        recent.add(p);
    EXPECT_EQ(recent.paths(), (std::vector<std::string>{"/5", "/4", "/3", "/2"}));
    EXPECT_EQ(RecentFiles({"a", "b", "c", "d", "e"}).paths().size(), 4u);
}

// One unit of width per character.
int chars(const std::string& s) {
    return static_cast<int>(s.size());
}

TEST(ShortenPath, DropsLeadingDirectoriesKeepingTheFileNameWhole) {
    const std::string path = "/home/user/levels/city/city.wad";
    EXPECT_EQ(shortenPath(path, '/', 100, chars), path);
    EXPECT_EQ(shortenPath(path, '/', 30, chars), "/.../user/levels/city/city.wad");
    EXPECT_EQ(shortenPath(path, '/', 25, chars), "/.../levels/city/city.wad");
    EXPECT_EQ(shortenPath(path, '/', 18, chars), "/.../city/city.wad");
    EXPECT_EQ(shortenPath(path, '/', 13, chars), "/.../city.wad");
    EXPECT_EQ(shortenPath(path, '/', 12, chars), ".../city.wad");
    EXPECT_EQ(shortenPath(path, '/', 3, chars), "city.wad");
}

TEST(ShortenPath, WindowsPathsLoseTheDriveOnlyAtTheEnd) {
    const std::string path = "C:\\Levels\\Tomb\\tut1.wad";
    EXPECT_EQ(shortenPath(path, '\\', 20, chars), "C:\\...\\Tomb\\tut1.wad");
    EXPECT_EQ(shortenPath(path, '\\', 15, chars), "C:\\...\\tut1.wad");
    EXPECT_EQ(shortenPath(path, '\\', 14, chars), "...\\tut1.wad");
    EXPECT_EQ(shortenPath("tut1.wad", '\\', 1, chars), "tut1.wad");
}

TEST(AppLocations, SettingsBesideAWritableExecutableElseInTheUserFolder) {
    EXPECT_EQ(settingsFileFor("/opt/kavlen/kavlen3", true, "/home/u/.config/kavlen3"),
              std::filesystem::path("/opt/kavlen/kavlen3.INI"));
    EXPECT_EQ(settingsFileFor("/usr/bin/kavlen3", false, "/home/u/.config/kavlen3"),
              std::filesystem::path("/home/u/.config/kavlen3/kavlen3.INI"));
    EXPECT_EQ(settingsFileFor("C:/Kavlen/kavlen3.exe", true, "x").filename(),
              std::filesystem::path("kavlen3.INI"));
}

TEST(AppLocations, DataFilesAreTakenFromTheFirstFolderThatHasThem) {
    const auto base = std::filesystem::temp_directory_path() / "kavlen_locations_test";
    std::filesystem::create_directories(base / "a");
    std::filesystem::create_directories(base / "b");
    AppLocations locations;
    locations.dataDirs = {base / "a", base / "b"};
    EXPECT_EQ(locations.dataFile("NGLEObjects.txt"), base / "a" / "NGLEObjects.txt");
    { std::ofstream(base / "b" / "NGLEObjects.txt") << "x"; }
    EXPECT_EQ(locations.dataFile("NGLEObjects.txt"), base / "b" / "NGLEObjects.txt");
    std::filesystem::remove_all(base);
}

} // namespace
} // namespace kavlen
