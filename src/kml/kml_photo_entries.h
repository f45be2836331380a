// The picture placemarks of the KML document, with names and paths escaped for the document.
#pragma once

#include "photos/photo_stage.h"
#include "settings/conversion_settings.h"
#include "writing/text_sink.h"

namespace tolvane {

// The Pictures folder of the KML document.
class KmlPhotoEntries : public PhotoEntryWriter {
 public:
  KmlPhotoEntries(const ConversionSettings& settings, TextSink& sink)
      : settings_(settings), sink_(sink) {}
  void open() override;
  void write(const PlacedPhoto& photo) override;
  void close() override;

 private:
  const ConversionSettings& settings_;
  TextSink& sink_;
};

}  // namespace tolvane
