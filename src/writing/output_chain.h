// The output of a run on its way to the disk, as one owner: the file written beside its target
// under a temporary name (ReplacingFile, with PendingOutput for a signal watcher), an archive
// around the document when the output is one (the KMZ), the text sink the document is written
// into, and the place the photos' thumbnails go (the picture folder beside the output, or the
// archive, which holds them itself). Each part writes into the next; the chain takes them down
// in that order whatever happens, so no run depends on the order in which its locals go.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "photos/thumbnail_target.h"
#include "platform/byte_sink.h"
#include "platform/replacing_file.h"
#include "writing/text_sink.h"

namespace tolvane {

// An archive that holds the document as one of its entries, and the images it shows.
class OutputArchive {
 public:
  virtual ~OutputArchive() = default;
  // False once the archive could not be started or written.
  virtual bool ok() const = 0;
  // The open entry that takes the document's bytes.
  virtual ByteSink& document() = 0;
  // Where the photo stage puts the thumbnails until the document is complete.
  virtual ThumbnailTarget& thumbnails() = 0;
  // Ends the document's entry, adds the other entries and the archive's directory. False when
  // any of it could not be written.
  virtual bool finish() = 0;
};

// Starts an archive in the chain's open file (which the chain owns and closes).
using ArchiveMaker = std::function<std::unique_ptr<OutputArchive>(std::FILE* stream)>;

class OutputChain {
 public:
  // Creates the file for `target` (see ReplacingFile::create) and, when `make_archive` is
  // given, the archive around the document. Empty when either cannot be made; nothing is then
  // left behind.
  static std::optional<OutputChain> create(const std::filesystem::path& target,
                                           const ArchiveMaker& make_archive = {},
                                           PendingOutput* pending = nullptr);

  OutputChain(OutputChain&& other) noexcept = default;
  OutputChain& operator=(OutputChain&&) = delete;
  OutputChain(const OutputChain&) = delete;
  OutputChain& operator=(const OutputChain&) = delete;
  // Abandons the output unless it was committed.
  ~OutputChain() { abandon(); }

  // The document's text. Valid until commit() or abandon().
  TextSink& text() { return *sink_; }
  // Where the photo stage puts the thumbnails: the archive's spool for a KMZ, else the picture
  // folder beside the output. Valid until commit() or abandon().
  ThumbnailTarget& thumbnails();

  // The one way to finish: flushes the text, completes the archive (its icons and thumbnails
  // after the document, then its directory) and moves the file over the target, the data on
  // the disk first. True when all of it was written and moved; otherwise the temporary file is
  // removed and an earlier output left as it was. Either way the chain is spent.
  bool commit();
  // The one way to give up: everything is dropped and the temporary file removed; an earlier
  // output stays as it was. Nothing happens to a chain that was committed or abandoned.
  void abandon();

 private:
  explicit OutputChain(ReplacingFile file);

  std::optional<ReplacingFile> file_;
  std::unique_ptr<OutputArchive> archive_;  // writes into file_
  std::unique_ptr<TextSink> sink_;          // writes into archive_, or into file_
  ThumbnailFolder folder_;                  // the thumbnails' place when there is no archive
};

}  // namespace tolvane
