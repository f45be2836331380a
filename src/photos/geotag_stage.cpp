#include "photos/geotag_stage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <system_error>

#include "core/time_helpers.h"
#include "photos/exif_gps.h"
#include "photos/exif_time.h"
#include "photos/geotag_track.h"
#include "platform/replacing_file.h"

namespace tolvane {
namespace fs = std::filesystem;
namespace {

// Photos written before one file-system sync puts them all on the disk.
constexpr std::size_t kPhotosPerSync = 32;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::optional<std::vector<std::uint8_t>> read_whole(const fs::path& path, struct stat& info) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file || ::fstat(::fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return std::nullopt;
  return bytes;
}

std::int64_t epoch_seconds(const TrackPoint& t) {
  return days_since_epoch(t.year, t.month, t.day) * 86400 + (t.hour * 60 + t.minute) * 60 +
         t.second;
}

std::string two_digits(int value) {
  return std::string{static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

std::string date_time_text(const TrackPoint& t) {
  return std::to_string(t.year) + "-" + two_digits(t.month) + "-" + two_digits(t.day) + " " +
         two_digits(t.hour) + ":" + two_digits(t.minute) + ":" + two_digits(t.second);
}

std::string utc_text(std::int64_t seconds) {
  TrackPoint t{};
  t.year = 1970;
  t.month = 1;
  t.day = 1;
  shift_timestamp(t, seconds);
  return date_time_text(t) + "Z";
}

// A number with `decimals` places, in the same form whatever the locale.
std::string fixed_text(double value, int decimals) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return std::string(buffer, result.ptr);
}

std::string whole_seconds(double seconds) {
  return std::to_string(static_cast<long long>(std::llround(seconds))) + " s";
}

// "45 s", "12 min", "2 h 03 min"
std::string duration_text(double seconds) {
  const long long whole = static_cast<long long>(seconds);
  if (whole < 60) return std::to_string(whole) + " s";
  if (whole < 3600) return std::to_string(whole / 60) + " min";
  return std::to_string(whole / 3600) + " h " + two_digits(static_cast<int>(whole / 60 % 60)) +
         " min";
}

std::string how_found(const GeotagPlace& place) {
  switch (place.kind) {
    case PlaceKind::kInterpolated:
      return "interpolated " + whole_seconds(place.seconds);
    case PlaceKind::kNearest:
      return "nearest " + whole_seconds(place.seconds);
    case PlaceKind::kBeforeStart:
      return "outside the track (" + duration_text(place.seconds) + " before its start)";
    case PlaceKind::kAfterEnd:
      return "outside the track (" + duration_text(place.seconds) + " after its end)";
    case PlaceKind::kInGap:
      return "outside the track (" + duration_text(place.seconds) + " from the nearest fix)";
  }
  return {};
}

const char* problem_text(ExifGpsProblem problem) {
  switch (problem) {
    case ExifGpsProblem::kNotJpeg:
      return messages::kGeotagNotJpeg;
    case ExifGpsProblem::kCorruptExif:
      return messages::kGeotagCorruptExif;
    case ExifGpsProblem::kTooLarge:
      return messages::kGeotagTooLarge;
    case ExifGpsProblem::kWouldLoseTags:
      return messages::kGeotagWouldLoseTags;
    case ExifGpsProblem::kNone:
      break;
  }
  return "";
}

// A photo whose new file is written and waits for the group's sync.
struct PendingPhoto {
  fs::path path;
  ReplacingFile file;
};

class GeotagRun {
 public:
  GeotagRun(const ConversionSettings& settings, const GeotagOptions& options,
            GeotagListener& listener)
      : settings_(settings), options_(options), listener_(listener) {
    limits_.max_gap = settings.common.geotag_max_gap;
    limits_.max_extrapolation = settings.common.geotag_max_extrapolation;
  }

  std::vector<GeotagFix>& fixes() { return fixes_; }
  GeotagSummary& summary() { return summary_; }

  void tag(const fs::path& photo);
  // Syncs the written photos to the disk and puts each in place.
  void commit_pending();

 private:
  void fail(const fs::path& photo, const char* reason) {
    ++summary_.failed;
    listener_.photo_failed(fill_text(listener_.text(messages::kGeotagFailed),
                                     {photo.string(), listener_.text(reason)}));
  }
  void row(const fs::path& photo, const TrackPoint& local, std::int64_t utc,
           const GeotagPlace& place, const std::string& how) {
    std::string line =
        photo.filename().string() + "\t" + date_time_text(local) + "\t" + utc_text(utc) + "\t";
    if (is_on_track(place)) {
      line += fixed_text(place.latitude, 7) + "\t" + fixed_text(place.longitude, 7) + "\t";
      if (place.altitude) line += fixed_text(*place.altitude, 2);
    } else {
      line += "\t\t";
    }
    line += "\t" + how;
    listener_.photo_row(line);
  }
  bool keep_backup(const fs::path& photo);

  const ConversionSettings& settings_;
  const GeotagOptions& options_;
  GeotagListener& listener_;
  GeotagLimits limits_;
  std::vector<GeotagFix> fixes_;
  std::vector<PendingPhoto> pending_;
  GeotagSummary summary_;
};

void GeotagRun::tag(const fs::path& photo) {
  struct stat info {};
  std::optional<std::vector<std::uint8_t>> bytes = read_whole(photo, info);
  if (!bytes) return fail(photo, messages::kGeotagCannotRead);

  PhotoExif exif;
  if (!bytes->empty()) {
    File memory(::fmemopen(bytes->data(), bytes->size(), "rb"));
    if (memory) exif = read_photo_exif(memory.get());
  }
  if (exif.status != 0) return fail(photo, messages::kGeotagNoCaptureTime);
  const float gmt = settings_.common.GMT;
  const TrackPoint on_track_clock = track_clock_time(exif, gmt, settings_.common.photo_time_offset);
  const std::int64_t utc = epoch_seconds(on_track_clock) - time_offset_minutes(gmt) * 60;
  const GeotagPlace place = place_on_fixes(fixes_, static_cast<double>(utc), limits_);
  if (!is_on_track(place)) {
    ++summary_.outside;
    return row(photo, exif.time, utc, place, how_found(place));
  }

  GpsPosition position;
  position.latitude = place.latitude;
  position.longitude = place.longitude;
  position.altitude = place.altitude;
  position.speed_kmh = place.speed_kmh;
  position.course = place.course;
  position.utc_seconds = utc;
  ExifGpsResult result = replace_gps(*bytes, &position, options_.overwrite_gps);
  if (result.problem != ExifGpsProblem::kNone) return fail(photo, problem_text(result.problem));
  if (result.photo.empty()) {
    ++summary_.had_position;
    return row(photo, exif.time, utc, place, "has a position");
  }
  row(photo, exif.time, utc, place, how_found(place));
  if (options_.dry_run) {
    ++summary_.tagged;
    return;
  }

  bytes.reset();
  std::optional<ReplacingFile> file = ReplacingFile::create(photo);
  if (!file) return fail(photo, messages::kGeotagCannotWrite);
  std::FILE* stream = file->stream();
  const struct timespec times[2] = {info.st_atim, info.st_mtim};
  if (std::fwrite(result.photo.data(), 1, result.photo.size(), stream) != result.photo.size() ||
      std::fflush(stream) != 0 || ::futimens(::fileno(stream), times) != 0) {
    return fail(photo, messages::kGeotagCannotWrite);
  }
  pending_.push_back({photo, std::move(*file)});
  if (pending_.size() >= kPhotosPerSync) commit_pending();
}

bool GeotagRun::keep_backup(const fs::path& photo) {
  fs::path backup = photo;
  backup += "_original";
  std::error_code error;
  if (fs::exists(fs::symlink_status(backup, error))) return true;  // never overwritten
  // The original stays as it is, since the photo is replaced by a new file: a second name for
  // it is enough where the file system allows.
  if (!fs::is_symlink(fs::symlink_status(photo, error)) &&
      ::link(photo.c_str(), backup.c_str()) == 0) {
    return true;
  }
  return fs::copy_file(photo, backup, fs::copy_options::skip_existing, error) && !error;
}

void GeotagRun::commit_pending() {
  if (pending_.empty()) return;
  // One sync for the group: every new file reaches the disk before any replaces its photo.
  const bool synced = ::syncfs(::fileno(pending_.front().file.stream())) == 0;
  for (PendingPhoto& pending : pending_) {
    if (!synced) {
      fail(pending.path, messages::kGeotagCannotWrite);
    } else if (options_.backup && !keep_backup(pending.path)) {
      fail(pending.path, messages::kGeotagCannotBackUp);
    } else if (!pending.file.commit(ReplacingFile::Sync::kNone)) {
      fail(pending.path, messages::kGeotagCannotWrite);
    } else {
      ++summary_.tagged;
    }
  }
  pending_.clear();
}

}  // namespace

GeotagSummary geotag_photos(const std::vector<fs::path>& logs, const std::vector<fs::path>& photos,
                            const ConversionSettings& settings, const GeotagOptions& options,
                            ProgressView& view, GeotagListener& listener,
                            const std::atomic<bool>* stop) {
  GeotagRun run(settings, options, listener);
  view.set_status_text(messages::kGeotagging);
  view.set_progress(0);
  std::size_t failed_log = 0;
  const int read = read_geotag_fixes(logs, run.fixes(), stop, &failed_log);
  if (read == -2) {
    listener.photo_failed(
        fill_text(listener.text(messages::kGeotagCannotOpenLog), {logs[failed_log].string()}));
    run.summary().failed = static_cast<int>(photos.size());
    return run.summary();
  }
  if (read != 0) {
    run.summary().stopped = true;
    return run.summary();
  }
  for (std::size_t i = 0; i < photos.size(); ++i) {
    if (stop_requested(stop)) {
      run.summary().stopped = true;
      break;
    }
    run.tag(photos[i]);
    view.set_progress(static_cast<int>((i + 1) * 100 / photos.size()));
  }
  // Photos already written are put in place, also when the run was asked to stop.
  run.commit_pending();
  return run.summary();
}

std::string geotag_summary_text(const GeotagSummary& s, std::string_view pattern) {
  return fill_text(pattern, {std::to_string(s.tagged), std::to_string(s.had_position),
                             std::to_string(s.outside), std::to_string(s.failed)});
}

}  // namespace tolvane
