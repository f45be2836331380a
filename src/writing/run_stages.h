// The parts of a conversion run that the KML run and the map page run share: the pre-pass
// that orders and checks the logs and creates the output, and the commit of the finished
// output.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/log_file.h"
#include "core/log_set.h"
#include "core/log_spool.h"
#include "core/run_contracts.h"
#include "core/track_point.h"
#include "settings/conversion_settings.h"
#include "writing/output_chain.h"

namespace tolvane {

// The view that a run reports to: messages go on to the starter's view until the starter asks
// the run to stop; from then on a failure is the stop's, and its message is not shown.
class RunView final : public ProgressView {
 public:
  RunView(ProgressView& view, const std::atomic<bool>* stop) : view_(view), stop_(stop) {}
  void set_status_text(std::string_view text) override { view_.set_status_text(text); }
  void set_progress(int percent) override { view_.set_progress(percent); }
  void show_error(std::string_view message) override {
    if (!stop_requested(stop_)) view_.show_error(message);
  }

 private:
  ProgressView& view_;
  const std::atomic<bool>* stop_;
};

struct RunStart {
  OutputChain output;      // the output, written under a temporary name until committed
  LogExtent extent;        // first and last point of the set (UTC) and the box of all positions
  TrackPoint first_local;  // extent.first in local time
  TrackPoint last_local;   // extent.last in local time
  std::string title;       // date_title of the two
  // input.stop: a run that was asked to stop is never committed.
  const std::atomic<bool>* stop = nullptr;
  // The fixes of the GPX logs, read by the validation; the stages read them from here.
  LogSpools logs;
};

// Status "GPSログファイルをチェック中" with progress 100; sorts input.log_paths by start time;
// creates the output ("出力ファイルを作成できません" before any log is validated, also when the
// output is one of the input files, which the finished output would replace); validates the
// sorted set; converts its first and last point to local time and builds the title. Empty after
// its one show_error. The document goes into the archive that `make_archive` makes, if given.
std::optional<RunStart> start_run(ConversionInput& input, const ConversionSettings& settings,
                                  ProgressView& view, const ArchiveMaker& make_archive = {});

// The stages open the logs with open_log (core/log_file.h) and the run's spools; a log that
// cannot be opened again ends the run with "入力ファイルを読み込めません".

// Commits the output (OutputChain::commit). True, with status "処理を終了しました" and progress
// 0, when all of it was written; otherwise shows "出力ファイルを作成できません" and leaves an
// earlier output untouched; false without a message, the output abandoned, when the run was
// asked to stop.
bool finish_run(RunStart& run, ProgressView& view);

}  // namespace tolvane
