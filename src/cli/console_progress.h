// A ProgressView for the terminal: status texts on stderr, a progress bar when stderr is a
// terminal, and the run's failure message prefixed "Tolvane: ".
#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

#include "core/run_contracts.h"

namespace tolvane::cli {

class ConsoleProgressView final : public ProgressView {
 public:
  // `quiet` keeps status and progress off the stream; failures are always written.
  ConsoleProgressView(std::FILE* stream, bool quiet, bool terminal);
  ~ConsoleProgressView() override;

  void set_status_text(std::string_view text) override;
  void set_progress(int percent) override;
  void show_error(std::string_view message) override;

  // Ends an unfinished bar line.
  void finish();

 private:
  void draw_bar();  // redraws the status line with its bar (terminal only)
  void end_line();

  std::mutex mutex_;
  std::FILE* stream_;
  bool quiet_;
  bool terminal_;
  std::string status_;
  int percent_ = 0;
  bool line_open_ = false;  // a bar line has been drawn and not yet ended
};

// "[#####...............] 100%" with `width` cells between the brackets.
std::string progress_bar(int percent, int width);

}  // namespace tolvane::cli
