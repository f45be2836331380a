#include "map_page/map_page_run.h"

#include <optional>
#include <string>

#include "core/log_file.h"
#include "core/run_messages.h"
#include "core/time_helpers.h"
#include "core/trip_stats.h"
#include "map_page/map_page_body.h"
#include "map_page/map_page_head.h"
#include "map_page/map_page_photo_entries.h"
#include "map_page/map_page_profile.h"
#include "map_page/map_page_switches.h"
#include "writing/run_stages.h"
#include "writing/track_rules.h"

namespace tolvane {
namespace {

// The marker lines: one for every point the selection takes, carrying the point's index in the
// page's point array, then one line break. False after show_error when a log cannot be read
// again.
bool write_markers(const ConversionInput& input, const ConversionSettings& settings,
                   const LogSpools& logs, const MapPageSwitches& page, TextSink& sink,
                   ProgressView& view) {
  PointSelector selector = PointSelector::for_map_page(settings);
  DistanceTotal distance = DistanceTotal::from_settings(settings);
  int marker_index = 0;
  std::string information;
  for (std::size_t i = 0; i < input.log_paths.size(); ++i) {
    LogFile log = open_log(input.log_paths[i], input.stop, &logs);
    if (!log) {
      view.show_error(messages::kCannotReadInput);
      return false;
    }
    selector.begin_log();
    distance.begin_log(restarts_route(settings, i));
    TrackPoint point;
    while (read_track_point(log, point) == 0) {
      if (stop_requested(input.stop)) return false;
      distance.add(point);
      if (selector.take(point)) {
        TrackPoint local = point;
        apply_time_offset(local, settings.common.GMT);
        // With route on a click drives the replay, so the marker carries no text.
        if (!page.route) information = marker_information_text(local, distance.km());
        write_marker(page, heading_icon_index(point.course), local, information, marker_index,
                     sink);
      }
      ++marker_index;
    }
    if (stop_requested(input.stop)) return false;  // the log was broken off
  }
  sink.line(0, {});
  return true;
}

// Every point into the page's point array with its read-outs, and the polylines cut by
// reception (local time); with the profile on, also the strip's data and the trip's numbers
// into `stats`. False after show_error when a log cannot be read again.
bool write_route(const ConversionInput& input, const ConversionSettings& settings,
                 const LogSpools& logs, const MapPageSwitches& page, TextSink& sink,
                 ProgressView& view, TripStats& stats) {
  DistanceTotal distance = DistanceTotal::from_settings(settings);
  PolylineCutter polylines(settings, sink, page.profile);
  ProfileEncoder profile(sink);
  const std::size_t count = input.log_paths.size();
  for (std::size_t i = 0; i < count; ++i) {
    LogFile log = open_log(input.log_paths[i], input.stop, &logs);
    if (!log) {
      view.show_error(messages::kCannotReadInput);
      return false;
    }
    const bool restart = restarts_route(settings, i);
    distance.begin_log(restart);
    polylines.begin_log(restart);
    stats.begin_log();
    TrackPoint point;
    while (read_track_point(log, point) == 0) {
      if (stop_requested(input.stop)) return false;
      distance.add(point);
      TrackPoint local = point;
      apply_time_offset(local, settings.common.GMT);
      write_track_point(page, local, distance.km(), sink);
      if (page.profile) {
        const bool altitude_known = has_altitude(log);
        stats.add(point, altitude_known);
        profile.add(local, altitude_known, stats.total().distance_km);
      }
      polylines.point_pushed(local);
    }
    if (stop_requested(input.stop)) return false;  // the log was broken off
    polylines.end_log(settings.common.concate == 0 || i + 1 == count);
  }
  return true;
}

// The photo frame inside the container, written by the photo stage.
bool write_photos(ConversionInput& input, const ConversionSettings& settings, const LogSpools& logs,
                  const MapPageSwitches& page, OutputChain& output, ProgressView& view) {
  MapPagePhotoEntries entries(settings, page, output.text());
  return run_photo_stage(input, settings, view, entries, output.thumbnails(), &logs) ==
         kRunSucceeded;
}

}  // namespace

RunResult convert_to_html(ConversionInput& input, const ConversionSettings& settings,
                          ProgressView& starter_view) {
  RunView view(starter_view, input.stop);
  std::optional<RunStart> run = start_run(input, settings, view);
  if (!run) return kRunFailed;
  TextSink& sink = run->output.text();
  const MapPageSwitches page = map_page_switches(settings, !input.photo_paths.empty());

  MapPageTrack track;
  track.first_point = run->first_local;
  track.min_latitude = run->extent.min_latitude;
  track.max_latitude = run->extent.max_latitude;
  track.min_longitude = run->extent.min_longitude;
  track.max_longitude = run->extent.max_longitude;
  write_map_page_head(run->title, track, settings.google_maps.api2_zoom, page, settings, sink);

  if (settings.google_maps.mode != 0) {
    view.set_status_text(messages::kWritingPoints);
    if (!write_markers(input, settings, run->logs, page, sink, view)) return kRunFailed;
  }

  view.set_status_text(messages::kWritingRouteInfo);
  TripStats stats(settings.common.GMT);
  if (!write_route(input, settings, run->logs, page, sink, view, stats)) return kRunFailed;

  if (page.profile) write_profile_startup(stats, page, sink);
  write_overlay_startup_and_head_end(page, sink);
  write_body_start(run->title, page, settings, sink);
  if (page.photos_present && !write_photos(input, settings, run->logs, page, run->output, view)) {
    return kRunFailed;
  }
  if (page.profile) write_profile_block(stats, settings, sink);
  write_body_end(page, sink);
  return finish_run(*run, view) ? kRunSucceeded : kRunFailed;
}

}  // namespace tolvane
