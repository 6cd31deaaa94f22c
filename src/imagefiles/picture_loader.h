// Loading picture files of every supported format into a 32-bit picture: JPEG,
// PNG and GIF through Qt (which needs no application object for this), TGA
// through stb_image, BMP, PSD and DDS through our own readers. A file that cannot
// be read gives nothing and a reason; the caller says "Error loading file.".
//
// The format is told by the file's signature. Targa files have none: bytes
// without a known signature are read as Targa when the file name's extension is
// empty or ".tga" (any case), and refused otherwise.
#pragma once

#include "textures/adding.h"
#include "textures/image32.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>

class QString;

namespace kavlen {

// A decoded picture, or why there is none.
struct PictureLoad {
    std::optional<Image32> image;
    std::string message; // why the file was refused
};

// Decodes only after the size the header declares was checked against
// kMaxPicturePixels.
PictureLoad decodePicture(std::span<const std::uint8_t> bytes, const std::string& extension = {});
std::optional<Image32> loadPicture(std::span<const std::uint8_t> bytes,
                                   const std::string& extension = {});

// Reads only a regular file of at most kMaxPictureFileBytes, then decodes it.
PictureLoad loadPictureFileWithReason(const std::filesystem::path& path);
std::optional<Image32> loadPictureFile(const std::filesystem::path& path);

// The answer of a picture-choosing callback for the file at `path`.
PictureChoice pictureChoiceFromFile(const std::filesystem::path& path);

// The picture dialog's filter list in Qt's notation ("Caption (*.a *.b);;...").
QString pictureDialogFilter();

} // namespace kavlen
