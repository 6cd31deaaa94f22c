// Sample numbers: exchanging two samples' numbers and finding the faces that use
// a sample. Faces are never renumbered: after a swap every face keeps its number
// and so shows the other picture.
#pragma once

#include "document/messages.h"
#include "document/package.h"

#include <optional>
#include <string>
#include <vector>

namespace kavlen {

// Whether "Swap" is enabled: two different samples, neither of them sample 0.
bool swapAllowed(const Package& wad, int selected, int other);

struct SwapResult {
    bool swapped = false;
    std::vector<int> rebuild; // sample textures to rebuild, in this order: b, then a
    Messages messages;
};

// Exchanges the TexInfo records of samples a and b; nothing else changes. Does
// nothing unless swapAllowed(a, b). Afterwards select b in the main list and the
// "Selected Texture" list, a in the "Other Texture" list.
SwapResult swapTextureNumbers(Package& wad, int a, int b);

struct FaceRef {
    int mesh = 0;
    int face = 0;
    bool operator==(const FaceRef&) const = default;
};

// "Mesh#3 Poly#17".
std::string foundFaceLine(const FaceRef& at);

// What the find window remembers between "Find First" and "Find Next".
struct FindState {
    int searched = -1; // sample last searched for, -1 for none
    FaceRef position;  // last face found
    void reset() { *this = FindState{}; }
};

struct FindFirstResult {
    bool ran = false;                   // false when the sample does not exist
    int total = 0;                      // faces using the sample
    std::string status;                 // "Used by 3 faces in the wad."
    std::vector<std::string> meshLines; // "Mesh#2  (3 of 40 faces)", or "Not used."
    std::optional<FaceRef> found;       // first face: highlight it, show its mesh
    std::string foundLine;              // "Mesh#m Poly#f" when found, to insert on top
    bool findNextEnabled = false;
};

FindFirstResult findFirst(const Package& wad, FindState& state, int sample);

struct FindNextResult {
    bool ran = false;
    std::optional<FaceRef> found; // highlight it, show its mesh
    std::string line;             // "Mesh#m Poly#f" or "No more found.": insert on top, select
    bool findNextEnabled = false;
};

// Continues after the last face found.
FindNextResult findNext(const Package& wad, FindState& state, int sample);

} // namespace kavlen
