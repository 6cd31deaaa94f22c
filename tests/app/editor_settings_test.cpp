#include "app/colour_names.h"
#include "app/editor_settings.h"

#include <gtest/gtest.h>
#include <set>

namespace kavlen {
namespace {

const auto kNoFileExists = [](const std::string&) { return false; };

TEST(ColourNames, NamedColoursAndHexRoundTrip) {
    EXPECT_EQ(colourFromText("$000000FF"), 0x000000FFu); // pure red
    EXPECT_EQ(colourToText(0x000000FF), "clRed");
    EXPECT_EQ(colourToText(0x00FFFF00), "clAqua");
    EXPECT_EQ(colourToText(0x00808080), "clGray");
    EXPECT_EQ(colourToText(0x00F0CAA6), "clSkyBlue");
    EXPECT_EQ(colourToText(0xFF00000F), "clBtnFace");
    EXPECT_EQ(colourToText(0x005A411E), "$005A411E");
    EXPECT_EQ(colourToText(0x12345678), "$12345678");
    for (std::uint32_t c : {0x000000FFu, 0x005A411Eu, 0xFF000005u, 0x00C0DCC0u, 0u})
        EXPECT_EQ(colourFromText(colourToText(c)), c);
}

TEST(ColourNames, ReadsNamesInAnyCaseDecimalAndShortHex) {
    EXPECT_EQ(colourFromText("CLLIME"), 0x0000FF00u);
    EXPECT_EQ(colourFromText("255"), 0x000000FFu);
    EXPECT_EQ(colourFromText("$FF"), 0x000000FFu);
    EXPECT_EQ(colourFromText("-16777201"), 0xFF00000Fu); // clBtnFace as a signed number
    EXPECT_EQ(colourFromText("clNoSuchColour"), std::nullopt);
    EXPECT_EQ(colourFromText(""), std::nullopt);
    EXPECT_EQ(colourFromText("$"), std::nullopt);
    EXPECT_EQ(colourFromText("$123456789"), std::nullopt);
    EXPECT_EQ(colourFromText("12abc"), std::nullopt);
}

TEST(ColourNames, IntegersReadDecimalAndHexAndRejectTheRest) {
    EXPECT_EQ(integerFromText("3855"), 3855);
    EXPECT_EQ(integerFromText("$0F0F"), 3855);
    EXPECT_EQ(integerFromText("0x0F0F"), 3855);
    EXPECT_EQ(integerFromText("-1"), -1);
    EXPECT_EQ(integerFromText("+7"), 7);
    EXPECT_EQ(integerFromText("+-7"), std::nullopt);
    EXPECT_EQ(integerFromText("yes"), std::nullopt);
    EXPECT_EQ(integerFromText("99999999999"), std::nullopt);
}

TEST(EditorSettings, AnEmptyFileGivesTheDefaults) {
    const EditorSettings s = readSettings(IniFile(), kNoFileExists);
    EXPECT_EQ(s, EditorSettings{});
    EXPECT_EQ(s.background, 0x005A411Eu);
    EXPECT_EQ(s.line, 0x00FFFF00u);
    EXPECT_TRUE(s.showBox);
    EXPECT_TRUE(s.modeTx && s.modeSh && s.modeOp);
    EXPECT_EQ(s.stipplePattern, 0x0F0F);
    EXPECT_TRUE(s.recentFiles.empty());
}

TEST(EditorSettings, ReadsEveryValueFormAndFallsBackOnNonsense) {
    const IniFile ini = IniFile::parse("[Colours]\n"
                                       "background=$000000FF\n"
                                       "line=clRed\n"
                                       "box=16711680\n"
                                       "point=clPink\n" // unknown name: default
                                       "grid=\n"
                                       "texture highlight=clBlack\n"
                                       "[Mode]\nTx=0\nSh=7\nOp=x\n"
                                       "[View]\n"
                                       "show axes=1\nshow grid=2\nshow box=0\n"
                                       "tex#0 white=1\nstipple pattern=$AAAA\n"
                                       "enable stipple=maybe\ndark UI=1\n"
                                       "[Options]\nquery close=1\nshow all meshes list=1\n");
    const EditorSettings s = readSettings(ini, kNoFileExists);
    EXPECT_EQ(s.background, 0x000000FFu);
    EXPECT_EQ(s.line, 0x000000FFu);
    EXPECT_EQ(s.box, 0x00FF0000u);
    EXPECT_EQ(s.point, EditorSettings{}.point);
    EXPECT_EQ(s.grid, EditorSettings{}.grid);
    EXPECT_EQ(s.textureHighlight, 0u);
    EXPECT_FALSE(s.modeTx);
    EXPECT_TRUE(s.modeSh);
    EXPECT_TRUE(s.modeOp);
    EXPECT_TRUE(s.showAxes);
    EXPECT_TRUE(s.showGrid);
    EXPECT_FALSE(s.showBox);
    EXPECT_TRUE(s.tex0White);
    EXPECT_EQ(s.stipplePattern, 0xAAAA);
    EXPECT_FALSE(s.enableStipple);
    EXPECT_TRUE(s.darkUI);
    EXPECT_TRUE(s.queryClose);
    EXPECT_FALSE(s.openInTexturedMode);
    EXPECT_TRUE(s.showAllMeshesList);
}

TEST(EditorSettings, RecentFilesKeepTheFirstFourThatExistInOrder) {
    const IniFile ini = IniFile::parse("[MRUFiles]\n"
                                       "File0=/a.wad\nFile1=/gone.wad\nFile2=/b.wad\n"
                                       "File3=/c.wad\nFile4=/d.wad\nFile5=/e.wad\nFile6=/f.wad\n");
    const std::set<std::string> existing{"/a.wad", "/b.wad", "/c.wad",
                                         "/d.wad", "/e.wad", "/f.wad"};
    const EditorSettings s =
        readSettings(ini, [&](const std::string& p) { return existing.contains(p); });
    EXPECT_EQ(s.recentFiles, (std::vector<std::string>{"/a.wad", "/b.wad", "/c.wad", "/d.wad"}));
}

TEST(EditorSettings, RecentFilesAreTakenByPositionFromFileKeys) {
    // Two keys, so entries File0 and File1; "File7" is never looked at and the
    // missing File1 leaves an empty entry that is dropped.
    const IniFile ini = IniFile::parse("[MRUFiles]\nFile0=/a.wad\nFile7=/b.wad\n");
    const EditorSettings s = readSettings(ini, [](const std::string&) { return true; });
    EXPECT_EQ(s.recentFiles, (std::vector<std::string>{"/a.wad"}));
}

TEST(EditorSettings, WritingAFreshFileGivesEverySectionButMode) {
    EditorSettings s;
    s.recentFiles = {"/x/one.wad", "/y/two.wad"};
    s.showGrid = true;
    IniFile ini;
    writeSettings(ini, s);
    EXPECT_EQ(ini.text(), "[Colours]\r\n"
                          "background=$005A411E\r\n"
                          "line=clAqua\r\n"
                          "box=clYellow\r\n"
                          "point=clLime\r\n"
                          "point2=clRed\r\n"
                          "grid=clGray\r\n"
                          "texture highlight=clWhite\r\n"
                          "texture shape=clRed\r\n"
                          "\r\n"
                          "[View]\r\n"
                          "show axes=0\r\n"
                          "show grid=1\r\n"
                          "bilinear filtering=0\r\n"
                          "show box=1\r\n"
                          "show lines=0\r\n"
                          "tex#0 white=0\r\n"
                          "enable stipple=0\r\n"
                          "stipple pattern=3855\r\n"
                          "dark UI=0\r\n"
                          "\r\n"
                          "[Options]\r\n"
                          "query close=0\r\n"
                          "open in textured mode=0\r\n"
                          "show all meshes list=0\r\n"
                          "\r\n"
                          "[MRUFiles]\r\n"
                          "File0=/x/one.wad\r\n"
                          "File1=/y/two.wad\r\n");
    EXPECT_EQ(readSettings(ini, [](const std::string&) { return true; }), s);
}

TEST(EditorSettings, WritingKeepsModeKeysAndRewritesTheWholeRecentSection) {
    IniFile ini = IniFile::parse("[Mode]\r\nTx=0\r\n\r\n"
                                 "[MRUFiles]\r\nFile0=/old.wad\r\nFile1=/older.wad\r\nstray=1\r\n");
    EditorSettings s = readSettings(ini, [](const std::string&) { return true; });
    s.recentFiles = {"/new.wad"};
    writeSettings(ini, s);
    const IniFile reread = IniFile::parse(ini.text());
    EXPECT_EQ(reread.value("Mode", "Tx"), "0");
    EXPECT_EQ(reread.value("Mode", "Sh"), std::nullopt);
    EXPECT_EQ(reread.keys("MRUFiles"), (std::vector<std::string>{"File0"}));
    EXPECT_EQ(reread.value("MRUFiles", "File0"), "/new.wad");

    s.recentFiles.clear();
    writeSettings(ini, s);
    EXPECT_FALSE(IniFile::parse(ini.text()).hasSection("MRUFiles"));
}

} // namespace
} // namespace kavlen
