// The file names of the thumbnails of one run: "s" and the photo's file name, made unique and
// valid UTF-8.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tolvane {

struct ThumbnailName {
  std::string file;     // in the picture folder and in an archive; valid UTF-8
  std::string display;  // as shown beside the thumbnail; valid UTF-8
};

// The names for `photos`, in their order. The first photo of a file name keeps "s" and that
// name; a later photo of the same name from another folder gets "~2", "~3", ... before the
// extension ("sIMG_0001~2.JPG"), the first number that no earlier name holds. A photo named
// twice by one path keeps its first name. Bytes of a name that are not UTF-8 become "%XX" in
// the file name and U+FFFD in the displayed one.
std::vector<ThumbnailName> thumbnail_names(const std::vector<std::filesystem::path>& photos);

}  // namespace tolvane
