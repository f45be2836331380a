// The output of a run on its way to the disk, as one owner: the file written beside its target
// under a temporary name (ReplacingFile, with PendingOutput for a signal watcher), the KMZ
// archive around the document when the output is one, the text sink the document is written
// into, and the place the photos' thumbnails go (the picture folder beside the output, or the
// archive, which holds them itself). Each part writes into the next; the chain takes them down
// in that order whatever happens, so no run depends on the order in which its locals go.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "output/kmz_archive.h"
#include "output/text_sink.h"
#include "photos/thumbnail_target.h"
#include "platform/replacing_file.h"

namespace tolvane {

class OutputChain {
 public:
  struct Form {
    bool kmz = false;             // the document is the first entry of a KMZ archive
    bool photos_present = false;  // the archive then also holds the photo pin icon
  };

  // Creates the file for `target` (see ReplacingFile::create) and, for a KMZ, the archive with
  // its document entry open. Empty when either cannot be made; nothing is then left behind.
  static std::optional<OutputChain> create(const std::filesystem::path& target, Form form,
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
  OutputChain(ReplacingFile file, Form form);

  std::optional<ReplacingFile> file_;
  std::unique_ptr<KmzArchive> archive_;  // writes into file_
  std::unique_ptr<TextSink> sink_;       // writes into archive_, or into file_
  ThumbnailFolder folder_;               // the thumbnails' place when there is no archive
  Form form_;
};

}  // namespace tolvane
