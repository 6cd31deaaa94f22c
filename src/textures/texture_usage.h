// Which texture samples the faces use. A face uses the sample its texture word
// names: a quad by the magnitude of the signed word, a triangle by its low 12
// bits. Words naming no existing sample count for nothing.
#pragma once

#include "document/package.h"
#include "textures/atlas.h"

#include <string>
#include <vector>

namespace kavlen {

// Faces of every mesh that use each sample, one count per sample.
std::vector<int> sampleUseCounts(const Package& wad);

// Per sample: whether a mirrored quad uses it. Such a sample must never become
// sample 0, where a quad word cannot carry the mirroring sign.
std::vector<bool> mirroredQuadUse(const Package& wad);

// The list label with its mark: "Texture#12  (unused)" for an unused sample,
// "Texture#12" otherwise.
std::string textureListLabel(int index, bool used);

struct UnusedSample {
    int index = 0;
    int page = 0;
    PageRect rect;
};

struct UnusedReport {
    int sampleCount = 0;
    std::vector<UnusedSample> unused;    // in index order
    std::vector<int> pagesOnlyUnused;    // pages whose samples are all unused (at least one)
    std::vector<int> pagesWithoutSample; // pages no sample lies on
};

UnusedReport unusedSamples(const Package& wad);

} // namespace kavlen
