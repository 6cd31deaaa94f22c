// The settings file as the running editor reads it at start and writes it at close.
#include "editor_fixture.h"

#include <QCheckBox>

namespace kavlen {
namespace {

TEST_F(EditorTest, WithoutASettingsFileTheViewsStartWithTheDefaults) {
    start();
    EXPECT_EQ(render().viewport().clearColor(), 0x005A411Eu);
    const MeshScene& state = render().scene();
    EXPECT_EQ(state.lineColor, 0x00FFFF00u);
    EXPECT_EQ(state.boxColor, 0x0000FFFFu);
    EXPECT_EQ(state.pointColor, 0x0000FF00u);
    EXPECT_EQ(state.point2Color, 0x000000FFu);
    EXPECT_EQ(state.gridColor, 0x00808080u);
    EXPECT_FALSE(state.showAxes || state.showGrid || state.outlineFaces || state.stippleOn);
    EXPECT_EQ(state.stipplePattern, 0x0F0F);
    for (CommandId id : std::initializer_list<CommandId>{"ShowAxes", "ShowGrid", "DarkUI",
                                                         "QueryOnClose", "OpenTextured"})
        EXPECT_FALSE(editor->commands().isChecked(id)) << id;
    EXPECT_TRUE(main().modeTx()->isChecked() && main().modeSh()->isChecked() &&
                main().modeOp()->isChecked());
    EXPECT_TRUE(editor->settings().showBox);
    EXPECT_FALSE(action("OpenRecent")->isEnabled());
}

TEST_F(EditorTest, TheSettingsFileSetsColoursSwitchesAndMenus) {
    writeText(locations.settingsFile, "[Colours]\r\nbackground=$000000FF\r\nline=clRed\r\n"
                                      "grid=255\r\nbox=clNoSuchName\r\n"
                                      "[Mode]\r\nTx=0\r\nOp=0\r\n"
                                      "[View]\r\nshow axes=1\r\nshow grid=1\r\nshow lines=1\r\n"
                                      "stipple pattern=255\r\ndark UI=1\r\n"
                                      "[Options]\r\nquery close=1\r\nopen in textured mode=1\r\n");
    start();
    EXPECT_EQ(render().viewport().clearColor(), 0x000000FFu);
    const MeshScene& state = render().scene();
    EXPECT_EQ(state.lineColor, 0x000000FFu);
    EXPECT_EQ(state.gridColor, 0x000000FFu);
    EXPECT_EQ(state.boxColor, 0x0000FFFFu) << "an unknown colour name reads as the default";
    EXPECT_TRUE(state.showAxes && state.showGrid && state.outlineFaces);
    EXPECT_EQ(state.stipplePattern, 255);
    EXPECT_TRUE(action("ShowAxes")->isChecked());
    EXPECT_TRUE(action("ShowGrid")->isChecked());
    EXPECT_TRUE(action("DarkUI")->isChecked());
    EXPECT_TRUE(main().darkUI());
    EXPECT_TRUE(action("QueryOnClose")->isChecked());
    EXPECT_TRUE(action("OpenTextured")->isChecked());
    EXPECT_FALSE(main().modeTx()->isChecked());
    EXPECT_TRUE(main().modeSh()->isChecked());
    EXPECT_FALSE(main().modeOp()->isChecked());
}

TEST_F(EditorTest, ASystemColourNameStandsForTheDesktopsColour) {
    writeText(locations.settingsFile, "[Colours]\r\nbackground=clBtnFace\r\n");
    start();
    const QColor face = QApplication::palette().color(QPalette::Button);
    EXPECT_EQ(render().viewport().clearColor(),
              static_cast<std::uint32_t>(face.red() | face.green() << 8 | face.blue() << 16));
}

TEST_F(EditorTest, ClosingWritesTheWholeFileExactly) {
    start();
    const std::string path = demoCopy("demo.wad");
    ASSERT_TRUE(editor->openPackage(path));
    action("ShowGrid")->trigger();
    ASSERT_TRUE(main().close());
    // The exact layout of a fresh file is pinned by the settings unit tests; here
    // the values come from the windows.
    EditorSettings expected;
    expected.showGrid = true;
    expected.recentFiles = {path};
    IniFile fresh;
    writeSettings(fresh, expected);
    const std::string text = readText(locations.settingsFile);
    EXPECT_EQ(text, fresh.text());
    EXPECT_TRUE(text.starts_with("[Colours]\r\nbackground=$005A411E\r\n"));
    EXPECT_NE(text.find("\r\n[MRUFiles]\r\nFile0=" + path + "\r\n"), std::string::npos);
}

TEST_F(EditorTest, ClosingKeepsWhatTheEditorDoesNotOwn) {
    writeText(locations.settingsFile, "; my settings\r\n"
                                      "[Mode]\r\nTx=0\r\n"
                                      "[Colours]\r\ntexture shape=clBlue\r\n"
                                      "[Plugins]\r\nx=1\r\n"
                                      "[View]\r\nbilinear filtering=1\r\nshow box=0\r\n"
                                      "[MRUFiles]\r\nFile0=" +
                                          (dir / "gone.wad").string() + "\r\n");
    start();
    ASSERT_TRUE(main().close());
    const IniFile written = IniFile::load(locations.settingsFile);
    EXPECT_TRUE(written.text().starts_with("; my settings\r\n[Mode]\r\nTx=0\r\n"));
    EXPECT_EQ(written.value("Plugins", "x"), "1");
    EXPECT_EQ(written.value("Colours", "texture shape"), "clBlue");
    EXPECT_EQ(written.value("View", "bilinear filtering"), "1");
    EXPECT_EQ(written.value("View", "show box"), "0");
    EXPECT_FALSE(written.hasSection("MRUFiles")) << "the missing file was dropped";
}

TEST_F(EditorTest, ChoicesMadeInOneRunAreThereInTheNext) {
    start();
    action("ShowAxes")->trigger();
    action("QueryOnClose")->trigger();
    action("DarkUI")->trigger();
    render().viewport().setClearColor(0x00102030);
    const std::string path = demoCopy("demo.wad");
    ASSERT_TRUE(editor->openPackage(path));
    dialogs.answer(true); // Really close Kavlen?
    ASSERT_TRUE(main().close());
    editor.reset();

    start();
    EXPECT_TRUE(render().scene().showAxes);
    EXPECT_TRUE(action("QueryOnClose")->isChecked());
    EXPECT_TRUE(main().darkUI());
    EXPECT_EQ(render().viewport().clearColor(), 0x00102030u);
    EXPECT_EQ(editor->recentFiles().paths(), std::vector<std::string>{path});
}

} // namespace
} // namespace kavlen
