// Draws the application icon for the desktop's icon theme, as the window draws it: a blue tile
// with a winding purple track from a white start to a red end. Writes
//   FOLDER/hicolor/scalable/apps/NAME.svg and FOLDER/hicolor/SxS/apps/NAME.png
// for the usual sizes S. Usage: make_app_icon FOLDER NAME
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "png_image.h"

namespace {

using tolvane::tools::Point;
using tolvane::tools::Rgba;
using tolvane::tools::RgbaImage;

// The drawing, in a 32 x 32 space (the window's own icon, src/ui/app_icon.cpp, is the same).
constexpr double kTileInset = 1.5, kTileSize = 29, kTileRadius = 5, kTileEdge = 1.2;
constexpr double kTrackWidth = 2.6;
const Point kTrack[7] = {{6, 25}, {10, 14}, {15, 27}, {18, 17}, {20, 10}, {25, 13}, {26, 7}};
constexpr double kStartRadius = 2.6, kEndRadius = 3.2, kDotEdge = 1.0;
constexpr Rgba kEdge{0, 0, 48, 255}, kTile{196, 196, 255, 255}, kTrackColour{121, 0, 121, 255},
    kStart{255, 248, 255, 255}, kEnd{230, 40, 60, 255};

bool inside_rounded_square(double x, double y, double low, double size, double radius) {
  const double cx = std::clamp(x, low + radius, low + size - radius);
  const double cy = std::clamp(y, low + radius, low + size - radius);
  if (x < low || y < low || x > low + size || y > low + size) return false;
  return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
}

// The two cubic curves of the track as a polyline.
std::vector<Point> track_polyline() {
  std::vector<Point> line;
  for (int curve = 0; curve < 2; ++curve) {
    const Point* p = &kTrack[curve * 3];
    for (int i = curve == 0 ? 0 : 1; i <= 64; ++i) {
      const double t = i / 64.0, u = 1 - t;
      line.push_back({u * u * u * p[0].x + 3 * u * u * t * p[1].x + 3 * u * t * t * p[2].x +
                          t * t * t * p[3].x,
                      u * u * u * p[0].y + 3 * u * u * t * p[1].y + 3 * u * t * t * p[2].y +
                          t * t * t * p[3].y});
    }
  }
  return line;
}

double distance_to_segment(Point p, Point a, Point b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length = dx * dx + dy * dy;
  double t = length > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

RgbaImage draw(int size) {
  const double scale = size / 32.0;
  RgbaImage image(size, size);
  auto in_space = [scale](auto&& inside) {
    return [&inside, scale](double x, double y) { return inside(x / scale, y / scale); };
  };
  // The tile: its edge, then its face.
  image.fill(in_space([](double x, double y) {
               return inside_rounded_square(x, y, kTileInset - kTileEdge / 2, kTileSize + kTileEdge,
                                            kTileRadius + kTileEdge / 2);
             }),
             kEdge);
  image.fill(in_space([](double x, double y) {
               return inside_rounded_square(x, y, kTileInset + kTileEdge / 2, kTileSize - kTileEdge,
                                            kTileRadius - kTileEdge / 2);
             }),
             kTile);
  const std::vector<Point> line = track_polyline();
  image.fill(in_space([&line](double x, double y) {
               for (std::size_t i = 1; i < line.size(); ++i) {
                 if (distance_to_segment({x, y}, line[i - 1], line[i]) <= kTrackWidth / 2) {
                   return true;
                 }
               }
               return false;
             }),
             kTrackColour);
  auto dot = [&](Point centre, double radius, Rgba face) {
    auto within = [centre](double r) {
      return
          [centre, r](double x, double y) { return std::hypot(x - centre.x, y - centre.y) <= r; };
    };
    image.fill(in_space(within(radius + kDotEdge / 2)), kEdge);
    image.fill(in_space(within(radius - kDotEdge / 2)), face);
  };
  dot(kTrack[0], kStartRadius, kStart);
  dot(kTrack[6], kEndRadius, kEnd);
  return image;
}

std::string svg() {
  auto colour = [](Rgba c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
    return std::string(text);
  };
  auto number = [](double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return std::string(text);
  };
  std::string path = "M" + number(kTrack[0].x) + " " + number(kTrack[0].y);
  for (int curve = 0; curve < 2; ++curve) {
    path += "C";
    for (int k = 1; k <= 3; ++k) {
      const Point& p = kTrack[curve * 3 + k];
      path += (k > 1 ? " " : "") + number(p.x) + " " + number(p.y);
    }
  }
  auto circle = [&](Point c, double r, Rgba face) {
    return "  <circle cx=\"" + number(c.x) + "\" cy=\"" + number(c.y) + "\" r=\"" + number(r) +
           "\" fill=\"" + colour(face) + "\" stroke=\"" + colour(kEdge) + "\" stroke-width=\"" +
           number(kDotEdge) + "\"/>\n";
  };
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"128\" height=\"128\" "
         "viewBox=\"0 0 32 32\">\n"
         "  <rect x=\"" +
         number(kTileInset) + "\" y=\"" + number(kTileInset) + "\" width=\"" + number(kTileSize) +
         "\" height=\"" + number(kTileSize) + "\" rx=\"" + number(kTileRadius) + "\" fill=\"" +
         colour(kTile) + "\" stroke=\"" + colour(kEdge) + "\" stroke-width=\"" + number(kTileEdge) +
         "\"/>\n"
         "  <path d=\"" +
         path + "\" fill=\"none\" stroke=\"" + colour(kTrackColour) + "\" stroke-width=\"" +
         number(kTrackWidth) + "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n" +
         circle(kTrack[0], kStartRadius, kStart) + circle(kTrack[6], kEndRadius, kEnd) + "</svg>\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_app_icon FOLDER NAME\n");
    return 2;
  }
  const std::filesystem::path theme = std::filesystem::path(argv[1]) / "hicolor";
  const std::string name = argv[2];
  std::error_code error;
  const std::filesystem::path scalable = theme / "scalable" / "apps";
  std::filesystem::create_directories(scalable, error);
  const std::string text = svg();
  if (!tolvane::tools::write_bytes(scalable / (name + ".svg"),
                                   std::vector<std::uint8_t>(text.begin(), text.end()))) {
    std::fprintf(stderr, "make_app_icon: cannot write into %s\n", scalable.c_str());
    return 1;
  }
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const std::string dimension = std::to_string(size) + "x" + std::to_string(size);
    const std::filesystem::path folder = theme / dimension / "apps";
    std::filesystem::create_directories(folder, error);
    if (!tolvane::tools::write_bytes(folder / (name + ".png"),
                                     tolvane::tools::encode_png(draw(size)))) {
      std::fprintf(stderr, "make_app_icon: cannot write into %s\n", folder.c_str());
      return 1;
    }
  }
  return 0;
}
