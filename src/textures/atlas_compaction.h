// Textures > "Compact Atlas": drops the samples no face uses and repacks the
// texels of the rest onto as few pages as the rectangle packer finds. Samples
// whose rectangles overlap move together as one block, keeping their relative
// places, and blocks with identical texels are stored once, so every face shows
// exactly the texels it showed before.
#pragma once

#include "textures/sample_deletion.h"

namespace kavlen {

AtlasEditResult compactAtlas(Package& wad);

} // namespace kavlen
