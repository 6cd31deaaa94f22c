// The messages every model import shows about faces it could not take over as
// they were: the refusal when nothing would be left of the mesh, and the one
// summary, after a successful import, of faces that were split, left out or
// changed.
#pragma once

#include "document/messages.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kavlen {

// "FILE holds no faces that can be imported; the mesh was not changed.", followed
// by `holds` (what the file holds instead, a whole sentence) when that is known.
std::string noFacesMessage(std::string_view fileName, std::string_view holds = {});

// The faces of one import that did not come in as they were written, by reason.
class ImportChanges {
  public:
    // `one` and `many` finish the sentence after the count, e.g. "face of 5 or
    // more points was split into triangles" / "faces of 5 or more points were
    // split into triangles". A count of 0 adds nothing.
    void add(std::size_t count, std::string_view one, std::string_view many);

    // The common reasons.
    void splitIntoTriangles(std::size_t count); // faces of 5 or more points
    void fewerThanThreePoints(std::size_t count);

    bool empty() const { return reasons_.empty(); }

    // "312 faces read: 81 faces of 5 or more points were split into triangles."
    // (further reasons joined with "; "); empty when nothing changed.
    std::string text(std::size_t facesRead) const;

    // The summary as the plain message an import adds after it succeeded;
    // nothing when no face changed.
    void report(std::size_t facesRead, Messages& messages) const;

  private:
    std::vector<std::string> reasons_;
};

} // namespace kavlen
