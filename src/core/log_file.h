// An open track log, NMEA or GPX, read one point at a time: the one way every stage reads logs.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "core/gpx_reader.h"
#include "core/log_spool.h"
#include "core/nmea_reader.h"
#include "core/run_contracts.h"
#include "core/track_point.h"

namespace tolvane {

class LogFile {
 public:
  LogFile() = default;
  LogFile(LogFile&&) noexcept = default;
  LogFile& operator=(LogFile&&) noexcept = default;
  ~LogFile();

  // False when the log could not be opened.
  explicit operator bool() const { return nmea_ != nullptr || gpx_ != nullptr || spool_; }

 private:
  friend LogFile open_log(const std::filesystem::path& path, const std::atomic<bool>* stop,
                          const LogSpools* spools);
  friend std::int8_t read_track_point(LogFile& log, TrackPoint& point);
  friend bool has_altitude(const LogFile& log);
  friend std::int8_t read_track_point(LogFile& log, TrackPoint& point, PreciseFix& precise);
  friend const GpxFix* last_gpx_fix(const LogFile& log);

  // The next fix of a GPX log, from its spool or its file, into fix_; false when none is left.
  bool next_fix() {
    if (spool_) {
      if (stop_requested(stop_)) return false;
      return spool_->read(fix_) == 0;
    }
    return gpx_ && gpx_->read(fix_) == 0;
  }

  struct NmeaCloser {
    std::unique_ptr<char[]> buffer;  // the stream's buffer, freed after the stream is closed
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, NmeaCloser> nmea_;
  std::unique_ptr<GpxReader> gpx_;
  std::unique_ptr<SpoolReader> spool_;  // a GPX log read before in the run
  GpxFix fix_;                          // the fix of a GPX log read last
  const std::atomic<bool>* stop_ = nullptr;
};

// Opens a log for reading: a GPX track when is_gpx_log (core/file_kind.h) says so, an NMEA log
// otherwise; a log that has a spool in `spools` is read from the spool, without touching its file.
// Converts to false when it cannot be opened. Once `stop` is set (see stop_requested) the log gives
// no further point, within a line of an NMEA log, a chunk of a GPX track or a fix of a spool: a
// reader of the log asks stop_requested after -1 to tell a stop from the end of the log.
LogFile open_log(const std::filesystem::path& path, const std::atomic<bool>* stop = nullptr,
                 const LogSpools* spools = nullptr);

// The next point of the log: 0 when read, -1 when none is left. After -1 `point` may be partly
// overwritten (NMEA logs: see read_track_point of nmea_reader.h). Inline, so that reading an NMEA
// log costs no more than a call of its reader.
inline std::int8_t read_track_point(LogFile& log, TrackPoint& point) {
  if (log.nmea_) return read_track_point(log.nmea_.get(), point, log.stop_);
  if (!log.next_fix()) return -1;
  point = track_point_of(log.fix_);
  return 0;
}

// True when the point read last carries an altitude: every NMEA point has its GGA altitude, a
// GPX point has one when it has an ele element.
inline bool has_altitude(const LogFile& log) {
  return log.nmea_ != nullptr || (log.fix_.flags & GpxFix::kElevation) != 0;
}

// The same as read_track_point, with the point's values at the precision of the log's text in
// `precise`.
inline std::int8_t read_track_point(LogFile& log, TrackPoint& point, PreciseFix& precise) {
  if (log.nmea_) return read_track_point(log.nmea_.get(), point, log.stop_, &precise);
  if (!log.next_fix()) return -1;
  point = track_point_of(log.fix_);
  precise = precise_fix_of(log.fix_);
  return 0;
}

// The fix read last from a GPX log, for a spool to keep; null for an NMEA log.
inline const GpxFix* last_gpx_fix(const LogFile& log) { return log.nmea_ ? nullptr : &log.fix_; }

}  // namespace tolvane
