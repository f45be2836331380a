// libFuzzer target for the GPS write path: the bytes as the Exif block of a JPEG, given a new
// position. Stops when a photo is written although a problem was found, when a written photo
// differs outside its Exif segment or reads back without the position, or when a photo that
// was not written is reported without a problem.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "photos/exif_gps.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kLargestBlock = 65535 - 2 - 6;
  size = std::min(size, kLargestBlock);
  std::vector<std::uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE1};
  const std::size_t length = 2 + 6 + size;
  jpeg.push_back(static_cast<std::uint8_t>(length >> 8));
  jpeg.push_back(static_cast<std::uint8_t>(length & 0xFF));
  for (char c : {'E', 'x', 'i', 'f', '\0', '\0'}) jpeg.push_back(static_cast<std::uint8_t>(c));
  jpeg.insert(jpeg.end(), data, data + size);
  const std::vector<std::uint8_t> image = {0xFF, 0xDA, 0x00, 0x02, 0x12, 0x34, 0xFF, 0xD9};
  jpeg.insert(jpeg.end(), image.begin(), image.end());

  tolvane::GpsPosition position;
  position.latitude = -33.4372;
  position.longitude = -70.6506;
  position.altitude = -12.5;
  position.speed_kmh = 4.2;
  position.course = 212.4;
  position.utc_seconds = 1710079200;
  const tolvane::ExifGpsResult result = tolvane::replace_gps(jpeg, &position, true);
  if (result.problem != tolvane::ExifGpsProblem::kNone) {
    if (!result.photo.empty()) std::abort();
    return 0;
  }
  if (result.photo.empty()) std::abort();  // overwriting, a readable block is always written
  const std::vector<std::uint8_t>& out = result.photo;
  if (out.size() < jpeg.size() - size - 6 || out[0] != 0xFF || out[1] != 0xD8 ||
      !std::equal(image.begin(), image.end(),
                  out.end() - static_cast<std::ptrdiff_t>(image.size()))) {
    std::abort();
  }
  const tolvane::ExifGpsResult again = tolvane::replace_gps(out, nullptr, false);
  if (again.problem != tolvane::ExifGpsProblem::kNone || !again.had_position) std::abort();
  return 0;
}
