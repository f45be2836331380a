// The photo stage of both runs: photos sorted by capture time, reduced into the picture folder
// on a few worker threads, placed on the track and handed, in capture-time order, to the run's
// writer of photo entries.
#pragma once

#include <filesystem>
#include <string>

#include "core/track_point.h"
#include "output/run_contracts.h"
#include "photos/photo_cursor.h"
#include "photos/thumbnail.h"
#include "photos/thumbnail_spool.h"
#include "settings/conversion_settings.h"

namespace tolvane {

// One photo as the entry of an output needs it. Texts are not escaped.
struct PlacedPhoto {
  int number = 0;                // 1, 2, ... in capture-time order
  std::filesystem::path source;  // the photo, absolute and normalised
  std::filesystem::path page;    // the output, absolute and normalised
  ThumbnailResult thumbnail;     // path, width, height, width_percent
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

// Runs the stage over input.photo_paths (reordered by capture time) and the sorted logs.
// 0, or 255 after its one show_error: the picture folder, a log that can no longer be read, or
// a thumbnail that cannot be made (the first failing photo in capture-time order; nothing after
// it is written); 255 without a message when input.stop was set (thumbnails already made stay).
// With a `spool` the thumbnails go into it, named by their relative source, instead of into the
// picture folder, which is then not made ("出力ファイルを作成できません" when the spool cannot
// take one). The GPX logs spooled in `logs` are read from there.
RunResult run_photo_stage(ConversionInput& input, const ConversionSettings& settings,
                          ProgressView& view, PhotoEntryWriter& writer,
                          ThumbnailSpool* spool = nullptr, const LogSpools* logs = nullptr);

}  // namespace tolvane
