// Turning and mirroring a thumbnail's pixels as the Exif Orientation of its photo asks, so that
// it shows the scene upright.
#pragma once

#include <cstdint>

namespace tolvane {

// True for the orientations that exchange width and height (5 to 8).
bool turns_sideways(int orientation);

// Writes the RGB rows of a `width` x `height` image (3 bytes a pixel, no padding) into `out`
// (as many bytes) as they stand upright for Exif Orientation `orientation`: 2 mirrored left to
// right, 3 turned half round, 4 mirrored top to bottom, 5 mirrored along the main diagonal,
// 6 turned a quarter clockwise, 7 mirrored along the other diagonal, 8 turned a quarter
// anticlockwise, any other value unchanged. `out` holds width x height pixels, or height x
// width when turns_sideways.
void turn_upright(const std::uint8_t* pixels, int width, int height, int orientation,
                  std::uint8_t* out);

}  // namespace tolvane
