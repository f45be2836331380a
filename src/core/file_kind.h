// The kind of a file as its name tells it: a GPX or an NMEA log, a photo, and the output that an
// output's name and the flags of a run choose, with the name an output takes when its kind
// changes. The log reader, the command line and the window all ask here; nothing else looks at
// extensions. Names are compared by their final letters in any letter case (ASCII letters only,
// whatever the locale).
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tolvane {

// The endings that make a photo, as help texts name them.
inline constexpr std::array<std::string_view, 2> kPhotoExtensions{".jpg", ".jpeg"};
// The ending that makes a GPX track.
inline constexpr std::string_view kGpxExtension = ".gpx";

// True when `path` names a GPX track: it ends in ".gpx". Any other log is read as NMEA.
bool is_gpx_log(const std::filesystem::path& path);

// True when `path` names a photo: it ends in ".jpg" or ".jpeg". Anything else given as input
// (a folder too) is a log.
bool is_photo(const std::filesystem::path& path);

// kPhotoExtensions joined by `separator`, for help texts: ".jpg or .jpeg".
std::string photo_extensions_text(std::string_view separator);

// What a run writes: a KML document, the same as a KMZ archive with its images, or a map page.
enum class OutputForm { kKml, kKmz, kMapPage };

// The kind asked for explicitly (--kml, --html, the window's choice), or none.
enum class KindRequest { kByName, kKml, kMapPage };

// The form the extension of `path` names: ".kml", ".kmz", ".html" or ".htm"; empty for any
// other name.
std::optional<OutputForm> output_form_by_name(const std::filesystem::path& path);

// What a run writes to `output`: the kind asked for; else KML when `kmz` is asked for; else the
// kind its name gives; else the map page when `map_page_setting` (Common.kml_or_html) says so.
// A KML document is a KMZ archive when `kmz` is asked for or the name ends in ".kmz". Empty when
// nothing can be written: a map page is never written together with `kmz` or under a ".kml"
// or ".kmz" name.
std::optional<OutputForm> output_form(const std::filesystem::path& output, KindRequest request,
                                      bool kmz, bool map_page_setting);

// The extension of a form's file, lower case with its dot: ".kml", ".kmz", ".html".
std::string_view output_extension(OutputForm form);

// `path` with its extension made to fit `form`: for a map page a final ".kml" or ".kmz" becomes
// ".html"; for a KML document or archive a final ".html" or ".htm" becomes output_extension.
// Any other path comes back unchanged, so a ".kmz" output stays one for KML and a ".kml" one
// for KMZ.
std::filesystem::path output_path_for_kind(const std::filesystem::path& path, OutputForm form);

// The output offered for a log: its folder and name with output_extension in place of its own.
std::filesystem::path output_path_for_log(const std::filesystem::path& log, OutputForm form);

}  // namespace tolvane
