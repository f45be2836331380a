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
  const tolvane::PhotoExif exif = tolvane::read_photo_exif(stream);
  std::fclose(stream);
  const tolvane::TrackPoint& time = exif.time;
  if (exif.status != 0 && exif.status != -1) std::abort();
  if (exif.status == -1 &&
      (time.year | time.month | time.day | time.hour | time.minute | time.second) != 0) {
    std::abort();
  }
  if (exif.orientation < 1 || exif.orientation > 8) std::abort();
  return 0;
}
