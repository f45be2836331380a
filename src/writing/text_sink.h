// Output text stream of a run: locale-free formatted writes, every "\n" written as CR LF.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "platform/byte_sink.h"

namespace tolvane {

class TextSink {
 public:
  explicit TextSink(std::FILE* stream) : stream_(stream) {}
  explicit TextSink(ByteSink& target) : target_(&target) {}
  TextSink(const TextSink&) = delete;
  TextSink& operator=(const TextSink&) = delete;
  ~TextSink() { flush(); }

  // Writes `text` unchanged but for each line feed, which becomes CR LF.
  void write(std::string_view text);
  // Formats as printf does (see append_format) and writes the result like write().
  void format(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Writes (indent) spaces, `text` and CR LF.
  void line(int indent, std::string_view text);

  // Hands everything written so far to the stream or the target. False once any write has failed.
  bool flush();
  bool failed() const { return failed_; }

 private:
  void append_converted(std::string_view text);

  std::FILE* stream_ = nullptr;
  ByteSink* target_ = nullptr;
  std::string buffer_;
  std::string scratch_;
  bool failed_ = false;
};

}  // namespace tolvane
