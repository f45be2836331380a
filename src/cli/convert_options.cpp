#include "cli/convert_options.h"

#include <CLI/CLI.hpp>

namespace tolvane::cli {
namespace {

// The help text begins with our own usage line.
class HelpFormatter : public CLI::Formatter {
 public:
  std::string make_usage(const CLI::App*, std::string) const override {
    return std::string(usage_line()) + "\n";
  }
};

}  // namespace

const char* usage_line() { return "Usage: tolvane-convert [options] -o OUTPUT FILE..."; }

bool split_assignment(const std::string& assignment, std::string& name, std::string& value) {
  const std::size_t equals = assignment.find('=');
  if (equals == std::string::npos) return false;
  name = assignment.substr(0, equals);
  value = assignment.substr(equals + 1);
  return true;
}

ParseResult parse_convert_options(int argc, const char* const* argv, ConvertOptions& options) {
  CLI::App app(
      "Converts NMEA logs of a GPS logger into a KML document for Google Earth or an HTML map "
      "page.",
      "tolvane-convert");
  app.formatter(std::make_shared<HelpFormatter>());
  app.footer(
      "FILE: a name ending in " + photo_extensions_text(" or ") +
      " is a photo, any other a GPS log; logs are sorted by their start time.\n"
      "Output kind: --kml or --html, else by the output's extension (.kml, .kmz; .html, .htm), "
      "else Common.kml_or_html. A .kmz output, or --kmz, packs the KML document with its "
      "icons and photo thumbnails into one KMZ archive.\n"
      "Example: tolvane-convert --set GoogleEarth.mode=5 -o trip.kml day1.log day2.log\n"
      "Geotagging: tolvane-convert --geotag [--dry-run] day1.log photos/*.jpg writes each "
      "photo's position into its Exif data.\n"
      "Exit status: 0 done, 1 the conversion failed, 2 usage error; SIGINT, SIGTERM and SIGHUP "
      "stop a run without leaving anything half written and end the program by that signal.");
  app.set_version_flag("--version", std::string("tolvane-convert ") + TOLVANE_VERSION);

  std::string output;
  std::string settings;
  std::vector<std::string> files;
  bool kml = false;
  bool html = false;
  app.add_option("-o,--output", output, "The KML, KMZ or HTML file to write")->option_text("PATH");
  app.add_flag("--kml", kml, "Write a KML document (default: by the output's extension)");
  app.add_flag("--kmz", options.kmz,
               "Write the KML document as a KMZ archive with its icons and thumbnails (default: "
               "when the output's name ends in .kmz)");
  app.add_flag("--html", html, "Write an HTML map page (default: by the output's extension)");
  app.add_option("--settings", settings,
                 "Settings file (default: Tolvane.ini beside the executable when one is there, "
                 "else $XDG_CONFIG_HOME/tolvane/Tolvane.ini, ~/.config/tolvane/ when unset; a "
                 "missing file means all defaults)")
      ->option_text("PATH");
  app.add_option("--set", options.assignments,
                 "Use VALUE for one setting, as if the settings file held it (repeatable)")
      ->option_text("Section.key=VALUE")
      ->take_all()
      ->expected(1)
      ->allow_extra_args(false);
  app.add_flag("--save-settings", options.save_settings,
               "Write all settings (after --set) to the settings file; without FILE only save");
  app.add_flag("-q,--quiet", options.quiet, "Show no status, only a failure");
  app.add_option("--jobs", options.jobs, "Threads that reduce the photos (default: one per core)")
      ->option_text("N")
      ->check(CLI::PositiveNumber);
  app.add_flag("--stats", options.stats,
               "Print the trip's numbers per local day and in total (also with -q); converts "
               "only with -o");
  app.add_flag("--geotag", options.geotag,
               "Write the track's positions into the photos' Exif data (with -o also convert)");
  app.add_flag("--dry-run", options.dry_run,
               "With --geotag: write nothing, list where each photo would go");
  app.add_flag("--overwrite-gps", options.overwrite_gps,
               "With --geotag: tag photos that already hold a position anew");
  app.add_flag("--backup", options.backup,
               "With --geotag: keep each replaced photo as NAME.EXT_original beside it");
  app.add_flag("--verbose", options.verbose,
               "With --geotag: list each photo with its position on standard output");
  app.add_option("FILE", files, "GPS logs and photos (" + photo_extensions_text(", ") + ")")
      ->option_text("...");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    return {ParseOutcome::kExitSuccess, app.help()};
  } catch (const CLI::CallForVersion&) {
    return {ParseOutcome::kExitSuccess, std::string("tolvane-convert ") + TOLVANE_VERSION + "\n"};
  } catch (const CLI::ParseError& error) {
    return {ParseOutcome::kUsageError, error.what()};
  }

  if (kml && html) return {ParseOutcome::kUsageError, "--kml and --html exclude each other"};
  if (html && options.kmz)
    return {ParseOutcome::kUsageError, "--kmz and --html exclude each other"};
  if (html && !output_form(output, KindRequest::kMapPage, false, false)) {
    const std::string_view named = output_extension(*output_form_by_name(output));
    return {ParseOutcome::kUsageError, "--html cannot write a " + std::string(named) + " output"};
  }
  options.choice = kml ? KindRequest::kKml : html ? KindRequest::kMapPage : KindRequest::kByName;
  options.output = output;
  options.settings = settings;
  for (const std::string& file : files) {
    (is_photo(file) ? options.photos : options.logs).emplace_back(file);
  }
  for (const std::string& assignment : options.assignments) {
    std::string name, value;
    if (!split_assignment(assignment, name, value)) {
      return {ParseOutcome::kUsageError, "--set needs Section.key=VALUE: " + assignment};
    }
  }
  if (!options.geotag &&
      (options.dry_run || options.overwrite_gps || options.backup || options.verbose)) {
    return {ParseOutcome::kUsageError,
            "--dry-run, --overwrite-gps, --backup and --verbose go with --geotag"};
  }
  if (options.logs.empty()) {
    if (!options.save_settings || !options.photos.empty() || options.geotag) {
      return {ParseOutcome::kUsageError, "no GPS log given"};
    }
  } else if (options.geotag && options.photos.empty()) {
    return {ParseOutcome::kUsageError,
            "--geotag needs photos (" + photo_extensions_text(", ") + ")"};
  } else if (options.output.empty() && !options.stats && !options.geotag) {
    return {ParseOutcome::kUsageError, "no output given (-o OUTPUT)"};
  }
  return {};
}

}  // namespace tolvane::cli
