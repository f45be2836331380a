#include "platform/scratch_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

namespace tolvane {
namespace {

// A file in `folder` that has no name: an O_TMPFILE where the file system has them, else a new
// file whose name is removed at once. -1 when neither can be made.
int open_nameless(const std::filesystem::path& folder) {
#ifdef O_TMPFILE
  const int unnamed = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (unnamed >= 0) return unnamed;
#endif
  std::string name = (folder / "tolvane-scratch-XXXXXX").string();
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd >= 0) ::unlink(name.c_str());
  return fd;
}

}  // namespace

std::optional<ScratchFile> ScratchFile::create() {
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
  if (ec) folder = "/tmp";
  const int fd = open_nameless(folder);
  if (fd < 0) return std::nullopt;
  return ScratchFile(fd);
}

ScratchFile::ScratchFile(ScratchFile&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)) {}

ScratchFile& ScratchFile::operator=(ScratchFile&& other) noexcept {
  if (this != &other) {
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = std::exchange(other.descriptor_, -1);
  }
  return *this;
}

ScratchFile::~ScratchFile() {
  if (descriptor_ >= 0) ::close(descriptor_);
}

bool ScratchFile::append(const void* bytes, std::size_t size) {
  const char* next = static_cast<const char*>(bytes);
  while (size > 0) {
    const ssize_t done = ::write(descriptor_, next, size);
    if (done < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    next += done;
    size -= static_cast<std::size_t>(done);
  }
  return true;
}

bool ScratchFile::read_at(void* bytes, std::size_t size, std::uint64_t offset) const {
  char* next = static_cast<char*>(bytes);
  while (size > 0) {
    const ssize_t done = ::pread(descriptor_, next, size, static_cast<off_t>(offset));
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    next += done;
    size -= static_cast<std::size_t>(done);
    offset += static_cast<std::uint64_t>(done);
  }
  return true;
}

}  // namespace tolvane
