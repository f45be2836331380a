#include "core/log_file.h"

namespace tolvane {

LogFile::~LogFile() = default;

bool is_gpx_log(const std::filesystem::path& path) {
  const std::string& name = path.native();
  if (name.size() < 4) return false;
  const char* end = name.data() + name.size() - 4;
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  return end[0] == '.' && lower(end[1]) == 'g' && lower(end[2]) == 'p' && lower(end[3]) == 'x';
}

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
