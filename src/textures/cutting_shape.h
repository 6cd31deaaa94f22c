// The cutting shape: a rectangle the user drags on a page (Shift + left button)
// and turns into a new sample with "Cut from Shape".
#pragma once

#include "document/messages.h"
#include "document/package.h"
#include "textures/atlas.h"
#include "textures/samples.h"
#include "textures/user_question.h"

#include <optional>
#include <string>

namespace kavlen {

struct CuttingShape {
    int x0 = 0, y0 = 0; // corner 1: where the drag started
    int x1 = 0, y1 = 0; // corner 2: the dragged corner
    int page = 0;       // page the shape was drawn on
    bool active = false;
    bool dragging = false;

    // Shift + left press at (x, y) on `page`: both corners there, dragging.
    void start(int onPage, int x, int y);
    // Mouse move while dragging: corner 2 follows, clamped to 0..255. Returns
    // false (and changes nothing) when not dragging.
    bool dragTo(int x, int y);
    // Mouse up: sorts the corners so that corner 1 is the top-left one; when the
    // shape is active, lies on `selected`'s page and overlaps its rectangle, shrinks
    // it to the overlap. Ends the drag. Returns true when it snapped.
    bool finish(const std::optional<SampleMark>& selected);

    // The rectangle between the corners, whatever their order.
    PageRect rect() const;
    // Whether the shape label, the cut button and "Cut from Shape" are enabled.
    bool usableOn(int currentPage) const { return active && page == currentPage; }
    // "Cut Shape: (x=10, y=20)      4 x 4" while active, else "Cut Shape:".
    std::string label() const;

    bool operator==(const CuttingShape&) const = default;
};

// The four spin buttons and their halves.
enum class ShapeSpinButton { LeftPlusMinus, HeightPlus, HeightMinus, RightPlusMinus };
enum class SpinHalf { Up, Down };

// Moves one edge of the shape by one texel, or by four single steps when Ctrl
// is held, each step checking its bounds. Acts only when the shape is active on
// the current page; returns whether it acted (then redraw and update the
// preview). Assumes corner 1 is top-left, as after mouse up.
bool spinShape(CuttingShape& shape, int currentPage, ShapeSpinButton button, SpinHalf half,
               bool ctrl);

// The texels under the shape, or nothing when it is not active.
std::optional<Bitmap24> shapePicture(const Package& wad, const CuttingShape& shape);

struct CutResult {
    bool added = false;
    int sample = -1; // the new sample's index when added
    Messages messages;
};

// "Cut from Shape": appends a sample covering the shape. Asks (OK/Cancel) before
// cutting a sample narrower or lower than 4 texels; refuses a shape that equals
// an existing sample and the 4097th sample.
CutResult cutFromShape(Package& wad, const CuttingShape& shape, int currentPage,
                       const AskUser& ask);

} // namespace kavlen
