// The size of a photo's thumbnail for a given larger edge, and the scale between the two.
#pragma once

#include <optional>

namespace tolvane {

// The largest width or height that a JPEG file can have.
inline constexpr int kMaxJpegDimension = 65500;

struct ThumbnailSize {
  int width = 0;
  int height = 0;
  int width_percent = 0;  // width * 100 / larger edge: 100 for a landscape photo
  float ratio = 0;        // photo pixels per thumbnail pixel: the longer side / larger edge
};

// The longer side of the thumbnail is `larger_edge`, the shorter one is scaled alike and
// truncated. Empty when the edge or the photo size is not positive, or when the thumbnail would
// be 0 pixels wide or high or larger than a JPEG file can hold.
std::optional<ThumbnailSize> thumbnail_size(int photo_width, int photo_height, int larger_edge);

}  // namespace tolvane
