// Icon (.ico) and cursor (.cur) files: a directory followed by one DIB per picture, each with
// its AND mask, as the resource compiler and LoadImage expect.
#pragma once

#include <vector>

#include "bytes.h"
#include "image.h"

namespace icongen {

// One picture and the depth it is stored in: 1 (black and white), 4 (the 16 standard Windows
// colours, each pixel taking the nearest) or 32 (with alpha). In the paletted depths, pixels
// under half opacity become transparent through the mask.
struct IconPicture {
  Image image;
  int bitsPerPixel;
};

Bytes IconFile(const std::vector<IconPicture>& pictures);
Bytes CursorFile(const IconPicture& picture, int hotspotX, int hotspotY);

}  // namespace icongen
