#include "platform/replacing_file.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>

namespace tolvane {
namespace fs = std::filesystem;

namespace {

// A hidden name for a temporary file: ".tolvane-" and twelve random letters and digits. Its
// length does not depend on the target's, so a target whose name is as long as a name can be has
// one too; the random part keeps it from being guessed and made beforehand by someone else.
std::string temporary_name() {
  constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char bytes[12];
  std::size_t got = 0;
  while (got < sizeof bytes) {
    const ssize_t n = ::getrandom(bytes + got, sizeof bytes - got, 0);
    if (n > 0) {
      got += static_cast<std::size_t>(n);
    } else if (n < 0 && errno != EINTR) {
      break;
    }
  }
  if (got < sizeof bytes) {
    // No random source: still a fresh name each time, and O_EXCL keeps it from being a trap.
    auto seed = static_cast<unsigned long long>(
                    std::chrono::steady_clock::now().time_since_epoch().count()) ^
                (static_cast<unsigned long long>(::getpid()) << 40);
    for (unsigned char& byte : bytes) {
      seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
      byte = static_cast<unsigned char>(seed >> 56);
    }
  }
  std::string name = ".tolvane-";
  for (unsigned char byte : bytes) name += kAlphabet[byte % (sizeof kAlphabet - 1)];
  return name;
}

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
    const fs::path hidden = folder / temporary_name();
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

std::optional<ReplacingFile> ReplacingFile::create(const fs::path& target, PendingOutput* pending) {
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
    if (std::FILE* stream = ::fdopen(fd, "wb")) {
      return ReplacingFile(stream, {}, real_target, pending);
    }
    ::close(fd);
  }

  std::unique_lock<std::mutex> watched;
  if (pending) {
    watched = std::unique_lock(pending->mutex_);
    if (pending->abandoned_) return std::nullopt;  // the process is ending
  }
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    fs::path temporary = folder / temporary_name();
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return std::nullopt;
    }
    ::fchmod(fd, mode);
    std::FILE* stream = ::fdopen(fd, "wb");
    if (!stream) {
      ::close(fd);
      ::unlink(temporary.c_str());
      return std::nullopt;
    }
    if (pending) pending->temporary_ = temporary;
    return ReplacingFile(stream, std::move(temporary), real_target, pending);
  }
  return std::nullopt;
}

ReplacingFile::ReplacingFile(std::FILE* stream, fs::path temporary, fs::path target,
                             PendingOutput* pending)
    : stream_(stream),
      temporary_(std::move(temporary)),
      target_(std::move(target)),
      pending_(pending) {}

ReplacingFile::ReplacingFile(ReplacingFile&& other) noexcept
    : stream_(other.stream_),
      temporary_(std::move(other.temporary_)),
      target_(std::move(other.target_)),
      pending_(other.pending_) {
  other.stream_ = nullptr;
  other.temporary_.clear();
  other.pending_ = nullptr;
}

ReplacingFile& ReplacingFile::operator=(ReplacingFile&& other) noexcept {
  if (this != &other) {
    discard();
    stream_ = other.stream_;
    temporary_ = std::move(other.temporary_);
    target_ = std::move(other.target_);
    pending_ = other.pending_;
    other.stream_ = nullptr;
    other.temporary_.clear();
    other.pending_ = nullptr;
  }
  return *this;
}

ReplacingFile::~ReplacingFile() { discard(); }

void ReplacingFile::discard() {
  if (stream_) std::fclose(stream_);
  stream_ = nullptr;
  std::unique_lock<std::mutex> watched;
  if (pending_) {
    watched = std::unique_lock(pending_->mutex_);
    if (pending_->temporary_ == temporary_) pending_->temporary_.clear();
  }
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

// Links or renames the finished file to the target's name, unless the output was abandoned.
bool ReplacingFile::move_over_target() {
  std::unique_lock<std::mutex> watched;
  if (pending_) {
    watched = std::unique_lock(pending_->mutex_);
    if (pending_->abandoned_) return false;
  }
  const bool moved = temporary_.empty() ? link_unnamed(::fileno(stream_), target_)
                                        : ::rename(temporary_.c_str(), target_.c_str()) == 0;
  if (moved && pending_) {
    pending_->committed_ = true;
    pending_->temporary_.clear();
  }
  return moved;
}

bool ReplacingFile::commit(Sync sync) {
  if (!stream_) return false;
  bool ok = std::fflush(stream_) == 0 && !std::ferror(stream_);
  if (sync == Sync::kToDisk) ok = ::fsync(::fileno(stream_)) == 0 && ok;
  if (temporary_.empty()) {
    // An unnamed file: linked while its descriptor is still open.
    if (ok) ok = move_over_target();
    ok = std::fclose(stream_) == 0 && ok;
    stream_ = nullptr;
    return ok;
  }
  ok = std::fclose(stream_) == 0 && ok;
  stream_ = nullptr;
  if (ok) ok = move_over_target();
  if (ok) {
    temporary_.clear();
    return true;
  }
  discard();
  return false;
}

bool PendingOutput::abandon() {
  std::lock_guard lock(mutex_);
  abandoned_ = true;
  if (committed_) return true;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
  return false;
}

}  // namespace tolvane
