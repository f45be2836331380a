#include "photos/exif_time.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

#include "core/c_number.h"
#include "core/time_helpers.h"

namespace tolvane {
namespace {

constexpr std::uint16_t kTagDateTime = 0x0132;
constexpr std::uint16_t kTagExifPointer = 0x8769;
constexpr std::uint16_t kTagDateTimeOriginal = 0x9003;
constexpr std::size_t kEntrySize = 12;
constexpr std::size_t kDateTextSize = 19;  // YYYY:MM:DD HH:MM:SS

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
  std::uint32_t value;
};

bool read_entry(ByteReader& reader, const ByteOrder& order, DirectoryEntry& entry) {
  std::uint8_t bytes[kEntrySize];
  if (!reader.read(bytes, kEntrySize)) return false;
  entry.tag = order.u16(bytes);
  entry.value = order.u32(bytes + 8);  // type and count are not looked at
  return true;
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

int read_capture_time_from(ByteReader& reader, TrackPoint& point) {
  if (!reader.find_exif_header()) return -1;
  const std::uint64_t base = reader.position();

  std::uint8_t header[4];
  if (!reader.read(header, 4)) return -1;
  ByteOrder order;
  order.little_endian = header[0] == 'I';

  // The first directory follows the first four bytes that read as 8.
  std::uint8_t window[4];
  if (!reader.read(window, 4)) return -1;
  while (order.u32(window) != 8) {
    std::memmove(window, window + 1, 3);
    if (!reader.read(window + 3, 1)) return -1;
  }

  std::uint16_t count = 0;
  if (!read_count(reader, order, count) || count == 0) return -1;
  std::uint32_t date_offset = 0;
  std::uint32_t exif_offset = 0;
  for (std::uint16_t i = 0; i < count; ++i) {
    DirectoryEntry entry;
    if (!read_entry(reader, order, entry)) return -1;
    if (entry.tag == kTagDateTime) date_offset = entry.value;
    if (entry.tag == kTagExifPointer) exif_offset = entry.value;
  }

  if (static_cast<std::int32_t>(exif_offset) > 0) {
    if (!reader.seek(base + exif_offset) || !read_count(reader, order, count)) return -1;
    for (std::uint16_t i = 0; i < count; ++i) {
      DirectoryEntry entry;
      if (!read_entry(reader, order, entry)) return -1;
      if (entry.tag == kTagDateTimeOriginal) {
        date_offset = entry.value;
        break;
      }
    }
  }
  if (date_offset == 0) return -1;

  std::uint8_t text[kDateTextSize];
  if (!reader.seek(base + date_offset) || !reader.read(text, kDateTextSize)) return -1;
  point.year = number_at(text, 4);
  point.month = number_at(text + 5, 2);
  point.day = number_at(text + 8, 2);
  point.hour = number_at(text + 11, 2);
  point.minute = number_at(text + 14, 2);
  point.second = number_at(text + 17, 2);
  return 0;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

int read_capture_time(std::FILE* stream, TrackPoint& point) {
  point.year = point.month = point.day = 0;
  point.hour = point.minute = point.second = 0;
  if (stream == nullptr) return -1;
  ByteReader reader(stream);
  return read_capture_time_from(reader, point);
}

int read_capture_time(const std::filesystem::path& photo, TrackPoint& point) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(photo.c_str(), "rb"));
  return read_capture_time(file.get(), point);
}

int compare_photos_by_time(const std::filesystem::path& a, const std::filesystem::path& b) {
  TrackPoint time_a;
  TrackPoint time_b;
  if (read_capture_time(a, time_a) != 0) return 0;
  if (read_capture_time(b, time_b) != 0) return 0;
  return compare_timestamps(time_a, time_b);
}

std::vector<TrackPoint> sort_photos_by_capture_time(std::vector<std::filesystem::path>& photos) {
  std::vector<std::pair<TrackPoint, std::filesystem::path>> timed;
  timed.reserve(photos.size());
  for (auto& photo : photos) {
    TrackPoint time;
    read_capture_time(photo, time);  // an unreadable time stays all zero
    timed.emplace_back(time, std::move(photo));
  }
  std::stable_sort(timed.begin(), timed.end(), [](const auto& a, const auto& b) {
    return compare_timestamps(a.first, b.first) < 0;
  });
  std::vector<TrackPoint> times;
  times.reserve(timed.size());
  for (std::size_t i = 0; i < timed.size(); ++i) {
    photos[i] = std::move(timed[i].second);
    times.push_back(timed[i].first);
  }
  return times;
}

}  // namespace tolvane
