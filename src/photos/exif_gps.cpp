#include "photos/exif_gps.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exiv2/exiv2.hpp>
#include <string>
#include <tuple>

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

// Every tag outside the GPS directory as it is compared: key, type, count and value. A single
// 32-bit number counts by its key alone: such tags are offsets of directories and blocks. A key
// may stand more than once (a maker note's directories), so the whole list is sorted.
using TagValue = std::tuple<std::string, int, long, std::vector<std::uint8_t>>;

std::vector<TagValue> other_tags(const Exiv2::ExifData& data) {
  std::vector<TagValue> tags;
  for (const Exiv2::Exifdatum& datum : data) {
    if (is_gps(datum) || datum.key() == "Exif.Image.GPSTag") continue;
    const bool offset_like = datum.count() == 1 && (datum.typeId() == Exiv2::unsignedLong ||
                                                    datum.typeId() == Exiv2::tiffIfd);
    tags.emplace_back(datum.key(), datum.typeId(), datum.count(),
                      offset_like ? std::vector<std::uint8_t>() : bytes_of(datum));
  }
  std::sort(tags.begin(), tags.end());
  return tags;
}

// True when `written` holds every tag of `original` outside the GPS directory with the same
// value, and the same thumbnail.
bool keeps_other_tags(const Exiv2::ExifData& original, const Exiv2::ExifData& written) {
  if (other_tags(original) != other_tags(written)) return false;
  const Exiv2::DataBuf before = Exiv2::ExifThumbC(original).copy();
  const Exiv2::DataBuf after = Exiv2::ExifThumbC(written).copy();
  return before.size_ == after.size_ &&
         (before.size_ == 0 || std::memcmp(before.pData_, after.pData_, before.size_) == 0);
}

// The bytes of a TIFF block read and written in its own byte order.
class TiffBytes {
 public:
  TiffBytes(std::vector<std::uint8_t>& bytes, Exiv2::ByteOrder order)
      : bytes_(bytes), big_(order == Exiv2::bigEndian) {}

  std::uint16_t u16(std::size_t at) const {
    return static_cast<std::uint16_t>(big_ ? bytes_[at] << 8 | bytes_[at + 1]
                                           : bytes_[at + 1] << 8 | bytes_[at]);
  }
  std::uint32_t u32(std::size_t at) const {
    const std::uint32_t high = u16(big_ ? at : at + 2);
    const std::uint32_t low = u16(big_ ? at + 2 : at);
    return high << 16 | low;
  }
  void put16(std::uint16_t value) {
    const std::uint8_t a = static_cast<std::uint8_t>(value >> 8);
    const std::uint8_t b = static_cast<std::uint8_t>(value & 0xFF);
    bytes_.push_back(big_ ? a : b);
    bytes_.push_back(big_ ? b : a);
  }
  void put32(std::uint32_t value) {
    put16(static_cast<std::uint16_t>(big_ ? value >> 16 : value & 0xFFFF));
    put16(static_cast<std::uint16_t>(big_ ? value & 0xFFFF : value >> 16));
  }
  void set32(std::size_t at, std::uint32_t value) {
    std::vector<std::uint8_t> scratch;
    TiffBytes(scratch, big_ ? Exiv2::bigEndian : Exiv2::littleEndian).put32(value);
    std::copy(scratch.begin(), scratch.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(at));
  }
  void align() {
    if (bytes_.size() % 2) bytes_.push_back(0);
  }
  std::size_t size() const { return bytes_.size(); }

 private:
  std::vector<std::uint8_t>& bytes_;
  bool big_;
};

constexpr std::uint16_t kGpsPointerTag = 0x8825;
constexpr std::uint16_t kExifPointerTag = 0x8769;
constexpr std::uint16_t kTypeLong = 4;
constexpr std::size_t kEntrySize = 12;

// Appends the GPS directory of `gps` (tags of the GPSInfo group only) with its values after it;
// returns its offset. The values are encoded by the library, in the block's byte order.
std::uint32_t append_gps_directory(TiffBytes& tiff, std::vector<std::uint8_t>& bytes,
                                   const Exiv2::ExifData& gps, Exiv2::ByteOrder order) {
  std::vector<const Exiv2::Exifdatum*> entries;
  for (const Exiv2::Exifdatum& datum : gps) entries.push_back(&datum);
  std::stable_sort(entries.begin(), entries.end(),
                   [](const auto* a, const auto* b) { return a->tag() < b->tag(); });
  tiff.align();
  const std::size_t directory = tiff.size();
  std::size_t data_at = directory + 2 + entries.size() * kEntrySize + 4;
  std::vector<std::vector<std::uint8_t>> values;
  tiff.put16(static_cast<std::uint16_t>(entries.size()));
  for (const Exiv2::Exifdatum* datum : entries) {
    std::vector<std::uint8_t> value(datum->size());
    if (!value.empty()) datum->copy(value.data(), order);
    tiff.put16(datum->tag());
    tiff.put16(static_cast<std::uint16_t>(datum->typeId()));
    tiff.put32(static_cast<std::uint32_t>(datum->count()));
    if (value.size() <= 4) {
      value.resize(4, 0);
      bytes.insert(bytes.end(), value.begin(), value.end());
    } else {
      tiff.put32(static_cast<std::uint32_t>(data_at));
      data_at += value.size() + value.size() % 2;
      values.push_back(std::move(value));
    }
  }
  tiff.put32(0);  // no directory follows
  for (const std::vector<std::uint8_t>& value : values) {
    bytes.insert(bytes.end(), value.begin(), value.end());
    tiff.align();
  }
  return static_cast<std::uint32_t>(directory);
}

// Bytes per value of a TIFF field type; 0 for a type that is not one.
std::uint64_t type_size(std::uint16_t type) {
  switch (type) {
    case 1:
    case 2:
    case 6:
    case 7:
      return 1;
    case 3:
    case 8:
      return 2;
    case 4:
    case 9:
    case 11:
    case 13:
      return 4;
    case 5:
    case 10:
    case 12:
      return 8;
    default:
      return 0;
  }
}

// The Exif block with a new GPS directory, appended with its values. Everything else stays
// where it was, so that no offset in the block (a maker note's own ones included) changes:
// - when IFD0 has a GPS pointer, only that pointer changes;
// - else, when IFD0 lies at offset 8 (where simple readers look for it) and the 12 bytes after it
//   hold only its own values or the Exif directory, IFD0 grows there by the pointer's entry and
//   those move to the end of the block (the Exif directory's values stay where they are);
// - else a copy of IFD0 with the pointer is appended and the header points to it.
// Empty when IFD0 does not lie within the block.
std::vector<std::uint8_t> block_with_gps(const std::vector<std::uint8_t>& original,
                                         Exiv2::ByteOrder order, const Exiv2::ExifData& gps) {
  std::vector<std::uint8_t> bytes = original;
  TiffBytes tiff(bytes, order);
  if (bytes.size() < 8) return {};
  const std::size_t ifd0 = tiff.u32(4);
  if (ifd0 < 8 || ifd0 > bytes.size() - 2) return {};
  const std::size_t count = tiff.u16(ifd0);
  if ((bytes.size() - ifd0 - 2) / kEntrySize < count ||
      bytes.size() - ifd0 - 2 - count * kEntrySize < 4) {
    return {};
  }
  const auto entry = [&](std::size_t i) { return ifd0 + 2 + i * kEntrySize; };
  const std::size_t ifd0_end = entry(count) + 4;
  const std::uint32_t gps_directory = append_gps_directory(tiff, bytes, gps, order);

  for (std::size_t i = 0; i < count; ++i) {
    if (tiff.u16(entry(i)) == kGpsPointerTag) {
      if (tiff.u16(entry(i) + 2) != kTypeLong || tiff.u32(entry(i) + 4) != 1) return {};
      tiff.set32(entry(i) + 8, gps_directory);
      return bytes;
    }
  }

  // The 12 bytes after IFD0, and what of its own lies there: values, or the Exif directory.
  const auto directory_size = [&](std::uint64_t at) -> std::uint64_t {
    if (at + 2 > original.size()) return 0;
    return 2 + kEntrySize * tiff.u16(static_cast<std::size_t>(at)) + 4;
  };
  // The bytes an entry's value or directory takes, 0 when it takes none outside the entry.
  const auto block_size = [&](std::size_t i) -> std::uint64_t {
    if (tiff.u16(entry(i)) == kExifPointerTag && tiff.u32(entry(i) + 4) == 1) {
      return directory_size(tiff.u32(entry(i) + 8));
    }
    const std::uint64_t size = type_size(tiff.u16(entry(i) + 2)) * tiff.u32(entry(i) + 4);
    return size > 4 ? size : 0;
  };
  std::vector<std::size_t> moved;
  bool grows_in_place = ifd0 == 8 && ifd0_end + kEntrySize <= original.size();
  if (grows_in_place) {
    std::vector<bool> covered(kEntrySize, false);
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint64_t size = block_size(i);
      if (size == 0) continue;
      const std::uint64_t at = tiff.u32(entry(i) + 8);
      if (at >= ifd0_end + kEntrySize || at + size <= ifd0_end) continue;
      if (at < ifd0_end || at + size > original.size()) {
        grows_in_place = false;  // a block overlapping IFD0, or beyond the Exif block
        break;
      }
      moved.push_back(i);
      // A value of odd length is followed by a byte that keeps the next one word-aligned.
      const std::uint64_t end = at + size + size % 2;
      for (std::uint64_t b = at; b < end && b < ifd0_end + kEntrySize; ++b) {
        covered[b - ifd0_end] = true;
      }
    }
    grows_in_place =
        grows_in_place && std::all_of(covered.begin(), covered.end(), [](bool c) { return c; });
  }

  // The entries of the new IFD0, the pointer in tag order, moved values at their new places.
  std::vector<std::uint8_t> entries;
  TiffBytes out(entries, order);
  bool pointer_written = false;
  const auto write_pointer = [&] {
    out.put16(kGpsPointerTag);
    out.put16(kTypeLong);
    out.put32(1);
    out.put32(gps_directory);
    pointer_written = true;
  };
  out.put16(static_cast<std::uint16_t>(count + 1));
  for (std::size_t i = 0; i < count; ++i) {
    if (tiff.u16(entry(i)) > kGpsPointerTag && !pointer_written) write_pointer();
    const auto from = original.begin() + static_cast<std::ptrdiff_t>(entry(i));
    const std::size_t raw_at = entries.size();
    entries.insert(entries.end(), from, from + kEntrySize);
    if (grows_in_place && std::find(moved.begin(), moved.end(), i) != moved.end()) {
      const std::uint64_t size = block_size(i);
      const auto value = original.begin() + static_cast<std::ptrdiff_t>(tiff.u32(entry(i) + 8));
      tiff.align();
      out.set32(raw_at + 8, static_cast<std::uint32_t>(tiff.size()));
      bytes.insert(bytes.end(), value, value + static_cast<std::ptrdiff_t>(size));
    }
  }
  if (!pointer_written) write_pointer();
  out.put32(tiff.u32(entry(count)));  // the next directory (IFD1, the thumbnail's) as it was

  if (grows_in_place) {
    std::copy(entries.begin(), entries.end(), bytes.begin() + static_cast<std::ptrdiff_t>(ifd0));
    return bytes;
  }
  tiff.align();
  const std::size_t new_ifd0 = tiff.size();
  bytes.insert(bytes.end(), entries.begin(), entries.end());
  tiff.set32(4, static_cast<std::uint32_t>(new_ifd0));
  return bytes;
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

  Exiv2::ExifData gps;
  add_gps_directory(gps, *position);
  if (tiff.empty()) {
    // No Exif data: an empty IFD0 in the library's byte order to begin with.
    tiff = {'M', 'M', 0, 42, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0};
    order = Exiv2::bigEndian;
  }
  const std::vector<std::uint8_t> new_block = block_with_gps(tiff, order, gps);
  if (new_block.empty()) {
    result.problem = ExifGpsProblem::kCorruptExif;
    return result;
  }
  const std::uint8_t* block = new_block.data();
  const std::size_t block_size = new_block.size();
  if (block_size > kLargestTiffBlock) {
    result.problem = ExifGpsProblem::kTooLarge;
    return result;
  }
  // What the library reads back must be the old tags, the thumbnail and the new position.
  Exiv2::ExifData written;
  if (Exiv2::ExifParser::decode(written, block, static_cast<std::uint32_t>(block_size)) ==
          Exiv2::invalidByteOrder ||
      !keeps_other_tags(original, written) || !holds_position(written)) {
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
