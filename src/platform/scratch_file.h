// A temporary file for a run's own use, read back by position: it has no name in the temporary
// folder (TMPDIR, else /tmp) from the start where the file system allows (O_TMPFILE), else its
// name is removed as soon as it is open. It is gone once the object is, and after a killed
// process too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace tolvane {

class ScratchFile {
 public:
  // A new, empty file; empty when none can be made.
  static std::optional<ScratchFile> create();

  ScratchFile(ScratchFile&& other) noexcept;
  ScratchFile& operator=(ScratchFile&& other) noexcept;
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  ~ScratchFile();

  // Appends all of `size` bytes; false when they could not all be written.
  bool append(const void* bytes, std::size_t size);
  // Reads all of `size` bytes from `offset`; false when they could not all be read.
  bool read_at(void* bytes, std::size_t size, std::uint64_t offset) const;

 private:
  explicit ScratchFile(int descriptor) : descriptor_(descriptor) {}

  int descriptor_ = -1;
};

}  // namespace tolvane
