// A ZIP archive written front to back into an open, seekable stream that the caller owns and
// closes: entries named in UTF-8 (with the flag that says so), deflated or stored, one open at a
// time, each streamed in as it is written.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>

#include "platform/byte_sink.h"

namespace tolvane {

class ZipArchive : public ByteSink {
 public:
  enum class Method { kDeflated, kStored };

  // Starts the archive at the stream's current position; see ok().
  explicit ZipArchive(std::FILE* stream);
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;
  // An archive not finished is closed as it stands; the stream stays open.
  ~ZipArchive() override = default;

  // False once anything has failed; the archive is then of no use.
  bool ok() const { return handle_ && !failed_; }

  // Begins entry `name` (UTF-8, "/" between folders), ending the open one first. Deflated
  // entries use the fastest level.
  bool begin_entry(const std::string& name, Method method);
  // Appends to the open entry. An entry stays below 4 GiB.
  bool write(std::string_view bytes) override;
  bool end_entry();
  // Ends the open entry and writes the central directory.
  bool finish();

 private:
  struct Closer {
    void operator()(void* handle) const;
  };

  std::unique_ptr<void, Closer> handle_;
  bool entry_open_ = false;
  bool failed_ = false;
  std::uint64_t entry_size_ = 0;
  std::tm opened_at_{};  // the entries' modification time, local
};

}  // namespace tolvane
