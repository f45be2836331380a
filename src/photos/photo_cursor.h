// Places photos on the track by time: walks the sorted logs once, in step with photos in
// ascending capture-time order, and interpolates between the two points around each photo.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "core/log_file.h"
#include "core/track_point.h"

namespace tolvane {

struct PhotoPlacement {
  float latitude = 0;
  float longitude = 0;
  int point_index = 0;  // global index of the track point, as in the map page's point array
};

class PhotoCursor {
 public:
  // `sorted_logs` must outlive the cursor, and so must `spools`, the run's spools of its GPX
  // logs, when given; `gmt_offset` is Common.GMT; `stop` is the run's (ConversionInput::stop):
  // once it is set the logs give no further point.
  PhotoCursor(const std::vector<std::filesystem::path>& sorted_logs, float gmt_offset,
              const std::atomic<bool>* stop = nullptr, const LogSpools* spools = nullptr);

  // Opens the first log that holds a point. 0, or 255 when a log cannot be opened.
  std::uint8_t start();
  // Places one photo (its capture time, local and unshifted). 0, or 255 when a log can no
  // longer be opened.
  std::uint8_t place(const TrackPoint& photo_time, PhotoPlacement& placement);
  // Closes the log; the destructor does the same.
  void finish();

 private:
  bool open_log(std::size_t index);
  // Reads the following point into `next_`, moving on to the following logs. 1 when read,
  // 0 when every log has ended, 255 when a log cannot be opened.
  std::uint8_t read_next();

  const std::vector<std::filesystem::path>& logs_;
  float gmt_offset_;
  const std::atomic<bool>* stop_;
  const LogSpools* spools_;
  LogFile file_;
  std::size_t log_index_ = 0;
  bool exhausted_ = false;
  int advance_count_ = 0;
  TrackPoint previous_{};
  TrackPoint next_{};
};

}  // namespace tolvane
