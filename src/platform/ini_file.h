// An INI document ("[Section]" lines and "key=value" lines), read, changed and written back
// with every line it does not change kept as it was.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tolvane {

class IniDocument {
 public:
  enum class ReadStatus {
    read,        // the file was read
    missing,     // there is no such file: the document is empty
    unreadable,  // the file exists but cannot be read: the document is empty
  };

  // Reads LF or CR LF text. A UTF-8 byte order mark at the start is kept but not read.
  static IniDocument parse(std::string_view text);
  static ReadStatus read(const std::filesystem::path& path, IniDocument& document);

  // The value of the first `key` in the first section named `section` (names compared without
  // regard to ASCII case), with blanks around it and one pair of enclosing quotes removed.
  // Empty when the section or the key is absent.
  std::optional<std::string> get(std::string_view section, std::string_view key) const;

  // Replaces the value of the key in place; a new key goes after the last key of its section,
  // a new section at the end of the document. A value that reading would change (blanks at an
  // end, enclosing quotes) is written in quotes so that it reads back as given; a line break
  // ends the value.
  void set(std::string_view section, std::string_view key, std::string_view value);

  // The keys of the first section named `section` in file order, each with its value read as
  // get() reads it; a name that occurs twice is listed twice.
  std::vector<std::pair<std::string_view, std::string_view>> keys_of(
      std::string_view section) const;
  // set() for several keys of one section at once, in the order given.
  void set_all(std::string_view section,
               const std::vector<std::pair<std::string_view, std::string>>& values);

  // The document with a CR LF after every line.
  std::string text() const;
  // Writes the document over `path` through a temporary file, so that a failed write leaves
  // the file as it was. False when the file could not be written.
  bool write(const std::filesystem::path& path) const;

  const std::vector<std::string>& lines() const { return lines_; }

  // What a line is, worked out once when the line is read or set.
  struct LineKind {
    enum Kind { other, section, key } kind = other;
    std::size_t name_begin = 0, name_length = 0;    // section or key name
    std::size_t value_begin = 0, value_length = 0;  // as written after the equals sign
  };

 private:
  void append_line(std::string line);
  void replace_line(std::size_t index, std::string line);
  void insert_line(std::size_t index, std::string line);
  std::string_view name_of(std::size_t index) const;

  std::string byte_order_mark_;
  std::vector<std::string> lines_;
  std::vector<LineKind> kinds_;  // one per line
};

// A value as the file holds it, read as get() reads it: blanks around it and one pair of
// enclosing quotes (double or single) removed.
std::string_view ini_value_text(std::string_view raw);

// Equal without regard to ASCII letter case.
bool ini_names_equal(std::string_view a, std::string_view b);

}  // namespace tolvane
