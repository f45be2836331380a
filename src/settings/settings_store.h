// Loading and saving ConversionSettings in the INI file "Tolvane.ini".
#pragma once

#include <filesystem>
#include <string_view>

#include "settings/conversion_settings.h"

namespace tolvane {

class IniDocument;

// The settings file: "Tolvane.ini" beside the running executable when such a file is there (a
// portable copy), otherwise "tolvane/Tolvane.ini" in the user's configuration folder.
std::filesystem::path settings_path();
// The same rule for a given program folder and configuration folder.
std::filesystem::path settings_path(const std::filesystem::path& program_dir,
                                    const std::filesystem::path& config_dir);

// Makes the folder of `ini_path` where it is missing (private to the user), for the first save
// of the per-user settings file. True when the folder exists afterwards.
bool make_settings_folder(const std::filesystem::path& ini_path);

// Reads every key; a missing file or key keeps the value of `defaults`, and so does an empty
// Common.icon_url.
ConversionSettings load_settings(const std::filesystem::path& ini_path,
                                 const ConversionSettings& defaults);

// Writes every key in storage order, keeping every other line of the file; Common.icon_url is
// written empty while it equals the one of `defaults`, so that the file keeps following the
// default wherever the program is installed. A failed write is not reported (returns false,
// for callers that want to know).
bool save_settings(const std::filesystem::path& ini_path, const ConversionSettings& settings,
                   const ConversionSettings& defaults = ConversionSettings{});

// Applies one value as if the INI file held it ("Section.key"); false for an unknown key.
bool apply_setting_text(ConversionSettings& settings, std::string_view section_dot_key,
                        std::string_view value);

// The same on a document already in memory: reading every key over `defaults`, and setting
// every key in storage order.
ConversionSettings read_settings(const IniDocument& document, const ConversionSettings& defaults);
void write_settings(IniDocument& document, const ConversionSettings& settings,
                    const ConversionSettings& defaults = ConversionSettings{});

}  // namespace tolvane
