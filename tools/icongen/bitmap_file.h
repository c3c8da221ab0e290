// 24-bit bitmap (.bmp) files, the form the resource compiler takes for BITMAP resources.
#pragma once

#include "bytes.h"
#include "image.h"

namespace icongen {

// Bitmaps have no transparency: the picture is laid on black.
Bytes BitmapFile(const Image& image);

}  // namespace icongen
