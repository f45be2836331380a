#include "photos/exif_time.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

#include "core/c_number.h"
#include "core/time_helpers.h"

namespace tolvane {
namespace {

constexpr std::uint16_t kTagOrientation = 0x0112;
constexpr std::uint16_t kTagDateTime = 0x0132;
constexpr std::uint16_t kTagExifPointer = 0x8769;
constexpr std::uint16_t kTagDateTimeOriginal = 0x9003;
constexpr std::uint16_t kTagOffsetTime = 0x9010;
constexpr std::uint16_t kTagOffsetTimeOriginal = 0x9011;
constexpr std::uint16_t kTypeShort = 3;
constexpr std::uint16_t kTypeLong = 4;
constexpr std::size_t kEntrySize = 12;
constexpr std::size_t kDateTextSize = 19;  // YYYY:MM:DD HH:MM:SS
constexpr std::size_t kZoneTextSize = 6;   // +hh:mm

// Reads a file through a buffer of its own, so that the byte-wise scans cost no library call
// per byte and seeks back into data already read cost no I/O.
class ByteReader {
 public:
  explicit ByteReader(std::FILE* file) : file_(file), buffer_(new std::uint8_t[kCapacity]) {}

  std::uint64_t position() const { return buffer_offset_ + begin_; }

  bool read(std::uint8_t* out, std::size_t count) {
    if (!fill(count)) return false;
    std::memcpy(out, buffer_.get() + begin_, count);
    begin_ += count;
    return true;
  }

  bool seek(std::uint64_t offset) {
    if (offset >= buffer_offset_ && offset - buffer_offset_ <= end_) {
      begin_ = static_cast<std::size_t>(offset - buffer_offset_);
      return true;
    }
    if (offset > static_cast<std::uint64_t>(INT64_MAX)) return false;
    if (::fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) return false;
    buffer_offset_ = offset;
    begin_ = end_ = 0;
    at_end_ = false;
    return true;
  }

  // Moves to just after the first "FF E1 ?? ?? 45 78 69 66 00 00" that starts at offset 2 or
  // later. False, at the end of the file, when there is none.
  bool find_exif_header() {
    static constexpr std::uint8_t kSignature[6] = {0x45, 0x78, 0x69, 0x66, 0x00, 0x00};
    constexpr std::size_t kLength = 10;
    if (!seek(2)) return false;
    while (fill(kLength)) {
      const std::uint8_t* data = buffer_.get() + begin_;
      std::size_t candidates = end_ - begin_ - kLength + 1;  // starts with all 10 bytes in
      for (std::size_t i = 0; i < candidates; ++i) {
        const void* hit = std::memchr(data + i, 0xFF, candidates - i);
        if (hit == nullptr) break;
        i = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - data);
        if (data[i + 1] == 0xE1 && std::memcmp(data + i + 4, kSignature, 6) == 0) {
          begin_ += i + kLength;
          return true;
        }
      }
      begin_ += candidates;  // the last 9 bytes may begin a match that the next fill completes
    }
    return false;
  }

 private:
  static constexpr std::size_t kCapacity = 64 * 1024;

  // At least `count` (<= kCapacity) bytes from begin_ on are in the buffer, unless the file ends.
  bool fill(std::size_t count) {
    if (end_ - begin_ >= count) return true;
    if (begin_ > 0) {
      std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
      buffer_offset_ += begin_;
      end_ -= begin_;
      begin_ = 0;
    }
    while (end_ < count && !at_end_) {
      std::size_t got = std::fread(buffer_.get() + end_, 1, kCapacity - end_, file_);
      if (got == 0) at_end_ = true;
      end_ += got;
    }
    return end_ >= count;
  }

  std::FILE* file_;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::uint64_t buffer_offset_ = 0;  // file offset of buffer_[0]
  std::size_t begin_ = 0;            // next byte to read
  std::size_t end_ = 0;              // end of the valid bytes
  bool at_end_ = false;
};

struct ByteOrder {
  bool little_endian = false;

  std::uint16_t u16(const std::uint8_t* p) const {
    return little_endian ? static_cast<std::uint16_t>(p[0] | (p[1] << 8))
                         : static_cast<std::uint16_t>((p[0] << 8) | p[1]);
  }
  std::uint32_t u32(const std::uint8_t* p) const {
    std::uint32_t b0 = p[0], b1 = p[1], b2 = p[2], b3 = p[3];
    return little_endian ? b0 | (b1 << 8) | (b2 << 16) | (b3 << 24)
                         : (b0 << 24) | (b1 << 16) | (b2 << 8) | b3;
  }
};

struct DirectoryEntry {
  std::uint16_t tag;
  std::uint16_t type;
  std::uint32_t value;        // the value field read as one 32-bit number (an offset)
  std::uint16_t first_short;  // its first two bytes, where a single SHORT value stands
};

bool read_entry(ByteReader& reader, const ByteOrder& order, DirectoryEntry& entry) {
  std::uint8_t bytes[kEntrySize];
  if (!reader.read(bytes, kEntrySize)) return false;
  entry.tag = order.u16(bytes);
  entry.type = order.u16(bytes + 2);
  entry.value = order.u32(bytes + 8);  // the count is not looked at
  entry.first_short = order.u16(bytes + 8);
  return true;
}

// The Orientation value of an entry; 1 (as taken) for a type or value that is none of 1 to 8.
int orientation_of(const DirectoryEntry& entry) {
  std::uint32_t value = 0;
  if (entry.type == kTypeShort) value = entry.first_short;
  if (entry.type == kTypeLong) value = entry.value;
  return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
}

// "+hh:mm" or "-hh:mm" (hours 00-23, minutes 00-59) as minutes east of UTC.
std::optional<int> zone_minutes(const std::uint8_t* text) {
  auto digit = [](std::uint8_t c) { return c >= '0' && c <= '9' ? c - '0' : -1; };
  const int h1 = digit(text[1]), h2 = digit(text[2]), m1 = digit(text[4]), m2 = digit(text[5]);
  if ((text[0] != '+' && text[0] != '-') || text[3] != ':' || h1 < 0 || h2 < 0 || m1 < 0 ||
      m2 < 0) {
    return std::nullopt;
  }
  const int hours = h1 * 10 + h2;
  const int minutes = m1 * 10 + m2;
  if (hours > 23 || minutes > 59) return std::nullopt;
  return (hours * 60 + minutes) * (text[0] == '-' ? -1 : 1);
}

bool read_count(ByteReader& reader, const ByteOrder& order, std::uint16_t& count) {
  std::uint8_t bytes[2];
  if (!reader.read(bytes, 2)) return false;
  count = order.u16(bytes);
  return true;
}

int number_at(const std::uint8_t* text, std::size_t digits) {
  char field[5] = {};
  std::memcpy(field, text, digits);
  return c_atoi(field);
}

void read_exif_from(ByteReader& reader, PhotoExif& exif) {
  TrackPoint& point = exif.time;
  if (!reader.find_exif_header()) return;
  const std::uint64_t base = reader.position();

  std::uint8_t header[4];
  if (!reader.read(header, 4)) return;
  ByteOrder order;
  order.little_endian = header[0] == 'I';

  // The first directory follows the first four bytes that read as 8.
  std::uint8_t window[4];
  if (!reader.read(window, 4)) return;
  while (order.u32(window) != 8) {
    std::memmove(window, window + 1, 3);
    if (!reader.read(window + 3, 1)) return;
  }

  std::uint16_t count = 0;
  if (!read_count(reader, order, count) || count == 0) return;
  std::uint32_t date_offset = 0;
  std::uint32_t exif_offset = 0;
  bool orientation_seen = false;
  for (std::uint16_t i = 0; i < count; ++i) {
    DirectoryEntry entry;
    if (!read_entry(reader, order, entry)) return;
    if (entry.tag == kTagDateTime) date_offset = entry.value;
    if (entry.tag == kTagExifPointer) exif_offset = entry.value;
    if (entry.tag == kTagOrientation && !orientation_seen) {
      orientation_seen = true;
      exif.orientation = orientation_of(entry);
    }
  }

  // The zone that goes with the time: OffsetTimeOriginal with DateTimeOriginal, OffsetTime
  // with DateTime; the first entry of each tag counts. Once DateTimeOriginal is found, a
  // directory cut short costs only the zone.
  std::uint32_t zone_offset = 0;
  if (static_cast<std::int32_t>(exif_offset) > 0) {
    if (!reader.seek(base + exif_offset) || !read_count(reader, order, count)) return;
    bool original_found = false;
    std::optional<std::uint32_t> offset_time;
    std::optional<std::uint32_t> offset_time_original;
    for (std::uint16_t i = 0; i < count; ++i) {
      DirectoryEntry entry;
      if (!read_entry(reader, order, entry)) {
        if (!original_found) return;
        break;
      }
      if (entry.tag == kTagDateTimeOriginal && !original_found) {
        date_offset = entry.value;
        original_found = true;
      }
      if (entry.tag == kTagOffsetTime && !offset_time) offset_time = entry.value;
      if (entry.tag == kTagOffsetTimeOriginal && !offset_time_original) {
        offset_time_original = entry.value;
      }
    }
    const std::optional<std::uint32_t>& zone = original_found ? offset_time_original : offset_time;
    if (zone) zone_offset = *zone;
  }
  if (date_offset == 0) return;

  std::uint8_t text[kDateTextSize];
  if (!reader.seek(base + date_offset) || !reader.read(text, kDateTextSize)) return;
  point.year = number_at(text, 4);
  point.month = number_at(text + 5, 2);
  point.day = number_at(text + 8, 2);
  point.hour = number_at(text + 11, 2);
  point.minute = number_at(text + 14, 2);
  point.second = number_at(text + 17, 2);
  exif.status = 0;

  std::uint8_t zone_text[kZoneTextSize];
  if (zone_offset != 0 && reader.seek(base + zone_offset) &&
      reader.read(zone_text, kZoneTextSize)) {
    exif.zone_minutes = zone_minutes(zone_text);
  }
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

PhotoExif read_photo_exif(std::FILE* stream) {
  PhotoExif exif;
  if (stream == nullptr) return exif;
  ByteReader reader(stream);
  read_exif_from(reader, exif);
  return exif;
}

PhotoExif read_photo_exif(const std::filesystem::path& photo) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(photo.c_str(), "rb"));
  return read_photo_exif(file.get());
}

TrackPoint track_clock_time(const PhotoExif& exif, float gmt_hours,
                            std::int32_t photo_time_offset) {
  TrackPoint time = exif.time;
  if (exif.status != 0) return time;
  std::int64_t seconds = photo_time_offset;
  if (exif.zone_minutes) seconds += (time_offset_minutes(gmt_hours) - *exif.zone_minutes) * 60;
  if (seconds != 0) shift_timestamp(time, seconds);
  return time;
}

std::vector<PhotoCapture> sort_photos_by_capture_time(std::vector<std::filesystem::path>& photos,
                                                      float gmt_hours,
                                                      std::int32_t photo_time_offset) {
  std::vector<std::pair<PhotoCapture, std::filesystem::path>> timed;
  timed.reserve(photos.size());
  for (auto& photo : photos) {
    const PhotoExif exif = read_photo_exif(photo);  // an unreadable time stays all zero
    timed.emplace_back(
        PhotoCapture{track_clock_time(exif, gmt_hours, photo_time_offset), exif.orientation},
        std::move(photo));
  }
  std::stable_sort(timed.begin(), timed.end(), [](const auto& a, const auto& b) {
    return compare_timestamps(a.first.time, b.first.time) < 0;
  });
  std::vector<PhotoCapture> captures;
  captures.reserve(timed.size());
  for (std::size_t i = 0; i < timed.size(); ++i) {
    photos[i] = std::move(timed[i].second);
    captures.push_back(timed[i].first);
  }
  return captures;
}

}  // namespace tolvane
