#include "platform/program_paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>
#include <vector>

namespace tolvane {
namespace fs = std::filesystem;

fs::path program_dir() {
  std::error_code ec;
  const fs::path executable = fs::read_symlink("/proc/self/exe", ec);
  if (!ec && executable.has_parent_path()) return executable.parent_path();
  const fs::path current = fs::current_path(ec);
  return ec ? fs::path(".") : current;
}

fs::path user_config_dir() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return config;
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return fs::path(home) / ".config";
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
      found->pw_dir && found->pw_dir[0] == '/') {
    return fs::path(found->pw_dir) / ".config";
  }
  return fs::path(".config");
}

std::string file_url(const fs::path& path) {
  std::error_code ec;
  fs::path absolute = fs::absolute(path, ec);
  if (ec) absolute = path;
  std::string text = absolute.lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();

  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (const char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                            (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' ||
                            c == '~' || c == '/';
    if (unreserved) {
      url += c;
    } else {
      url += '%';
      url += kHex[byte >> 4];
      url += kHex[byte & 0x0F];
    }
  }
  return url;
}

}  // namespace tolvane
