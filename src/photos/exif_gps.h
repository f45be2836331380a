// The GPS directory of a camera JPEG's Exif data: whether the photo holds a position, and the
// photo with a new GPS directory. Only the Exif APP1 segment changes; every other byte of the
// file is copied as it is.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tolvane {

// What is written into the GPS directory.
struct GpsPosition {
  double latitude = 0;              // decimal degrees, north positive
  double longitude = 0;             // decimal degrees, east positive
  std::optional<double> altitude;   // metres above sea level
  std::optional<double> speed_kmh;  // of the nearest fix
  std::optional<double> course;     // degrees, of the nearest fix
  std::int64_t utc_seconds = 0;     // the photo's time, seconds since 1970-01-01 UTC
};

enum class ExifGpsProblem {
  kNone,
  kNotJpeg,        // no JPEG structure before the image data
  kCorruptExif,    // an Exif block that cannot be decoded
  kTooLarge,       // the new Exif block would pass the 64 KB segment limit
  kWouldLoseTags,  // the new Exif block would not keep every other tag as it was
};

struct ExifGpsResult {
  ExifGpsProblem problem = ExifGpsProblem::kNone;
  bool had_position = false;        // the photo held a latitude and a longitude already
  std::vector<std::uint8_t> photo;  // the new photo; empty when nothing is to be written
};

// Reads the photo `jpeg`; with `position`, builds the photo with its GPS directory replaced by
// one for that position, unless it holds a position and `overwrite` is false. A photo without
// Exif data gets an Exif segment after its JFIF segment, or right after the start of image.
ExifGpsResult replace_gps(std::span<const std::uint8_t> jpeg, const GpsPosition* position,
                          bool overwrite);

}  // namespace tolvane
