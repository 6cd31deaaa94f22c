#include "view3d/texture_upload.h"

#include <QImage>
#include <QString>
#include <qopengl.h>

#include <GL/glu.h>

#include <algorithm>

namespace kavlen {

namespace {

void uploadPrepared(SceneTextures& textures, unsigned name, const TexturePicture& pixels,
                    bool bilinear) {
    textures.bindFresh(name);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    const GLuint gl = textures.glName(name);
    const GLclampf priority = 1.0f;
    glPrioritizeTextures(1, &gl, &priority);

    const GLint components = pixels.bytesPerPixel;
    const GLenum format = pixels.bytesPerPixel == 4 ? GL_BGRA_EXT : GL_BGR_EXT;
    if (bilinear) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        gluBuild2DMipmaps(GL_TEXTURE_2D, components, pixels.width, pixels.height, format,
                          GL_UNSIGNED_BYTE, pixels.pixels.data());
    } else {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, components, pixels.width, pixels.height, 0, format,
                     GL_UNSIGNED_BYTE, pixels.pixels.data());
    }
}

} // namespace

void uploadTexture(SceneTextures& textures, unsigned name, const TexturePicture& picture,
                   int colorBits, bool bilinear) {
    uploadPrepared(textures, name, texturePixels(picture, colorBits), bilinear);
}

std::size_t uploadAllSamples(SceneTextures& textures, const Package& wad, int colorBits,
                             bool bilinear) {
    const std::size_t count = std::min<std::size_t>(wad.texInfoCount, kMaxTexInfos);
    const int bpp = bytesPerPixelForDepth(colorBits);
    TexturePicture picture;
    for (std::size_t n = 0; n < count; ++n) {
        cutSamplePicture(wad, n, bpp, picture);
        if (isTextureSide(picture.width) && isTextureSide(picture.height))
            uploadPrepared(textures, static_cast<unsigned>(n + 1), picture, bilinear);
        else
            uploadPrepared(textures, static_cast<unsigned>(n + 1),
                           stretchPicture(picture, kStretchedTextureSide, kStretchedTextureSide),
                           bilinear);
    }
    return count;
}

void uploadSample(SceneTextures& textures, const Package& wad, std::size_t n, int colorBits,
                  bool bilinear) {
    if (n >= kMaxTexInfos)
        return;
    uploadTexture(textures, static_cast<unsigned>(n + 1),
                  cutSamplePicture(wad, n, bytesPerPixelForDepth(colorBits)), colorBits, bilinear);
}

TexturePicture loadSolidPicture(const std::filesystem::path& file, bool* fromFile) {
    QImage image(QString::fromStdString(file.string()));
    if (fromFile)
        *fromFile = !image.isNull();
    if (image.isNull())
        return makeSolidPicture();

    // ARGB32 is stored blue, green, red, alpha per pixel on little-endian machines.
    image = image.convertToFormat(QImage::Format_ARGB32);
    TexturePicture picture;
    picture.width = image.width();
    picture.height = image.height();
    picture.bytesPerPixel = 4;
    picture.pixels.resize(picture.rowBytes() * std::size_t(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::uint8_t* dst = picture.pixels.data() + std::size_t(y) * picture.rowBytes();
        for (int x = 0; x < picture.width; ++x) {
            dst[4 * x + 0] = static_cast<std::uint8_t>(qBlue(line[x]));
            dst[4 * x + 1] = static_cast<std::uint8_t>(qGreen(line[x]));
            dst[4 * x + 2] = static_cast<std::uint8_t>(qRed(line[x]));
            dst[4 * x + 3] = static_cast<std::uint8_t>(qAlpha(line[x]));
        }
    }
    return picture;
}

bool uploadSolidTexture(SceneTextures& textures, const std::filesystem::path& file) {
    bool fromFile = false;
    const TexturePicture picture = loadSolidPicture(file, &fromFile);
    uploadTexture(textures, kSolidTextureName, picture, 32, false);
    return fromFile;
}

void deleteSceneTextures(SceneTextures& textures) {
    textures.removeAll();
}

} // namespace kavlen
