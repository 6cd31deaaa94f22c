// The GL context the view needs: a legacy compatibility profile with double
// buffering, RGBA and a depth buffer.
#pragma once

namespace kavlen {

// Makes that format the default. Call before constructing the QApplication.
void setDefaultGLFormat();

// Whether a context of the default format can be created and made current and
// offers the legacy (fixed-function) API. Needs the QApplication.
bool openGLAvailable();

} // namespace kavlen
