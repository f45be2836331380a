#include "cli/geotag_command.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "photos/geotag_stage.h"

namespace tolvane::cli {
namespace {

class ConsoleGeotagListener final : public GeotagListener {
 public:
  ConsoleGeotagListener(const Translation& translation, bool rows)
      : translation_(translation), rows_(rows) {}

  void photo_row(std::string_view row) override {
    if (!rows_) return;
    std::fwrite(row.data(), 1, row.size(), stdout);
    std::fputc('\n', stdout);
  }
  void photo_failed(std::string_view message) override {
    std::fflush(stdout);
    std::fprintf(stderr, "Tolvane: %.*s\n", static_cast<int>(message.size()), message.data());
  }
  std::string text(std::string_view source) override { return translation_.run_text(source); }

 private:
  const Translation& translation_;
  bool rows_;
};

}  // namespace

int run_geotag(const ConvertOptions& options, const ConversionSettings& settings,
               const Translation& translation, ProgressView& view, const std::atomic<bool>* stop) {
  GeotagOptions geotag;
  geotag.dry_run = options.dry_run;
  geotag.overwrite_gps = options.overwrite_gps;
  geotag.backup = options.backup || settings.common.geotag_backup == 1;
  ConsoleGeotagListener listener(translation, options.dry_run || options.verbose);
  const GeotagSummary summary =
      geotag_photos(options.logs, options.photos, settings, geotag, view, listener, stop);
  std::fflush(stdout);
  const std::string line =
      geotag_summary_text(summary, translation.run_text(messages::kGeotagSummary)) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  return summary.failed == 0 ? 0 : 1;
}

}  // namespace tolvane::cli
