// Thumbnails: sizes, the streaming filter against a whole-image implementation of the formula,
// whole files against libjpeg encodes of that reference, colour spaces, the picture folder,
// keeping existing files, damaged photos and threads.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "photos/thumbnail.h"
#include "photos/thumbnail_resampler.h"
#include "photos/thumbnail_size.h"

namespace tolvane {
namespace {
namespace fs = std::filesystem;

struct Image {
  int width = 0;
  int height = 0;
  int components = 3;
  std::vector<std::uint8_t> pixels;
  std::uint8_t at(int row, int column, int channel) const {
    return pixels[(static_cast<std::size_t>(row) * width + column) * components + channel];
  }
};

// Smooth gradients with noise, so that boxes of different sizes average to different values.
Image test_image(int width, int height, int components, unsigned seed) {
  Image image{width, height, components, {}};
  image.pixels.resize(static_cast<std::size_t>(width) * height * components);
  std::mt19937 random(seed);
  std::size_t i = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < components; ++c) {
        int value = (x * (c + 1) * 255 / std::max(width, 1) + y * 255 / std::max(height, 1)) / 2;
        value += static_cast<int>(random() % 64) - 32;
        image.pixels[i++] = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
      }
    }
  }
  return image;
}

// The thumbnail formula over the whole photo, written as plainly as it reads.
Image reference_thumbnail(const Image& photo, const ThumbnailSize& size) {
  Image out{size.width, size.height, 3, {}};
  out.pixels.resize(static_cast<std::size_t>(size.width) * size.height * 3);
  const double ratio = size.ratio;
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
      for (int c = 0; c < 3; ++c) {
        int value;
        if (size.ratio > 1) {
          int ys = static_cast<int>(std::floor(y * ratio));
          int ye = std::min(static_cast<int>(std::floor((y + 1) * ratio)), photo.height - 1);
          int xs = static_cast<int>(std::floor(x * ratio));
          int xe = std::min(static_cast<int>(std::floor((x + 1) * ratio)), photo.width - 1);
          std::uint64_t sum = 0;
          for (int r = ys; r <= ye; ++r) {
            for (int k = xs; k <= xe; ++k) sum += photo.at(r, k, c);
          }
          value = static_cast<int>(sum / (static_cast<std::uint64_t>(xe - xs + 1) * (ye - ys + 1)));
        } else {
          double sy = y * ratio;
          float sx = static_cast<float>(x) * size.ratio;
          int y0 = static_cast<int>(std::floor(sy));
          int x0 = static_cast<int>(std::floor(sx));
          int y1 = y0 + 1 < photo.height ? y0 + 1 : y0;
          int x1 = x0 + 1 < photo.width ? x0 + 1 : x0;
          double fy = sy - y0;
          double fx = static_cast<double>(sx) - x0;
          value = static_cast<int>(
              photo.at(y0, x0, c) * (1 - fx) * (1 - fy) + photo.at(y0, x1, c) * fx * (1 - fy) +
              photo.at(y1, x0, c) * (1 - fx) * fy + photo.at(y1, x1, c) * fx * fy);
        }
        out.pixels[(static_cast<std::size_t>(y) * size.width + x) * 3 + c] =
            static_cast<std::uint8_t>(value);
      }
    }
  }
  return out;
}

Image stream_through_resampler(const Image& photo, const ThumbnailSize& size) {
  ThumbnailResampler resampler(photo.width, photo.height, size);
  Image out{size.width, size.height, 3, {}};
  const std::size_t row_bytes = static_cast<std::size_t>(photo.width) * 3;
  for (int y = 0; y < photo.height; ++y) {
    std::copy_n(photo.pixels.begin() + y * row_bytes, row_bytes, resampler.input_row());
    resampler.push_row();
    while (const std::uint8_t* row = resampler.next_output_row()) {
      out.pixels.insert(out.pixels.end(), row, row + size.width * 3);
    }
  }
  EXPECT_TRUE(resampler.done());
  return out;
}

struct EncodeOptions {
  J_COLOR_SPACE input = JCS_RGB;
  J_COLOR_SPACE stored = JCS_UNKNOWN;  // JCS_UNKNOWN: libjpeg's default for the input
  bool progressive = false;
  int quality = 90;
};

void write_jpeg(const fs::path& path, const Image& image, const EncodeOptions& options) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  jpeg_compress_struct info{};
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = image.width;
  info.image_height = image.height;
  info.input_components = image.components;
  info.in_color_space = options.input;
  jpeg_set_defaults(&info);
  if (options.stored != JCS_UNKNOWN) jpeg_set_colorspace(&info, options.stored);
  jpeg_set_quality(&info, options.quality, TRUE);
  if (options.progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  const std::size_t row_bytes = static_cast<std::size_t>(image.width) * image.components;
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(image.pixels.data() + info.next_scanline * row_bytes);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
}

Image read_jpeg(const fs::path& path, J_COLOR_SPACE out) {
  Image image;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  EXPECT_NE(file, nullptr);
  if (!file) return image;
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  info.out_color_space = out;
  jpeg_start_decompress(&info);
  image.width = info.output_width;
  image.height = info.output_height;
  image.components = info.output_components;
  const std::size_t row_bytes = static_cast<std::size_t>(image.width) * image.components;
  image.pixels.resize(row_bytes * image.height);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = image.pixels.data() + info.output_scanline * row_bytes;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  std::fclose(file);
  return image;
}

std::string file_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A thumbnail made for a picture folder and put there, as the photo stage does it.
struct MadeThumbnail : ThumbnailResult {
  fs::path path;  // where it is, or would be
};

MadeThumbnail make_into(const fs::path& photo, const fs::path& folder, int edge, int quality,
                        Flag keep, int orientation = 1) {
  ThumbnailFolder target(folder);
  const std::string name = "s" + photo.filename().string();
  MadeThumbnail made{make_thumbnail(photo, target, edge, quality, keep, orientation),
                     folder / name};
  if (made.status == 0 && !made.kept && !target.put(name, made.jpeg)) made.status = 255;
  return made;
}

class Thumbnail : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("tolvane_thumbnail_" + std::to_string(::getpid()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "photos");
    fs::create_directories(root_ / "trip_pics");
    folder_ = root_ / "trip_pics";
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path photo(const std::string& name, const Image& image, const EncodeOptions& options = {}) {
    fs::path path = root_ / "photos" / name;
    write_jpeg(path, image, options);
    return path;
  }

  // The thumbnail file that the formula gives for the decoded RGB photo, encoded as
  // make_thumbnail encodes it.
  std::string expected_file(const Image& rgb, int edge, int quality) {
    std::optional<ThumbnailSize> size = thumbnail_size(rgb.width, rgb.height, edge);
    EXPECT_TRUE(size);
    if (!size) return {};
    fs::path path = root_ / "expected.jpg";
    EncodeOptions options;
    options.quality = quality;
    write_jpeg(path, reference_thumbnail(rgb, *size), options);
    return file_bytes(path);
  }

  std::vector<std::string> folder_entries() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path root_;
  fs::path folder_;
};

TEST(ThumbnailSize, FollowsTheLongerSide) {
  auto size = [](int w, int h, int edge) {
    std::optional<ThumbnailSize> s = thumbnail_size(w, h, edge);
    return s ? std::vector<double>{double(s->width), double(s->height), double(s->width_percent),
                                   s->ratio}
             : std::vector<double>{};
  };
  EXPECT_EQ(size(3264, 2448, 128), (std::vector<double>{128, 96, 100, 25.5}));
  EXPECT_EQ(size(2448, 3264, 128), (std::vector<double>{96, 128, 75, 25.5}));
  EXPECT_EQ(size(500, 500, 128), (std::vector<double>{128, 128, 100, 500.0f / 128}));
  EXPECT_EQ(size(100, 50, 128), (std::vector<double>{128, 64, 100, 100.0f / 128}));
  EXPECT_EQ(size(128, 60, 128), (std::vector<double>{128, 60, 100, 1}));
  EXPECT_EQ(size(1000, 8, 128), (std::vector<double>{128, 1, 100, 1000.0f / 128}));
  EXPECT_EQ(size(1000, 1, 128), std::vector<double>{}) << "a height of 0";
  EXPECT_EQ(size(1, 1000, 128), std::vector<double>{}) << "a width of 0";
  EXPECT_EQ(size(640, 480, 0), std::vector<double>{});
  EXPECT_EQ(size(640, 480, -128), std::vector<double>{});
  EXPECT_EQ(size(640, 480, kMaxJpegDimension + 1), std::vector<double>{});
  EXPECT_EQ(size(640, 480, 2147483647), std::vector<double>{});
  EXPECT_EQ(size(0, 480, 128), std::vector<double>{});
}

TEST(ThumbnailResampler, StreamsExactlyTheWholeImageFormula) {
  struct Case {
    int width, height, edge;
  };
  std::vector<Case> cases = {
      {3264 / 8, 2448 / 8, 128},
      {2448 / 8, 3264 / 8, 128},  // ratios 3.1875
      {257, 100, 128},
      {129, 64, 128},
      {255, 255, 128},  // just above 2 and 1
      {1000, 8, 128},
      {90, 700, 64},
      {128, 60, 128},  // one row; tall; ratio 1
      {100, 50, 128},
      {1, 1, 128},
      {3, 7, 1000},  // enlargement
      {127, 127, 128},
      {640, 480, 1},
      {600, 300, 2},  // boxes over 257 rows high
  };
  std::mt19937 random(7);
  for (int i = 0; i < 200; ++i) {
    int w = 1 + static_cast<int>(random() % 300);
    int h = 1 + static_cast<int>(random() % 300);
    cases.push_back({w, h, 1 + static_cast<int>(random() % 200)});
  }
  for (const Case& c : cases) {
    std::optional<ThumbnailSize> size = thumbnail_size(c.width, c.height, c.edge);
    if (!size) continue;
    Image photo = test_image(c.width, c.height, 3, c.width * 1000 + c.height);
    Image streamed = stream_through_resampler(photo, *size);
    ASSERT_EQ(streamed.pixels, reference_thumbnail(photo, *size).pixels)
        << c.width << " x " << c.height << ", edge " << c.edge;
  }
}

TEST(ThumbnailResampler, SumsTheTallestBoxesWithoutOverflow) {
  // Boxes of 257 rows (the most that 16-bit column sums hold) and of 258 rows.
  for (int side : {512, 514}) {
    ThumbnailSize size = *thumbnail_size(side, side, 2);
    Image white{side, side, 3, std::vector<std::uint8_t>(side * side * 3, 255)};
    EXPECT_EQ(stream_through_resampler(white, size).pixels, std::vector<std::uint8_t>(12, 255))
        << side;
  }
}

TEST(ThumbnailResampler, AveragesTheSharedBoundaryBoxesOfTheFirstPixel) {
  // 3264 x 2448 with edge 128: pixel (0, 0) averages rows and columns 0 to 25.
  ThumbnailSize size = *thumbnail_size(3264, 2448, 128);
  Image photo{3264, 52, 3, std::vector<std::uint8_t>(3264 * 52 * 3, 0)};
  for (int y = 0; y < 52; ++y) {
    for (int x = 0; x < 26; ++x) photo.pixels[(y * 3264 + x) * 3] = y <= 25 ? 200 : 0;
  }
  photo.pixels[(25 * 3264 + 25) * 3 + 1] = 255;  // the corner shared with three other boxes
  ThumbnailResampler resampler(3264, 2448, size);
  for (int y = 0; y < 26; ++y) {
    std::copy_n(photo.pixels.begin() + y * 3264 * 3, 3264 * 3, resampler.input_row());
    resampler.push_row();
    if (y < 25) {
      EXPECT_EQ(resampler.next_output_row(), nullptr);
    }
  }
  const std::uint8_t* row = resampler.next_output_row();
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row[0], 200);
  EXPECT_EQ(row[1], 0) << "255 / 676 truncates to 0";
  EXPECT_EQ(row[3], 200 * 26 / (27 * 26)) << "box 1 spans columns 25 to 51, only 25 is red";
}

TEST_F(Thumbnail, WritesTheFormulasPixelsForEveryKindOfPhoto) {
  struct Case {
    const char* name;
    int width, height, components;
    EncodeOptions options;
    J_COLOR_SPACE decode_as;
  };
  const Case cases[] = {
      {"landscape.jpg", 816, 612, 3, {}, JCS_RGB},
      {"portrait.JPG", 612, 816, 3, {}, JCS_RGB},
      {"progressive.jpg", 700, 500, 3, {JCS_RGB, JCS_UNKNOWN, true, 85}, JCS_RGB},
      {"grey.jpg", 640, 400, 1, {JCS_GRAYSCALE}, JCS_GRAYSCALE},
      {"cmyk.jpg", 480, 640, 4, {JCS_CMYK}, JCS_CMYK},
      {"ycck.jpg", 480, 360, 4, {JCS_CMYK, JCS_YCCK}, JCS_CMYK},
      {"small.jpg", 100, 50, 3, {}, JCS_RGB},
      {"exact.jpg", 128, 60, 3, {}, JCS_RGB},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::path path = photo(c.name, test_image(c.width, c.height, c.components, 11), c.options);
    Image decoded = read_jpeg(path, c.decode_as);
    Image rgb{decoded.width, decoded.height, 3, {}};
    for (int y = 0; y < decoded.height; ++y) {
      for (int x = 0; x < decoded.width; ++x) {
        if (decoded.components == 1) {
          for (int k = 0; k < 3; ++k) rgb.pixels.push_back(decoded.at(y, x, 0));
        } else if (decoded.components == 4) {
          int key = decoded.at(y, x, 3);
          for (int k = 0; k < 3; ++k) rgb.pixels.push_back(decoded.at(y, x, k) * key / 255);
        } else {
          for (int k = 0; k < 3; ++k) rgb.pixels.push_back(decoded.at(y, x, k));
        }
      }
    }
    MadeThumbnail result = make_into(path, folder_, 128, 75, 0);
    ASSERT_EQ(result.status, 0);
    EXPECT_EQ(result.path, folder_ / (std::string("s") + c.name));
    ThumbnailSize size = *thumbnail_size(c.width, c.height, 128);
    EXPECT_EQ(result.width, size.width);
    EXPECT_EQ(result.height, size.height);
    EXPECT_EQ(result.width_percent, size.width_percent);
    EXPECT_TRUE(file_bytes(result.path) == expected_file(rgb, 128, 75));
  }
  EXPECT_EQ(folder_entries().size(), std::size(cases)) << "no temporary file is left";
}

TEST_F(Thumbnail, MatchesTheFormulaForTheCorpusPhotos) {
  const char* corpus = std::getenv("TOLVANE_CORPUS");
  fs::path folder = corpus ? fs::path(corpus) : fs::path(TOLVANE_SOURCE_DIR "/../shared/corpus");
  folder /= "photos";
  if (!fs::exists(folder / "MANIFEST.tsv")) GTEST_SKIP() << "photo corpus not found";
  int photos = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() != ".jpg") continue;
    SCOPED_TRACE(entry.path().filename().string());
    MadeThumbnail result = make_into(entry.path(), folder_, 96, 80, 0);
    ASSERT_EQ(result.status, 0);
    EXPECT_TRUE(file_bytes(result.path) == expected_file(read_jpeg(entry.path(), JCS_RGB), 96, 80));
    ++photos;
  }
  EXPECT_EQ(photos, 41);
}

TEST_F(Thumbnail, StandsUprightForEveryOrientation) {
  // Quarters of four colours: red, green / blue, white.
  Image quarters{400, 300, 3, {}};
  const std::uint8_t colours[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 400; ++x) {
      const std::uint8_t* c = colours[(y < 150 ? 0 : 2) + (x < 200 ? 0 : 1)];
      quarters.pixels.insert(quarters.pixels.end(), c, c + 3);
    }
  }
  const fs::path path = photo("turned.jpg", quarters);
  auto colour_at = [&](const Image& image, int row, int column) {
    int best = 0;
    int best_distance = 1 << 30;
    for (int k = 0; k < 4; ++k) {
      int distance = 0;
      for (int c = 0; c < 3; ++c) {
        const int d = image.at(row, column, c) - colours[k][c];
        distance += d * d;
      }
      if (distance < best_distance) best = k, best_distance = distance;
    }
    return "RGBW"[best];
  };
  // The colours in the corners, top left, top right, bottom left, bottom right.
  const char* corners[] = {"", "RGBW", "GRWB", "WBGR", "BWRG", "RBGW", "BRWG", "WGBR", "GWRB"};
  for (int orientation = 1; orientation <= 8; ++orientation) {
    SCOPED_TRACE(orientation);
    const MadeThumbnail result = make_into(path, folder_, 128, 75, 0, orientation);
    ASSERT_EQ(result.status, 0);
    const bool sideways = orientation >= 5;
    EXPECT_EQ(result.width, sideways ? 96 : 128);
    EXPECT_EQ(result.height, sideways ? 128 : 96);
    EXPECT_EQ(result.width_percent, sideways ? 75 : 100);
    const Image thumbnail = read_jpeg(result.path, JCS_RGB);
    ASSERT_EQ(thumbnail.width, result.width);
    ASSERT_EQ(thumbnail.height, result.height);
    const int bottom = thumbnail.height - 1;
    const int right = thumbnail.width - 1;
    const std::string seen = {colour_at(thumbnail, 0, 0), colour_at(thumbnail, 0, right),
                              colour_at(thumbnail, bottom, 0), colour_at(thumbnail, bottom, right)};
    EXPECT_EQ(seen, corners[orientation]);
  }
  // Other values leave today's bytes; a kept thumbnail takes the turned size.
  const std::string upright = file_bytes(make_into(path, folder_, 128, 75, 0).path);
  EXPECT_TRUE(file_bytes(make_into(path, folder_, 128, 75, 0, 9).path) == upright);
  EXPECT_TRUE(upright == expected_file(read_jpeg(path, JCS_RGB), 128, 75));
  const MadeThumbnail kept = make_into(path, folder_, 128, 75, 1, 8);
  EXPECT_EQ(kept.width, 96);
  EXPECT_EQ(kept.height, 128);
  EXPECT_EQ(kept.width_percent, 75);
  EXPECT_TRUE(file_bytes(kept.path) == upright);
}

TEST_F(Thumbnail, KeepsAnExistingThumbnailOnlyWhenAskedToWithOne) {
  fs::path path = photo("DSC00012.JPG", test_image(400, 300, 3, 3));
  fs::path thumbnail = folder_ / "sDSC00012.JPG";
  std::ofstream(thumbnail) << "kept";
  MadeThumbnail kept = make_into(path, folder_, 128, 75, 1);
  EXPECT_EQ(kept.status, 0);
  EXPECT_EQ(kept.width, 128);
  EXPECT_EQ(kept.height, 96);
  EXPECT_EQ(kept.width_percent, 100);
  EXPECT_EQ(file_bytes(thumbnail), "kept");

  EXPECT_EQ(make_into(path, folder_, 128, 75, 2).status, 0);
  EXPECT_NE(file_bytes(thumbnail), "kept") << "only the value 1 keeps";
  std::ofstream(thumbnail) << "kept";
  EXPECT_EQ(make_into(path, folder_, 128, 75, 0).status, 0);
  EXPECT_NE(file_bytes(thumbnail), "kept");

  fs::remove(thumbnail);
  EXPECT_EQ(make_into(path, folder_, 128, 75, 1).status, 0) << "a missing one is made";
  EXPECT_TRUE(fs::exists(thumbnail));
}

TEST_F(Thumbnail, FailsCleanlyAndLeavesAnEarlierThumbnailAlone) {
  Image image = test_image(400, 300, 3, 5);
  fs::path good = photo("good.jpg", image);
  ASSERT_EQ(make_into(good, folder_, 64, 75, 0).status, 0);
  const std::string earlier = file_bytes(folder_ / "sgood.jpg");
  std::string jpeg = file_bytes(good);

  auto fails_with = [&](const std::string& bytes, const char* what) {
    std::ofstream(good, std::ios::binary | std::ios::trunc) << bytes;
    MadeThumbnail result = make_into(good, folder_, 64, 75, 0);
    EXPECT_EQ(result.status, 255) << what;
    EXPECT_EQ(file_bytes(folder_ / "sgood.jpg"), earlier) << what;
  };
  fails_with("", "empty file");
  fails_with("$GPGGA,102345,3540.1234,N,13945.6789,E,1,08,1.0,10.0,M,,M,,*00\r\n", "text");
  fails_with(jpeg.substr(0, 300), "cut inside the header");
  // Width 65535 in the frame header: more than a JPEG may have.
  std::size_t sof = jpeg.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  std::string too_wide = jpeg;
  too_wide[sof + 7] = '\xFF';
  too_wide[sof + 8] = '\xFF';
  fails_with(too_wide, "too wide");
  // A 1000 x 1 photo makes a thumbnail 0 pixels high.
  write_jpeg(good, test_image(1000, 1, 3, 1), {});
  fails_with(file_bytes(good), "height 0");
  EXPECT_EQ(folder_entries(), std::vector<std::string>{"sgood.jpg"});

  std::ofstream(good, std::ios::binary | std::ios::trunc) << jpeg;
  EXPECT_EQ(make_into(good, folder_, 0, 75, 0).status, 255);
  EXPECT_EQ(make_into(good, folder_, -128, 75, 0).status, 255);
  EXPECT_EQ(make_into(root_ / "photos" / "missing.jpg", folder_, 64, 75, 0).status, 255);
  EXPECT_EQ(make_into(good, root_ / "no_such_folder", 64, 75, 0).status, 255);
  EXPECT_EQ(make_into(good, fs::path(std::string(kThumbnailPathLimit, 'a')), 64, 75, 0).status,
            255);
}

TEST_F(Thumbnail, RefusesProgressivePhotosThatWouldNeedTooMuchMemory) {
  EncodeOptions progressive;
  progressive.progressive = true;
  fs::path path = photo("huge.jpg", test_image(64, 48, 3, 9), progressive);
  std::string jpeg = file_bytes(path);
  std::size_t sof = jpeg.find("\xFF\xC2");
  ASSERT_NE(sof, std::string::npos);
  // 60000 x 60000 claimed: its coefficients alone would take about 10 GB.
  jpeg[sof + 5] = '\xEA', jpeg[sof + 6] = '\x60', jpeg[sof + 7] = '\xEA', jpeg[sof + 8] = '\x60';
  std::ofstream(path, std::ios::binary | std::ios::trunc) << jpeg;
  EXPECT_EQ(make_into(path, folder_, 128, 75, 0).status, 255);
}

TEST_F(Thumbnail, MakesThumbnailsOfDamagedButReadablePhotos) {
  fs::path path = photo("cut.jpg", test_image(320, 240, 3, 4));
  std::string jpeg = file_bytes(path);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << jpeg.substr(0, jpeg.size() * 2 / 3);
  MadeThumbnail result = make_into(path, folder_, 64, 75, 0);
  EXPECT_EQ(result.status, 0) << "libjpeg only warns about data that ends early";
  EXPECT_EQ(result.height, 48);
}

TEST_F(Thumbnail, MakesThumbnailsOnSeveralThreadsAtOnce) {
  std::vector<fs::path> photos;
  for (int i = 0; i < 4; ++i) {
    photos.push_back(photo("p" + std::to_string(i) + ".jpg", test_image(300 + 40 * i, 200, 3, i)));
  }
  fs::path broken = root_ / "photos" / "broken.jpg";
  std::ofstream(broken, std::ios::binary) << file_bytes(photos[0]).substr(0, 200);
  std::vector<std::string> expected;
  for (const fs::path& p : photos) {
    expected.push_back(expected_file(read_jpeg(p, JCS_RGB), 100, 70));
  }

  const mode_t mask = ::umask(022);
  std::vector<int> wrong(4, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      fs::path folder = root_ / ("pics" + std::to_string(t));
      fs::create_directory(folder);
      for (int round = 0; round < 6; ++round) {
        const fs::path& p = photos[(t + round) % 4];
        MadeThumbnail result = make_into(p, folder, 100, 70, 0);
        if (result.status != 0 || file_bytes(result.path) != expected[(t + round) % 4]) ++wrong[t];
        if ((fs::status(result.path).permissions() & fs::perms::mask) != fs::perms(0644)) {
          ++wrong[t];
        }
        if (make_into(broken, folder, 100, 70, 0).status != 255) ++wrong[t];
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(wrong, std::vector<int>(4, 0));
  EXPECT_EQ(::umask(mask), 022) << "the file creation mask is left alone";
}

TEST_F(Thumbnail, NamesThePictureFolderAfterTheOutputFile) {
  auto folder_of = [&](const std::string& output) {
    std::optional<fs::path> folder = make_thumbnail_folder(root_ / output);
    return folder ? folder->lexically_relative(root_).string() : std::string("(none)");
  };
  EXPECT_EQ(folder_of("trip.kml"), "trip_pics");
  EXPECT_TRUE(fs::is_directory(root_ / "trip_pics"));
  EXPECT_EQ(folder_of("trip.2008.html"), "trip.2008_pics");
  fs::create_directory(root_ / "out.dir");
  EXPECT_EQ(folder_of("out.dir/map"), "out.dir/map_pics") << "a dot in a folder name";
  EXPECT_TRUE(fs::is_directory(root_ / "out.dir" / "map_pics"));
  EXPECT_EQ(folder_of(".kml"), ".kml_pics") << "a leading dot is no extension";
  EXPECT_EQ(folder_of("trip.kml"), "trip_pics") << "an existing folder is used";

  EXPECT_EQ(folder_of("missing/trip.kml"), "(none)");
  std::ofstream(root_ / "blocked_pics") << "a file in the way";
  EXPECT_EQ(folder_of("blocked.kml"), "(none)");
  EXPECT_FALSE(make_thumbnail_folder(std::string(kThumbnailPathLimit, 'a') + ".kml"));
}

}  // namespace
}  // namespace tolvane
