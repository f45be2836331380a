// The photo stage of both runs: photos sorted by capture time, reduced on a few worker threads,
// their thumbnails handed to the run's target, placed on the track and handed, in capture-time
// order, to the run's writer of photo entries.
#pragma once

#include <filesystem>
#include <string>

#include "core/run_contracts.h"
#include "core/track_point.h"
#include "photos/photo_cursor.h"
#include "photos/thumbnail.h"
#include "photos/thumbnail_target.h"
#include "settings/conversion_settings.h"

namespace tolvane {

// One photo as the entry of an output needs it. Texts are not escaped.
struct PlacedPhoto {
  int number = 0;                // 1, 2, ... in capture-time order
  std::filesystem::path source;  // the photo, absolute and normalised
  std::filesystem::path page;    // the output, absolute and normalised
  ThumbnailResult thumbnail;     // width, height, width_percent (its bytes are in the target)
  std::string thumbnail_name;    // the thumbnail's file name as shown (UTF-8)
  // Picture folder name as the file system holds it, "/", the thumbnail's file name: the
  // address of the thumbnail before it is escaped for a URL.
  std::string thumbnail_source;
  TrackPoint capture_time;   // year .. second on the track's clock (track_clock_time)
  PhotoPlacement placement;  // position and point index on the track
};

// What a run writes for its photos: the Pictures folder of the KML document or the photo frame
// of the map page.
class PhotoEntryWriter {
 public:
  virtual ~PhotoEntryWriter() = default;
  virtual void open() = 0;
  virtual void write(const PlacedPhoto& photo) = 0;
  virtual void close() = 0;
};

// Runs the stage over input.photo_paths (reordered by capture time) and the sorted logs, the
// thumbnails going to `thumbnails` (the picture folder, or an archive's spool) in capture-time
// order. 0, or 255 after its one show_error: the target cannot be opened, a log can no longer
// be read, or a thumbnail cannot be made or taken (the first failing photo in capture-time
// order, with the target's put_failed_message when the target refused it; nothing after it is
// written); 255 without a message when input.stop was set (thumbnails already taken stay).
// The GPX logs spooled in `logs` are read from there.
RunResult run_photo_stage(ConversionInput& input, const ConversionSettings& settings,
                          ProgressView& view, PhotoEntryWriter& writer, ThumbnailTarget& thumbnails,
                          const LogSpools* logs = nullptr);

}  // namespace tolvane
