#include "photos/photo_stage.h"

#include <optional>
#include <thread>
#include <vector>

#include "core/run_messages.h"
#include "photos/exif_time.h"
#include "photos/ordered_workers.h"
#include "photos/thumbnail_names.h"
#include "platform/path_text.h"

namespace tolvane {
namespace fs = std::filesystem;

namespace {

fs::path absolute_path(const fs::path& path) {
  std::error_code ec;
  fs::path absolute = fs::absolute(path, ec);
  return (ec ? path : absolute).lexically_normal();
}

int worker_count(unsigned requested) {
  if (requested > 0) return static_cast<int>(requested);
  unsigned cores = std::thread::hardware_concurrency();
  return cores > 0 ? static_cast<int>(cores) : 1;
}

}  // namespace

RunResult run_photo_stage(ConversionInput& input, const ConversionSettings& settings,
                          ProgressView& view, PhotoEntryWriter& writer, ThumbnailTarget& thumbnails,
                          const LogSpools* logs) {
  const CommonSettings& common = settings.common;
  const fs::path page = absolute_path(input.output_path);
  if (!thumbnails.open(page)) {
    view.show_error(messages::kFolderFailed);
    return kRunFailed;
  }

  view.set_status_text(messages::kCheckingPhotos);
  const std::vector<PhotoCapture> captures =
      sort_photos_by_capture_time(input.photo_paths, common.GMT, common.photo_time_offset);

  view.set_status_text(messages::kReducingPhotos);
  view.set_progress(0);
  PhotoCursor cursor(input.log_paths, common.GMT, input.stop, logs);
  if (cursor.start() != 0) {
    view.show_error(messages::kCannotReadInput);
    return kRunFailed;
  }

  const std::vector<fs::path>& photos = input.photo_paths;
  const std::size_t count = photos.size();
  const std::vector<ThumbnailName> names = thumbnail_names(photos);
  OrderedWorkers<ThumbnailResult> reduced(
      count, worker_count(input.thumbnail_workers), [&](std::size_t i) {
        if (stop_requested(input.stop)) return ThumbnailResult{};
        return make_thumbnail(photos[i], thumbnails, common.jpeg_larger_edge, common.jpeg_quality,
                              common.jpeg_quit_overwrite, captures[i].orientation, names[i].file);
      });

  writer.open();
  const std::string folder_name = native_to_utf8(thumbnails.folder().filename());
  for (std::size_t j = 0; j < count; ++j) {
    PlacedPhoto photo;
    photo.thumbnail = reduced.take(j);
    if (stop_requested(input.stop)) return kRunFailed;
    if (photo.thumbnail.status != 0) {
      view.show_error(messages::kThumbnailFailed);
      return kRunFailed;
    }
    photo.number = static_cast<int>(j) + 1;
    photo.source = absolute_path(photos[j]);
    photo.page = page;
    photo.thumbnail_name = names[j].display;
    photo.thumbnail_source = folder_name + kPathSeparator + names[j].file;
    if (!photo.thumbnail.kept) {
      if (!thumbnails.put(names[j].file, photo.thumbnail.jpeg)) {
        view.show_error(thumbnails.put_failed_message());
        return kRunFailed;
      }
      photo.thumbnail.jpeg = {};
    }
    photo.capture_time = captures[j].time;
    if (cursor.place(photo.capture_time, photo.placement) != 0) {
      view.show_error(messages::kCannotReadInput);
      return kRunFailed;
    }
    writer.write(photo);
    view.set_progress(static_cast<int>(100 * (j + 1) / count));
  }
  view.set_progress(100);
  writer.close();
  cursor.finish();
  return kRunSucceeded;
}

}  // namespace tolvane
