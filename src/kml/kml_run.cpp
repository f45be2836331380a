#include "kml/kml_run.h"

#include <cstdio>
#include <memory>
#include <optional>

#include "core/log_file.h"
#include "core/run_messages.h"
#include "core/time_helpers.h"
#include "kml/kml_photo_entries.h"
#include "kml/kml_writer.h"
#include "kml/kmz_archive.h"
#include "writing/run_stages.h"
#include "writing/track_rules.h"

namespace tolvane {
namespace {

// The Points folder: one placemark for every point the selection takes. False after
// show_error when a log cannot be read again, or when the run was asked to stop.
bool write_points(const ConversionInput& input, const ConversionSettings& settings,
                  const LogSpools& logs, TextSink& sink, ProgressView& view) {
  const GoogleEarthSettings& earth = settings.google_earth;
  const bool embed_time = earth.embed_time == 1;
  PointSelector selector = PointSelector::for_kml(settings);
  DistanceTotal distance = DistanceTotal::from_settings(settings);
  TrackPoint first_stamp;  // UTC times of the first and the last placemark of the run
  first_stamp.year = -1;
  TrackPoint last_stamp;

  write_points_folder_open(sink);
  for (std::size_t i = 0; i < input.log_paths.size(); ++i) {
    LogFile log = open_log(input.log_paths[i], input.stop, &logs);
    if (!log) {
      view.show_error(messages::kCannotReadInput);
      return false;
    }
    selector.begin_log();
    distance.begin_log(restarts_route(settings, i));
    int last_dated_hour = -1;
    TrackPoint point;
    while (read_track_point(log, point) == 0) {
      if (stop_requested(input.stop)) return false;
      distance.add(point);
      if (!selector.take(point)) continue;

      bool show_date = true;
      if (last_dated_hour == -1 || point.hour != last_dated_hour) {
        last_dated_hour = point.hour;
      } else {
        show_date = earth.day_hourly != 1;
      }
      if (embed_time) {
        if (first_stamp.year == -1) first_stamp = point;
        last_stamp = point;
      }
      TrackPoint local = point;
      apply_time_offset(local, settings.common.GMT);

      PointPlacemark placemark;
      placemark.utc_stamp = embed_time ? &point : nullptr;
      placemark.local = &local;
      placemark.show_date = show_date;
      placemark.show_distance = earth.show_distance == 1;
      placemark.distance_km = distance.km();
      placemark.heading_style = earth.direction_icon == 1 ? heading_icon_index(point.course) : -1;
      write_point_placemark(sink, placemark);
    }
    if (stop_requested(input.stop)) return false;  // the log was broken off
  }
  // Every log held a point in the pre-pass; a log emptied since then leaves no span to give.
  if (embed_time && first_stamp.year != -1) write_time_span(sink, first_stamp, last_stamp);
  write_points_folder_close(sink);
  return true;
}

// The Tracks folders: every point into the route line, split where reception was lost.
bool write_tracks(const ConversionInput& input, const ConversionSettings& settings,
                  const LogSpools& logs, TextSink& sink, ProgressView& view) {
  ReceptionGaps gaps = ReceptionGaps::for_kml(settings);
  TrackPoint previous;
  const std::size_t count = input.log_paths.size();
  for (std::size_t i = 0; i < count; ++i) {
    LogFile log = open_log(input.log_paths[i], input.stop, &logs);
    if (!log) {
      view.show_error(messages::kCannotReadInput);
      return false;
    }
    if (restarts_route(settings, i)) {
      gaps.restart();
      write_tracks_folder_open(sink);
    }
    TrackPoint point;
    while (read_track_point(log, point) == 0) {
      if (stop_requested(input.stop)) return false;
      const LineSwitch line = gaps.add(second_of_day(point));
      if (line != LineSwitch::kNone) {
        write_line_switch(sink, line == LineSwitch::kToWeak, previous);
      }
      write_route_coordinate(sink, point);
      previous = point;
    }
    if (stop_requested(input.stop)) return false;  // the log was broken off
    if (settings.common.concate == 0 || i + 1 == count) write_tracks_folder_close(sink);
  }
  return true;
}

// The Pictures folder, written by the photo stage after the Tracks folder.
bool write_pictures(ConversionInput& input, const ConversionSettings& settings,
                    const LogSpools& logs, OutputChain& output, ProgressView& view) {
  KmlPhotoEntries entries(settings, output.text());
  return run_photo_stage(input, settings, view, entries, output.thumbnails(), &logs) ==
         kRunSucceeded;
}

// The whole document into the run's output, the icons at `icons`. False after show_error.
bool write_document(ConversionInput& input, const ConversionSettings& settings, RunStart& run,
                    const KmlIconPlaces& icons, ProgressView& view) {
  const bool photos_present = !input.photo_paths.empty();
  TextSink& sink = run.output.text();
  write_kml_head(sink, settings, run.title, photos_present, icons);

  if (settings.google_earth.mode != 0) {
    view.set_status_text(messages::kWritingPoints);
    if (!write_points(input, settings, run.logs, sink, view)) return false;
  }

  view.set_status_text(messages::kWritingRouteLines);
  if (!write_tracks(input, settings, run.logs, sink, view)) return false;

  if (photos_present && !write_pictures(input, settings, run.logs, run.output, view)) {
    return false;
  }

  write_kml_end(sink);
  return true;
}

}  // namespace

RunResult convert_to_kml(ConversionInput& input, const ConversionSettings& settings,
                         ProgressView& starter_view) {
  RunView view(starter_view, input.stop);
  // A KMZ holds the same document as its first entry, with its images after it.
  const bool kmz = writes_kmz(input);
  ArchiveMaker make_archive;
  if (kmz) {
    make_archive = [photos_present = !input.photo_paths.empty()](std::FILE* stream) {
      return std::make_unique<KmzArchive>(stream, photos_present);
    };
  }
  std::optional<RunStart> run = start_run(input, settings, view, make_archive);
  if (!run) return kRunFailed;
  const KmlIconPlaces icons = kmz ? kmz_icon_places() : web_icon_places(settings);
  if (!write_document(input, settings, *run, icons, view)) return kRunFailed;
  return finish_run(*run, view) ? kRunSucceeded : kRunFailed;
}

}  // namespace tolvane
