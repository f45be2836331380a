// Turns a photo, fed one RGB row at a time from top to bottom, into the rows of its thumbnail:
// an averaging box filter when reducing, bilinear interpolation when enlarging. Only a few rows
// are held, so memory grows with the photo's width, not with its area.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "photos/thumbnail_size.h"

namespace tolvane {

// A row buffer whose start lies 8 bytes past a 32-byte boundary. libjpeg-turbo writes rows
// that start on such a boundary with stores that bypass the cache, and the filter would then
// have to fetch every row back from memory.
class ScanlineBuffer {
 public:
  explicit ScanlineBuffer(std::size_t bytes);
  std::uint8_t* data() { return data_; }
  const std::uint8_t* data() const { return data_; }

 private:
  std::unique_ptr<std::uint8_t[]> storage_;
  std::uint8_t* data_ = nullptr;
};

class ThumbnailResampler {
 public:
  // `size` as thumbnail_size gives it for this photo. Allocates all it needs here (and may
  // throw std::bad_alloc here only).
  ThumbnailResampler(int photo_width, int photo_height, const ThumbnailSize& size);

  // Where the caller puts the next photo row: photo_width x 3 bytes, red, green, blue.
  std::uint8_t* input_row();
  // Takes the row just put into input_row(). After each call, call next_output_row until it
  // gives null before the next row comes.
  void push_row();
  // The next finished thumbnail row (width x 3 bytes), valid until the next call of any member;
  // null while the rows pushed so far do not complete one. Not const only because libjpeg's
  // row interface is not; the caller does not change it.
  std::uint8_t* next_output_row();

  int rows_pushed() const { return rows_pushed_; }
  int rows_done() const { return rows_done_; }
  bool done() const { return rows_done_ == size_.height; }

 private:
  void accumulate_row();
  void interpolate_row();

  int photo_width_;
  int photo_height_;
  ThumbnailSize size_;
  bool reducing_;
  int rows_pushed_ = 0;
  int rows_done_ = 0;
  std::vector<std::uint8_t> output_;

  template <typename Sum>
  void finish_reduced_row(std::vector<Sum>& sums);

  // Reduction: the box bounds, both ends included, and a ring of per-column sums, one for each
  // thumbnail row that a photo row can belong to (neighbouring boxes share their boundary).
  // The sums are 16 bits wide while a box is at most 257 rows high, 32 bits above that.
  std::vector<int> row_start_, row_end_, column_start_, column_end_;
  std::vector<std::vector<std::uint16_t>> narrow_sums_;
  std::vector<std::vector<std::uint32_t>> wide_sums_;
  std::unique_ptr<ScanlineBuffer> row_;

  // Enlargement: the two most recent photo rows and the column taps.
  std::unique_ptr<ScanlineBuffer> rows_[2];
  std::vector<int> left_, right_;
  std::vector<double> fraction_;
};

}  // namespace tolvane
