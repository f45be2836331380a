#include "photos/thumbnail_resampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tolvane {
namespace {

// floor(i x ratio), with the product in double precision from the single-precision ratio.
int scaled_floor(int i, float ratio) {
  return static_cast<int>(std::floor(static_cast<double>(i) * static_cast<double>(ratio)));
}

// Adds one photo row to the column sums of a box. This runs over every byte of the photo, so the
// 16-bit form is written out for SSE2 (which every x86-64 processor has), whatever the
// compiler's optimisation level would make of the plain loop.
void add_row(std::uint16_t* __restrict sums, const std::uint8_t* __restrict row, std::size_t n) {
  std::size_t i = 0;
#ifdef __SSE2__
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= n; i += 16) {
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i));
    __m128i* low = reinterpret_cast<__m128i*>(sums + i);
    __m128i* high = reinterpret_cast<__m128i*>(sums + i + 8);
    _mm_storeu_si128(low, _mm_add_epi16(_mm_loadu_si128(low), _mm_unpacklo_epi8(bytes, zero)));
    _mm_storeu_si128(high, _mm_add_epi16(_mm_loadu_si128(high), _mm_unpackhi_epi8(bytes, zero)));
  }
#endif
  for (; i < n; ++i) sums[i] = static_cast<std::uint16_t>(sums[i] + row[i]);
}

void add_row(std::uint32_t* __restrict sums, const std::uint8_t* __restrict row, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) sums[i] += row[i];
}

}  // namespace

ScanlineBuffer::ScanlineBuffer(std::size_t bytes) : storage_(new std::uint8_t[bytes + 64]()) {
  auto address = reinterpret_cast<std::uintptr_t>(storage_.get());
  std::size_t skip = (8 - address % 32 + 32) % 32;
  data_ = storage_.get() + skip;
}

ThumbnailResampler::ThumbnailResampler(int photo_width, int photo_height, const ThumbnailSize& size)
    : photo_width_(photo_width),
      photo_height_(photo_height),
      size_(size),
      reducing_(size.ratio > 1.0f),
      output_(static_cast<std::size_t>(size.width) * 3) {
  const std::size_t row_bytes = static_cast<std::size_t>(photo_width) * 3;
  if (reducing_) {
    auto bounds = [&](int count, int limit, std::vector<int>& starts, std::vector<int>& ends) {
      starts.resize(count);
      ends.resize(count);
      for (int i = 0; i < count; ++i) {
        starts[i] = std::min(scaled_floor(i, size.ratio), limit - 1);
        ends[i] = std::min(scaled_floor(i + 1, size.ratio), limit - 1);
      }
    };
    bounds(size.height, photo_height, row_start_, row_end_);
    bounds(size.width, photo_width, column_start_, column_end_);
    // How many boxes a photo row can belong to: two where neighbours share their boundary row.
    std::size_t depth = 1;
    for (int y = 0; y < size.height; ++y) {
      int last = y;
      while (last + 1 < size.height && row_start_[last + 1] <= row_end_[y]) ++last;
      depth = std::max(depth, static_cast<std::size_t>(last - y + 1));
    }
    int tallest = 1;
    for (int y = 0; y < size.height; ++y)
      tallest = std::max(tallest, row_end_[y] - row_start_[y] + 1);
    if (tallest <= 65535 / 255) {
      narrow_sums_.assign(depth, std::vector<std::uint16_t>(row_bytes, 0));
    } else {
      wide_sums_.assign(depth, std::vector<std::uint32_t>(row_bytes, 0));
    }
    row_ = std::make_unique<ScanlineBuffer>(row_bytes);
  } else {
    for (auto& row : rows_) row = std::make_unique<ScanlineBuffer>(row_bytes);
    left_.resize(size.width);
    right_.resize(size.width);
    fraction_.resize(size.width);
    for (int x = 0; x < size.width; ++x) {
      float sx = static_cast<float>(x) * size.ratio;
      int x0 = std::min(static_cast<int>(std::floor(sx)), photo_width - 1);
      left_[x] = x0;
      right_[x] = std::min(x0 + 1, photo_width - 1);
      fraction_[x] = static_cast<double>(sx) - x0;
    }
  }
}

std::uint8_t* ThumbnailResampler::input_row() {
  return reducing_ ? row_->data() : rows_[rows_pushed_ % 2]->data();
}

void ThumbnailResampler::push_row() {
  if (rows_pushed_ >= photo_height_) return;
  if (reducing_) accumulate_row();
  ++rows_pushed_;
}

void ThumbnailResampler::accumulate_row() {
  const int r = rows_pushed_;
  const std::size_t n = static_cast<std::size_t>(photo_width_) * 3;
  const std::uint8_t* row = row_->data();
  for (int y = rows_done_; y < size_.height && row_start_[y] <= r; ++y) {
    if (r > row_end_[y]) continue;
    if (!narrow_sums_.empty()) {
      add_row(narrow_sums_[y % narrow_sums_.size()].data(), row, n);
    } else {
      add_row(wide_sums_[y % wide_sums_.size()].data(), row, n);
    }
  }
}

std::uint8_t* ThumbnailResampler::next_output_row() {
  if (rows_done_ >= size_.height) return nullptr;
  if (reducing_) {
    if (row_end_[rows_done_] >= rows_pushed_) return nullptr;
    const int y = rows_done_;
    if (!narrow_sums_.empty()) {
      finish_reduced_row(narrow_sums_[y % narrow_sums_.size()]);
    } else {
      finish_reduced_row(wide_sums_[y % wide_sums_.size()]);
    }
  } else {
    double sy = static_cast<double>(rows_done_) * static_cast<double>(size_.ratio);
    int y0 = std::min(static_cast<int>(std::floor(sy)), photo_height_ - 1);
    int y1 = std::min(y0 + 1, photo_height_ - 1);
    if (y1 >= rows_pushed_) return nullptr;
    interpolate_row();
  }
  ++rows_done_;
  return output_.data();
}

template <typename Sum>
void ThumbnailResampler::finish_reduced_row(std::vector<Sum>& sums) {
  const int y = rows_done_;
  const std::uint64_t box_rows = static_cast<std::uint64_t>(row_end_[y] - row_start_[y] + 1);
  std::uint8_t* out = output_.data();
  for (int x = 0; x < size_.width; ++x) {
    const int xs = column_start_[x];
    const int xe = column_end_[x];
    std::uint64_t r = 0, g = 0, b = 0;
    for (int c = xs; c <= xe; ++c) {
      r += sums[3 * c];
      g += sums[3 * c + 1];
      b += sums[3 * c + 2];
    }
    const std::uint64_t pixels = static_cast<std::uint64_t>(xe - xs + 1) * box_rows;
    out[3 * x] = static_cast<std::uint8_t>(r / pixels);
    out[3 * x + 1] = static_cast<std::uint8_t>(g / pixels);
    out[3 * x + 2] = static_cast<std::uint8_t>(b / pixels);
  }
  std::fill(sums.begin(), sums.end(), 0);
}

void ThumbnailResampler::interpolate_row() {
  const double sy = static_cast<double>(rows_done_) * static_cast<double>(size_.ratio);
  const int y0 = std::min(static_cast<int>(std::floor(sy)), photo_height_ - 1);
  const int y1 = std::min(y0 + 1, photo_height_ - 1);
  const double fy = sy - y0;
  const std::uint8_t* top = rows_[y0 % 2]->data();
  const std::uint8_t* bottom = rows_[y1 % 2]->data();
  std::uint8_t* out = output_.data();
  for (int x = 0; x < size_.width; ++x) {
    const int x0 = left_[x];
    const int x1 = right_[x];
    const double fx = fraction_[x];
    for (int k = 0; k < 3; ++k) {
      double value = top[3 * x0 + k] * (1 - fx) * (1 - fy) + top[3 * x1 + k] * fx * (1 - fy) +
                     bottom[3 * x0 + k] * (1 - fx) * fy + bottom[3 * x1 + k] * fx * fy;
      out[3 * x + k] = static_cast<std::uint8_t>(std::clamp(value, 0.0, 255.0));
    }
  }
}

}  // namespace tolvane
