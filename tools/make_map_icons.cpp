// Draws the images that the outputs name: the 16 heading icons pt000.png ... pt337.png (an arrow
// pointing k x 22.5 degrees clockwise from north), the photo pin with its shadow (pin.png,
// pin_shadow.png) and the plain placemark icon (placemark.png), all on a transparent ground.
// Usage: make_map_icons FOLDER
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "png_image.h"

namespace {

using tolvane::tools::Point;
using tolvane::tools::Rgba;
using tolvane::tools::RgbaImage;

// An arrow around the icon's centre; north is up, angles turn clockwise.
RgbaImage heading_icon(double degrees) {
  constexpr int kSize = 32;
  const std::vector<Point> shape = {{0, -14}, {9, 2}, {3, 0}, {3, 13}, {-3, 13}, {-3, 0}, {-9, 2}};
  const double r = degrees * M_PI / 180.0;
  std::vector<Point> outline;
  for (const Point& p : shape) {
    outline.push_back({kSize / 2.0 + p.x * std::cos(r) - p.y * std::sin(r),
                       kSize / 2.0 + p.x * std::sin(r) + p.y * std::cos(r)});
  }
  RgbaImage image(kSize, kSize);
  image.fill_polygon(outline, {0xD0, 0x20, 0x20, 0xFF});
  return image;
}

// A round head of `radius` around (cx, cy) on a point that ends at (cx, tip_y).
bool inside_pin(double x, double y, double cx, double cy, double radius, double tip_y) {
  const double dx = x - cx;
  const double dy = y - cy;
  if (dx * dx + dy * dy <= radius * radius) return true;
  if (y < cy || y > tip_y) return false;
  const double half_width = radius * 0.8 * (tip_y - y) / (tip_y - cy);
  return std::abs(dx) <= half_width;
}

// The 12 x 20 photo pin; its point is the bottom centre (6, 20).
RgbaImage photo_pin() {
  RgbaImage image(12, 20);
  image.fill([](double x, double y) { return inside_pin(x, y, 6, 6, 5.8, 20); },
             {0x80, 0x10, 0x10, 0xFF});
  image.fill([](double x, double y) { return inside_pin(x, y, 6, 6, 4.6, 17.5); },
             {0xF0, 0x30, 0x28, 0xFF});
  image.fill([](double x, double y) { return std::hypot(x - 6, y - 6) <= 1.7; },
             {0x70, 0x08, 0x08, 0xFF});
  return image;
}

// The pin's shadow, 22 x 20 from the same corner: the pin laid down towards the upper right.
RgbaImage photo_pin_shadow() {
  RgbaImage image(22, 20);
  image.fill(
      [](double x, double y) {
        // Undo the shear that lays the pin down: a shadow point (x, y) stands for the pin point
        // (x - (20 - y) * 0.8, 20 - (20 - y) * 0.55 ...) squashed to 55 % of its height.
        const double height = 20 - y;
        const double pin_y = 20 - height / 0.55;
        const double pin_x = x - height * 0.8;
        return pin_y >= 0 && inside_pin(pin_x, pin_y, 6, 6, 5.8, 20);
      },
      {0x00, 0x00, 0x00, 0x50});
  return image;
}

// The plain placemark: a yellow disc with a dark ring, 32 x 32, its point the centre.
RgbaImage placemark() {
  RgbaImage image(32, 32);
  image.fill([](double x, double y) { return std::hypot(x - 16, y - 16) <= 11; },
             {0x40, 0x30, 0x00, 0xFF});
  image.fill([](double x, double y) { return std::hypot(x - 16, y - 16) <= 9; },
             {0xFF, 0xD0, 0x20, 0xFF});
  image.fill([](double x, double y) { return std::hypot(x - 13.5, y - 13.5) <= 3; },
             {0xFF, 0xF4, 0xC0, 0xC0});
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_map_icons FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);

  std::vector<std::pair<std::string, RgbaImage>> images;
  for (int k = 0; k < 16; ++k) {
    const double degrees = k * 22.5;
    char name[16];
    std::snprintf(name, sizeof name, "pt%03d.png", static_cast<int>(degrees));
    images.emplace_back(name, heading_icon(degrees));
  }
  images.emplace_back("pin.png", photo_pin());
  images.emplace_back("pin_shadow.png", photo_pin_shadow());
  images.emplace_back("placemark.png", placemark());

  for (const auto& [name, image] : images) {
    if (!tolvane::tools::write_bytes(folder / name, tolvane::tools::encode_png(image))) {
      std::fprintf(stderr, "make_map_icons: cannot write %s\n", (folder / name).c_str());
      return 1;
    }
  }
  return 0;
}
