// The photo blocks of the map page, with names and paths escaped for where each one lands.
#pragma once

#include "map_page/map_page_switches.h"
#include "photos/photo_stage.h"
#include "settings/conversion_settings.h"
#include "writing/text_sink.h"

namespace tolvane {

// The photo frame inside the map page's container.
class MapPagePhotoEntries : public PhotoEntryWriter {
 public:
  MapPagePhotoEntries(const ConversionSettings& settings, const MapPageSwitches& page,
                      TextSink& sink)
      : settings_(settings), page_(page), sink_(sink) {}
  void open() override;
  void write(const PlacedPhoto& photo) override;
  void close() override;

 private:
  const ConversionSettings& settings_;
  const MapPageSwitches& page_;
  TextSink& sink_;
};

}  // namespace tolvane
