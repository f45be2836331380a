// Placeholder until the map page run lands.
#include "output/map_page_run.h"

namespace tolvane {

RunResult convert_to_html(ConversionInput&, const ConversionSettings&, ProgressView& view) {
  view.show_error("HTML output is not built yet");
  return kRunFailed;
}

}  // namespace tolvane
