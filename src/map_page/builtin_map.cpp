#include "map_page/builtin_map.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "map_page/inline_script.h"
#include "map_page/map_page_head.h"
#include "writing/embedded_files.h"

namespace tolvane {
namespace {

std::string_view text_of(const EmbeddedFile& file) {
  return {reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()};
}

std::string_view leaflet_file(std::string_view name) {
  const EmbeddedFile* file = find_embedded_file(leaflet_files(), name);
  return file ? text_of(*file) : std::string_view{};
}

std::string png_data_address(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out = "data:image/png;base64,";
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const unsigned v = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
    for (int shift : {18, 12, 6, 0}) out += kDigits[(v >> shift) & 63];
  }
  if (const std::size_t left = bytes.size() - i; left > 0) {
    const unsigned v = (bytes[i] << 16) | (left == 2 ? bytes[i + 1] << 8 : 0);
    out += kDigits[(v >> 18) & 63];
    out += kDigits[(v >> 12) & 63];
    out += left == 2 ? kDigits[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

// The object the layer is called with: the tile sources, the layer's own images by file name,
// and which of them stands for each image address on the old map service's hosts. The layer
// documents its fields where it takes it (src/map_layer/assembly.js); a field added here goes
// there too.
std::string layer_settings(const GoogleMapsSettings& maps) {
  std::string out = "{\n";
  const std::array<std::pair<const char*, const std::string*>, 6> texts = {{
      {"tileUrl", &maps.tile_url},
      {"tileAttribution", &maps.tile_attribution},
      {"satelliteUrl", &maps.satellite_url},
      {"satelliteAttribution", &maps.satellite_attribution},
      {"labelsUrl", &maps.labels_url},
      {"labelsAttribution", &maps.labels_attribution},
  }};
  for (const auto& [key, value] : texts) {
    out += "  ";
    out += key;
    out += ": " + script_string_literal(*value) + ",\n";
  }
  const std::array<std::pair<const char*, std::int32_t>, 2> zooms = {{
      {"tileMaxZoom", tile_zoom_limit(maps.tile_max_zoom)},
      {"satelliteMaxZoom", tile_zoom_limit(maps.satellite_max_zoom)},
  }};
  for (const auto& [key, zoom] : zooms) {
    out += "  ";
    out += key;
    out += ": " + std::to_string(zoom) + ",\n";
  }
  out += "  serviceImages: {\n";
  const std::array<std::pair<const char*, const char*>, 3> service_images = {{
      {kStandardIconAddress, "placemark.png"},
      {kPhotoPinAddress, "pin.png"},
      {kPhotoPinShadowAddress, "pin_shadow.png"},
  }};
  for (const auto& [address, name] : service_images) {
    out += "    " + script_string_literal(address) + ": " + script_string_literal(name) + ",\n";
  }
  out += "  },\n  images: {\n";
  for (const EmbeddedFile& file : map_icon_files()) {
    out += "    " + script_string_literal(file.name) + ": " +
           script_string_literal(png_data_address(file.bytes)) + ",\n";
  }
  out += "  },\n}";
  return out;
}

// An inline <style> or <script> element whose text `write_text` writes, inside a CDATA section
// hidden from the browser by the element's own comment syntax.
template <class WriteText>
void inline_element(TextSink& out, bool script, WriteText&& write_text) {
  out.line(4, script ? "<script type=\"text/javascript\">" : "<style type=\"text/css\">");
  out.line(4, script ? "//<![CDATA[" : "/*<![CDATA[*/");
  write_text();
  out.line(4, script ? "//]]>" : "/*]]>*/");
  out.line(4, script ? "</script>" : "</style>");
}

}  // namespace

void write_builtin_map(const ConversionSettings& settings, TextSink& out) {
  inline_element(out, false, [&] {
    out.write(inline_element_text(leaflet_file("leaflet.css"), "style"));
    out.write("\n");
  });
  inline_element(out, true, [&] {
    out.write(inline_element_text(leaflet_file("leaflet_notice.txt"), "script"));
    out.write(inline_element_text(leaflet_file("leaflet.min.js"), "script"));
    out.write("\n");
  });
  inline_element(out, true, [&] {
    out.write("(function (settings) {\n\"use strict\";\n\n");
    for (const EmbeddedFile& file : map_layer_files()) {
      out.write(inline_element_text(text_of(file), "script"));
      out.write("\n");
    }
    if (settings.google_maps.profile == 1) {
      for (const EmbeddedFile& file : profile_files()) {
        out.write(inline_element_text(text_of(file), "script"));
        out.write("\n");
      }
    }
    out.write("})(");
    out.write(inline_element_text(layer_settings(settings.google_maps), "script"));
    out.write(");\n");
  });
}

}  // namespace tolvane
