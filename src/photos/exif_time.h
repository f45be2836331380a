// When a photo was taken: the capture time in the Exif data of a camera JPEG, and the ordering
// of photos by it. The time is the camera's clock and is never shifted to or from UTC.
#pragma once

#include <cstdio>
#include <filesystem>
#include <vector>

#include "core/track_point.h"

namespace tolvane {

// Reads the capture time (DateTimeOriginal of the Exif directory, else the DateTime of IFD0)
// into the year, month, day, hour, minute and second of `point`, which are zero first and stay
// zero on failure. 0 when a time was read; -1 when the file cannot be opened or its Exif data
// is missing or malformed.
//
// The file is scanned, not parsed as a JPEG: the first "FF E1 ?? ?? Exif\0\0" at offset 2 or
// later starts the TIFF header; the first directory is read after the first four bytes that
// give the number 8; the date text is read by position, "YYYY:MM:DD HH:MM:SS", whatever its
// separators are. Every read stays inside the file and every loop ends with it.
int read_capture_time(const std::filesystem::path& photo, TrackPoint& point);

// The same over an open stream, read from its offset 0 (the stream is left where the reading
// ended).
int read_capture_time(std::FILE* stream, TrackPoint& point);

// Three-way comparison of the capture times of two photos (-1, 0, +1); 0 when either time
// cannot be read.
int compare_photos_by_time(const std::filesystem::path& a, const std::filesystem::path& b);

// Reads the capture time of every photo once and sorts `photos` by it, stably: photos of the
// same second keep their order, and a photo whose time cannot be read has the all-zero time and
// comes first. Returns the times in the new order of `photos`.
std::vector<TrackPoint> sort_photos_by_capture_time(std::vector<std::filesystem::path>& photos);

}  // namespace tolvane
