#include "photos/thumbnail.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "photos/thumbnail_orientation.h"
#include "photos/thumbnail_resampler.h"
#include "photos/thumbnail_size.h"
#include "platform/directories.h"
#include "platform/path_text.h"

namespace tolvane {
namespace fs = std::filesystem;

namespace {

// The most memory libjpeg may take for one photo: the whole coefficient image of a progressive
// photo of about 340 megapixels, and a bound on what a damaged header can make it ask for.
constexpr long kDecoderMemoryLimit = 1L << 30;

// A standard error manager whose fatal errors return to the recovery point of the call that is
// using it, and whose warnings and trace messages go nowhere.
struct JpegErrors : jpeg_error_mgr {
  std::jmp_buf* recovery = nullptr;
};

[[noreturn]] void return_to_recovery_point(j_common_ptr info) {
  std::jmp_buf* recovery = static_cast<JpegErrors*>(info->err)->recovery;
  if (recovery == nullptr) std::abort();  // a libjpeg call outside guarded()
  std::longjmp(*recovery, 1);
}

void discard_message(j_common_ptr) {}

void install(JpegErrors& errors) {
  jpeg_std_error(&errors);
  errors.error_exit = return_to_recovery_point;
  errors.output_message = discard_message;
}

// The libjpeg objects, destroyed on every path; destroying one that was never created (or whose
// creation failed) does nothing.
struct Decoder {
  jpeg_decompress_struct info{};
  JpegErrors errors;
  Decoder() {
    install(errors);
    info.err = &errors;
  }
  ~Decoder() { jpeg_destroy_decompress(&info); }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;
};

struct Encoder {
  jpeg_compress_struct info{};
  JpegErrors errors;
  Encoder() {
    install(errors);
    info.err = &errors;
  }
  ~Encoder() { jpeg_destroy_compress(&info); }
  Encoder(const Encoder&) = delete;
  Encoder& operator=(const Encoder&) = delete;
};

// Runs `steps`, which call libjpeg, with a recovery point in this frame: a fatal error of either
// object ends them here with false. Neither this frame nor `steps` owns anything with a
// destructor, so the jump skips no cleanup; the caller's holders release everything afterwards.
template <typename Steps>
bool guarded(JpegErrors& first, JpegErrors* second, Steps&& steps) {
  std::jmp_buf recovery;
  first.recovery = &recovery;
  if (second != nullptr) second->recovery = &recovery;
  if (setjmp(recovery) != 0) {
    first.recovery = nullptr;
    if (second != nullptr) second->recovery = nullptr;
    return false;
  }
  bool ok = steps();
  first.recovery = nullptr;
  if (second != nullptr) second->recovery = nullptr;
  return ok;
}

// Every photo is decoded to RGB: greyscale and YCbCr by libjpeg, CMYK and YCCK to CMYK and then
// by cmyk_to_rgb. False for colour spaces that have no RGB meaning.
bool choose_output_colour(jpeg_decompress_struct& info) {
  switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
      info.out_color_space = JCS_RGB;
      return true;
    case JCS_CMYK:
    case JCS_YCCK:
      info.out_color_space = JCS_CMYK;
      return true;
    default:
      return false;
  }
}

// libjpeg delivers the Adobe form of CMYK, in which 255 means no ink.
void cmyk_to_rgb(const std::uint8_t* cmyk, std::uint8_t* rgb, std::size_t pixels) {
  for (std::size_t i = 0; i < pixels; ++i, cmyk += 4, rgb += 3) {
    const unsigned k = cmyk[3];
    rgb[0] = static_cast<std::uint8_t>(cmyk[0] * k / 255);
    rgb[1] = static_cast<std::uint8_t>(cmyk[1] * k / 255);
    rgb[2] = static_cast<std::uint8_t>(cmyk[2] * k / 255);
  }
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// A stream into memory (open_memstream); the bytes are complete once it is closed.
class MemoryStream {
 public:
  MemoryStream() = default;
  ~MemoryStream() {
    close();
    std::free(data_);
  }
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;

  std::FILE* open() {
    stream_ = ::open_memstream(&data_, &size_);
    return stream_;
  }
  // Closes the stream and copies its bytes into `out`; false when any write had failed.
  bool take(std::vector<unsigned char>& out) {
    const bool ok = stream_ && std::fflush(stream_) == 0 && !std::ferror(stream_);
    close();
    if (!ok || !data_) return false;
    out.assign(data_, data_ + size_);
    return true;
  }

 private:
  void close() {
    if (stream_) std::fclose(stream_);
    stream_ = nullptr;
  }

  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::FILE* stream_ = nullptr;
};

}  // namespace

std::optional<fs::path> thumbnail_folder_of(const fs::path& output) {
  const std::string& text = output.native();
  std::size_t separator = find_last_separator(text);
  std::size_t name_start = separator == std::string::npos ? 0 : separator + 1;
  std::size_t dot = text.rfind('.');
  std::size_t stem_end = dot != std::string::npos && dot > name_start ? dot : text.size();
  if (stem_end + 6 > kThumbnailPathLimit) return std::nullopt;
  return fs::path(text.substr(0, stem_end) + "_pics");
}

std::optional<fs::path> make_thumbnail_folder(const fs::path& output) {
  std::optional<fs::path> folder = thumbnail_folder_of(output);
  if (!folder || !make_directory(*folder)) return std::nullopt;
  return folder;
}

ThumbnailResult make_thumbnail(const fs::path& photo, const ThumbnailTarget& destination,
                               int larger_edge, int quality, Flag keep_existing, int orientation,
                               std::string_view file_name) {
  ThumbnailResult result;
  std::string name = "s";
  name += file_name_of(photo.native());
  if (!file_name.empty()) name = file_name;
  if (larger_edge <= 0) return result;

  std::unique_ptr<std::FILE, FileCloser> input(std::fopen(photo.c_str(), "rb"));
  if (!input) return result;
  Decoder decoder;
  jpeg_decompress_struct& source = decoder.info;
  bool header_read = guarded(decoder.errors, nullptr, [&] {
    jpeg_create_decompress(&source);
    source.mem->max_memory_to_use = kDecoderMemoryLimit;
    jpeg_stdio_src(&source, input.get());
    jpeg_read_header(&source, TRUE);
    if (!choose_output_colour(source)) return false;
    jpeg_calc_output_dimensions(&source);
    return true;
  });
  if (!header_read) return result;

  const int photo_width = static_cast<int>(source.output_width);
  const int photo_height = static_cast<int>(source.output_height);
  const int components = source.output_components;
  std::optional<ThumbnailSize> size = thumbnail_size(photo_width, photo_height, larger_edge);
  if (!size) return result;
  // The pixels are computed at the photo's own size and turned afterwards; every size given out
  // is the turned one.
  const bool upright = orientation < 2 || orientation > 8;
  result.width = size->width;
  result.height = size->height;
  result.width_percent = size->width_percent;
  if (turns_sideways(orientation)) {
    result.width = size->height;
    result.height = size->width;
    result.width_percent =
        static_cast<int>(static_cast<std::int64_t>(result.width) * 100 / larger_edge);
  }

  if (keep_existing == 1 && destination.holds(name)) {
    result.kept = true;
    result.status = 0;
    return result;
  }

  std::unique_ptr<ThumbnailResampler> resampler;
  std::unique_ptr<ScanlineBuffer> cmyk_row;
  // A thumbnail to be turned is gathered whole, turned, then encoded. Its buffers are made here,
  // outside the steps that libjpeg may leave by its recovery point.
  const std::size_t row_bytes = static_cast<std::size_t>(size->width) * 3;
  const std::size_t image_bytes = row_bytes * static_cast<std::size_t>(size->height);
  std::vector<std::uint8_t> gathered;
  std::vector<std::uint8_t> turned;
  std::size_t gathered_bytes = 0;
  try {
    resampler = std::make_unique<ThumbnailResampler>(photo_width, photo_height, *size);
    if (components == 4) {
      cmyk_row = std::make_unique<ScanlineBuffer>(static_cast<std::size_t>(photo_width) * 4);
    }
    if (!upright) {
      gathered.resize(image_bytes);
      turned.resize(image_bytes);
    }
  } catch (const std::bad_alloc&) {
    return result;
  }

  MemoryStream memory;
  std::FILE* const stream = memory.open();
  if (!stream) return result;
  Encoder encoder;
  jpeg_compress_struct& target = encoder.info;
  bool written = guarded(decoder.errors, &encoder.errors, [&] {
    jpeg_start_decompress(&source);
    if (static_cast<int>(source.output_width) != photo_width ||
        static_cast<int>(source.output_height) != photo_height ||
        source.output_components != components || (components != 3 && components != 4)) {
      return false;
    }
    jpeg_create_compress(&target);
    jpeg_stdio_dest(&target, stream);
    target.image_width = static_cast<JDIMENSION>(result.width);
    target.image_height = static_cast<JDIMENSION>(result.height);
    target.input_components = 3;
    target.in_color_space = JCS_RGB;
    jpeg_set_defaults(&target);
    jpeg_set_quality(&target, quality, TRUE);
    jpeg_start_compress(&target, TRUE);
    // Each photo row is resampled as it arrives and each thumbnail row encoded when complete.
    while (source.output_scanline < source.output_height) {
      JSAMPROW row = cmyk_row ? cmyk_row->data() : resampler->input_row();
      if (jpeg_read_scanlines(&source, &row, 1) != 1) return false;
      if (cmyk_row) {
        cmyk_to_rgb(cmyk_row->data(), resampler->input_row(),
                    static_cast<std::size_t>(photo_width));
      }
      resampler->push_row();
      while (JSAMPROW done = resampler->next_output_row()) {
        if (upright) {
          jpeg_write_scanlines(&target, &done, 1);
        } else {
          if (gathered_bytes + row_bytes > image_bytes) return false;
          std::memcpy(gathered.data() + gathered_bytes, done, row_bytes);
          gathered_bytes += row_bytes;
        }
      }
    }
    if (!resampler->done()) return false;
    if (!upright) {
      turn_upright(gathered.data(), size->width, size->height, orientation, turned.data());
      const std::size_t turned_row_bytes = static_cast<std::size_t>(result.width) * 3;
      for (int y = 0; y < result.height; ++y) {
        JSAMPROW row = turned.data() + turned_row_bytes * static_cast<std::size_t>(y);
        jpeg_write_scanlines(&target, &row, 1);
      }
    }
    jpeg_finish_compress(&target);
    jpeg_finish_decompress(&source);
    return true;
  });
  if (!written || !memory.take(result.jpeg)) return result;
  result.status = 0;
  return result;
}

}  // namespace tolvane
