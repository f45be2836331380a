// libFuzzer target for the thumbnail maker: any bytes given as a photo must end in 0 or 255
// without a crash, a leak or an open file, and on 0 leave a thumbnail of the size reported.
#include <unistd.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "photos/thumbnail.h"

namespace {
namespace fs = std::filesystem;

// A folder of this process's own, removed when the fuzzer exits.
struct WorkFolder {
  WorkFolder() {
    fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    path = base / ("tolvane-thumbnail-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(path / "pics");
  }
  ~WorkFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
  fs::path path;
};

struct HeaderErrors : jpeg_error_mgr {
  std::jmp_buf recovery;
};

[[noreturn]] void give_up(j_common_ptr info) {
  std::longjmp(static_cast<HeaderErrors*>(info->err)->recovery, 1);
}

void ignore_message(j_common_ptr) {}

// The pixel count the header claims; 0 when libjpeg cannot read it (the fuzzed call then meets
// the same error through its own error handling).
std::uint64_t claimed_pixels(jpeg_decompress_struct& info, const std::uint8_t* data,
                             std::size_t size) {
  HeaderErrors& errors = *static_cast<HeaderErrors*>(info.err);
  if (setjmp(errors.recovery) != 0) return 0;
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return 0;
  return static_cast<std::uint64_t>(info.image_width) * info.image_height;
}

// Decoding a photo that claims tens of thousands of pixels a side from a few bytes of data takes
// seconds and finds nothing new: such inputs are skipped.
bool small_enough(const std::uint8_t* data, std::size_t size) {
  jpeg_decompress_struct info{};
  HeaderErrors errors;
  info.err = jpeg_std_error(&errors);
  errors.error_exit = give_up;
  errors.output_message = ignore_message;
  std::uint64_t pixels = claimed_pixels(info, data, size);
  jpeg_destroy_decompress(&info);
  return pixels <= 4000000;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const WorkFolder work;
  const fs::path& folder = work.path;
  if (!small_enough(data, size)) return 0;
  const fs::path photo = folder / "photo.jpg";
  std::FILE* out = std::fopen(photo.c_str(), "wb");
  if (out == nullptr) return 0;
  std::fwrite(data, 1, size, out);
  std::fclose(out);
  tolvane::ThumbnailFolder target(folder / "pics");
  tolvane::ThumbnailResult result = tolvane::make_thumbnail(photo, target, 48, 75, 0);
  if (result.status != 0 && result.status != 255) std::abort();
  if (result.status == 0 &&
      (result.width < 1 || result.height < 1 || result.width > 48 || result.height > 48 ||
       result.kept || !target.put("sphoto.jpg", result.jpeg) ||
       !fs::exists(folder / "pics" / "sphoto.jpg"))) {
    std::abort();
  }
  return 0;
}
