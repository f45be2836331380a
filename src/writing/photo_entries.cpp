#include "writing/photo_entries.h"

#include <string>

#include "kml/kml_writer.h"
#include "map_page/map_page_body.h"
#include "platform/path_text.h"
#include "writing/markup_escape.h"
#include "writing/photo_link.h"

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

void MapPagePhotoEntries::open() { write_photo_frame_start(settings_, sink_); }

void MapPagePhotoEntries::write(const PlacedPhoto& photo) {
  std::string source_link;
  if (page_.photo_links) {
    PhotoLink link = photo_link(native_to_utf8(photo.source), native_to_utf8(photo.page));
    source_link = link.prefix + escape_url_path(link.path);
  }
  MapPhotoBlock block;
  block.thumbnail_name = photo.thumbnail_name;
  block.thumbnail_path = photo.thumbnail_source;
  block.thumbnail_width = photo.thumbnail.width;
  block.thumbnail_height = photo.thumbnail.height;
  block.latitude = photo.placement.latitude;
  block.longitude = photo.placement.longitude;
  block.point_index = photo.placement.point_index;
  const TrackPoint& t = photo.capture_time;
  block.year = t.year, block.month = t.month, block.day = t.day;
  block.hour = t.hour, block.minute = t.minute;
  block.source_link = source_link;
  block.width_percent = photo.thumbnail.width_percent;
  write_photo_block(page_, block, sink_);
}

void MapPagePhotoEntries::close() { write_photo_frame_end(sink_); }

}  // namespace tolvane
