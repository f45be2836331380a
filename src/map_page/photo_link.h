// The map page's link from the page to a source photo: relative when the photo lies in the
// page's folder, below it or beside it, "file://" and the absolute path otherwise.
#pragma once

#include <string>
#include <string_view>

namespace tolvane {

struct PhotoLink {
  std::string prefix;  // "file://" or a run of "../" (empty in the page's own folder)
  std::string path;  // the rest of the link: the photo's path, or its part after the common folder
};

// Both paths absolute and normalised, with "/" between components. The photo and the page share
// their path up to the first byte where they differ; the last "/" of the page's path before it
// ends their common folder. When that folder is only the root, the link is absolute.
PhotoLink photo_link(std::string_view photo_path, std::string_view page_path);

}  // namespace tolvane
