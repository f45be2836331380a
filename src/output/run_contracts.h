// What a conversion run is given (ConversionInput) and whom it reports to (ProgressView).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace tolvane {

// The data of one run. The run may reorder the two lists in place (logs by start time, photos
// by capture time) but never adds or removes entries.
struct ConversionInput {
  std::vector<std::filesystem::path> log_paths;    // at least one
  std::vector<std::filesystem::path> photo_paths;  // may be empty
  std::filesystem::path output_path;               // never empty during a run
  unsigned thumbnail_workers = 0;                  // threads that reduce photos; 0: one per core
  bool kmz = false;  // the KML run writes a KMZ archive whatever the output's name
};

// The three operations a run calls on whoever started it. Calls may come from a thread other
// than the starter's; each returns once its effect has been made. Texts are UTF-8.
class ProgressView {
 public:
  virtual ~ProgressView() = default;
  virtual void set_status_text(std::string_view text) = 0;
  virtual void set_progress(int percent) = 0;
  // Shows the run's failure message; returns when the user has seen it.
  virtual void show_error(std::string_view message) = 0;
};

// Result of a run: 0 when the output is complete, 255 after its one error message was shown.
using RunResult = std::uint8_t;
inline constexpr RunResult kRunSucceeded = 0;
inline constexpr RunResult kRunFailed = 255;

}  // namespace tolvane
