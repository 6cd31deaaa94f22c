#include "app/ini_file.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace kavlen {
namespace {

TEST(IniFile, ReadsSectionsAndKeysIgnoringCaseAndSpaceAroundThem) {
    const IniFile ini = IniFile::parse("[Colours]\r\n"
                                       "  texture highlight = clWhite \r\n"
                                       "line=clAqua\n"
                                       "[view]\r"
                                       "tex#0 white=1\r\n");
    EXPECT_EQ(ini.value("colours", "TEXTURE HIGHLIGHT"), "clWhite");
    EXPECT_EQ(ini.value("Colours", "line"), "clAqua");
    EXPECT_EQ(ini.value("View", "tex#0 white"), "1");
    EXPECT_EQ(ini.value("View", "line"), std::nullopt);
    EXPECT_EQ(ini.value("Missing", "line"), std::nullopt);
    EXPECT_EQ(ini.keys("Colours"), (std::vector<std::string>{"texture highlight", "line"}));
}

TEST(IniFile, KeepsEverythingItDoesNotTouchInOrder) {
    const std::string text = "; written by hand\r\n"
                             "[Mode]\r\n"
                             "Tx=0\r\n"
                             "\r\n"
                             "[Plugins]\r\n"
                             "weird line without equals\r\n"
                             "a=1;2,3\r\n";
    IniFile ini = IniFile::parse(text);
    EXPECT_EQ(ini.text(), text);
    EXPECT_EQ(ini.value("Plugins", "a"), "1;2,3");
    ini.setValue("Mode", "Tx", "1");
    EXPECT_EQ(ini.text(), "; written by hand\r\n"
                          "[Mode]\r\n"
                          "Tx=1\r\n"
                          "\r\n"
                          "[Plugins]\r\n"
                          "weird line without equals\r\n"
                          "a=1;2,3\r\n");
}

TEST(IniFile, WritesKeysVerbatimAndAddsThemAfterTheSectionsLastKey) {
    IniFile ini = IniFile::parse("[View]\nshow axes=1\n\n[Other]\nx=1\n");
    ini.setValue("View", "tex#0 white", "0");
    ini.setValue("Colours", "texture highlight", "clWhite");
    ini.setValue("Colours", "texture shape", "$00112233");
    EXPECT_EQ(ini.text(), "[View]\r\n"
                          "show axes=1\r\n"
                          "tex#0 white=0\r\n"
                          "\r\n"
                          "[Other]\r\n"
                          "x=1\r\n"
                          "\r\n"
                          "[Colours]\r\n"
                          "texture highlight=clWhite\r\n"
                          "texture shape=$00112233\r\n");
}

TEST(IniFile, ReplacingAKeyKeepsTheSpellingTheFileHas) {
    IniFile ini = IniFile::parse("[options]\nQuery Close=0\n");
    ini.setValue("Options", "query close", "1");
    EXPECT_EQ(ini.text(), "[options]\r\nQuery Close=1\r\n");
}

TEST(IniFile, EraseSectionRemovesEveryCopyAndRewritingStaysStable) {
    IniFile ini = IniFile::parse("[MRUFiles]\nFile0=a\n[Colours]\nline=clRed\n"
                                 "[mrufiles]\nFile1=b\n");
    ini.eraseSection("MRUFiles");
    EXPECT_EQ(ini.text(), "[Colours]\r\nline=clRed\r\n");
    ini.setValue("MRUFiles", "File0", "c");
    const std::string once = ini.text();
    ini.eraseSection("MRUFiles");
    ini.setValue("MRUFiles", "File0", "c");
    EXPECT_EQ(ini.text(), once);
}

TEST(IniFile, ByteOrderMarkAndMissingFinalLineEndAreAccepted) {
    const IniFile ini = IniFile::parse("\xEF\xBB\xBF[A]\nk=v");
    EXPECT_EQ(ini.value("A", "k"), "v");
}

TEST(IniFile, SavesThroughATemporaryFileAndLoadsBack) {
    const auto dir = std::filesystem::temp_directory_path() / "kavlen_ini_test";
    std::filesystem::create_directories(dir);
    const auto path = dir / "x.INI";
    IniFile ini;
    ini.setValue("S", "k", "v");
    std::string message;
    ASSERT_TRUE(ini.save(path, message)) << message;
    EXPECT_EQ(IniFile::load(path).value("S", "k"), "v");
    EXPECT_TRUE(IniFile::load(dir / "missing.INI").text().empty());
    EXPECT_FALSE(ini.save(dir / "no" / "such" / "dir.INI", message));
    EXPECT_FALSE(message.empty());
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace kavlen
