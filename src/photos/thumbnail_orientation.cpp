#include "photos/thumbnail_orientation.h"

#include <cstddef>
#include <cstring>

namespace tolvane {

bool turns_sideways(int orientation) { return orientation >= 5 && orientation <= 8; }

void turn_upright(const std::uint8_t* pixels, int width, int height, int orientation,
                  std::uint8_t* out) {
  const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
  if (orientation < 2 || orientation > 8) {
    std::memcpy(out, pixels, bytes);
    return;
  }
  const int out_width = turns_sideways(orientation) ? height : width;
  const int out_height = turns_sideways(orientation) ? width : height;
  for (int y = 0; y < out_height; ++y) {
    for (int x = 0; x < out_width; ++x, out += 3) {
      // The source pixel (sx, sy) that lands on (x, y).
      int sx = x;
      int sy = y;
      switch (orientation) {
        case 2:
          sx = width - 1 - x;
          break;
        case 3:
          sx = width - 1 - x;
          sy = height - 1 - y;
          break;
        case 4:
          sy = height - 1 - y;
          break;
        case 5:
          sx = y;
          sy = x;
          break;
        case 6:
          sx = y;
          sy = height - 1 - x;
          break;
        case 7:
          sx = width - 1 - y;
          sy = height - 1 - x;
          break;
        default:  // 8
          sx = width - 1 - y;
          sy = x;
          break;
      }
      const std::size_t from =
          (static_cast<std::size_t>(sy) * static_cast<std::size_t>(width) + sx) * 3;
      std::memcpy(out, pixels + from, 3);
    }
  }
}

}  // namespace tolvane
