// tolvane-convert: converts GPS logs into a KML document or an HTML map page from a terminal.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "cli/console_progress.h"
#include "cli/convert_options.h"
#include "cli/signal_watcher.h"
#include "cli/translating_view.h"
#include "output/kml_run.h"
#include "output/map_page_run.h"
#include "platform/program_paths.h"
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

// ".kml" and ".kmz" write KML, ".html" and ".htm" the map page (any letter case), anything else
// follows Common.kml_or_html; --kmz always writes KML.
bool writes_map_page(const ConvertOptions& options, const ConversionSettings& settings) {
  if (options.choice == OutputChoice::kKml) return false;
  if (options.choice == OutputChoice::kHtml) return true;
  if (options.kmz) return false;
  std::string extension = options.output.extension().string();
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (extension == ".kml" || extension == ".kmz") return false;
  if (extension == ".html" || extension == ".htm") return true;
  return is_map_page(settings);
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
  // it had begun disappears and an earlier output stays as it was.
  SignalWatcher signals;
  ConversionInput input;
  input.log_paths = options.logs;
  input.photo_paths = options.photos;
  input.output_path = options.output;
  input.thumbnail_workers = options.jobs;
  input.kmz = options.kmz;
  input.stop = &signals.stop();
  ConsoleProgressView view(stderr, options.quiet, ::isatty(STDERR_FILENO) == 1);
  const Translation translation(choose_ui_language(settings.common.ui_language));
  TranslatingView shown(translation, view);
  const RunResult result = writes_map_page(options, settings)
                               ? convert_to_html(input, settings, shown)
                               : convert_to_kml(input, settings, shown);
  view.finish();
  if (const int caught = signals.caught(); caught != 0) {
    if (result != kRunSucceeded) {
      write_text(stderr, std::string("Tolvane: interrupted by ") + signal_name(caught) + "; " +
                             options.output.string() + " was not written\n");
    }
    std::fflush(stderr);
    SignalWatcher::raise_again(caught);
  }
  return result == kRunSucceeded ? kExitSucceeded : kExitFailed;
}
