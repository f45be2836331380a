// Helpers of the map page tests: capture what a writer puts through a TextSink, and compare it
// with a golden page under tests/data/map_page.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "settings/conversion_settings.h"
#include "test_support.h"
#include "writing/text_sink.h"

namespace tolvane::testing {

// Settings whose page loads the version 2 map API (as the golden pages do) rather than carrying
// the built-in map layer.
inline ConversionSettings api_loader_settings() {
  ConversionSettings settings;
  settings.google_maps.builtin_map = 0;
  return settings;
}

// Everything `write` sends to the sink, as the bytes a file would receive.
inline std::string capture(const std::function<void(TextSink&)>& write) {
  std::FILE* file = std::tmpfile();
  {
    TextSink sink(file);
    write(sink);
  }
  std::fflush(file);
  std::rewind(file);
  std::string bytes;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
  std::fclose(file);
  return bytes;
}

inline std::filesystem::path golden_path(const std::string& name) {
  return std::filesystem::path(TOLVANE_SOURCE_DIR) / "tests" / "data" / "map_page" / name;
}

// Lines of a CR LF text, without their line ends. A bare LF stays inside its line, so that a
// comparison also catches a missing CR.
inline std::vector<std::string> crlf_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// Compares byte for byte with the golden file and names the first differing line. With
// TOLVANE_UPDATE_GOLDEN=1 in the environment the golden file is rewritten instead (review the
// diff by hand before committing it).
inline void expect_golden(const std::string& actual, const std::string& name) {
  const std::filesystem::path path = golden_path(name);
  if (const char* update = std::getenv("TOLVANE_UPDATE_GOLDEN"); update && *update == '1') {
    std::ofstream(path, std::ios::binary) << actual;
    return;
  }
  ASSERT_TRUE(std::filesystem::exists(path)) << path;
  const std::string expected = read_file(path);
  if (expected == actual) return;
  const std::vector<std::string> want = crlf_lines(expected);
  const std::vector<std::string> got = crlf_lines(actual);
  std::size_t i = 0;
  while (i < want.size() && i < got.size() && want[i] == got[i]) ++i;
  ADD_FAILURE() << name << " differs at line " << (i + 1)
                << "\n  expected: " << (i < want.size() ? want[i] : "<end>")
                << "\n  actual:   " << (i < got.size() ? got[i] : "<end>");
}

// Number of times `needle` occurs in `text`.
inline int count_of(const std::string& text, const std::string& needle) {
  int n = 0;
  for (std::size_t at = text.find(needle); at != std::string::npos;
       at = text.find(needle, at + needle.size())) {
    ++n;
  }
  return n;
}

}  // namespace tolvane::testing
