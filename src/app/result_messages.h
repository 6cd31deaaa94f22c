// Shows what a core operation handed back: status messages on the main window's
// status bar (panel 1, short results), every other message in its box.
#pragma once

#include "document/messages.h"

namespace kavlen {

class Editor;

void showResultMessages(Editor& editor, const Messages& messages);

} // namespace kavlen
