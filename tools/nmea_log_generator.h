// Writes a synthetic NMEA 0183 log as a portable GPS logger records it: one fix per second
// with $GPGGA, $GPGSA, three $GPGSV and $GPRMC, checksums and CR LF line ends. The track wanders
// plausibly (speed and heading change smoothly, with stops) and can hold stretches without
// reception, where the receiver writes sentences without a position. Deterministic for a seed.
// Header-only, shared by tools/make_example_log.cpp and the benchmarks.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace tolvane::tools {

struct NmeaLogPlan {
  int year = 2024, month = 5, day = 18;  // UTC start
  int hour = 0, minute = 40, second = 0;
  long seconds = 3600;                              // length of the log, one fix per second
  double latitude = 35.6812, longitude = 139.7671;  // start, degrees
  double top_speed_kmh = 45;
  // Stretches without reception: [first second, first second after] from the start.
  std::vector<std::pair<long, long>> no_fix;
  std::uint64_t seed = 1;
};

namespace detail {

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

inline std::uint64_t next_random(std::uint64_t& state) {
  state += 0x9E3779B97F4A7C15ull;  // splitmix64
  std::uint64_t z = state;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// Uniform in [-1, 1).
inline double next_signed(std::uint64_t& state) {
  return static_cast<double>(next_random(state) >> 11) * (2.0 / 9007199254740992.0) - 1.0;
}

inline int days_in(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}

// Writes "$" + body + "*" + checksum + CR LF.
inline void sentence(std::FILE* out, const char* body) {
  unsigned char sum = 0;
  for (const char* p = body; *p; ++p) sum ^= static_cast<unsigned char>(*p);
  std::fprintf(out, "$%s*%02X\r\n", body, sum);
}

// ddmm.mmmm / dddmm.mmmm and the hemisphere letter.
inline void nmea_angle(char* text, std::size_t size, double degrees, int degree_digits,
                       char positive, char negative, char* hemisphere) {
  *hemisphere = degrees < 0 ? negative : positive;
  double value = std::fabs(degrees);
  int whole = static_cast<int>(value);
  double minutes = (value - whole) * 60.0;
  if (minutes >= 59.99995) {  // would print as 60.0000
    minutes = 0;
    ++whole;
  }
  std::snprintf(text, size, "%0*d%07.4f", degree_digits, whole, minutes);
}

}  // namespace detail

inline void write_nmea_log(std::FILE* out, const NmeaLogPlan& plan) {
  using namespace detail;
  std::uint64_t random = plan.seed;
  int year = plan.year, month = plan.month, day = plan.day;
  int hour = plan.hour, minute = plan.minute, second = plan.second;
  double latitude = plan.latitude, longitude = plan.longitude;
  double heading = 90.0, speed = 0.0, target_speed = plan.top_speed_kmh * 0.6;
  double altitude = 40.0;
  long stop_left = 0;
  std::size_t gap = 0;
  char body[256], lat_text[32], lon_text[32];
  char ns = 'N', ew = 'E';
  // Twelve satellites drifting slowly across the sky.
  int elevation[12], azimuth[12], snr[12];
  for (int s = 0; s < 12; ++s) {
    elevation[s] = 10 + static_cast<int>(next_random(random) % 75);
    azimuth[s] = static_cast<int>(next_random(random) % 360);
    snr[s] = 25 + static_cast<int>(next_random(random) % 25);
  }
  static const int prn[12] = {2, 4, 5, 9, 10, 12, 15, 17, 20, 24, 25, 29};

  for (long t = 0; t < plan.seconds; ++t) {
    while (gap < plan.no_fix.size() && t >= plan.no_fix[gap].second) ++gap;
    const bool fix = !(gap < plan.no_fix.size() && t >= plan.no_fix[gap].first);

    // Motion: stops now and then, otherwise speed eases towards a target that wanders.
    if (stop_left > 0) {
      --stop_left;
      target_speed = 0;
    } else if (next_random(random) % 1800 == 0) {
      stop_left = 20 + static_cast<long>(next_random(random) % 100);
    } else if (next_random(random) % 120 == 0) {
      target_speed = plan.top_speed_kmh * (0.2 + 0.8 * (next_signed(random) * 0.5 + 0.5));
    }
    speed += (target_speed - speed) * 0.05 + next_signed(random) * 0.3;
    if (speed < 0.05) speed = 0;
    if (speed > 0) heading += next_signed(random) * 4.0;
    heading = std::fmod(heading + 360.0, 360.0);
    const double metres = speed / 3.6;
    constexpr double kMetresPerDegree = 111320.0;
    latitude += metres * std::cos(heading * kRadiansPerDegree) / kMetresPerDegree;
    longitude += metres * std::sin(heading * kRadiansPerDegree) /
                 (kMetresPerDegree * std::cos(latitude * kRadiansPerDegree));
    altitude += next_signed(random) * 0.4;
    if (t % 60 == 0) {
      for (int s = 0; s < 12; ++s) {
        azimuth[s] = (azimuth[s] + 1) % 360;
        snr[s] = 25 + static_cast<int>(next_random(random) % 25);
      }
    }

    char time_text[16], date_text[8];
    std::snprintf(time_text, sizeof time_text, "%02d%02d%02d.000", hour, minute, second);
    std::snprintf(date_text, sizeof date_text, "%02d%02d%02d", day, month, year % 100);
    detail::nmea_angle(lat_text, sizeof lat_text, latitude, 2, 'N', 'S', &ns);
    detail::nmea_angle(lon_text, sizeof lon_text, longitude, 3, 'E', 'W', &ew);

    if (fix) {
      std::snprintf(body, sizeof body, "GPGGA,%s,%s,%c,%s,%c,1,%02d,0.9,%.1f,M,39.5,M,,0000",
                    time_text, lat_text, ns, lon_text, ew, 8 + static_cast<int>(t % 3), altitude);
    } else {
      std::snprintf(body, sizeof body, "GPGGA,%s,,,,,0,00,,,M,,M,,0000", time_text);
    }
    sentence(out, body);
    sentence(out, fix ? "GPGSA,A,3,02,04,05,09,10,12,15,17,20,24,,,1.6,0.9,1.3"
                      : "GPGSA,A,1,,,,,,,,,,,,,,,");
    for (int part = 0; part < 3; ++part) {
      int length = std::snprintf(body, sizeof body, "GPGSV,3,%d,12", part + 1);
      for (int s = part * 4; s < part * 4 + 4; ++s) {
        length += std::snprintf(body + length, sizeof body - static_cast<std::size_t>(length),
                                ",%02d,%02d,%03d,%02d", prn[s], elevation[s], azimuth[s],
                                fix ? snr[s] : 0);
      }
      sentence(out, body);
    }
    if (fix) {
      std::snprintf(body, sizeof body, "GPRMC,%s,A,%s,%c,%s,%c,%.2f,%.2f,%s,,,A", time_text,
                    lat_text, ns, lon_text, ew, speed / 1.852, heading, date_text);
    } else {
      std::snprintf(body, sizeof body, "GPRMC,%s,V,,,,,,,%s,,,N", time_text, date_text);
    }
    sentence(out, body);

    if (++second == 60) {
      second = 0;
      if (++minute == 60) {
        minute = 0;
        if (++hour == 24) {
          hour = 0;
          if (++day > days_in(year, month)) {
            day = 1;
            if (++month > 12) {
              month = 1;
              ++year;
            }
          }
        }
      }
    }
  }
}

}  // namespace tolvane::tools
