#include "writing/track_rules.h"

#include <cmath>

#include "core/text_format.h"
#include "core/time_helpers.h"
#include "core/track_distance.h"

namespace tolvane {
namespace {

constexpr int kMinutesPerDay = 1440;
constexpr int kHalfDayMinutes = 720;
constexpr int kSecondsPerDay = 86400;
constexpr int kHalfDaySeconds = 43200;

// Float settings scaled in double precision and held as floats.
float scaled_to_float(std::int32_t value, double scale) {
  return static_cast<float>(static_cast<double>(value) * scale);
}

}  // namespace

int heading_icon_index(float course) {
  double degrees = static_cast<double>(course);
  if (!std::isfinite(degrees)) return 0;
  // A negative course, and one too large for the integer sector number, is the same direction
  // brought into 0..360 degrees; for courses in between the result is the same either way.
  if (degrees < 0 || degrees >= 1e6) {
    degrees = std::fmod(degrees, 360.0);
    if (degrees < 0) degrees += 360.0;
  }
  const int sector = static_cast<int>((degrees + 11.25) * (1.0 / 22.5));
  return sector % 16;
}

std::string date_title(const TrackPoint& first_local, const TrackPoint& last_local) {
  char first_weekday[4];
  weekday_kanji(first_weekday, first_local.year, first_local.month, first_local.day);
  if (first_local.year == last_local.year && first_local.month == last_local.month &&
      first_local.day == last_local.day) {
    return format_text("%d年%d月%d日(%s)", first_local.year, first_local.month, first_local.day,
                       first_weekday);
  }
  char last_weekday[4];
  weekday_kanji(last_weekday, last_local.year, last_local.month, last_local.day);
  return format_text("%d年%d月%d日(%s) - %d年%d月%d日(%s)", first_local.year, first_local.month,
                     first_local.day, first_weekday, last_local.year, last_local.month,
                     last_local.day, last_weekday);
}

bool restarts_route(const ConversionSettings& settings, std::size_t log_index) {
  return settings.common.concate == 0 || log_index == 0;
}

DistanceTotal DistanceTotal::from_settings(const ConversionSettings& settings) {
  return DistanceTotal(scaled_to_float(settings.common.minimum_interval, 0.001));
}

void DistanceTotal::begin_log(bool restart_route) {
  at_log_start_ = true;
  restart_ = restart_route;
}

void DistanceTotal::add(const TrackPoint& point) {
  if (at_log_start_) {
    at_log_start_ = false;
    if (restart_) {
      reference_latitude_ = point.latitude;
      reference_longitude_ = point.longitude;
      total_km_ = 0;
    }
    return;
  }
  const double step =
      track_distance_km(point.latitude, point.longitude, reference_latitude_, reference_longitude_);
  if (step > static_cast<double>(threshold_km_)) {
    total_km_ = static_cast<float>(static_cast<double>(total_km_) + step);
    reference_latitude_ = point.latitude;
    reference_longitude_ = point.longitude;
  }
}

PointSelector PointSelector::for_kml(const ConversionSettings& settings) {
  return PointSelector(settings.google_earth.mode,
                       scaled_to_float(settings.google_earth.minimum_movement, 0.0001));
}

PointSelector PointSelector::for_map_page(const ConversionSettings& settings) {
  return PointSelector(settings.google_maps.mode,
                       scaled_to_float(settings.google_maps.minimum_movement, 0.0001));
}

bool PointSelector::take(const TrackPoint& point) {
  const std::int64_t m = minute_of_day(point);
  if (due_minute_ == -1) {
    marked_latitude_ = point.latitude;
    marked_longitude_ = point.longitude;
  } else {
    if (m + kHalfDayMinutes < due_minute_) due_minute_ = m;  // the day turned over
    if (m < due_minute_ || m - due_minute_ >= kHalfDayMinutes) return false;
    const double movement = static_cast<double>(movement_degrees_);
    const bool moved =
        std::fabs(static_cast<double>(point.latitude) - static_cast<double>(marked_latitude_)) >
            movement &&
        std::fabs(static_cast<double>(point.longitude) - static_cast<double>(marked_longitude_)) >
            movement;
    if (!moved) {
      due_minute_ = m;
      return false;
    }
    marked_latitude_ = point.latitude;
    marked_longitude_ = point.longitude;
  }
  due_minute_ = m + interval_minutes_;
  if (due_minute_ >= kMinutesPerDay) due_minute_ -= kMinutesPerDay;
  return true;
}

ReceptionGaps ReceptionGaps::for_kml(const ConversionSettings& settings) {
  return ReceptionGaps(settings.common.radio_timeout, settings.google_earth.no_receive_path);
}

ReceptionGaps ReceptionGaps::for_map_page(const ConversionSettings& settings) {
  return ReceptionGaps(settings.common.radio_timeout, settings.google_maps.no_receive_path);
}

LineSwitch ReceptionGaps::add(int second_of_day) {
  LineSwitch result = LineSwitch::kNone;
  if (has_previous_) {
    if (second_of_day + kHalfDaySeconds < previous_second_) previous_second_ -= kSecondsPerDay;
    const std::int64_t gap = second_of_day - previous_second_;
    if (split_) {
      if (gap >= timeout_seconds_ && !weak_) {
        weak_ = true;
        result = LineSwitch::kToWeak;
      } else if (gap < timeout_seconds_ && weak_) {
        weak_ = false;
        result = LineSwitch::kToNormal;
      }
    }
  }
  has_previous_ = true;
  previous_second_ = second_of_day;
  return result;
}

}  // namespace tolvane
