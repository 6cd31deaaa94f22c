#include "app/command_table.h"
#include "app/open_procedure.h"

#include <gtest/gtest.h>

namespace kavlen {
namespace {

struct CommandTableTest : testing::Test {
    CommandTableTest()
        : table([this] { return loaded; },
                [this](std::string_view t) { refusals.emplace_back(t); }) {}

    Command& add(CommandId id, Guard guard, bool checkable = false) {
        Command c;
        c.id = id;
        c.guard = guard;
        c.checkable = checkable;
        c.run = [this, id](const std::string& arg) { ran.push_back(id.str() + ":" + arg); };
        return table.add(c);
    }

    bool loaded = false;
    std::vector<std::string> refusals;
    std::vector<std::string> ran;
    CommandTable table;
};

TEST_F(CommandTableTest, GuardedCommandsRefuseWithoutAPackageAndDoNothingElse) {
    add("Save", Guard::RequiresPackage);
    add("AboutMesh", Guard::SilentWithoutPackage);
    add("Open", Guard::None);

    EXPECT_FALSE(table.execute("Save"));
    EXPECT_FALSE(table.execute("AboutMesh"));
    EXPECT_TRUE(table.execute("Open", "/x.wad"));
    EXPECT_EQ(refusals, (std::vector<std::string>{"No wad opened."}));
    EXPECT_EQ(ran, (std::vector<std::string>{"Open:/x.wad"}));

    loaded = true;
    EXPECT_TRUE(table.execute("Save"));
    EXPECT_TRUE(table.execute("AboutMesh"));
    EXPECT_EQ(refusals.size(), 1u);
    EXPECT_EQ(ran.size(), 3u);
}

TEST_F(CommandTableTest, DisabledUnknownAndSubmenuCommandsDoNotRun) {
    add("CutFromShape", Guard::None).enabled = false;
    Command recent;
    recent.id = "OpenRecent";
    recent.kind = Command::Kind::Submenu;
    table.add(recent);
    EXPECT_FALSE(table.execute("CutFromShape"));
    EXPECT_FALSE(table.execute("OpenRecent"));
    table.setEnabled("CutFromShape", true);
    EXPECT_TRUE(table.execute("CutFromShape"));
    EXPECT_THROW(add("CutFromShape", Guard::None), std::logic_error);
}

TEST_F(CommandTableTest, TogglesFlipBeforeTheirWorkAndRefusedTogglesStayPut) {
    bool seen = false;
    add("ShowGrid", Guard::None, true).run = [&](const std::string&) {
        seen = table.isChecked("ShowGrid");
    };
    add("BilinearFiltering", Guard::SilentWithoutPackage, true);
    std::vector<std::string> changed;
    table.stateChanged = [&](const Command& c) { changed.push_back(c.id.str()); };

    table.execute("ShowGrid");
    EXPECT_TRUE(seen);
    table.execute("ShowGrid");
    EXPECT_FALSE(table.isChecked("ShowGrid"));
    table.execute("BilinearFiltering");
    EXPECT_FALSE(table.isChecked("BilinearFiltering"));
    EXPECT_EQ(changed, (std::vector<std::string>{"ShowGrid", "ShowGrid"}));
}

TEST_F(CommandTableTest, ExclusiveGroupsCheckOneAtATime) {
    for (CommandId id : {CommandId("HairNone"), CommandId("HairLara"), CommandId("HairYoungLara")})
        add(id, Guard::None, true).exclusiveGroup = "hair";
    table.setChecked("HairNone", true);
    table.execute("HairLara");
    table.execute("HairLara"); // choosing the checked one again keeps it
    EXPECT_FALSE(table.isChecked("HairNone"));
    EXPECT_TRUE(table.isChecked("HairLara"));
    EXPECT_FALSE(table.isChecked("HairYoungLara"));
}

TEST_F(CommandTableTest, AnIdThatWasNeverAddedFailsLoudly) {
    add("Open", Guard::None);
    EXPECT_THROW(table.execute("Save"), std::logic_error);
    EXPECT_THROW(table.setChecked("Save", true), std::logic_error);
    EXPECT_TRUE(table.execute("Open"));
}

TEST(OpenProcedure, StepsRunInStageOrderAndRepaintAfterTheClearingStages) {
    OpenProcedure procedure;
    std::vector<std::string> log;
    const auto step = [&](std::string name) {
        return [&log, name](Package&) { log.push_back(name); };
    };
    procedure.addStep(OpenStage::ShowFirstMesh, step("fit"));
    procedure.addStep(OpenStage::ClearMainWindow, step("title"));
    procedure.addStep(OpenStage::ClearImagesAndStatus, step("status"));
    procedure.addStep(OpenStage::ClearMainWindow, step("ignoreName"));
    procedure.addStep(OpenStage::FillObjectLists, step("statics"));
    procedure.addStep(OpenStage::FillTextureLists, step("textures"));
    Package wad;
    procedure.run(wad, [&] { log.push_back("|"); });
    // The stages from the object lists on run through without a repaint.
    EXPECT_EQ(log, (std::vector<std::string>{"title", "ignoreName", "|", "status", "|", "textures",
                                             "|", "statics", "fit"}));
}

} // namespace
} // namespace kavlen
