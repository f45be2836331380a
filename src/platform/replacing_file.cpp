#include "platform/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>

namespace tolvane {
namespace fs = std::filesystem;

namespace {

// Follows symbolic links (relative ones from their own folder) to the file that is replaced.
fs::path resolve_target(const fs::path& target) {
  fs::path current = target;
  for (int depth = 0; depth < 40; ++depth) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(current, ec))) return current;
    fs::path link = fs::read_symlink(current, ec);
    if (ec) return current;
    current = link.is_absolute() ? link : current.parent_path() / link;
  }
  return current;
}

// The process's file creation mask, read where the kernel shows it: setting and restoring it with
// umask() would leave it 0 for a moment, and a file made on another thread then (thumbnails are
// made on several threads) could end up with the wrong permissions, or the mask stay 0.
mode_t current_umask() {
  mode_t mask = 0;
  bool found = false;
  if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
    char line[256];
    while (!found && std::fgets(line, sizeof line, status)) {
      if (std::strncmp(line, "Umask:", 6) != 0) continue;
      const char* p = line + 6;
      while (*p == ' ' || *p == '\t') ++p;
      for (; *p >= '0' && *p <= '7'; ++p, found = true) mask = mask * 8 + (*p - '0');
    }
    std::fclose(status);
  }
  if (found) return mask & 0777;
  mask = ::umask(0);  // no /proc: the old way
  ::umask(mask);
  return mask;
}

// An unnamed file in `folder` (O_TMPFILE), which disappears with its descriptor unless it is
// linked into the folder; -1 where the file system or the kernel has none, or where the link
// could not be made later because /proc is not there to name the descriptor.
int open_unnamed(const fs::path& folder, mode_t mode) {
#ifdef O_TMPFILE
  if (::access("/proc/self/fd", X_OK) != 0) return -1;
  return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
#else
  (void)folder;
  (void)mode;
  return -1;
#endif
}

// Gives the unnamed file behind `fd` the name `target`, replacing a file of that name. A new
// name is linked at once; an existing file is replaced by linking under a hidden name beside it
// first and renaming that over it, as link() never replaces.
bool link_unnamed(int fd, const fs::path& target) {
  const std::string descriptor = "/proc/self/fd/" + std::to_string(fd);
  if (::linkat(AT_FDCWD, descriptor.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0) {
    return true;
  }
  if (errno != EEXIST) return false;
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    std::string hidden_name = ".";
    hidden_name += target.filename().string();
    hidden_name += '.';
    hidden_name += std::to_string(::getpid());
    hidden_name += '.';
    hidden_name += std::to_string(attempt);
    const fs::path hidden = folder / hidden_name;
    if (::linkat(AT_FDCWD, descriptor.c_str(), AT_FDCWD, hidden.c_str(), AT_SYMLINK_FOLLOW) != 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    if (::rename(hidden.c_str(), target.c_str()) == 0) return true;
    ::unlink(hidden.c_str());
    return false;
  }
  return false;
}

}  // namespace

std::optional<ReplacingFile> ReplacingFile::create(const fs::path& target) {
  if (target.empty()) return std::nullopt;
  fs::path real_target = resolve_target(target);
  fs::path folder = real_target.parent_path();
  if (folder.empty()) folder = ".";

  struct stat existing {};
  mode_t mode = 0666 & ~current_umask();
  if (::stat(real_target.c_str(), &existing) == 0) {
    if (!S_ISREG(existing.st_mode)) return std::nullopt;
    if (::access(real_target.c_str(), W_OK) != 0) return std::nullopt;
    mode = existing.st_mode & 07777;
  }

  // Where the file system allows, the file has no name until it is complete, so that nothing is
  // left behind when the process is killed or the machine stops.
  if (int fd = open_unnamed(folder, mode); fd >= 0) {
    ::fchmod(fd, mode);
    if (std::FILE* stream = ::fdopen(fd, "wb")) return ReplacingFile(stream, {}, real_target);
    ::close(fd);
  }

  // Appended piece by piece: GCC 12 warns wrongly about "." + std::string at -O3.
  std::string hidden_name = ".";
  hidden_name += real_target.filename().string();
  hidden_name += ".XXXXXX";
  std::string pattern = (folder / hidden_name).string();
  int fd = ::mkstemp(pattern.data());
  if (fd < 0) return std::nullopt;
  ::fchmod(fd, mode);
  std::FILE* stream = ::fdopen(fd, "wb");
  if (!stream) {
    ::close(fd);
    ::unlink(pattern.c_str());
    return std::nullopt;
  }
  return ReplacingFile(stream, fs::path(pattern), real_target);
}

ReplacingFile::ReplacingFile(ReplacingFile&& other) noexcept
    : stream_(other.stream_),
      temporary_(std::move(other.temporary_)),
      target_(std::move(other.target_)) {
  other.stream_ = nullptr;
  other.temporary_.clear();
}

ReplacingFile& ReplacingFile::operator=(ReplacingFile&& other) noexcept {
  if (this != &other) {
    discard();
    stream_ = other.stream_;
    temporary_ = std::move(other.temporary_);
    target_ = std::move(other.target_);
    other.stream_ = nullptr;
    other.temporary_.clear();
  }
  return *this;
}

ReplacingFile::~ReplacingFile() { discard(); }

void ReplacingFile::discard() {
  if (stream_) std::fclose(stream_);
  stream_ = nullptr;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

bool ReplacingFile::commit(Sync sync) {
  if (!stream_) return false;
  bool ok = std::fflush(stream_) == 0 && !std::ferror(stream_);
  if (sync == Sync::kToDisk) ok = ::fsync(::fileno(stream_)) == 0 && ok;
  if (temporary_.empty()) {
    // An unnamed file: linked while its descriptor is still open.
    if (ok) ok = link_unnamed(::fileno(stream_), target_);
    ok = std::fclose(stream_) == 0 && ok;
    stream_ = nullptr;
    return ok;
  }
  ok = std::fclose(stream_) == 0 && ok;
  stream_ = nullptr;
  if (ok) ok = ::rename(temporary_.c_str(), target_.c_str()) == 0;
  if (ok) {
    temporary_.clear();
    return true;
  }
  discard();
  return false;
}

}  // namespace tolvane
