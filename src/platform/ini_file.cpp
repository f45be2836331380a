#include "platform/ini_file.h"

#include <cerrno>
#include <cstdio>
#include <map>

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

std::string lower_case(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) c = lower(c);
  return lowered;
}

using LineKind = IniDocument::LineKind;

// What one line of the file is. Lines starting with ";" or "#" are comments.
LineKind classify(std::string_view line) {
  const std::string_view text = trim(line);
  auto offset = [&line](std::string_view part) {
    return static_cast<std::size_t>(part.data() - line.data());
  };
  LineKind kind;
  if (text.empty()) return kind;
  if (text.front() == '[') {
    std::string_view name = text.substr(1);
    const std::size_t close = name.find(']');
    if (close != std::string_view::npos) name = name.substr(0, close);
    name = trim(name);
    kind.kind = LineKind::section;
    kind.name_begin = name.empty() ? 0 : offset(name);
    kind.name_length = name.size();
    return kind;
  }
  if (text.front() == ';' || text.front() == '#') return kind;
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return kind;
  const std::string_view name = trim(text.substr(0, equals));
  if (name.empty()) return kind;
  const std::string_view value = text.substr(equals + 1);
  kind.kind = LineKind::key;
  kind.name_begin = offset(name);
  kind.name_length = name.size();
  kind.value_begin = offset(value);
  kind.value_length = value.size();
  return kind;
}

std::string section_line(std::string_view section) {
  std::string line;
  line.reserve(section.size() + 2);
  line += '[';
  line += section;
  line += ']';
  return line;
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

void IniDocument::append_line(std::string line) {
  kinds_.push_back(classify(line));
  lines_.push_back(std::move(line));
}

void IniDocument::replace_line(std::size_t index, std::string line) {
  kinds_[index] = classify(line);
  lines_[index] = std::move(line);
}

void IniDocument::insert_line(std::size_t index, std::string line) {
  const auto at = static_cast<std::ptrdiff_t>(index);
  kinds_.insert(kinds_.begin() + at, classify(line));
  lines_.insert(lines_.begin() + at, std::move(line));
}

std::string_view IniDocument::name_of(std::size_t index) const {
  return std::string_view(lines_[index])
      .substr(kinds_[index].name_begin, kinds_[index].name_length);
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
    document.append_line(std::string(line));
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
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const LineKind& kind = kinds_[i];
    if (kind.kind == LineKind::section) {
      if (in_section) return std::nullopt;  // only the first section of that name counts
      in_section = ini_names_equal(name_of(i), section);
    } else if (in_section && kind.kind == LineKind::key && ini_names_equal(name_of(i), key)) {
      return std::string(
          ini_value_text(std::string_view(lines_[i]).substr(kind.value_begin, kind.value_length)));
    }
  }
  return std::nullopt;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
  std::size_t header = lines_.size();
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (kinds_[i].kind == LineKind::section && ini_names_equal(name_of(i), section)) {
      header = i;
      break;
    }
  }
  if (header == lines_.size()) {
    append_line(section_line(section));
    append_line(key_line(key, value));
    return;
  }
  std::size_t insert_at = header + 1;
  for (std::size_t i = header + 1; i < lines_.size(); ++i) {
    if (kinds_[i].kind == LineKind::section) break;
    if (kinds_[i].kind != LineKind::key) continue;
    if (ini_names_equal(name_of(i), key)) {
      replace_line(i, key_line(key, value));
      return;
    }
    insert_at = i + 1;
  }
  insert_line(insert_at, key_line(key, value));
}

std::vector<std::pair<std::string_view, std::string_view>> IniDocument::keys_of(
    std::string_view section) const {
  std::vector<std::pair<std::string_view, std::string_view>> keys;
  std::size_t i = 0;
  while (i < lines_.size() &&
         !(kinds_[i].kind == LineKind::section && ini_names_equal(name_of(i), section))) {
    ++i;
  }
  for (++i; i < lines_.size() && kinds_[i].kind != LineKind::section; ++i) {
    if (kinds_[i].kind != LineKind::key) continue;
    const std::string_view value =
        std::string_view(lines_[i]).substr(kinds_[i].value_begin, kinds_[i].value_length);
    keys.emplace_back(name_of(i), ini_value_text(value));
  }
  return keys;
}

void IniDocument::set_all(std::string_view section,
                          const std::vector<std::pair<std::string_view, std::string>>& values) {
  std::size_t header = 0;
  while (header < lines_.size() &&
         !(kinds_[header].kind == LineKind::section && ini_names_equal(name_of(header), section))) {
    ++header;
  }
  if (header == lines_.size()) {
    append_line(section_line(section));
    for (const auto& [key, value] : values) append_line(key_line(key, value));
    return;
  }
  // The first line of each key name in the section, and where new keys go.
  std::map<std::string, std::size_t> first_line;
  std::size_t insert_at = header + 1;
  for (std::size_t i = header + 1; i < lines_.size() && kinds_[i].kind != LineKind::section; ++i) {
    if (kinds_[i].kind != LineKind::key) continue;
    first_line.emplace(lower_case(name_of(i)), i);
    insert_at = i + 1;
  }
  std::vector<std::string> added;
  for (const auto& [key, value] : values) {
    const auto found = first_line.find(lower_case(key));
    if (found != first_line.end()) {
      replace_line(found->second, key_line(key, value));
    } else {
      added.push_back(key_line(key, value));
    }
  }
  for (std::string& line : added) insert_line(insert_at++, std::move(line));
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
