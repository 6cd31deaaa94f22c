// Texture samples: their rectangles on the page, list labels, pictures, the hit
// test of page clicks and the sizes the sample pictures are shown at. A package
// may have no samples at all; everything here that takes a sample index then
// returns nothing.
#pragma once

#include "document/package.h"
#include "textures/atlas.h"
#include "textures/bitmap24.h"

#include <optional>
#include <string>
#include <vector>

namespace kavlen {

// Whether `index` names an existing sample.
bool hasSample(const Package& wad, int index);

// left = x, top = y, right = x + width, bottom = y + height (inclusive).
PageRect sampleRect(const TexInfo& info);

// A sample's place, as the page view marks it.
struct SampleMark {
    int page = 0;
    PageRect rect;
    bool operator==(const SampleMark&) const = default;
};
std::optional<SampleMark> sampleMark(const Package& wad, int index);

// The sample's texels, (width + 1) x (height + 1), copied from the atlas.
std::optional<Bitmap24> samplePicture(const Package& wad, int index);

// "Texture#12", "Page#3".
std::string textureLabel(int index);
std::string pageLabel(int page);
// "32 x 16" for a sample 32 texels wide and 16 high.
std::string sampleSizeLabel(const TexInfo& info);
// The find window's group caption: "Texture#12  (32x16)".
std::string findGroupCaption(int index, const TexInfo& info);

// One sample under a page click.
struct SampleHit {
    int index = 0;
    int width = 0;  // texels
    int height = 0; // texels
    bool operator==(const SampleHit&) const = default;
};

// All samples on `page` whose rectangle contains (x, y), edges inclusive, in
// ascending index order.
std::vector<SampleHit> hitTest(const Package& wad, int page, int x, int y);

// The picked button's caption: "Not picked" for no hits, "1 tex picked",
// "3 tex picked".
std::string pickedCaption(std::size_t hits);
// A Choose Texture entry: "Texture#5 32 x 16".
std::string chooseEntry(const SampleHit& hit);
// The sample index a Choose Texture entry names (the text up to its first
// space, "Texture#" and the number); -1 when the text names none.
int chooseEntrySample(const std::string& entry);

// Zoom of the Preview window for a w x h picture: 2, 4, 8, 16 or 32.
int previewZoom(int w, int h);
// The Preview picture: `picture` enlarged by its preview zoom.
Bitmap24 previewPicture(const Bitmap24& picture);

// Size at which a w x h sample picture is shown in a 64 x 64 box: its own size
// when both sides are at most 64, otherwise scaled down proportionally so that
// the longer side is 64 (the shorter at least 1).
struct DisplaySize {
    int width = 0, height = 0;
    bool operator==(const DisplaySize&) const = default;
};
DisplaySize sampleBoxSize(int w, int h, int box = 64);

} // namespace kavlen
