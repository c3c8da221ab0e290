// The device-independent bitmap header (BITMAPINFOHEADER) shared by icons, cursors and bitmaps.
#pragma once

#include <cstdint>

#include "bytes.h"

namespace icongen {

inline constexpr std::uint32_t kInfoHeaderSize = 40;

// Bytes in one stored row: rows are padded to whole 32-bit words.
inline std::uint32_t RowStride(int width, int bitsPerPixel) {
  return static_cast<std::uint32_t>((width * bitsPerPixel + 31) / 32 * 4);
}

// Uncompressed, with the full palette for the depth; rows are stored bottom-up.
void PutInfoHeader(Bytes& out, int width, int height, int bitsPerPixel, std::uint32_t imageSize);

}  // namespace icongen
