#include "writing/text_sink.h"

#include <cstdarg>

#include "core/text_format.h"

namespace tolvane {
namespace {
constexpr std::size_t kFlushThreshold = 1 << 16;
}

void TextSink::append_converted(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t newline = text.find('\n', start);
    if (newline == std::string_view::npos) {
      buffer_.append(text.substr(start));
      break;
    }
    buffer_.append(text.substr(start, newline - start));
    buffer_.append("\r\n");
    start = newline + 1;
  }
  if (buffer_.size() >= kFlushThreshold) flush();
}

void TextSink::write(std::string_view text) { append_converted(text); }

void TextSink::format(const char* format, ...) {
  scratch_.clear();
  std::va_list args;
  va_start(args, format);
  append_format_v(scratch_, format, args);
  va_end(args);
  append_converted(scratch_);
}

void TextSink::line(int indent, std::string_view text) {
  if (indent > 0) buffer_.append(static_cast<std::size_t>(indent), ' ');
  append_converted(text);
  buffer_.append("\r\n");
}

bool TextSink::flush() {
  if (!buffer_.empty() && stream_) {
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), stream_) != buffer_.size()) failed_ = true;
  } else if (!buffer_.empty() && target_ && !failed_) {
    if (!target_->write(buffer_)) failed_ = true;
  }
  buffer_.clear();
  return !failed_;
}

}  // namespace tolvane
