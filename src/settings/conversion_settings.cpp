#include "settings/conversion_settings.h"

#include "platform/directories.h"
#include "platform/program_paths.h"

#ifndef TOLVANE_INSTALLED_ICONS
#define TOLVANE_INSTALLED_ICONS "../share/tolvane/icons"
#endif

namespace tolvane {

std::filesystem::path heading_icons_dir(const std::filesystem::path& program_dir) {
  // The installed icons, found from the program's own folder so that an installation works
  // wherever its prefix is; the build keeps them beside its programs.
  const std::filesystem::path installed =
      (program_dir / TOLVANE_INSTALLED_ICONS).lexically_normal();
  if (file_exists(installed / "pt000.png")) return installed;
  return program_dir / "icons";
}

ConversionSettings default_settings(const std::filesystem::path& program_dir) {
  ConversionSettings settings;
  settings.common.icon_url = file_url(heading_icons_dir(program_dir));
  return settings;
}

}  // namespace tolvane
