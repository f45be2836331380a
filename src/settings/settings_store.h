// Loading and saving ConversionSettings in the INI file "Tolvane.ini".
#pragma once

#include <filesystem>
#include <string_view>

#include "settings/conversion_settings.h"

namespace tolvane {

class IniDocument;

// "Tolvane.ini" in the folder of the running executable.
std::filesystem::path settings_path();

// Reads every key; a missing file or key keeps the value of `defaults`.
ConversionSettings load_settings(const std::filesystem::path& ini_path,
                                 const ConversionSettings& defaults);

// Writes every key in storage order, keeping every other line of the file. A failed write
// is not reported (returns false, for callers that want to know).
bool save_settings(const std::filesystem::path& ini_path, const ConversionSettings& settings);

// Applies one value as if the INI file held it ("Section.key"); false for an unknown key.
bool apply_setting_text(ConversionSettings& settings, std::string_view section_dot_key,
                        std::string_view value);

// The same on a document already in memory: reading every key over `defaults`, and setting
// every key in storage order.
ConversionSettings read_settings(const IniDocument& document, const ConversionSettings& defaults);
void write_settings(IniDocument& document, const ConversionSettings& settings);

}  // namespace tolvane
