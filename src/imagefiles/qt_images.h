// Conversions between the texture subsystem's pictures and QImage.
#pragma once

#include "textures/bitmap24.h"
#include "textures/image32.h"

#include <QImage>

namespace kavlen {

// A deep copy as Format_RGB888.
QImage toQImage(const Bitmap24& bitmap);
// Any QImage as a 32-bit picture (straight alpha), converted in bands of rows.
Image32 fromQImage(const QImage& image);

} // namespace kavlen
