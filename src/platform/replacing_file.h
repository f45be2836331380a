// A file written beside its target and moved over the target only on commit, so that a failed
// run neither truncates nor destroys an earlier output. Where the file system allows, the file
// has no name until then (O_TMPFILE), so that even a killed process or a power loss leaves
// nothing behind; elsewhere it is written under a hidden temporary name of fixed length
// (".tolvane-" and twelve random letters and digits), whatever the length of the target's name.
#pragma once

#include <cstdio>
#include <filesystem>
#include <mutex>
#include <optional>

namespace tolvane {

// The temporary file of an output in the making, as seen from another thread that may end the
// process before the run has finished (a signal watcher).
class PendingOutput {
 public:
  // Removes the temporary file unless the output has been committed, and keeps the output from
  // being committed from now on. True when it had been committed already.
  bool abandon();

 private:
  friend class ReplacingFile;
  std::mutex mutex_;
  std::filesystem::path temporary_;  // the named temporary file, if there is one
  bool committed_ = false;
  bool abandoned_ = false;
};

class ReplacingFile {
 public:
  // Creates the file in the target's folder (the folder of the file a symbolic link
  // points to). Empty when the file cannot be created or an existing target is not writable.
  // With `pending`, which must outlive the file, its temporary file can be abandoned from
  // another thread.
  static std::optional<ReplacingFile> create(const std::filesystem::path& target,
                                             PendingOutput* pending = nullptr);

  ReplacingFile(ReplacingFile&& other) noexcept;
  ReplacingFile& operator=(ReplacingFile&& other) noexcept;
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;
  // Closes and removes the file unless it was committed.
  ~ReplacingFile();

  std::FILE* stream() const { return stream_; }

  enum class Sync { kToDisk, kNone };
  // Flushes and closes the stream and moves the file over the target; with Sync::kToDisk the
  // data reaches the disk first, so that a crash cannot leave an empty file in the target's
  // place. False when any of that failed; the temporary file is then removed and the target
  // left as it was.
  bool commit(Sync sync = Sync::kToDisk);

 private:
  ReplacingFile(std::FILE* stream, std::filesystem::path temporary, std::filesystem::path target,
                PendingOutput* pending);
  void discard();
  bool move_over_target();

  std::FILE* stream_ = nullptr;
  std::filesystem::path temporary_;  // empty for an unnamed file
  std::filesystem::path target_;
  PendingOutput* pending_ = nullptr;
};

}  // namespace tolvane
