// What an edit (or its undo) changed in the package, so that each view refreshes
// only what it shows of it.
#pragma once

#include <algorithm>
#include <vector>

namespace kavlen {

struct DocumentChange {
    bool wholePackage = false;  // another package, or every part may differ
    bool packageOpened = false; // another package was read; the open refills the views itself
    std::vector<int> meshSlots; // mesh slots whose content changed, ascending
    bool meshTables = false;    // slots added or removed, pointers, moveables, directory
    std::vector<int> samples;   // samples whose entry or texels changed, ascending
    bool sampleCount = false;   // samples added or removed
    bool sampleTable = false;   // an entry of the sample table (rectangle, page) changed
    std::vector<int> pages;     // atlas pages whose texels changed, ascending
    bool pageCount = false;     // pages added or removed
    bool statics = false;       // static objects and their boxes

    bool empty() const {
        return !wholePackage && meshSlots.empty() && !meshTables && samples.empty() &&
               !sampleCount && !sampleTable && pages.empty() && !pageCount && !statics;
    }
    bool touchesMesh(int slot) const {
        return wholePackage || std::binary_search(meshSlots.begin(), meshSlots.end(), slot);
    }
    bool touchesSample(int sample) const {
        return wholePackage || sampleCount ||
               std::binary_search(samples.begin(), samples.end(), sample);
    }
    bool touchesTextures() const {
        return wholePackage || sampleCount || pageCount || !samples.empty() || !pages.empty();
    }

    static DocumentChange opened() {
        DocumentChange c;
        c.wholePackage = c.packageOpened = true;
        return c;
    }
};

} // namespace kavlen
