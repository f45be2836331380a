// What an output's name and the flags of a run mean: the kind written (KML document or map
// page), whether a KML document goes into a KMZ archive, and the name an output takes when its
// kind changes. The command line and the window both ask here.
#pragma once

#include <filesystem>
#include <optional>

namespace tolvane {

// The kind asked for explicitly (--kml, --html, the window's choice), or none.
enum class KindRequest { kByName, kKml, kMapPage };

struct OutputForm {
  bool map_page = false;
  bool kmz = false;  // a KML document written as a KMZ archive
};

// True when the file name of `path` ends in ".kmz", in any letter case.
bool has_kmz_extension(const std::filesystem::path& path);

// The kind the extension of `path` names: ".kml" and ".kmz" the KML document, ".html" and
// ".htm" the map page (any letter case); empty for any other name.
std::optional<bool> map_page_by_extension(const std::filesystem::path& path);

// What a run writes to `output`: the kind asked for; else KML when `kmz` is asked for; else the
// kind its extension names; else `map_page_setting` (Common.kml_or_html). A KML document is a
// KMZ archive when `kmz` is asked for or the name ends in ".kmz".
OutputForm output_form(const std::filesystem::path& output, KindRequest request, bool kmz,
                       bool map_page_setting);

// `path` with its extension made to fit the kind: for KML a final ".html" or ".htm" becomes
// ".kml", or ".kmz" with `kmz`; for the map page a final ".kml" or ".kmz" becomes ".html"
// (letters compared in any case, the new extension in lower case). Any other path comes back
// unchanged.
std::filesystem::path output_path_for_kind(const std::filesystem::path& path, bool map_page,
                                           bool kmz = false);

// The output offered for a log: its folder and name with the extension of the kind (".kml",
// ".kmz" with `kmz`, ".html") in place of its own.
std::filesystem::path output_path_for_log(const std::filesystem::path& log, bool map_page,
                                          bool kmz = false);

}  // namespace tolvane
