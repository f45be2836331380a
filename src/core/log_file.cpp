#include "core/log_file.h"

#include "core/file_kind.h"

namespace tolvane {

LogFile::~LogFile() = default;

LogFile open_log(const std::filesystem::path& path, const std::atomic<bool>* stop,
                 const LogSpools* spools) {
  LogFile log;
  log.stop_ = stop;
  if (const LogSpool* spool = spools ? spools->find(path) : nullptr) {
    log.spool_ = std::make_unique<SpoolReader>(*spool);
    return log;
  }
  if (is_gpx_log(path)) {
    log.gpx_ = GpxReader::open(path, stop);
    return log;
  }
  // A larger buffer than the default block size takes a log in with fewer reads.
  constexpr std::size_t kStreamBuffer = 64 * 1024;
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (!file) return log;
  LogFile::NmeaCloser closer{std::make_unique_for_overwrite<char[]>(kStreamBuffer)};
  if (std::setvbuf(file, closer.buffer.get(), _IOFBF, kStreamBuffer) != 0) closer.buffer.reset();
  log.nmea_ = std::unique_ptr<std::FILE, LogFile::NmeaCloser>(file, std::move(closer));
  return log;
}

}  // namespace tolvane
