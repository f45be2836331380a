// The geotagging stage: writes the track's positions into the photos' Exif GPS directories,
// placing each photo by the same capture time, zones and camera offset as the outputs do.
#pragma once

#include <atomic>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/run_contracts.h"
#include "core/run_messages.h"
#include "settings/conversion_settings.h"

namespace tolvane {

struct GeotagOptions {
  bool dry_run = false;        // place and check every photo, write none
  bool overwrite_gps = false;  // tag photos that hold a position anew
  bool backup = false;         // keep each replaced photo as NAME.EXT_original
};

struct GeotagSummary {
  int tagged = 0;        // written (with dry_run: would be)
  int had_position = 0;  // left alone: they hold a position
  int outside = 0;       // not tagged: outside the track
  int failed = 0;        // left untouched: could not be read, placed or written
  bool stopped = false;  // the run was asked to stop; photos not reached are not counted
};

// What the stage tells whoever runs it besides the ProgressView's status and progress.
class GeotagListener {
 public:
  virtual ~GeotagListener() = default;
  // One line per photo, tab-separated: file name, local capture time, UTC time, latitude,
  // longitude, altitude, and how the position was found.
  virtual void photo_row(std::string_view row) = 0;
  // A photo left untouched, or a log that cannot be read, named with the reason.
  virtual void photo_failed(std::string_view message) = 0;
  // One of the stage's texts (messages::kGeotag...) in the program's language: the Japanese
  // text as it stands unless the listener translates it.
  virtual std::string text(std::string_view source) { return std::string(source); }
};

// Geotags `photos` from the fixes of `logs`, by Common.GMT, Common.photo_time_offset,
// Common.geotag_max_gap and Common.geotag_max_extrapolation. Each photo is replaced by
// a rename over it from an unnamed file beside it that reached the disk first (one file-system
// sync for a group of photos), with its permissions and modification time.
GeotagSummary geotag_photos(const std::vector<std::filesystem::path>& logs,
                            const std::vector<std::filesystem::path>& photos,
                            const ConversionSettings& settings, const GeotagOptions& options,
                            ProgressView& view, GeotagListener& listener,
                            const std::atomic<bool>* stop = nullptr);

// "位置を書き込みました: N 枚 (位置あり A 枚, 航跡の外 K 枚, 失敗 F 枚)", or that line filled into
// `pattern`, its translation.
std::string geotag_summary_text(const GeotagSummary& summary,
                                std::string_view pattern = messages::kGeotagSummary);

}  // namespace tolvane
