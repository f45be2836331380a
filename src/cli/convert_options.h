// The command line of tolvane-convert: what it asks for, parsed into a plain record.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/file_kind.h"

namespace tolvane::cli {

struct ConvertOptions {
  std::filesystem::path output;               // -o, --output
  KindRequest choice = KindRequest::kByName;  // --kml, --html
  bool kmz = false;  // --kmz: the KML document as a KMZ archive, whatever the output's name
  std::filesystem::path settings;             // --settings; empty: settings_path()
  std::vector<std::string> assignments;       // --set Section.key=VALUE, in order
  bool save_settings = false;                 // --save-settings
  bool quiet = false;                         // -q, --quiet
  std::vector<std::filesystem::path> logs;    // FILE arguments that are GPS logs, in order
  std::vector<std::filesystem::path> photos;  // FILE arguments that are photos, in order
  unsigned jobs = 0;                          // --jobs: thumbnail workers; 0 one per core
  bool stats = false;          // --stats: the trip's numbers on standard output; -o then optional
  bool geotag = false;         // --geotag: write the track's positions into the photos
  bool dry_run = false;        // --dry-run: geotag nothing, show where each photo would go
  bool overwrite_gps = false;  // --overwrite-gps: tag photos that hold a position anew
  bool backup = false;         // --backup: keep each replaced photo as NAME.EXT_original
  bool verbose = false;        // --verbose: one line per photo on standard output
};

enum class ParseOutcome { kRun, kExitSuccess, kUsageError };

struct ParseResult {
  ParseOutcome outcome = ParseOutcome::kRun;
  std::string text;  // help or version text to print (kExitSuccess), the reason (kUsageError)
};

// Parses argv. A usage error is anything the converter cannot act on: an unknown option, a
// missing value, --kml with --html, --html with --kmz or a ".kml" or ".kmz" output (see
// output_form), --jobs below 1, FILE arguments without -o (unless --stats or --geotag), photos
// without a GPS log, --geotag without photos, the geotagging options without --geotag, or
// nothing to do at all.
ParseResult parse_convert_options(int argc, const char* const* argv, ConvertOptions& options);

// "Usage: tolvane-convert [options] -o OUTPUT FILE..."
const char* usage_line();

// Splits "Section.key=VALUE" at its first "="; false without one.
bool split_assignment(const std::string& assignment, std::string& name, std::string& value);

}  // namespace tolvane::cli
