// The picture folder beside an output file and the reduced copies of photos made for it: each
// photo decoded with libjpeg, resampled by ThumbnailResampler and encoded again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "photos/thumbnail_target.h"
#include "settings/conversion_settings.h"

namespace tolvane {

// The longest folder or thumbnail path that is formed, in bytes.
inline constexpr std::size_t kThumbnailPathLimit = 8191;

// Forms the picture folder of an output file, the output path without its extension (from the
// last "." of its file name on; a leading "." of the file name is not one) followed by "_pics",
// and creates it. Empty when the name would be longer than kThumbnailPathLimit, or when the
// folder neither could be made nor was there already.
std::optional<std::filesystem::path> make_thumbnail_folder(const std::filesystem::path& output);
// The same folder name, formed but not created (for thumbnails that go into an archive).
std::optional<std::filesystem::path> thumbnail_folder_of(const std::filesystem::path& output);

// A thumbnail as make_thumbnail leaves it.
struct ThumbnailResult {
  std::uint8_t status = 255;  // 0 when the thumbnail was made or kept, 255 on any failure
  // With status 0: the target holds a thumbnail of the name already, which is kept as it is;
  // `jpeg` is then empty.
  bool kept = false;
  int width = 0;  // the thumbnail's size in pixels (on 0)
  int height = 0;
  int width_percent = 0;            // width x 100 / larger edge
  std::vector<unsigned char> jpeg;  // the encoded thumbnail, for the target to take
};

// Makes the thumbnail of `photo` for `target`: its longer side `larger_edge`
// pixels, encoded as a baseline JPEG of the given quality (Common.jpeg_larger_edge,
// Common.jpeg_quality). With `keep_existing` 1 (Common.jpeg_quit_overwrite) a thumbnail the
// target holds already is kept and only the sizes are computed. Greyscale photos are decoded as
// RGB and CMYK/YCCK photos converted to it. The target is only asked, never given anything: the
// caller hands `jpeg` to ThumbnailTarget::put. Every failure (a photo that cannot be opened or
// decoded, a size of 0 or above what JPEG can hold) gives status 255 with all files closed and
// all memory freed. Calls on different threads do not interfere.
//
// `orientation` is the photo's Exif Orientation: for 2 to 8 the thumbnail's pixels, computed as
// for an upright photo, are turned and mirrored to stand upright before they are encoded, and
// its width, height and width_percent are those of the turned thumbnail (also for a kept one).
//
// `file_name` is the thumbnail's name in the target; empty, it is "s" and the photo's file name.
ThumbnailResult make_thumbnail(const std::filesystem::path& photo, const ThumbnailTarget& target,
                               int larger_edge, int quality, Flag keep_existing,
                               int orientation = 1, std::string_view file_name = {});

}  // namespace tolvane
