// libFuzzer target for the Exif capture-time reader: any bytes must end in 0 or -1, with the
// all-zero time on -1, without reading outside the data or looping without end.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "photos/exif_time.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::uint8_t kNothing = 0;
  // fmemopen refuses an empty buffer: give it one byte and read none of it.
  std::FILE* stream = size > 0 ? ::fmemopen(const_cast<std::uint8_t*>(data), size, "rb")
                               : ::fmemopen(const_cast<std::uint8_t*>(&kNothing), 1, "rb");
  if (stream == nullptr) return 0;
  if (size == 0) std::fseek(stream, 1, SEEK_SET);
  tolvane::TrackPoint point;
  point.year = point.month = point.day = point.hour = point.minute = point.second = -7;
  int result = tolvane::read_capture_time(stream, point);
  std::fclose(stream);
  if (result != 0 && result != -1) std::abort();
  if (result == -1 &&
      (point.year | point.month | point.day | point.hour | point.minute | point.second) != 0) {
    std::abort();
  }
  return 0;
}
