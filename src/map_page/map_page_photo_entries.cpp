#include "map_page/map_page_photo_entries.h"

#include <string>

#include "map_page/map_page_body.h"
#include "map_page/photo_link.h"
#include "platform/path_text.h"
#include "writing/markup_escape.h"

namespace tolvane {

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
