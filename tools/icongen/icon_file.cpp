#include "icon_file.h"

#include <array>
#include <cstdint>
#include <span>

#include "dib.h"

namespace icongen {
namespace {

constexpr unsigned kIconType = 1;
constexpr unsigned kCursorType = 2;
constexpr std::uint32_t kDirectorySize = 6;
constexpr std::uint32_t kEntrySize = 16;

constexpr std::array<Colour, 2> kMonochrome = {Rgb(0x000000), Rgb(0xFFFFFF)};
// The standard 16-colour palette, in the order Windows itself uses.
constexpr std::array<Colour, 16> kStandard16 = {
    Rgb(0x000000), Rgb(0x800000), Rgb(0x008000), Rgb(0x808000), Rgb(0x000080), Rgb(0x800080),
    Rgb(0x008080), Rgb(0xC0C0C0), Rgb(0x808080), Rgb(0xFF0000), Rgb(0x00FF00), Rgb(0xFFFF00),
    Rgb(0x0000FF), Rgb(0xFF00FF), Rgb(0x00FFFF), Rgb(0xFFFFFF)};

std::span<const Colour> PaletteFor(int bitsPerPixel) {
  if (bitsPerPixel == 1) return kMonochrome;
  if (bitsPerPixel == 4) return kStandard16;
  return {};
}

bool Opaque(Colour c) {
  return c.a >= 0.5f;
}

unsigned Nearest(std::span<const Colour> palette, Colour c) {
  unsigned best = 0;
  float bestDistance = 1e9f;
  for (unsigned i = 0; i < palette.size(); ++i) {
    const float dr = palette[i].r - c.r, dg = palette[i].g - c.g, db = palette[i].b - c.b;
    const float distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return best;
}

void PutColourRow(Bytes& out, const Image& image, int y, int bitsPerPixel) {
  Bytes row(RowStride(image.width(), bitsPerPixel), 0);
  const std::span<const Colour> palette = PaletteFor(bitsPerPixel);
  for (int x = 0; x < image.width(); ++x) {
    const Colour c = image.at(x, y);
    if (bitsPerPixel == 32) {
      const bool seen = c.a > 0;
      const auto at = static_cast<std::size_t>(x) * 4;
      row[at] = seen ? ToByte(c.b) : 0;
      row[at + 1] = seen ? ToByte(c.g) : 0;
      row[at + 2] = seen ? ToByte(c.r) : 0;
      row[at + 3] = ToByte(c.a);
    } else if (Opaque(c)) {
      // Transparent pixels keep index 0 (black), which the mask leaves unchanged on screen.
      const unsigned index = Nearest(palette, c);
      const int bit = x * bitsPerPixel;
      const int shift = 8 - bitsPerPixel - bit % 8;
      row[static_cast<std::size_t>(bit / 8)] |= static_cast<std::uint8_t>(index << shift);
    }
  }
  out.insert(out.end(), row.begin(), row.end());
}

void PutMaskRow(Bytes& out, const Image& image, int y) {
  Bytes row(RowStride(image.width(), 1), 0);
  for (int x = 0; x < image.width(); ++x) {
    if (!Opaque(image.at(x, y))) {
      row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
  }
  out.insert(out.end(), row.begin(), row.end());
}

Bytes Dib(const IconPicture& picture) {
  const Image& image = picture.image;
  const int depth = picture.bitsPerPixel;
  const std::uint32_t pixelBytes = (RowStride(image.width(), depth) + RowStride(image.width(), 1)) *
                                   static_cast<std::uint32_t>(image.height());
  Bytes out;
  // The height counts the colour bitmap and the mask stacked on each other.
  PutInfoHeader(out, image.width(), 2 * image.height(), depth, pixelBytes);
  for (const Colour& c : PaletteFor(depth)) {
    PutU8(out, ToByte(c.b));
    PutU8(out, ToByte(c.g));
    PutU8(out, ToByte(c.r));
    PutU8(out, 0);
  }
  for (int y = image.height() - 1; y >= 0; --y) PutColourRow(out, image, y, depth);
  for (int y = image.height() - 1; y >= 0; --y) PutMaskRow(out, image, y);
  return out;
}

// Icons keep planes and depth in the directory entry (the resource compiler copies them into
// the group resource, from which Windows picks the picture); cursors keep the hotspot there.
Bytes Container(unsigned type, const std::vector<IconPicture>& pictures, int hotspotX,
                int hotspotY) {
  Bytes out;
  PutU16(out, 0);
  PutU16(out, type);
  PutU16(out, static_cast<unsigned>(pictures.size()));
  std::uint32_t offset = kDirectorySize + kEntrySize * static_cast<std::uint32_t>(pictures.size());
  Bytes images;
  for (const IconPicture& picture : pictures) {
    const Bytes dib = Dib(picture);
    const int depth = picture.bitsPerPixel;
    PutU8(out, static_cast<unsigned>(picture.image.width() & 0xFF));  // 256 is written as 0
    PutU8(out, static_cast<unsigned>(picture.image.height() & 0xFF));
    PutU8(out, depth < 8 ? 1u << depth : 0u);
    PutU8(out, 0);
    PutU16(out, static_cast<unsigned>(type == kCursorType ? hotspotX : 1));
    PutU16(out, static_cast<unsigned>(type == kCursorType ? hotspotY : depth));
    PutU32(out, static_cast<std::uint32_t>(dib.size()));
    PutU32(out, offset);
    offset += static_cast<std::uint32_t>(dib.size());
    images.insert(images.end(), dib.begin(), dib.end());
  }
  out.insert(out.end(), images.begin(), images.end());
  return out;
}

}  // namespace

Bytes IconFile(const std::vector<IconPicture>& pictures) {
  return Container(kIconType, pictures, 0, 0);
}

Bytes CursorFile(const IconPicture& picture, int hotspotX, int hotspotY) {
  return Container(kCursorType, {picture}, hotspotX, hotspotY);
}

}  // namespace icongen
