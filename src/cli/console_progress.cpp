#include "cli/console_progress.h"

#include <algorithm>

#include "core/text_format.h"

namespace tolvane::cli {

std::string progress_bar(int percent, int width) {
  const int clamped = std::clamp(percent, 0, 100);
  const int filled = clamped * width / 100;
  std::string bar = "[";
  bar.append(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(width - filled), '.');
  append_format(bar, "] %3d%%", clamped);
  return bar;
}

ConsoleProgressView::ConsoleProgressView(std::FILE* stream, bool quiet, bool terminal)
    : stream_(stream), quiet_(quiet), terminal_(terminal) {}

ConsoleProgressView::~ConsoleProgressView() { finish(); }

void ConsoleProgressView::set_status_text(std::string_view text) {
  std::lock_guard lock(mutex_);
  status_.assign(text);
  if (quiet_) return;
  if (terminal_) {
    end_line();  // the previous stage keeps its line
    draw_bar();
  } else {
    std::fwrite(status_.data(), 1, status_.size(), stream_);
    std::fputc('\n', stream_);
    std::fflush(stream_);
  }
}

void ConsoleProgressView::set_progress(int percent) {
  std::lock_guard lock(mutex_);
  percent_ = percent;
  if (!quiet_ && terminal_) draw_bar();
}

void ConsoleProgressView::show_error(std::string_view message) {
  std::lock_guard lock(mutex_);
  end_line();
  std::string line = "Tolvane: ";
  line.append(message);
  line.push_back('\n');
  std::fwrite(line.data(), 1, line.size(), stream_);
  std::fflush(stream_);
}

void ConsoleProgressView::finish() {
  std::lock_guard lock(mutex_);
  end_line();
}

void ConsoleProgressView::draw_bar() {
  // Back to the start of the line, clear it, then the status and the bar; a run that has
  // finished sets the progress back to 0, which shows no bar.
  std::string line = "\r\x1b[K";
  line += status_;
  if (percent_ > 0) {
    line += ' ';
    line += progress_bar(percent_, 20);
  }
  std::fwrite(line.data(), 1, line.size(), stream_);
  std::fflush(stream_);
  line_open_ = true;
}

void ConsoleProgressView::end_line() {
  if (!line_open_) return;
  std::fputc('\n', stream_);
  std::fflush(stream_);
  line_open_ = false;
}

}  // namespace tolvane::cli
