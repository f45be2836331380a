// GPX logs read once per run: the first pass over each log keeps its fixes in a spool, an
// unnamed temporary file of fixed-size records, from which the later passes read them back in
// order instead of parsing the file again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include "core/gpx_reader.h"
#include "platform/scratch_file.h"

namespace tolvane {

// The fixes of one log, in a scratch file (platform/scratch_file.h): it is gone once the spool
// is, and after a killed process too.
class LogSpool {
 public:
  // An empty spool; null when no scratch file can be made.
  static std::unique_ptr<LogSpool> create();

  explicit LogSpool(ScratchFile file);

  // Appends a fix. False once a write has failed: the spool is then of no use.
  bool append(const GpxFix& fix);
  // Writes out the fixes still buffered; false when any fix was not written.
  bool finish();

  std::uint64_t size() const { return written_; }  // fixes in the file
  const ScratchFile& file() const { return file_; }

 private:
  bool write_buffer();

  ScratchFile file_;
  std::vector<GpxFix> buffer_;
  std::uint64_t written_ = 0;
  bool failed_ = false;
};

// The spools of one run, by the path of their logs; what is not here is read from its file.
class LogSpools {
 public:
  // Keeps a finished spool for `log`.
  void add(std::filesystem::path log, std::unique_ptr<LogSpool> spool);
  // The spool of `log`; null when it has none.
  const LogSpool* find(const std::filesystem::path& log) const;

 private:
  std::vector<std::pair<std::filesystem::path, std::unique_ptr<LogSpool>>> spools_;
};

// Reads the fixes of a spool from the first on; the spool must outlive the reader.
class SpoolReader {
 public:
  explicit SpoolReader(const LogSpool& spool);

  // 0 when the next fix was read into `fix`; -1 when none is left or the file cannot be read.
  std::int8_t read(GpxFix& fix) {
    if (next_ == end_ && !refill()) return -1;
    fix = buffer_[next_++];
    return 0;
  }

 private:
  bool refill();

  const LogSpool& spool_;
  std::unique_ptr<GpxFix[]> buffer_;
  std::size_t next_ = 0;
  std::size_t end_ = 0;
  std::uint64_t read_ = 0;  // fixes taken from the file so far
};

}  // namespace tolvane
