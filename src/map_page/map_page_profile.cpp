#include "map_page/map_page_profile.h"

#include <algorithm>
#include <cmath>

#include "core/text_format.h"
#include "core/time_helpers.h"
#include "writing/track_rules.h"

namespace tolvane {
namespace {

constexpr int kPointsPerStatement = 2048;
constexpr std::int64_t kSecondsPerDay = 86400;
// Far beyond any logger's reach; keeps wild fields within the encoding.
constexpr double kLargestMagnitude = 1e9;

std::int64_t rounded(double value) {
  if (!std::isfinite(value)) return 0;
  return std::llround(std::clamp(value, -kLargestMagnitude, kLargestMagnitude));
}

// The page's height of the strip, in pixels.
constexpr int kStripHeight = 120;

}  // namespace

void ProfileEncoder::number(std::uint64_t value) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  while (value >= 32) {
    digits_ += kDigits[(value & 31) | 32];
    value >>= 5;
  }
  digits_ += kDigits[value];
}

void ProfileEncoder::signed_number(std::int64_t value) {
  number(value < 0 ? (static_cast<std::uint64_t>(-value) << 1) | 1
                   : static_cast<std::uint64_t>(value) << 1);
}

void ProfileEncoder::add(const TrackPoint& local, bool altitude_known, double distance_km) {
  const std::int64_t day = days_since_epoch(local.year, local.month, local.day);
  const std::int64_t time = day * kSecondsPerDay + second_of_day(local);
  const std::int64_t metres = rounded(distance_km * 1000.0);
  const std::int64_t speed = std::max<std::int64_t>(rounded(local.speed_kmh * 10.0), 0);
  if (!started_) {
    started_ = true;
    time_ = day * kSecondsPerDay;
    metres_ = metres;
  }
  signed_number(time - time_);
  number(static_cast<std::uint64_t>(std::max<std::int64_t>(metres - metres_, 0)));
  signed_number(speed - speed_);
  time_ = time;
  metres_ = std::max(metres, metres_);
  speed_ = speed;
  if (altitude_known && std::isfinite(local.altitude)) {
    const std::int64_t altitude = rounded(local.altitude);
    const std::int64_t change = altitude - altitude_;
    number(1 + 2 * (change < 0 ? (static_cast<std::uint64_t>(-change) << 1) | 1
                               : static_cast<std::uint64_t>(change) << 1));
    altitude_ = altitude;
  } else {
    number(0);
  }
  if (++pending_ == kPointsPerStatement) flush();
}

void ProfileEncoder::flush() {
  if (pending_ == 0) return;
  out_.write("    profile_points += \"");
  out_.write(digits_);
  out_.write("\";\n");
  digits_.clear();
  pending_ = 0;
}

void write_profile_startup(const TripStats& stats, const MapPageSwitches& page, TextSink& out) {
  const std::int64_t start = stats.total().start_time;
  const std::int64_t first_day =
      (start - ((start % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay) / kSecondsPerDay;
  out.line(0, {});
  out.format(
      "    profile = new ProfileStrip(map, document.getElementById(\"profile_strip\"), "
      "profile_points, profile_gaps, %d, %s);\n",
      static_cast<int>(first_day), page.route ? "ProfileJump" : "null");
}

std::string trip_numbers_text(const TripNumbers& n) {
  std::string text = format_text(
      "距離 %.1f km / 経過時間 %s / 移動時間 %s / 平均移動速度 %.1f km/h / 最高速度 %.1f km/h",
      n.distance_km, hours_minutes(n.elapsed_s()).c_str(), hours_minutes(n.moving_s).c_str(),
      n.average_moving_kmh(), n.max_kmh);
  if (n.has_altitude) {
    append_format(text, " / 上昇 %.0f m / 下降 %.0f m / 標高 %.0f〜%.0f m", n.ascent_m, n.descent_m,
                  n.min_alt_m, n.max_alt_m);
  }
  return text;
}

void write_profile_block(const TripStats& stats, const ConversionSettings& settings,
                         TextSink& out) {
  const int width = settings.google_maps.xsize;
  out.format("    <div id=\"profile\" style=\"clear:both;width:%dpx;font-size:small;\">\n", width);
  const bool days = stats.days().size() > 1;
  out.write("      <div class=\"trip_numbers\" id=\"trip_total\">");
  if (days) out.write("合計: ");
  out.write(trip_numbers_text(stats.total()));
  out.write("</div>\n");
  if (days) {
    for (const TripNumbers& day : stats.days()) {
      char weekday[4];
      weekday_kanji(weekday, day.year, day.month, day.day);
      out.format("      <div class=\"trip_numbers\">%d年%d月%d日(%s): ", day.year, day.month,
                 day.day, weekday);
      out.write(trip_numbers_text(day));
      out.write("</div>\n");
    }
  }
  out.format(
      "      <div id=\"profile_strip\" style=\"position:relative;width:%dpx;height:%dpx;\">"
      "</div>\n",
      width, kStripHeight);
  out.line(4, "</div>");
  out.line(0, {});
}

}  // namespace tolvane
