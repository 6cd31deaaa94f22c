// GL textures made from the samples, read back from the context.
#include "scene_documents.h"
#include "scene_test_view.h"
#include "view3d/texture_upload.h"

#include <gtest/gtest.h>

#include <qopengl.h>

using namespace kavlen;
using namespace kavlen::testing;

namespace {

struct TextureInfo {
    bool exists = false;
    GLint width = 0, height = 0, level1Width = 0;
    GLint minFilter = 0, magFilter = 0;
};

TextureInfo inspect(GLuint name) {
    TextureInfo info;
    info.exists = name != 0 && glIsTexture(name);
    if (!info.exists)
        return info;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &info.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &info.height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &info.level1Width);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &info.minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &info.magFilter);
    return info;
}

Rgb texel(GLuint name, int x, int y, int width) {
    std::vector<std::uint8_t> pixels(std::size_t(width) * width * 3);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    const std::uint8_t* p = pixels.data() + (std::size_t(y) * width + x) * 3;
    return {p[0], p[1], p[2]};
}

class TextureUpload : public ::testing::Test {
  protected:
    void SetUp() override {
        wad = makeSceneTestPackage();
        view = std::make_unique<SceneTestView>(scene, 64);
    }
    GLuint gl(unsigned name) const { return scene.textures.glName(name); }

    std::unique_ptr<Package> wad;
    MeshScene scene;
    std::unique_ptr<SceneTestView> view;
};

} // namespace

TEST_F(TextureUpload, EverySampleBecomesTheTextureOfItsIndexPlusOne) {
    view->withContext([&] {
        EXPECT_EQ(uploadAllSamples(scene.textures, *wad, 24, false), 4u);
        EXPECT_FALSE(scene.textures.contains(5));
        const TextureInfo exact = inspect(gl(2)); // sample 1, 32 x 32
        EXPECT_TRUE(exact.exists);
        EXPECT_EQ(exact.width, 32);
        EXPECT_EQ(exact.height, 32);
        EXPECT_EQ(exact.minFilter, GL_NEAREST);
        EXPECT_EQ(exact.magFilter, GL_NEAREST);
        EXPECT_EQ(exact.level1Width, 0);
        // Rows top first: texel (0, 0) is the sample's top left.
        EXPECT_EQ(texel(gl(2), 0, 0, 32), kLeftColor);
        EXPECT_EQ(texel(gl(2), 31, 31, 32), kRightColor);

        const TextureInfo stretched = inspect(gl(4)); // sample 3, 33 x 32
        EXPECT_EQ(stretched.width, 64);
        EXPECT_EQ(stretched.height, 64);
        EXPECT_EQ(texel(gl(4), 40, 20, 64), kOddSizeColor);
        deleteSceneTextures(scene.textures);
    });
}

TEST_F(TextureUpload, BilinearFilteringBuildsMipmapsButNotForTheSolidTexture) {
    view->withContext([&] {
        EXPECT_TRUE(uploadSolidTexture(scene.textures, KAVLEN_SOLID_BMP));
        uploadAllSamples(scene.textures, *wad, 24, true);
        const TextureInfo mipmapped = inspect(gl(2));
        EXPECT_EQ(mipmapped.minFilter, GL_LINEAR_MIPMAP_LINEAR);
        EXPECT_EQ(mipmapped.magFilter, GL_LINEAR);
        EXPECT_EQ(mipmapped.level1Width, 16);
        const TextureInfo solid = inspect(gl(kSolidTextureName));
        EXPECT_EQ(solid.width, 64);
        EXPECT_EQ(solid.minFilter, GL_NEAREST);

        // Switching the filter off again drops the mipmaps.
        uploadAllSamples(scene.textures, *wad, 24, false);
        const TextureInfo plain = inspect(gl(2));
        EXPECT_EQ(plain.minFilter, GL_NEAREST);
        EXPECT_EQ(plain.level1Width, 0);
        EXPECT_EQ(inspect(gl(kSolidTextureName)).minFilter, GL_NEAREST);
        deleteSceneTextures(scene.textures);
    });
}

TEST_F(TextureUpload, SolidTextureFallsBackToTheBuiltInPicture) {
    view->withContext([&] {
        EXPECT_FALSE(uploadSolidTexture(scene.textures, "/nonexistent/solid.bmp"));
        const TextureInfo solid = inspect(gl(kSolidTextureName));
        EXPECT_TRUE(solid.exists);
        EXPECT_EQ(solid.width, 64);
        const TexturePicture builtIn = makeSolidPicture();
        const std::uint8_t* centre = builtIn.pixel(32, 32);
        EXPECT_EQ(texel(gl(kSolidTextureName), 32, 32, 64), (Rgb{centre[2], centre[1], centre[0]}));
        const GLuint solidName = gl(kSolidTextureName);
        deleteSceneTextures(scene.textures);
        EXPECT_FALSE(glIsTexture(solidName));
        EXPECT_FALSE(scene.textures.contains(kSolidTextureName));
    });
}

TEST_F(TextureUpload, UploadsLeaveTheViewsOwnTexturesAlone) {
    // The view renders into a framebuffer texture of its own in the same
    // context; sample textures must not take its name.
    view->withContext([&] {
        uploadAllSamples(scene.textures, *wad, 24, false);
        uploadSolidTexture(scene.textures, KAVLEN_SOLID_BMP);
    });
    const QImage image = view->frame();
    EXPECT_EQ(countColor(image, rgbOf(view->clearColor)), image.width() * image.height());
    view->withContext([&] { deleteSceneTextures(scene.textures); });
}

TEST_F(TextureUpload, GlNamesStayTheSameAcrossUploads) {
    view->withContext([&] {
        uploadAllSamples(scene.textures, *wad, 24, false);
        const GLuint first = gl(2);
        EXPECT_NE(first, 0u);
        uploadAllSamples(scene.textures, *wad, 24, true);
        EXPECT_EQ(gl(2), first); // display lists that bind it stay valid
        // Names differ between textures.
        EXPECT_NE(gl(1), gl(2));
        deleteSceneTextures(scene.textures);
    });
}

TEST_F(TextureUpload, DeletionRemovesSampleAndSolidTextures) {
    view->withContext([&] {
        uploadAllSamples(scene.textures, *wad, 32, false);
        uploadSolidTexture(scene.textures, KAVLEN_SOLID_BMP);
        EXPECT_EQ(texel(gl(3), 5, 5, 32), kWhiteTexel); // 32-bit depth uploads too
        std::vector<GLuint> names;
        for (unsigned name : {1u, 2u, 3u, 4u, kSolidTextureName})
            names.push_back(gl(name));
        deleteSceneTextures(scene.textures);
        for (GLuint name : names)
            EXPECT_FALSE(glIsTexture(name)) << name;
        EXPECT_FALSE(scene.textures.contains(1));
    });
}
