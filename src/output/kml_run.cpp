// Placeholder until the KML run lands.
#include "output/kml_run.h"

namespace tolvane {

RunResult convert_to_kml(ConversionInput&, const ConversionSettings&, ProgressView& view) {
  view.show_error("KML output is not built yet");
  return kRunFailed;
}

}  // namespace tolvane
