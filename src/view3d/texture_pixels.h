// Pixel buffers of the GL textures, built without GL.
//
// Every texture sample becomes a picture cut from the atlas; a picture whose
// sides are not both powers of two from 1 to 256 is stretched to 64 x 64
// before it is uploaded. Texture name n + 1 holds sample n.
#pragma once

#include "document/package.h"

#include <cstdint>
#include <vector>

namespace kavlen {

// The Solid mode texture's name; sample textures use 1..4096.
inline constexpr unsigned kSolidTextureName = 4097;
// Side of the square a picture is stretched to when its sides are not powers of two.
inline constexpr int kStretchedTextureSide = 64;

// Rows top first, `bytesPerPixel` 3 (blue, green, red) or 4 (blue, green, red, alpha).
struct TexturePicture {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 3;
    std::vector<std::uint8_t> pixels;

    std::size_t rowBytes() const { return std::size_t(width) * std::size_t(bytesPerPixel); }
    const std::uint8_t* pixel(int x, int y) const {
        return pixels.data() + std::size_t(y) * rowBytes() + std::size_t(x) * bytesPerPixel;
    }
};

// Bytes per pixel for a colour depth: 4 for 32, otherwise 3.
int bytesPerPixelForDepth(int colorBits);
// Whether a side length is one of 1, 2, 4, ..., 256.
bool isTextureSide(int side);

// Cuts sample n out of the atlas: (width + 1) x (height + 1) pixels. Texels
// outside the atlas (right of column 255, below its last row) are black; with
// 4 bytes per pixel alpha is 255. Reuses `out`'s storage.
void cutSamplePicture(const Package& wad, std::size_t n, int bytesPerPixel, TexturePicture& out);
TexturePicture cutSamplePicture(const Package& wad, std::size_t n, int bytesPerPixel);

// Converts between 3 and 4 bytes per pixel (alpha 255 when added).
TexturePicture withBytesPerPixel(const TexturePicture& picture, int bytesPerPixel);

// Resamples a picture to `width` x `height` with a separable triangle filter
// whose support widens when shrinking, so it averages when shrinking and
// interpolates linearly when enlarging.
TexturePicture stretchPicture(const TexturePicture& picture, int width, int height);

// The buffer that is uploaded for a picture at a colour depth: the picture in
// that pixel size, as it is when both sides are texture sides, else stretched
// to 64 x 64.
TexturePicture texturePixels(TexturePicture picture, int colorBits);

// The built-in Solid mode picture (64 x 64, 4 bytes per pixel): a light grey
// tile with a bevelled border, so every face shows its edges. Used when
// "solid.bmp" is missing or unreadable; the shipped file holds the same picture.
TexturePicture makeSolidPicture();

} // namespace kavlen
