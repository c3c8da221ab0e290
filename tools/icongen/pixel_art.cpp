#include "pixel_art.h"

#include <algorithm>
#include <cstddef>

namespace icongen {

Image PixelArt(int width, int height, std::span<const std::string_view> rows,
               std::span<const Ink> legend) {
  Image image(width, height);
  const int rowCount = std::min(height, static_cast<int>(rows.size()));
  for (int y = 0; y < rowCount; ++y) {
    const std::string_view row = rows[static_cast<std::size_t>(y)];
    const int columns = std::min(width, static_cast<int>(row.size()));
    for (int x = 0; x < columns; ++x) {
      const char symbol = row[static_cast<std::size_t>(x)];
      const auto ink = std::find_if(legend.begin(), legend.end(),
                                    [symbol](const Ink& i) { return i.symbol == symbol; });
      if (ink != legend.end()) image.at(x, y) = ink->colour;
    }
  }
  return image;
}

}  // namespace icongen
