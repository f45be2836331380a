// `tolvane-convert --geotag`: writes the track's positions into the photos and reports them.
#pragma once

#include <atomic>

#include "cli/convert_options.h"
#include "core/run_contracts.h"
#include "settings/conversion_settings.h"
#include "translation/translation.h"

namespace tolvane::cli {

// Geotags options.photos from options.logs. Rows go to standard output with --dry-run or
// --verbose, failures and the last summary line to standard error, also under -q. 0 when no
// photo failed, else 1. Messages are in the language of `translation`.
int run_geotag(const ConvertOptions& options, const ConversionSettings& settings,
               const Translation& translation, ProgressView& view, const std::atomic<bool>* stop);

}  // namespace tolvane::cli
