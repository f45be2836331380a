#include "writing/run_stages.h"

#include "core/run_messages.h"
#include "core/time_helpers.h"
#include "writing/track_rules.h"

namespace tolvane {
namespace {

// True when `output` names one of the input files: the finished output would replace it.
bool is_an_input(const ConversionInput& input, const std::filesystem::path& output) {
  auto same = [&](const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::equivalent(path, output, ec) && !ec;
  };
  for (const auto& path : input.log_paths) {
    if (same(path)) return true;
  }
  for (const auto& path : input.photo_paths) {
    if (same(path)) return true;
  }
  return false;
}

}  // namespace
std::optional<RunStart> start_run(ConversionInput& input, const ConversionSettings& settings,
                                  ProgressView& view, const ArchiveMaker& make_archive) {
  view.set_status_text(messages::kCheckingLogs);
  view.set_progress(100);

  sort_logs_by_start(input.log_paths, input.stop);

  std::optional<OutputChain> output =
      is_an_input(input, input.output_path)
          ? std::nullopt
          : OutputChain::create(input.output_path, make_archive, input.pending_output);
  if (!output) {
    view.show_error(messages::kCannotCreateOutput);
    return std::nullopt;
  }

  LogExtent extent;
  if (input.log_paths.empty()) {
    // A run is always given at least one log; without one there is nothing to convert.
    view.show_error(messages::kCannotOpenInput);
    return std::nullopt;
  }
  LogSpools logs;
  if (prepare_log_set(input.log_paths, settings.common.concate == 1, view, extent, input.stop,
                      &logs) != 0) {
    return std::nullopt;
  }

  RunStart run{.output = std::move(*output),
               .extent = extent,
               .first_local = extent.first,
               .last_local = extent.last,
               .title = {},
               .stop = input.stop,
               .logs = std::move(logs)};
  apply_time_offset(run.first_local, settings.common.GMT);
  apply_time_offset(run.last_local, settings.common.GMT);
  run.title = date_title(run.first_local, run.last_local);
  return run;
}

bool finish_run(RunStart& run, ProgressView& view) {
  if (stop_requested(run.stop)) {
    run.output.abandon();
    return false;
  }
  if (!run.output.commit()) {
    view.show_error(messages::kCannotCreateOutput);
    return false;
  }
  view.set_status_text(messages::kFinished);
  view.set_progress(0);
  return true;
}

}  // namespace tolvane
