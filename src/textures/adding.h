// Growing the atlas and moving single textures in and out: adding pages, adding
// a picture as a new sample in the first free space, exporting a sample as a
// bitmap and importing a picture over a sample.
//
// Commands that read a picture file take a ChoosePicture callback: the editor
// shows its file dialog and loads the chosen file, the command-line tool loads
// the named file, tests hand over pictures they made. The command calls it at the
// point where the file is asked for, after its own preconditions.
#pragma once

#include "document/messages.h"
#include "document/package.h"
#include "textures/image32.h"
#include "textures/user_question.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kavlen {

struct PictureChoice {
    enum class Status { Cancelled, Loaded, LoadFailed };
    PictureChoice() = default;
    PictureChoice(Status s, Image32 i, std::string why = {})
        : status(s), image(std::move(i)), message(std::move(why)) {}
    Status status = Status::Cancelled;
    Image32 image;       // when Loaded
    std::string message; // when LoadFailed: why, if known
};
using ChoosePicture = std::function<PictureChoice()>;

inline constexpr int kMaxPages = 65536; // the page field has 16 bits

// The Fit rule for pictures larger than a page: the longer side becomes 256 and
// the other trunc(ratio x 256) with the ratio as a 32-bit float, at least 1.
struct FitSize {
    int width = 0, height = 0;
    bool operator==(const FitSize&) const = default;
};
FitSize fitToPage(int w, int h);

// Appends a black page, with `picture` (at most 256 x 256) at its top-left corner
// when given. Returns the new page's index, or -1 when the atlas cannot grow.
int appendPage(Package& wad, const Bitmap24* picture);

struct AddPageResult {
    bool added = false;
    int page = -1; // the new page: make it the current page
    Messages messages;
};

// "Add page" > "Blank".
AddPageResult addBlankPage(Package& wad);
// "Add page" > "From Image ...".
AddPageResult addPageFromImage(Package& wad, const ChoosePicture& choose, const AskUser& ask);

// Place texture: puts a w x h picture at the first free position of `page` and
// appends a sample for it. Returns the new sample's index, or -1 when the page
// has no room (or the sample limit is reached).
int placeTexture(Package& wad, const Bitmap24& picture, int page);

struct AddTextureResult {
    bool added = false;
    int sample = -1;        // the new sample: select it
    int page = -1;          // its page
    bool pageAdded = false; // a blank page was appended (it stays even on failure)
    Messages messages;
};

// "Add new texture ".
AddTextureResult addNewTexture(Package& wad, const ChoosePicture& choose, const AskUser& ask);

// The name the save dialog proposes for "Export Texture to BMP": "Text12".
std::string exportTextureFileName(int sample);
// "Export Texture to BMP": the sample's picture as a 24-bit BMP. Does nothing for
// a sample that does not exist; refuses a sample whose page the atlas lacks.
// Returns the messages to show.
Messages exportTextureToBmp(const Package& wad, int sample, const std::filesystem::path& path);

struct ImportTextureResult {
    bool changed = false;
    Bitmap24 picture;         // the loaded picture at its own size ("Current Texture" box)
    std::vector<int> rebuild; // samples whose textures to rebuild: the sample, then every
                              // other sample on its page that shares a texel with it
    Messages messages;
};

// "Import Texture": the picture, stretched or shrunk (Catmull-Rom) to exactly fill
// the sample's rectangle, replaces its texels. No size question and no
// transparency keying. Does nothing for a sample that does not exist; refuses,
// before asking for the picture, a sample whose page the atlas lacks.
ImportTextureResult importTexture(Package& wad, int sample, const ChoosePicture& choose);

// "Error loading file.", followed on a second line by the reason when there is one.
Message errorLoadingFile(const std::string& reason = {});

// The refusal for a sample whose rectangle starts below the atlas's last row, or
// nothing when the sample lies (at least partly) in the atlas.
std::optional<Message> sampleOffAtlas(const Package& wad, int sample);

} // namespace kavlen
