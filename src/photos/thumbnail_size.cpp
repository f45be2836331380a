#include "photos/thumbnail_size.h"

#include <cstdint>

namespace tolvane {

std::optional<ThumbnailSize> thumbnail_size(int photo_width, int photo_height, int larger_edge) {
  if (larger_edge <= 0 || photo_width <= 0 || photo_height <= 0) return std::nullopt;
  const double edge = larger_edge;
  ThumbnailSize size;
  if (photo_width > photo_height) {
    size.width = larger_edge;
    size.height = static_cast<int>(edge * (static_cast<double>(photo_height) / photo_width));
    size.width_percent = 100;
    size.ratio = static_cast<float>(static_cast<double>(photo_width) / edge);
  } else {
    size.height = larger_edge;
    size.width = static_cast<int>(edge * (static_cast<double>(photo_width) / photo_height));
    size.width_percent =
        static_cast<int>(static_cast<std::int64_t>(size.width) * 100 / larger_edge);
    size.ratio = static_cast<float>(static_cast<double>(photo_height) / edge);
  }
  if (size.width < 1 || size.height < 1) return std::nullopt;
  if (size.width > kMaxJpegDimension || size.height > kMaxJpegDimension) return std::nullopt;
  return size;
}

}  // namespace tolvane
