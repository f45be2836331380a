// What a conversion run is given (ConversionInput) and whom it reports to (ProgressView).
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace tolvane {

class PendingOutput;

// The data of one run. The run may reorder the two lists in place (logs by start time, photos
// by capture time) but never adds or removes entries.
struct ConversionInput {
  std::vector<std::filesystem::path> log_paths;    // at least one
  std::vector<std::filesystem::path> photo_paths;  // may be empty
  std::filesystem::path output_path;               // never empty during a run
  unsigned thumbnail_workers = 0;                  // threads that reduce photos; 0: one per core
  bool kmz = false;  // the KML run writes a KMZ archive whatever the output's name
  // Set by the starter, from any thread, to ask the run to stop; the run then returns 255
  // without a message and leaves the earlier output as it was. Null: the run is never stopped.
  const std::atomic<bool>* stop = nullptr;
  // Given by a starter that may end the process while the run is still stopping: through it
  // the output's temporary file is removed, or found committed (platform/replacing_file.h).
  PendingOutput* pending_output = nullptr;
};

// True once the starter has asked the run to stop. Cheap enough to ask for every point.
inline bool stop_requested(const std::atomic<bool>* stop) {
  return stop != nullptr && stop->load(std::memory_order_relaxed);
}

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

// Result of a run: 0 when the output is complete, 255 after its one error message was shown
// or when it was asked to stop.
using RunResult = std::uint8_t;
inline constexpr RunResult kRunSucceeded = 0;
inline constexpr RunResult kRunFailed = 255;

}  // namespace tolvane
