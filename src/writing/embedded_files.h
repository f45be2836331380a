// Files that the build carries inside the program: the map images it draws, for outputs that
// must hold their images themselves.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tolvane {

struct EmbeddedFile {
  std::string_view name;  // the file name, without a folder
  std::span<const std::uint8_t> bytes;
};

// The 16 heading icons "pt000.png" ... "pt337.png", then "pin.png", "pin_shadow.png" (the photo
// pin, 12 x 20, and its shadow, 22 x 20) and "placemark.png" (the plain point icon, 32 x 32):
// the same images the build writes into its icons folder.
std::span<const EmbeddedFile> map_icon_files();

// The map page's own map layer: its script files, to be joined in this order.
std::span<const EmbeddedFile> map_layer_files();

// The profile strip's script files, joined after the layer's in this order.
std::span<const EmbeddedFile> profile_files();

// Leaflet as Debian installs it: "leaflet.min.js", "leaflet.css", and "leaflet_notice.txt", its
// copyright and licence as a script comment (the minified file carries none).
std::span<const EmbeddedFile> leaflet_files();

// The file of that name in `files`, or nullptr.
const EmbeddedFile* find_embedded_file(std::span<const EmbeddedFile> files, std::string_view name);

}  // namespace tolvane
