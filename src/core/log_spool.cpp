#include "core/log_spool.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <system_error>
#include <type_traits>

namespace tolvane {
namespace {

static_assert(std::is_trivially_copyable_v<GpxFix>, "fixes are spooled as their bytes");

// Fixes written or read at a time: 64 KB or so.
constexpr std::size_t kBlockFixes = 65536 / sizeof(GpxFix);

// A file in `folder` that has no name: an O_TMPFILE where the file system has them, else a new
// file whose name is removed at once. -1 when neither can be made.
int open_nameless(const std::filesystem::path& folder) {
#ifdef O_TMPFILE
  const int unnamed = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (unnamed >= 0) return unnamed;
#endif
  std::string name = (folder / "tolvane-log-XXXXXX").string();
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd >= 0) ::unlink(name.c_str());
  return fd;
}

// Writes all of `size` bytes; false on an error.
bool write_all(int fd, const char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t done = ::write(fd, bytes, size);
    if (done < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += done;
    size -= static_cast<std::size_t>(done);
  }
  return true;
}

}  // namespace

std::unique_ptr<LogSpool> LogSpool::create() {
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
  if (ec) folder = "/tmp";
  const int fd = open_nameless(folder);
  if (fd < 0) return nullptr;
  return std::make_unique<LogSpool>(fd);
}

LogSpool::LogSpool(int descriptor) : descriptor_(descriptor) { buffer_.reserve(kBlockFixes); }

LogSpool::~LogSpool() {
  if (descriptor_ >= 0) ::close(descriptor_);
}

bool LogSpool::write_buffer() {
  if (!failed_ && !buffer_.empty()) {
    failed_ = !write_all(descriptor_, reinterpret_cast<const char*>(buffer_.data()),
                         buffer_.size() * sizeof(GpxFix));
    if (!failed_) written_ += buffer_.size();
  }
  buffer_.clear();
  return !failed_;
}

bool LogSpool::append(const GpxFix& fix) {
  if (failed_) return false;
  buffer_.push_back(fix);
  return buffer_.size() < kBlockFixes || write_buffer();
}

bool LogSpool::finish() { return write_buffer(); }

void LogSpools::add(std::filesystem::path log, std::unique_ptr<LogSpool> spool) {
  spools_.emplace_back(std::move(log), std::move(spool));
}

const LogSpool* LogSpools::find(const std::filesystem::path& log) const {
  // A log named twice was spooled twice, alike: either spool serves.
  for (const auto& [path, spool] : spools_) {
    if (path == log) return spool.get();
  }
  return nullptr;
}

SpoolReader::SpoolReader(const LogSpool& spool)
    : spool_(spool), buffer_(std::make_unique_for_overwrite<GpxFix[]>(kBlockFixes)) {}

bool SpoolReader::refill() {
  const std::uint64_t left = spool_.size() - read_;
  if (left == 0) return false;
  const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(left, kBlockFixes));
  char* bytes = reinterpret_cast<char*>(buffer_.get());
  std::size_t got = 0;
  const std::size_t size = want * sizeof(GpxFix);
  while (got < size) {
    const off_t at = static_cast<off_t>(read_ * sizeof(GpxFix) + got);
    const ssize_t done = ::pread(spool_.descriptor(), bytes + got, size - got, at);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    got += static_cast<std::size_t>(done);
  }
  read_ += want;
  next_ = 0;
  end_ = want;
  return true;
}

}  // namespace tolvane
