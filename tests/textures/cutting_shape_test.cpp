#include "texture_test_support.h"
#include "textures/cutting_shape.h"

#include <gtest/gtest.h>

using namespace kavlen;
using kavlen::test::addSample;
using kavlen::test::makeAtlasPackage;

namespace {

// Records the questions and answers them with `answer`.
struct ScriptedUser {
    bool answer = true;
    std::vector<UserQuestion> asked;
    AskUser ask() {
        return [this](const UserQuestion& q) {
            asked.push_back(q);
            return answer;
        };
    }
};

CuttingShape drag(int page, int fromX, int fromY, int toX, int toY,
                  const std::optional<SampleMark>& selected = std::nullopt) {
    CuttingShape s;
    s.start(page, fromX, fromY);
    s.dragTo(toX, toY);
    s.finish(selected);
    return s;
}

} // namespace

TEST(CuttingShape, FourByFourCutsWithoutAQuestion) {
    auto wad = makeAtlasPackage(2);
    ScriptedUser user;
    const CutResult r = cutFromShape(*wad, drag(1, 10, 10, 13, 13), 1, user.ask());
    EXPECT_TRUE(user.asked.empty());
    ASSERT_TRUE(r.added);
    EXPECT_EQ(r.sample, 0);
    EXPECT_TRUE(r.messages.empty());
    const TexInfo& t = wad->texInfos[0];
    EXPECT_EQ(wad->texInfoCount, 1u);
    EXPECT_EQ(t.x, 10);
    EXPECT_EQ(t.y, 10);
    EXPECT_EQ(t.page, 1);
    EXPECT_EQ(t.width, 3);
    EXPECT_EQ(t.height, 3);
    EXPECT_EQ(t.xFlag, -1);
    EXPECT_EQ(t.yFlag, -1);
}

TEST(CuttingShape, NarrowShapeAsksFirstAndCancelChangesNothing) {
    auto wad = makeAtlasPackage(1);
    ScriptedUser user;
    user.answer = false;
    const CuttingShape shape = drag(0, 10, 10, 12, 13);
    CutResult r = cutFromShape(*wad, shape, 0, user.ask());
    ASSERT_EQ(user.asked.size(), 1u);
    EXPECT_EQ(
        user.asked[0],
        (UserQuestion{MessageKind::Warning,
                      "Defined texture has width or height less than 4.\rPress OK to continue.",
                      UserQuestion::Buttons::OkCancel}));
    EXPECT_FALSE(r.added);
    EXPECT_EQ(wad->texInfoCount, 0u);

    user.answer = true;
    r = cutFromShape(*wad, shape, 0, user.ask());
    EXPECT_TRUE(r.added);
    EXPECT_EQ(wad->texInfos[0].width, 2);
    EXPECT_EQ(wad->texInfos[0].height, 3);
}

TEST(CuttingShape, DragDirectionDoesNotMatterAndDragsClampToThePage) {
    const CuttingShape forward = drag(0, 10, 20, 40, 50);
    const CuttingShape backward = drag(0, 40, 50, 10, 20);
    EXPECT_EQ(forward.rect(), backward.rect());
    EXPECT_EQ(backward.x0, 10); // mouse up puts corner 1 top-left
    EXPECT_EQ(backward.y1, 50);
    EXPECT_FALSE(backward.dragging);

    CuttingShape s;
    s.start(0, 100, 100);
    s.dragTo(300, -20);
    EXPECT_EQ(s.x1, 255);
    EXPECT_EQ(s.y1, 0);
    s.finish(std::nullopt);
    EXPECT_EQ(s.rect(), (PageRect{100, 0, 255, 100}));
    EXPECT_FALSE(s.dragTo(5, 5)); // no longer dragging
}

TEST(CuttingShape, SnapsToTheSelectedSampleOnlyOnItsPage) {
    auto wad = makeAtlasPackage(2);
    const int sel = addSample(*wad, 0, 32, 32, 16, 16);
    const std::optional<SampleMark> mark = sampleMark(*wad, sel);

    CuttingShape s = drag(0, 20, 20, 60, 60, mark);
    EXPECT_EQ(s.rect(), (PageRect{32, 32, 47, 47}));
    // Cutting the snapped shape finds the selected sample.
    const CutResult r = cutFromShape(*wad, s, 0, {});
    EXPECT_FALSE(r.added);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0], (Message{MessageKind::Error, "Defined texture same as Texture#0"}));

    EXPECT_EQ(drag(0, 40, 40, 100, 100, mark).rect(), (PageRect{40, 40, 47, 47})); // overlap
    EXPECT_EQ(drag(0, 48, 48, 60, 60, mark).rect(), (PageRect{48, 48, 60, 60}));   // apart
    EXPECT_EQ(drag(1, 20, 20, 60, 60, mark).rect(), (PageRect{20, 20, 60, 60}));   // other page
}

TEST(CuttingShape, DuplicateReportsTheFirstEqualSample) {
    auto wad = makeAtlasPackage(1);
    addSample(*wad, 0, 0, 0, 8, 8);
    addSample(*wad, 0, 5, 5, 10, 10);
    addSample(*wad, 0, 5, 5, 10, 10);
    const CutResult r = cutFromShape(*wad, drag(0, 14, 14, 5, 5), 0, {});
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, "Defined texture same as Texture#1");
    EXPECT_EQ(wad->texInfoCount, 3u);
}

TEST(CuttingShape, CutNeedsAnActiveShapeOnTheCurrentPageAndRoom) {
    auto wad = makeAtlasPackage(2);
    EXPECT_FALSE(cutFromShape(*wad, CuttingShape{}, 0, {}).added);
    const CutResult otherPage = cutFromShape(*wad, drag(1, 0, 0, 9, 9), 0, {});
    EXPECT_FALSE(otherPage.added);
    EXPECT_TRUE(otherPage.messages.empty());

    wad->texInfoCount = 4096;
    const CutResult full = cutFromShape(*wad, drag(0, 0, 0, 9, 9), 0, {});
    ASSERT_EQ(full.messages.size(), 1u);
    EXPECT_EQ(full.messages[0],
              (Message{MessageKind::Error, "Cannot have more than 4096 textures."}));

    Package none;
    const CutResult unloaded = cutFromShape(none, drag(0, 0, 0, 9, 9), 0, {});
    ASSERT_EQ(unloaded.messages.size(), 1u);
    EXPECT_EQ(unloaded.messages[0].text, "No wad opened.");
}

TEST(CuttingShape, LabelShowsPositionAndSize) {
    CuttingShape s;
    EXPECT_EQ(s.label(), "Cut Shape:");
    s = drag(0, 30, 40, 10, 20);
    EXPECT_EQ(s.label(), "Cut Shape: (x=10, y=20)      21 x 21");
    EXPECT_TRUE(s.usableOn(0));
    EXPECT_FALSE(s.usableOn(1));
}

TEST(CuttingShape, SpinButtonsMoveOneEdgeWithinBounds) {
    CuttingShape s = drag(0, 10, 10, 20, 20);
    auto spin = [&](ShapeSpinButton b, SpinHalf h, bool ctrl = false) {
        return spinShape(s, 0, b, h, ctrl);
    };
    EXPECT_TRUE(spin(ShapeSpinButton::LeftPlusMinus, SpinHalf::Up));
    EXPECT_EQ(s.x0, 9);
    spin(ShapeSpinButton::LeftPlusMinus, SpinHalf::Down, true);
    EXPECT_EQ(s.x0, 13);
    spin(ShapeSpinButton::HeightPlus, SpinHalf::Up);
    EXPECT_EQ(s.y0, 9);
    spin(ShapeSpinButton::HeightPlus, SpinHalf::Down);
    EXPECT_EQ(s.y1, 21);
    spin(ShapeSpinButton::HeightMinus, SpinHalf::Up);
    EXPECT_EQ(s.y0, 10);
    spin(ShapeSpinButton::HeightMinus, SpinHalf::Down);
    EXPECT_EQ(s.y1, 20);
    spin(ShapeSpinButton::RightPlusMinus, SpinHalf::Down);
    EXPECT_EQ(s.x1, 19);

    // Opposite edges may meet but never cross.
    for (int i = 0; i < 5; ++i)
        spin(ShapeSpinButton::RightPlusMinus, SpinHalf::Down, true);
    EXPECT_EQ(s.x1, 13);
    EXPECT_EQ(s.x0, 13);
    spin(ShapeSpinButton::LeftPlusMinus, SpinHalf::Down);
    EXPECT_EQ(s.x0, 13);
    for (int i = 0; i < 5; ++i)
        spin(ShapeSpinButton::HeightMinus, SpinHalf::Up, true);
    EXPECT_EQ(s.y0, 20);
    spin(ShapeSpinButton::HeightMinus, SpinHalf::Down);
    EXPECT_EQ(s.y1, 20);

    // Page edges: with Ctrl, "Right +/-" up at 253 stops at 255.
    s = drag(0, 250, 1, 253, 254);
    spin(ShapeSpinButton::RightPlusMinus, SpinHalf::Up, true);
    EXPECT_EQ(s.x1, 255);
    spin(ShapeSpinButton::HeightPlus, SpinHalf::Up, true);
    EXPECT_EQ(s.y0, 0);
    spin(ShapeSpinButton::HeightPlus, SpinHalf::Down, true);
    EXPECT_EQ(s.y1, 255);
    s = drag(0, 0, 0, 0, 0);
    spin(ShapeSpinButton::RightPlusMinus, SpinHalf::Down);
    spin(ShapeSpinButton::LeftPlusMinus, SpinHalf::Up);
    EXPECT_EQ(s.rect(), (PageRect{0, 0, 0, 0}));

    // Inactive, or on another page: nothing happens.
    EXPECT_FALSE(spinShape(s, 1, ShapeSpinButton::RightPlusMinus, SpinHalf::Up, false));
    CuttingShape idle;
    EXPECT_FALSE(spinShape(idle, 0, ShapeSpinButton::RightPlusMinus, SpinHalf::Up, false));
    EXPECT_EQ(idle, CuttingShape{});
}

TEST(CuttingShape, PictureIsTheShapeRectangle) {
    const auto wad = makeAtlasPackage(2);
    EXPECT_FALSE(shapePicture(*wad, CuttingShape{}));
    const std::optional<Bitmap24> p = shapePicture(*wad, drag(1, 5, 6, 7, 9));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->width, 3);
    EXPECT_EQ(p->height, 4);
    EXPECT_EQ(p->pixel(2, 3), test::atlasTexel(1, 7, 9));
}
