// Where the thumbnails of a run go: the picture folder beside the output, or a spool that keeps
// them for an archive. The photo stage asks a target whether a thumbnail is there already,
// makes the ones it needs on a few worker threads and hands each to the target, one after
// another in capture-time order.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tolvane {

class ThumbnailTarget {
 public:
  virtual ~ThumbnailTarget() = default;

  // Readies the target for the thumbnails of the output `output` (absolute): forms the picture
  // folder's name, the output path without its extension and with "_pics" (see
  // thumbnail_folder_of), and makes the folder where the target is one. False when the name is
  // too long or the folder can neither be made nor found.
  virtual bool open(const std::filesystem::path& output) = 0;
  // The picture folder as the output's entries name it (its last part is the folder's name).
  // Valid after open().
  virtual const std::filesystem::path& folder() const = 0;

  // True when a thumbnail of this name is there already and can be kept as it is. May be asked
  // on several threads at once.
  virtual bool holds(const std::string& name) const = 0;
  // Takes the encoded thumbnail `name`; one of the name taken before is replaced. False when it
  // cannot be kept.
  virtual bool put(const std::string& name, std::span<const unsigned char> jpeg) = 0;
  // What the run shows when put() failed.
  virtual std::string_view put_failed_message() const = 0;
};

// The picture folder on disk. Each thumbnail is written under a temporary name and put in place
// only when it is complete, so a failure leaves an earlier thumbnail of the name untouched.
class ThumbnailFolder final : public ThumbnailTarget {
 public:
  ThumbnailFolder() = default;
  // A folder that exists already; open() is then not needed.
  explicit ThumbnailFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}

  bool open(const std::filesystem::path& output) override;
  const std::filesystem::path& folder() const override { return folder_; }
  bool holds(const std::string& name) const override;
  bool put(const std::string& name, std::span<const unsigned char> jpeg) override;
  std::string_view put_failed_message() const override;

  // The thumbnail's path: the folder, "/" and `name`; empty when it would be longer than
  // kThumbnailPathLimit.
  std::optional<std::filesystem::path> path_of(const std::string& name) const;

 private:
  std::filesystem::path folder_;
};

}  // namespace tolvane
