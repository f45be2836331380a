#include "photos/exif_gps.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exiv2/exiv2.hpp>
#include <string>

#include "core/time_helpers.h"

namespace tolvane {
namespace {

constexpr std::uint8_t kExifSignature[6] = {'E', 'x', 'i', 'f', 0, 0};
constexpr std::uint8_t kJfifSignature[5] = {'J', 'F', 'I', 'F', 0};
constexpr std::size_t kSegmentHeader = 4;  // marker and length
// The largest TIFF block in one APP1 segment: the 16-bit length counts itself and "Exif\0\0".
constexpr std::size_t kLargestTiffBlock = 65535 - 2 - sizeof kExifSignature;

// Where the Exif segment is, or where one goes, in the markers before the image data.
struct JpegLayout {
  bool has_exif = false;
  std::size_t exif_begin = 0;  // the segment's FF E1
  std::size_t exif_end = 0;    // just after it
  std::size_t insert_at = 2;   // after the JFIF segment when it comes first, else after SOI
};

std::optional<JpegLayout> scan_jpeg(std::span<const std::uint8_t> d) {
  if (d.size() < 4 || d[0] != 0xFF || d[1] != 0xD8) return std::nullopt;
  JpegLayout layout;
  bool first = true;
  std::size_t p = 2;
  for (;;) {
    if (d.size() - p < kSegmentHeader || d[p] != 0xFF) return std::nullopt;
    const std::uint8_t marker = d[p + 1];
    if (marker == 0xFF) {  // fill byte
      ++p;
      continue;
    }
    if (marker == 0xD8 || marker == 0xD9 || marker == 0x00) return std::nullopt;
    if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {  // markers without a length
      p += 2;
      continue;
    }
    const std::size_t length = static_cast<std::size_t>(d[p + 2]) << 8 | d[p + 3];
    if (length < 2 || d.size() - p - 2 < length) return std::nullopt;
    if (marker == 0xDA) return layout;  // the image data follows
    const std::uint8_t* body = d.data() + p + kSegmentHeader;
    const std::size_t body_size = length - 2;
    if (marker == 0xE1 && !layout.has_exif && body_size >= sizeof kExifSignature &&
        std::memcmp(body, kExifSignature, sizeof kExifSignature) == 0) {
      layout.has_exif = true;
      layout.exif_begin = p;
      layout.exif_end = p + 2 + length;
    }
    if (first && marker == 0xE0 && body_size >= sizeof kJfifSignature &&
        std::memcmp(body, kJfifSignature, sizeof kJfifSignature) == 0) {
      layout.insert_at = p + 2 + length;
    }
    first = false;
    p += 2 + length;
  }
}

bool is_gps(const Exiv2::Exifdatum& datum) { return datum.groupName() == "GPSInfo"; }

bool holds_position(const Exiv2::ExifData& data) {
  return data.findKey(Exiv2::ExifKey("Exif.GPSInfo.GPSLatitude")) != data.end() &&
         data.findKey(Exiv2::ExifKey("Exif.GPSInfo.GPSLongitude")) != data.end();
}

void add_ascii(Exiv2::ExifData& data, const char* key, const std::string& text) {
  const Exiv2::AsciiValue value(text);
  data.add(Exiv2::ExifKey(key), &value);
}

void add_byte(Exiv2::ExifData& data, const char* key, const char* bytes) {
  Exiv2::DataValue value(Exiv2::unsignedByte);
  value.read(bytes);
  data.add(Exiv2::ExifKey(key), &value);
}

void add_rationals(Exiv2::ExifData& data, const char* key,
                   std::initializer_list<Exiv2::URational> parts) {
  Exiv2::URationalValue value;
  for (const Exiv2::URational& part : parts) value.value_.push_back(part);
  data.add(Exiv2::ExifKey(key), &value);
}

// A non-negative value as a rational with the given denominator.
Exiv2::URational fixed(double value, std::uint32_t denominator) {
  return {static_cast<std::uint32_t>(std::llround(value * denominator)), denominator};
}

// Degrees, minutes and seconds of |degrees|, the seconds in millionths.
void add_angle(Exiv2::ExifData& data, const char* key, double degrees) {
  constexpr std::int64_t kSecondParts = 1000000;
  const double magnitude = std::fabs(degrees);
  std::int64_t whole = static_cast<std::int64_t>(magnitude);
  const double minutes_total = (magnitude - static_cast<double>(whole)) * 60;
  std::int64_t minutes = static_cast<std::int64_t>(minutes_total);
  std::int64_t seconds =
      std::llround((minutes_total - static_cast<double>(minutes)) * 60 * kSecondParts);
  if (seconds >= 60 * kSecondParts) {
    seconds -= 60 * kSecondParts;
    ++minutes;
  }
  if (minutes >= 60) {
    minutes -= 60;
    ++whole;
  }
  add_rationals(data, key,
                {{static_cast<std::uint32_t>(whole), 1},
                 {static_cast<std::uint32_t>(minutes), 1},
                 {static_cast<std::uint32_t>(seconds), static_cast<std::uint32_t>(kSecondParts)}});
}

std::string two_digits(std::int64_t value) {
  return std::string{static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

void add_gps_directory(Exiv2::ExifData& data, const GpsPosition& position) {
  add_byte(data, "Exif.GPSInfo.GPSVersionID", "2 3 0 0");
  add_ascii(data, "Exif.GPSInfo.GPSLatitudeRef", position.latitude < 0 ? "S" : "N");
  add_angle(data, "Exif.GPSInfo.GPSLatitude", position.latitude);
  add_ascii(data, "Exif.GPSInfo.GPSLongitudeRef", position.longitude < 0 ? "W" : "E");
  add_angle(data, "Exif.GPSInfo.GPSLongitude", position.longitude);
  if (position.altitude) {
    add_byte(data, "Exif.GPSInfo.GPSAltitudeRef", *position.altitude < 0 ? "1" : "0");
    add_rationals(data, "Exif.GPSInfo.GPSAltitude", {fixed(std::fabs(*position.altitude), 1000)});
  }
  const std::int64_t days = position.utc_seconds >= 0 ? position.utc_seconds / 86400
                                                      : -((-position.utc_seconds + 86399) / 86400);
  const std::int64_t of_day = position.utc_seconds - days * 86400;
  add_rationals(data, "Exif.GPSInfo.GPSTimeStamp",
                {{static_cast<std::uint32_t>(of_day / 3600), 1},
                 {static_cast<std::uint32_t>(of_day / 60 % 60), 1},
                 {static_cast<std::uint32_t>(of_day % 60), 1}});
  TrackPoint date{};
  date.year = 1970;
  date.month = 1;
  date.day = 1;
  shift_timestamp(date, days * 86400);
  add_ascii(data, "Exif.GPSInfo.GPSDateStamp",
            std::to_string(date.year) + ":" + two_digits(date.month) + ":" + two_digits(date.day));
  add_ascii(data, "Exif.GPSInfo.GPSMapDatum", "WGS-84");
  if (position.speed_kmh && *position.speed_kmh >= 0 && *position.speed_kmh < 1e6) {
    add_ascii(data, "Exif.GPSInfo.GPSSpeedRef", "K");
    add_rationals(data, "Exif.GPSInfo.GPSSpeed", {fixed(*position.speed_kmh, 1000)});
  }
  if (position.course && std::isfinite(*position.course)) {
    double course = std::fmod(*position.course, 360.0);
    if (course < 0) course += 360;
    add_ascii(data, "Exif.GPSInfo.GPSTrackRef", "T");
    add_rationals(data, "Exif.GPSInfo.GPSTrack", {fixed(course, 100)});
  }
}

std::vector<std::uint8_t> bytes_of(const Exiv2::Exifdatum& datum) {
  std::vector<std::uint8_t> bytes(datum.size());
  if (!bytes.empty()) datum.copy(bytes.data(), Exiv2::littleEndian);
  return bytes;
}

// True when `written` holds every tag of `original` outside the GPS directory with the same
// value, and the same thumbnail. A single 32-bit number may differ: such tags are the offsets
// of directories and blocks, which move when the Exif block is laid out anew. The maker note
// is judged by the tags decoded from it, as its own offsets move with it.
bool keeps_other_tags(const Exiv2::ExifData& original, const Exiv2::ExifData& written) {
  for (const Exiv2::Exifdatum& datum : original) {
    if (is_gps(datum) || datum.key() == "Exif.Image.GPSTag" ||
        datum.key() == "Exif.Photo.MakerNote") {
      continue;
    }
    const auto found = written.findKey(Exiv2::ExifKey(datum.key()));
    if (found == written.end() || found->typeId() != datum.typeId() ||
        found->count() != datum.count()) {
      return false;
    }
    const bool offset_like = datum.count() == 1 && (datum.typeId() == Exiv2::unsignedLong ||
                                                    datum.typeId() == Exiv2::tiffIfd);
    if (!offset_like && bytes_of(*found) != bytes_of(datum)) return false;
  }
  const Exiv2::DataBuf before = Exiv2::ExifThumbC(original).copy();
  const Exiv2::DataBuf after = Exiv2::ExifThumbC(written).copy();
  return before.size_ == after.size_ &&
         (before.size_ == 0 || std::memcmp(before.pData_, after.pData_, before.size_) == 0);
}

// A maker note that the library cannot decode is carried as it is; its own offsets count from
// the start of the Exif block, so it must stay where it was. True when there is none, when the
// library decodes it, or when its bytes stand at the same place in `block`.
bool keeps_undecoded_maker_note(const Exiv2::ExifData& original, std::span<const std::uint8_t> tiff,
                                std::span<const std::uint8_t> block) {
  const auto note = original.findKey(Exiv2::ExifKey("Exif.Photo.MakerNote"));
  if (note == original.end() ||
      original.findKey(Exiv2::ExifKey("Exif.MakerNote.Offset")) != original.end()) {
    return true;
  }
  const std::vector<std::uint8_t> bytes = bytes_of(*note);
  if (bytes.empty()) return true;
  auto place_in = [&](std::span<const std::uint8_t> data) -> std::ptrdiff_t {
    const auto found = std::search(data.begin(), data.end(), bytes.begin(), bytes.end());
    return found == data.end() ? -1 : found - data.begin();
  };
  const std::ptrdiff_t before = place_in(tiff);
  return before >= 0 && before == place_in(block);
}

ExifGpsResult replace_gps_or_throw(std::span<const std::uint8_t> jpeg, const GpsPosition* position,
                                   bool overwrite) {
  ExifGpsResult result;
  const std::optional<JpegLayout> layout = scan_jpeg(jpeg);
  if (!layout) {
    result.problem = ExifGpsProblem::kNotJpeg;
    return result;
  }
  Exiv2::ExifData original;
  Exiv2::ByteOrder order = Exiv2::bigEndian;
  std::vector<std::uint8_t> tiff;
  if (layout->has_exif) {
    const std::size_t begin = layout->exif_begin + kSegmentHeader + sizeof kExifSignature;
    tiff.assign(jpeg.begin() + static_cast<std::ptrdiff_t>(begin),
                jpeg.begin() + static_cast<std::ptrdiff_t>(layout->exif_end));
    order =
        Exiv2::ExifParser::decode(original, tiff.data(), static_cast<std::uint32_t>(tiff.size()));
    if (order == Exiv2::invalidByteOrder) {
      result.problem = ExifGpsProblem::kCorruptExif;
      return result;
    }
  }
  result.had_position = holds_position(original);
  if (!position || (result.had_position && !overwrite)) return result;

  // The library may write into `tiff` in place; the undecoded maker note is looked up in a copy.
  const std::vector<std::uint8_t> original_tiff = tiff;
  Exiv2::ExifData data = original;
  for (auto it = data.begin(); it != data.end();) {
    it = is_gps(*it) ? data.erase(it) : std::next(it);
  }
  add_gps_directory(data, *position);

  Exiv2::Blob blob;
  const Exiv2::WriteMethod method =
      Exiv2::ExifParser::encode(blob, tiff.empty() ? nullptr : tiff.data(),
                                static_cast<std::uint32_t>(tiff.size()), order, data);
  const std::uint8_t* block = method == Exiv2::wmNonIntrusive ? tiff.data() : blob.data();
  const std::size_t block_size = method == Exiv2::wmNonIntrusive ? tiff.size() : blob.size();
  if (block_size > kLargestTiffBlock) {
    result.problem = ExifGpsProblem::kTooLarge;
    return result;
  }
  Exiv2::ExifData written;
  if (Exiv2::ExifParser::decode(written, block, static_cast<std::uint32_t>(block_size)) ==
          Exiv2::invalidByteOrder ||
      !keeps_other_tags(original, written) || !holds_position(written) ||
      !keeps_undecoded_maker_note(original, original_tiff, {block, block_size})) {
    result.problem = ExifGpsProblem::kWouldLoseTags;
    return result;
  }

  const std::size_t cut_begin = layout->has_exif ? layout->exif_begin : layout->insert_at;
  const std::size_t cut_end = layout->has_exif ? layout->exif_end : layout->insert_at;
  const std::size_t segment_length = 2 + sizeof kExifSignature + block_size;
  std::vector<std::uint8_t>& out = result.photo;
  out.reserve(jpeg.size() - (cut_end - cut_begin) + 2 + segment_length);
  out.insert(out.end(), jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(cut_begin));
  out.push_back(0xFF);
  out.push_back(0xE1);
  out.push_back(static_cast<std::uint8_t>(segment_length >> 8));
  out.push_back(static_cast<std::uint8_t>(segment_length & 0xFF));
  out.insert(out.end(), kExifSignature, kExifSignature + sizeof kExifSignature);
  out.insert(out.end(), block, block + block_size);
  out.insert(out.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(cut_end), jpeg.end());
  return result;
}

// The library's warnings about odd tags would interleave with our own lines.
void silence_library_messages() {
  static const bool silenced = [] {
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    return true;
  }();
  (void)silenced;
}

}  // namespace

ExifGpsResult replace_gps(std::span<const std::uint8_t> jpeg, const GpsPosition* position,
                          bool overwrite) {
  silence_library_messages();
  try {
    return replace_gps_or_throw(jpeg, position, overwrite);
  } catch (...) {  // the library's errors, and memory for a hostile block's counts
  }
  ExifGpsResult failed;
  failed.problem = ExifGpsProblem::kCorruptExif;
  return failed;
}

}  // namespace tolvane
