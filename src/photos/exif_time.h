// When a photo was taken and which way up it stands: the capture time, its zone and the
// orientation in the Exif data of a camera JPEG, and the ordering of photos by that time on the
// track's clock.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <vector>

#include "core/track_point.h"

namespace tolvane {

struct PhotoExif {
  int status = -1;  // 0 when a capture time was read; -1 when none could be
  TrackPoint time;  // year .. second as the camera wrote them; all zero unless read
  // The zone of that time, minutes east of UTC: OffsetTimeOriginal with DateTimeOriginal,
  // OffsetTime with DateTime, each in the Exif directory as "+hh:mm" or "-hh:mm".
  std::optional<int> zone_minutes;
  int orientation = 1;  // Orientation of IFD0, 1 to 8; 1 when absent or none of them
};

// Reads the capture time (DateTimeOriginal of the Exif directory, else the DateTime of IFD0),
// the zone that goes with it and the orientation. The status is -1 when the file cannot be
// opened or its Exif data is missing or malformed; the time then stays all zero. The Exif
// directory is read to its end for the zone; when it is cut short after DateTimeOriginal, only
// the zone is lost.
//
// The file is scanned, not parsed as a JPEG: the first "FF E1 ?? ?? Exif\0\0" at offset 2 or
// later starts the TIFF header; the first directory is read after the first four bytes that
// give the number 8; the date text is read by position, "YYYY:MM:DD HH:MM:SS", whatever its
// separators are. Every read stays inside the file and every loop ends with it. The stream is
// read from its offset 0 and left where the reading ended.
PhotoExif read_photo_exif(const std::filesystem::path& photo);
PhotoExif read_photo_exif(std::FILE* stream);

// The capture time on the track's local clock: a time with a zone is moved from that zone to
// Common.GMT (`gmt_hours`, its minutes rounded as the track's times are), then
// Common.photo_time_offset seconds are added. An unread time stays all zero.
TrackPoint track_clock_time(const PhotoExif& exif, float gmt_hours, std::int32_t photo_time_offset);

struct PhotoCapture {
  TrackPoint time;  // track_clock_time of the photo
  int orientation = 1;
};

// Reads the Exif data of every photo once and sorts `photos` by the time on the track's clock
// (track_clock_time), stably: photos of the same second keep their order, and a photo whose time
// cannot be read has the all-zero time and comes first. Returns the times and orientations in
// the new order of `photos`.
std::vector<PhotoCapture> sort_photos_by_capture_time(std::vector<std::filesystem::path>& photos,
                                                      float gmt_hours,
                                                      std::int32_t photo_time_offset);

}  // namespace tolvane
