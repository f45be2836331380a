// The KML run: one or more NMEA logs (and photos) into one KML document for Google Earth.
#pragma once

#include "core/run_contracts.h"
#include "settings/conversion_settings.h"

namespace tolvane {

// Writes input.output_path; 0 when the document is complete, 255 after one show_error.
RunResult convert_to_kml(ConversionInput& input, const ConversionSettings& settings,
                         ProgressView& view);

}  // namespace tolvane
