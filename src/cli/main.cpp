// tolvane-convert: converts GPS logs into a KML document or an HTML map page from a terminal.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/console_progress.h"
#include "cli/convert_options.h"
#include "cli/geotag_command.h"
#include "cli/signal_watcher.h"
#include "cli/translating_view.h"
#include "core/log_set.h"
#include "core/trip_stats.h"
#include "kml/kml_run.h"
#include "map_page/map_page_run.h"
#include "platform/program_paths.h"
#include "platform/replacing_file.h"
#include "settings/conversion_settings.h"
#include "settings/settings_store.h"
#include "settings/ui_language.h"
#include "translation/translation.h"

namespace {

using namespace tolvane;
using namespace tolvane::cli;

constexpr int kExitSucceeded = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

void write_text(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
}

int usage_error(const std::string& reason) {
  write_text(stderr, "tolvane-convert: " + reason + "\n" + usage_line() +
                         "\nRun with --help for more information.\n");
  return kExitUsage;
}

// Asked for by --kml or --html, else by --kmz or the output's extension, else by
// Common.kml_or_html.
bool writes_map_page(const ConvertOptions& options, const ConversionSettings& settings) {
  return output_form(options.output, options.choice, options.kmz, is_map_page(settings)) ==
         OutputForm::kMapPage;
}

}  // namespace

int main(int argc, char** argv) {
  ConvertOptions options;
  const ParseResult parsed = parse_convert_options(argc, argv, options);
  if (parsed.outcome == ParseOutcome::kExitSuccess) {
    write_text(stdout, parsed.text);
    return kExitSucceeded;
  }
  if (parsed.outcome == ParseOutcome::kUsageError) return usage_error(parsed.text);

  const bool own_ini = options.settings.empty();
  const std::filesystem::path ini = own_ini ? settings_path() : options.settings;
  const ConversionSettings defaults = default_settings(program_dir());
  ConversionSettings settings = load_settings(ini, defaults);
  for (const std::string& assignment : options.assignments) {
    std::string name, value;
    split_assignment(assignment, name, value);
    if (!apply_setting_text(settings, name, value)) {
      return usage_error("--set names no setting: " + name);
    }
  }
  // As in the file, an empty icon URL means the default.
  if (settings.common.icon_url.empty()) settings.common.icon_url = defaults.common.icon_url;

  if (options.save_settings) {
    // The per-user settings folder is made at the first save; a folder named by --settings
    // must exist.
    if ((own_ini && !make_settings_folder(ini)) || !save_settings(ini, settings, defaults)) {
      write_text(stderr, "Tolvane: cannot write the settings file " + ini.string() + "\n");
      return kExitFailed;
    }
    if (options.logs.empty()) {
      if (!options.quiet) write_text(stderr, "Settings saved to " + ini.string() + "\n");
      return kExitSucceeded;
    }
  }

  // From here on SIGINT, SIGTERM and SIGHUP stop the run at its next point or photo; the output
  // it had begun disappears and an earlier output stays as it was. A run that does not stop
  // within 2 s (a read that cannot be interrupted), or a second signal, ends the process at once
  // after removing the output's temporary file.
  ConsoleProgressView view(stderr, options.quiet, ::isatty(STDERR_FILENO) == 1);
  const Translation translation(choose_ui_language(settings.common.ui_language));
  TranslatingView shown(translation, view);
  PendingOutput pending;
  auto end_interrupted = [&](int caught, bool output_written) {
    std::string line = std::string("Tolvane: interrupted by ") + signal_name(caught);
    if (!options.output.empty() && !output_written) {
      line += "; " + options.output.string() + " was not written";
    }
    write_text(stderr, line + "\n");
    std::fflush(stderr);
    SignalWatcher::raise_again(caught);
  };
  SignalWatcher signals([&](int caught) {
    const bool committed = pending.abandon();
    view.finish();
    // Geotagging comes after the output: stopping it is an interruption all the same.
    if (!committed || options.geotag) end_interrupted(caught, committed);
    std::fflush(stderr);
    std::_Exit(kExitSucceeded);
  });
  if (options.stats) {
    // The run's order: the logs sorted by their start.
    std::vector<std::filesystem::path> logs = options.logs;
    sort_logs_by_start(logs);
    TripStats stats(settings.common.GMT);
    std::size_t unreadable = 0;
    if (!compute_trip_stats(logs, stats, &signals.stop(), &unreadable)) {
      if (const int caught = signals.caught(); caught != 0) end_interrupted(caught, false);
      write_text(stderr, "Tolvane: cannot read " + logs[unreadable].string() + "\n");
      return kExitFailed;
    }
    write_text(stdout, trip_stats_table(stats, ::isatty(STDOUT_FILENO) == 1));
    std::fflush(stdout);
    if (options.output.empty() && !options.geotag) return kExitSucceeded;
  }
  ConversionInput input;
  input.log_paths = options.logs;
  input.photo_paths = options.photos;
  input.output_path = options.output;
  input.thumbnail_workers = options.jobs;
  input.kmz = options.kmz;
  input.stop = &signals.stop();
  input.pending_output = &pending;
  // With --geotag and no output only the photos are tagged; with both, the output comes first.
  const bool converts = !options.geotag || !options.output.empty();
  RunResult result = kRunSucceeded;
  if (converts) {
    result = writes_map_page(options, settings) ? convert_to_html(input, settings, shown)
                                                : convert_to_kml(input, settings, shown);
  }
  view.finish();
  const bool geotags = options.geotag && result == kRunSucceeded && signals.caught() == 0;
  int geotag_status = kExitSucceeded;
  if (geotags) {
    geotag_status = run_geotag(options, settings, translation, shown, &signals.stop());
    view.finish();
  }
  signals.close();
  // A signal that came after the output was committed changes nothing for it: the run has
  // finished. Geotagging that a signal cut short ends as interrupted.
  if (const int caught = signals.caught(); caught != 0) {
    if (converts && result != kRunSucceeded) end_interrupted(caught, false);
    if (options.geotag) end_interrupted(caught, true);
  }
  return result == kRunSucceeded && geotag_status == kExitSucceeded ? kExitSucceeded : kExitFailed;
}
