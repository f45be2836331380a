// The KMZ form of the KML run: one archive that holds the document and every image it shows.
// Its first entry, "doc.kml", takes the document as the run writes it, deflated on the way and
// never held whole; the icons the document names and the photo thumbnails follow it.
#pragma once

#include <cstdio>
#include <filesystem>

#include "core/run_contracts.h"
#include "kml/kml_writer.h"
#include "photos/thumbnail_spool.h"
#include "platform/zip_archive.h"

namespace tolvane {

// True when the KML run writes a KMZ: asked for (ConversionInput::kmz), or the output's name
// ends in ".kmz" in any letter case.
bool writes_kmz(const ConversionInput& input);

// The icons inside the archive: "icons/pt000.png" ..., "icons/pin.png", "icons/placemark.png".
KmlIconPlaces kmz_icon_places();

class KmzArchive {
 public:
  // Starts the archive in `stream` (owned by the caller) with the entry "doc.kml" open.
  explicit KmzArchive(std::FILE* stream);
  bool ok() const { return zip_.ok(); }

  // The open "doc.kml" entry, for the run's TextSink.
  ByteSink& document() { return zip_; }
  // Where the photo stage leaves the thumbnails until the document is complete.
  ThumbnailSpool& thumbnails() { return thumbnails_; }

  // Ends "doc.kml" and adds the 16 heading icons, the photo pin when there are photos, the
  // plain placemark icon and the thumbnails, then the archive's directory. False when any of
  // it could not be written.
  bool finish(bool photos_present);

 private:
  ZipArchive zip_;
  ThumbnailSpool thumbnails_;
};

}  // namespace tolvane
