// A ProgressView that hands a run's status texts and failure messages on to another view in the
// program's language.
#pragma once

#include <string_view>

#include "core/run_contracts.h"
#include "translation/translation.h"

namespace tolvane::cli {

class TranslatingView final : public ProgressView {
 public:
  TranslatingView(const Translation& translation, ProgressView& shown)
      : translation_(translation), shown_(shown) {}

  void set_status_text(std::string_view text) override {
    shown_.set_status_text(translation_.run_text(text));
  }
  void set_progress(int percent) override { shown_.set_progress(percent); }
  void show_error(std::string_view message) override {
    shown_.show_error(translation_.run_text(message));
  }

 private:
  const Translation& translation_;
  ProgressView& shown_;
};

}  // namespace tolvane::cli
