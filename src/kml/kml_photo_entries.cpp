#include "kml/kml_photo_entries.h"

#include <string>

#include "kml/kml_writer.h"
#include "platform/path_text.h"

namespace tolvane {

void KmlPhotoEntries::open() { write_pictures_folder_open(sink_); }

void KmlPhotoEntries::write(const PlacedPhoto& photo) {
  const std::string source = native_to_utf8(photo.source);
  PhotoPlacemark placemark;
  placemark.number = photo.number;
  placemark.embed_link = settings_.common.jpeg_embed_link == 1;
  placemark.photo_path = source;
  placemark.thumbnail_source = photo.thumbnail_source;
  placemark.thumbnail_name = photo.thumbnail_name;
  placemark.thumbnail_width = photo.thumbnail.width;
  placemark.thumbnail_height = photo.thumbnail.height;
  const TrackPoint& t = photo.capture_time;
  placemark.year = t.year, placemark.month = t.month, placemark.day = t.day;
  placemark.hour = t.hour, placemark.minute = t.minute, placemark.second = t.second;
  placemark.latitude = photo.placement.latitude;
  placemark.longitude = photo.placement.longitude;
  write_photo_placemark(sink_, placemark);
}

void KmlPhotoEntries::close() { write_pictures_folder_close(sink_); }

}  // namespace tolvane
