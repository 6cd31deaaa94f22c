#include "texture_test_support.h"
#include "textures/adding.h"
#include "textures/atlas.h"
#include "textures/bmp24.h"
#include "textures/samples.h"

#include <gtest/gtest.h>

using namespace kavlen;
using kavlen::test::addSample;
using kavlen::test::atlasTexel;
using kavlen::test::makeAtlasPackage;
using kavlen::test::makePicture;

namespace {

ChoosePicture give(Image32 image) {
    return [image] { return PictureChoice{PictureChoice::Status::Loaded, image}; };
}
ChoosePicture cancel() {
    return [] { return PictureChoice{}; };
}
ChoosePicture unreadable() {
    return [] { return PictureChoice{PictureChoice::Status::LoadFailed, {}}; };
}

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

const Message kErrorLoading{MessageKind::Error, "Error loading file."};

} // namespace

TEST(Adding, FitRule) {
    EXPECT_EQ(fitToPage(512, 300), (FitSize{256, 150}));
    EXPECT_EQ(fitToPage(300, 400), (FitSize{192, 256}));
    EXPECT_EQ(fitToPage(300, 100), (FitSize{256, 85}));
    EXPECT_EQ(fitToPage(400, 400), (FitSize{256, 256}));
    EXPECT_EQ(fitToPage(100, 300), (FitSize{85, 256}));
    // 1/3 as a float is 0.333333343..., so 768 x 256 gives 85 (85.33), and a
    // ratio that a double would put just below a whole number stays above it.
    EXPECT_EQ(fitToPage(768, 256), (FitSize{256, 85}));
    EXPECT_EQ(fitToPage(5000, 1), (FitSize{256, 1})); // never 0 texels
}

TEST(Adding, BlankPageIsBlackAndBecomesTheLastPage) {
    auto wad = makeAtlasPackage(2);
    const std::vector<std::uint8_t> before = wad->textureData;
    const AddPageResult r = addBlankPage(*wad);
    ASSERT_TRUE(r.added);
    EXPECT_EQ(r.page, 2);
    EXPECT_EQ(wad->pageCount(), 3);
    EXPECT_EQ(wad->textureDataSize, 3 * kPageBytes);
    EXPECT_EQ(wad->textureData.size(), 3 * kPageBytes);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), wad->textureData.begin()));
    EXPECT_EQ(pagePicture(*wad, 2), Bitmap24(256, 256));
}

TEST(Adding, PageFromImageHoldsThePictureTopLeftAndBlackElsewhere) {
    auto wad = makeAtlasPackage(1);
    const Image32 picture = makePicture(100, 50);
    const AddPageResult r = addPageFromImage(*wad, give(picture), {});
    ASSERT_TRUE(r.added);
    EXPECT_EQ(r.page, 1);
    const Bitmap24 page = pagePicture(*wad, 1);
    EXPECT_EQ(copyPageRect(*wad, 1, {0, 0, 99, 49}), toBitmap24(picture));
    EXPECT_EQ(page.pixel(100, 0), (Bgr{}));
    EXPECT_EQ(page.pixel(0, 50), (Bgr{}));
    EXPECT_EQ(page.pixel(255, 255), (Bgr{}));
}

TEST(Adding, PageFromALargePictureAsksAndResizes) {
    auto wad = makeAtlasPackage(1);
    ScriptedUser user;
    user.answer = false;
    AddPageResult r = addPageFromImage(*wad, give(makePicture(300, 100)), user.ask());
    EXPECT_FALSE(r.added);
    ASSERT_EQ(user.asked.size(), 1u);
    EXPECT_EQ(user.asked[0],
              (UserQuestion{MessageKind::Confirmation,
                            "Image dimension exceeds 256 pixels.\n\rResize and continue?",
                            UserQuestion::Buttons::YesNo}));
    EXPECT_EQ(wad->pageCount(), 1);

    user.answer = true;
    r = addPageFromImage(*wad, give(makePicture(300, 100)), user.ask());
    ASSERT_TRUE(r.added);
    // 256 x 85 picture: row 84 holds picture texels (red 200), row 85 is black.
    EXPECT_EQ(pagePicture(*wad, 1).pixel(255, 84).r, 200);
    EXPECT_EQ(pagePicture(*wad, 1).pixel(255, 85), (Bgr{}));
}

TEST(Adding, PageCommandsCancelAndLoadFailure) {
    auto wad = makeAtlasPackage(1);
    AddPageResult r = addPageFromImage(*wad, cancel(), {});
    EXPECT_FALSE(r.added);
    EXPECT_TRUE(r.messages.empty());
    r = addPageFromImage(*wad, unreadable(), {});
    EXPECT_EQ(r.messages, (Messages{kErrorLoading}));
    EXPECT_EQ(wad->pageCount(), 1);
    Package none;
    EXPECT_EQ(addBlankPage(none).messages, (Messages{{MessageKind::Error, "No wad opened."}}));
}

TEST(Adding, AppendPageKeepsAStrayTailAfterTheNewPage) {
    auto wad = makeAtlasPackage(1);
    wad->textureData.insert(wad->textureData.end(), {1, 2, 3, 4, 5});
    wad->textureDataSize += 5;
    EXPECT_EQ(appendPage(*wad, nullptr), 1);
    EXPECT_EQ(wad->textureDataSize, 2 * kPageBytes + 5);
    EXPECT_EQ(wad->textureData.size(), 2 * kPageBytes + 5);
    EXPECT_EQ(wad->textureData[2 * kPageBytes + 4], 5);
    EXPECT_EQ(pagePicture(*wad, 1), Bitmap24(256, 256));
}

TEST(Adding, NewTextureGoesBesideTheFirstSample) {
    auto wad = makeAtlasPackage(1);
    addSample(*wad, 0, 0, 0, 64, 64);
    const Image32 picture = makePicture(64, 64);
    const AddTextureResult r = addNewTexture(*wad, give(picture), {});
    ASSERT_TRUE(r.added);
    EXPECT_EQ(r.sample, 1);
    EXPECT_EQ(r.page, 0);
    EXPECT_FALSE(r.pageAdded);
    const TexInfo& t = wad->texInfos[1];
    EXPECT_EQ(t.x, 64);
    EXPECT_EQ(t.y, 0);
    EXPECT_EQ(t.width, 63);
    EXPECT_EQ(t.height, 63);
    EXPECT_EQ(t.xFlag, -1);
    EXPECT_EQ(t.yFlag, -1);
    EXPECT_EQ(samplePicture(*wad, 1), toBitmap24(picture));
    EXPECT_EQ(pagePicture(*wad, 0).pixel(128, 0), atlasTexel(0, 128, 0)); // untouched
}

TEST(Adding, NewTextureWithoutRoomGetsABlankPage) {
    auto wad = makeAtlasPackage(2);
    addSample(*wad, 0, 10, 10, 1, 1);
    addSample(*wad, 1, 200, 200, 1, 1);
    const AddTextureResult r = addNewTexture(*wad, give(makePicture(256, 256)), {});
    ASSERT_TRUE(r.added);
    EXPECT_TRUE(r.pageAdded);
    EXPECT_EQ(r.page, 2);
    EXPECT_EQ(wad->pageCount(), 3);
    const TexInfo& t = wad->texInfos[r.sample];
    EXPECT_EQ(t.page, 2);
    EXPECT_EQ(t.x, 0);
    EXPECT_EQ(t.y, 0);
    EXPECT_EQ(t.width, 255);
    EXPECT_EQ(t.height, 255);
}

TEST(Adding, NewTextureThatFitsNowhereKeepsTheAddedPage) {
    auto wad = makeAtlasPackage(1);
    addSample(*wad, 0, 0, 0, 256, 256);
    addSample(*wad, 1, 0, 0, 1, 1); // a sample on the page that does not exist yet
    const AddTextureResult r = addNewTexture(*wad, give(makePicture(256, 256)), {});
    EXPECT_FALSE(r.added);
    EXPECT_TRUE(r.pageAdded);
    EXPECT_EQ(r.page, 1);
    EXPECT_EQ(r.messages, (Messages{{MessageKind::Error, "Error adding texture."}}));
    EXPECT_EQ(wad->pageCount(), 2);
    EXPECT_EQ(wad->texInfoCount, 2u);
}

TEST(Adding, NewTextureSizeQuestions) {
    auto wad = makeAtlasPackage(1);
    ScriptedUser user;
    user.answer = false;
    addNewTexture(*wad, give(makePicture(300, 100)), user.ask());
    addNewTexture(*wad, give(makePicture(100, 300)), user.ask());
    addNewTexture(*wad, give(makePicture(400, 400)), user.ask());
    ASSERT_EQ(user.asked.size(), 3u);
    EXPECT_EQ(user.asked[0].text, "Image is too wide.\n\rResize image and continue?");
    EXPECT_EQ(user.asked[1].text, "Image is too tall.\n\rResize image and continue?");
    EXPECT_EQ(user.asked[2].text, "Image is too wide and too tall.\n\rResize image and continue?");
    EXPECT_EQ(user.asked[2].buttons, UserQuestion::Buttons::YesNo);
    EXPECT_EQ(wad->texInfoCount, 0u);

    user.answer = true;
    AddTextureResult r = addNewTexture(*wad, give(makePicture(300, 100)), user.ask());
    ASSERT_TRUE(r.added);
    EXPECT_EQ(wad->texInfos[r.sample].width + 1, 256);
    EXPECT_EQ(wad->texInfos[r.sample].height + 1, 85);
    r = addNewTexture(*wad, give(makePicture(400, 400)), user.ask());
    ASSERT_TRUE(r.added);
    EXPECT_EQ(wad->texInfos[r.sample].width + 1, 256);
    EXPECT_EQ(wad->texInfos[r.sample].height + 1, 256);
}

TEST(Adding, TransparentPixelsEnterAsMagentaButImportKeepsThem) {
    Image32 picture = makePicture(4, 4);
    picture.setPixel(1, 2, {10, 20, 30, 0});
    auto wad = makeAtlasPackage(1);
    const AddTextureResult added = addNewTexture(*wad, give(picture), {});
    ASSERT_TRUE(added.added);
    EXPECT_EQ(samplePicture(*wad, added.sample)->pixel(1, 2), (Bgr{255, 0, 255}));
    EXPECT_EQ(samplePicture(*wad, added.sample)->pixel(0, 0), (Bgr{0, 0, 200}));

    const AddPageResult page = addPageFromImage(*wad, give(picture), {});
    EXPECT_EQ(pagePicture(*wad, page.page).pixel(1, 2), (Bgr{255, 0, 255}));

    const ImportTextureResult imported = importTexture(*wad, added.sample, give(picture));
    ASSERT_TRUE(imported.changed);
    EXPECT_EQ(samplePicture(*wad, added.sample)->pixel(1, 2), (Bgr{10, 20, 30}));
    EXPECT_EQ(imported.picture.pixel(1, 2), (Bgr{10, 20, 30}));
}

TEST(Adding, NewTextureLimitAndLoadFailure) {
    auto wad = makeAtlasPackage(1);
    bool asked = false;
    const ChoosePicture chooser = [&] {
        asked = true;
        return PictureChoice{};
    };
    wad->texInfoCount = 4096;
    AddTextureResult r = addNewTexture(*wad, chooser, {});
    EXPECT_FALSE(asked); // the limit is checked before the file is asked for
    EXPECT_EQ(r.messages, (Messages{{MessageKind::Warning, "Texinfo limit of 4096 reached."}}));
    wad->texInfoCount = 0;
    r = addNewTexture(*wad, unreadable(), {});
    EXPECT_EQ(r.messages, (Messages{kErrorLoading}));
    r = addNewTexture(*wad, cancel(), {});
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(wad->texInfoCount, 0u);
}

TEST(Adding, ImportTextureStretchesOntoTheSampleAndListsOverlaps) {
    auto wad = makeAtlasPackage(2);
    addSample(*wad, 0, 0, 0, 8, 8);    // 0
    addSample(*wad, 0, 16, 16, 32, 8); // 1: the target
    addSample(*wad, 0, 47, 23, 4, 4);  // 2: shares texel (47, 23)
    addSample(*wad, 1, 16, 16, 32, 8); // 3: same place, other page
    addSample(*wad, 0, 48, 16, 4, 4);  // 4: touches, shares nothing
    addSample(*wad, 0, 0, 0, 20, 20);  // 5: shares (16..19, 16..19)

    Image32 red(4, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            red.setPixel(x, y, {0, 0, 255, 255});
    const ImportTextureResult r = importTexture(*wad, 1, give(red));
    ASSERT_TRUE(r.changed);
    EXPECT_EQ(r.rebuild, (std::vector<int>{1, 2, 5}));
    EXPECT_EQ(r.picture.width, 4); // shown at its own size
    const Bitmap24 sample = *samplePicture(*wad, 1);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(sample.pixel(x, y), (Bgr{0, 0, 255}));
    EXPECT_EQ(pagePicture(*wad, 0).pixel(48, 16), atlasTexel(0, 48, 16));
    EXPECT_EQ(pagePicture(*wad, 0).pixel(15, 16), atlasTexel(0, 15, 16));
    EXPECT_EQ(pagePicture(*wad, 1).pixel(16, 16), atlasTexel(1, 16, 16));
}

TEST(Adding, ImportTextureOfTheSameSizeIsExact) {
    auto wad = makeAtlasPackage(1);
    addSample(*wad, 0, 100, 100, 20, 10);
    const Image32 picture = makePicture(20, 10);
    ASSERT_TRUE(importTexture(*wad, 0, give(picture)).changed);
    EXPECT_EQ(samplePicture(*wad, 0), toBitmap24(picture));
}

TEST(Adding, SampleCommandsDoNothingWithoutTheSample) {
    test::TempDir dir;
    auto wad = makeAtlasPackage(1);
    const std::vector<std::uint8_t> before = wad->textureData;
    bool asked = false;
    const ChoosePicture chooser = [&] {
        asked = true;
        return PictureChoice{PictureChoice::Status::Loaded, makePicture(4, 4)};
    };
    const ImportTextureResult r = importTexture(*wad, 0, chooser);
    EXPECT_FALSE(r.changed);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_FALSE(asked);
    EXPECT_TRUE(exportTextureToBmp(*wad, 0, dir / "t.bmp").empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "t.bmp"));
    EXPECT_EQ(wad->textureData, before);

    addSample(*wad, 0, 0, 0, 4, 4);
    EXPECT_EQ(importTexture(*wad, 0, unreadable()).messages, (Messages{kErrorLoading}));
    EXPECT_EQ(wad->textureData, before);
}

TEST(Adding, ExportTextureWritesTheSamplePicture) {
    test::TempDir dir;
    auto wad = makeAtlasPackage(2);
    addSample(*wad, 1, 3, 4, 5, 6);
    EXPECT_EQ(exportTextureFileName(0), "Text0");
    EXPECT_EQ(exportTextureFileName(12), "Text12");
    EXPECT_TRUE(exportTextureToBmp(*wad, 0, dir / "Text0.bmp").empty());
    const BmpReadResult back = readBmpFile(dir / "Text0.bmp");
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.bitsPerPixel, 24);
    EXPECT_EQ(back.bitmap, *samplePicture(*wad, 0));
}
