// Deleting texture samples and atlas pages. Every operation checks everything
// first and changes nothing when it refuses; on success it says which sample
// numbers and pages moved so that the views can follow.
#pragma once

#include "document/messages.h"
#include "document/package.h"

#include <optional>
#include <vector>

namespace kavlen {

// What an atlas edit changed.
struct AtlasEditResult {
    bool changed = false;
    // Per old sample, its new number or -1 when it is gone; empty when no sample moved.
    std::vector<int> newSampleNumber;
    // Per old page, its new number or -1 when it is gone; empty when no page moved.
    std::vector<int> newPageNumber;
    bool texelsMoved = false; // sample pictures changed place: rebuild them all
    int samplesBefore = 0, samplesAfter = 0;
    int pagesBefore = 0, pagesAfter = 0;
    Messages messages;
};

// Renumbers the samples: sample i becomes newNumber[i], or is dropped when that is
// -1 (the kept samples keep their order). Faces follow their samples; faces whose
// sample is dropped take replacement[i] (an old number whose sample is kept).
// Words naming no existing sample stay as they are. Returns the faces changed.
int renumberSamples(Package& wad, const std::vector<int>& newNumber,
                    const std::vector<int>& replacement = {});

// Textures > "Delete Texture": deletes sample n. A sample that faces use is
// refused unless `replacement` names another sample for those faces. Higher
// sample numbers move down by one; the texels stay on the page.
AtlasEditResult deleteTexture(Package& wad, int n, std::optional<int> replacement = {});

// Textures > "Remove Unused Textures": deletes every sample no face uses. Keeps
// sample 0 when the first used sample would otherwise take number 0 while a
// mirrored quad uses it (a quad word cannot mirror sample 0).
AtlasEditResult removeUnusedTextures(Package& wad);

// The numbering that drops every unused sample, as removeUnusedTextures applies it.
std::vector<int> numbersWithoutUnused(const Package& wad);

// Textures > "Delete Page": deletes page p when no sample lies on it; later
// pages move up one and the samples on them follow. The last page stays.
AtlasEditResult deletePage(Package& wad, int p);

} // namespace kavlen
