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
#include "writing/output_chain.h"

namespace tolvane {

// True when the KML run writes a KMZ: asked for (ConversionInput::kmz), or the output's name
// ends in ".kmz" in any letter case.
bool writes_kmz(const ConversionInput& input);

// The icons inside the archive: "icons/pt000.png" ..., "icons/pin.png", "icons/placemark.png".
KmlIconPlaces kmz_icon_places();

class KmzArchive final : public OutputArchive {
 public:
  // Starts the archive in `stream` (owned by the caller) with the entry "doc.kml" open. The
  // photo pin goes in only when the document has photos.
  KmzArchive(std::FILE* stream, bool photos_present);
  bool ok() const override { return zip_.ok(); }

  // The open "doc.kml" entry, for the run's TextSink.
  ByteSink& document() override { return zip_; }
  // Where the photo stage leaves the thumbnails until the document is complete.
  ThumbnailTarget& thumbnails() override { return thumbnails_; }

  // Ends "doc.kml" and adds the 16 heading icons, the photo pin when there are photos, the
  // plain placemark icon and the thumbnails, then the archive's directory.
  bool finish() override;

 private:
  ZipArchive zip_;
  ThumbnailSpool thumbnails_;
  bool photos_present_;
};

}  // namespace tolvane
