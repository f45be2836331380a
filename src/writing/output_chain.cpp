#include "writing/output_chain.h"

namespace tolvane {

OutputChain::OutputChain(ReplacingFile file) : file_(std::move(file)) {}

std::optional<OutputChain> OutputChain::create(const std::filesystem::path& target,
                                               const ArchiveMaker& make_archive,
                                               PendingOutput* pending) {
  std::optional<ReplacingFile> file = ReplacingFile::create(target, pending);
  if (!file) return std::nullopt;
  OutputChain chain(std::move(*file));
  std::FILE* stream = chain.file_->stream();
  if (make_archive) {
    chain.archive_ = make_archive(stream);
    if (!chain.archive_ || !chain.archive_->ok()) return std::nullopt;
    chain.sink_ = std::make_unique<TextSink>(chain.archive_->document());
  } else {
    chain.sink_ = std::make_unique<TextSink>(stream);
  }
  return chain;
}

ThumbnailTarget& OutputChain::thumbnails() {
  if (archive_) return archive_->thumbnails();
  return folder_;
}

bool OutputChain::commit() {
  if (!file_ || !sink_) return false;
  bool written = sink_->flush();
  sink_.reset();
  if (archive_) {
    written = written && archive_->finish();
    archive_.reset();
  }
  const bool committed = written && file_->commit();
  file_.reset();  // removes the temporary file unless it was moved over the target
  return committed;
}

void OutputChain::abandon() {
  // Front to back: the sink's last bytes and the archive's directory go into the file, which
  // is still open, and are dropped with it.
  sink_.reset();
  archive_.reset();
  file_.reset();
}

}  // namespace tolvane
