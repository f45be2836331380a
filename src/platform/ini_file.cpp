#include "platform/ini_file.h"

#include <cerrno>
#include <cstdio>

#include "platform/replacing_file.h"

namespace tolvane {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

struct LineView {
  enum Kind { other, section, key } kind = other;
  std::string_view name;
  std::string_view value;  // as written after the equals sign
};

// What one line of the file is. Lines starting with ";" or "#" are comments.
LineView classify(std::string_view line) {
  const std::string_view text = trim(line);
  if (text.empty()) return {};
  if (text.front() == '[') {
    std::string_view name = text.substr(1);
    const std::size_t close = name.find(']');
    if (close != std::string_view::npos) name = name.substr(0, close);
    return {LineView::section, trim(name), {}};
  }
  if (text.front() == ';' || text.front() == '#') return {};
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return {};
  const std::string_view name = trim(text.substr(0, equals));
  if (name.empty()) return {};
  return {LineView::key, name, text.substr(equals + 1)};
}

bool needs_quotes(std::string_view value) {
  if (value.empty()) return false;
  if (is_blank(value.front()) || is_blank(value.back())) return true;
  return value.size() >= 2 && value.front() == value.back() &&
         (value.front() == '"' || value.front() == '\'');
}

std::string key_line(std::string_view key, std::string_view value) {
  const std::size_t line_break = value.find_first_of("\r\n");
  if (line_break != std::string_view::npos) value = value.substr(0, line_break);
  std::string line(key);
  line += '=';
  if (needs_quotes(value)) {
    line += '"';
    line += value;
    line += '"';
  } else {
    line += value;
  }
  return line;
}

}  // namespace

bool ini_names_equal(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string_view ini_value_text(std::string_view raw) {
  std::string_view value = trim(raw);
  if (value.size() >= 2 && value.front() == value.back() &&
      (value.front() == '"' || value.front() == '\'')) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

IniDocument IniDocument::parse(std::string_view text) {
  IniDocument document;
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    document.byte_order_mark_ = kByteOrderMark;
    text.remove_prefix(kByteOrderMark.size());
  }
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    document.lines_.emplace_back(line);
  }
  return document;
}

IniDocument::ReadStatus IniDocument::read(const std::filesystem::path& path,
                                          IniDocument& document) {
  document = IniDocument();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file)
    return (errno == ENOENT || errno == ENOTDIR) ? ReadStatus::missing : ReadStatus::unreadable;
  std::string content;
  char buffer[16384];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return ReadStatus::unreadable;
  document = parse(content);
  return ReadStatus::read;
}

std::optional<std::string> IniDocument::get(std::string_view section, std::string_view key) const {
  bool in_section = false;
  for (const std::string& line : lines_) {
    const LineView view = classify(line);
    if (view.kind == LineView::section) {
      if (in_section) return std::nullopt;  // only the first section of that name counts
      in_section = ini_names_equal(view.name, section);
    } else if (in_section && view.kind == LineView::key && ini_names_equal(view.name, key)) {
      return std::string(ini_value_text(view.value));
    }
  }
  return std::nullopt;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
  std::size_t header = lines_.size();
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const LineView view = classify(lines_[i]);
    if (view.kind == LineView::section && ini_names_equal(view.name, section)) {
      header = i;
      break;
    }
  }
  if (header == lines_.size()) {
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(key_line(key, value));
    return;
  }
  std::size_t insert_at = header + 1;
  for (std::size_t i = header + 1; i < lines_.size(); ++i) {
    const LineView view = classify(lines_[i]);
    if (view.kind == LineView::section) break;
    if (view.kind != LineView::key) continue;
    if (ini_names_equal(view.name, key)) {
      lines_[i] = key_line(key, value);
      return;
    }
    insert_at = i + 1;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert_at), key_line(key, value));
}

std::string IniDocument::text() const {
  std::string out = byte_order_mark_;
  for (const std::string& line : lines_) {
    out += line;
    out += "\r\n";
  }
  return out;
}

bool IniDocument::write(const std::filesystem::path& path) const {
  std::optional<ReplacingFile> file = ReplacingFile::create(path);
  if (!file) return false;
  const std::string content = text();
  if (std::fwrite(content.data(), 1, content.size(), file->stream()) != content.size()) {
    return false;
  }
  return file->commit();
}

}  // namespace tolvane
