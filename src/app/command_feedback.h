// What the mesh and interchange commands do after their core operation: show
// the messages it handed back and re-centre the render window on a changed mesh.
#pragma once

#include "document/messages.h"

namespace kavlen {

class Editor;

// Status messages go to the main window's status bar (panel 1, short results),
// every other message to its box.
void showResultMessages(Editor& editor, const Messages& messages);

// The render window's "Center" on the current mesh, after its geometry was
// replaced or mirrored.
void centerCurrentMesh(Editor& editor);

} // namespace kavlen
