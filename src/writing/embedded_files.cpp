#include "writing/embedded_files.h"

namespace tolvane {

const EmbeddedFile* find_embedded_file(std::span<const EmbeddedFile> files, std::string_view name) {
  for (const EmbeddedFile& file : files) {
    if (file.name == name) return &file;
  }
  return nullptr;
}

}  // namespace tolvane
