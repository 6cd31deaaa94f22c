// Loading picture files of every supported format into a 32-bit picture: BMP,
// JPEG, PNG and GIF through Qt (which needs no application object for this),
// TGA through stb_image, PSD and DDS through our own readers. A file that cannot
// be read gives nothing; the caller says "Error loading file.".
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

std::optional<Image32> loadPicture(std::span<const std::uint8_t> bytes,
                                   const std::string& extension = {});
std::optional<Image32> loadPictureFile(const std::filesystem::path& path);

// The answer of a picture-choosing callback for the file at `path`.
PictureChoice pictureChoiceFromFile(const std::filesystem::path& path);

// The picture dialog's filter list in Qt's notation ("Caption (*.a *.b);;...").
QString pictureDialogFilter();

} // namespace kavlen
