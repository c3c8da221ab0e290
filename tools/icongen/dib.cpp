#include "dib.h"

namespace icongen {

void PutInfoHeader(Bytes& out, int width, int height, int bitsPerPixel, std::uint32_t imageSize) {
  PutU32(out, kInfoHeaderSize);
  PutU32(out, static_cast<std::uint32_t>(width));
  PutU32(out, static_cast<std::uint32_t>(height));
  PutU16(out, 1);  // planes
  PutU16(out, static_cast<unsigned>(bitsPerPixel));
  PutU32(out, 0);  // BI_RGB
  PutU32(out, imageSize);
  PutU32(out, 0);  // horizontal resolution: unspecified
  PutU32(out, 0);  // vertical resolution: unspecified
  PutU32(out, 0);  // colours used: all the depth allows
  PutU32(out, 0);  // important colours: all
}

}  // namespace icongen
