#include "settings/conversion_settings.h"

#include "platform/program_paths.h"

namespace tolvane {

ConversionSettings default_settings(const std::filesystem::path& program_dir) {
  ConversionSettings settings;
  settings.common.icon_url = file_url(program_dir / "icons");
  return settings;
}

}  // namespace tolvane
