#include "bitmap_file.h"

#include <cstdint>

#include "dib.h"

namespace icongen {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;

}  // namespace

Bytes BitmapFile(const Image& image) {
  const std::uint32_t stride = RowStride(image.width(), 24);
  const std::uint32_t pixelBytes = stride * static_cast<std::uint32_t>(image.height());
  const std::uint32_t pixelsAt = kFileHeaderSize + kInfoHeaderSize;
  Bytes out;
  PutU8(out, 'B');
  PutU8(out, 'M');
  PutU32(out, pixelsAt + pixelBytes);
  PutU32(out, 0);  // reserved
  PutU32(out, pixelsAt);
  PutInfoHeader(out, image.width(), image.height(), 24, pixelBytes);
  for (int y = image.height() - 1; y >= 0; --y) {
    Bytes row(stride, 0);
    for (int x = 0; x < image.width(); ++x) {
      const Colour c = Over(image.at(x, y), Rgb(0x000000));
      const auto at = static_cast<std::size_t>(x) * 3;
      row[at] = ToByte(c.b);
      row[at + 1] = ToByte(c.g);
      row[at + 2] = ToByte(c.r);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace icongen
