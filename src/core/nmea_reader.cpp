#include "core/nmea_reader.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <initializer_list>

#include "core/field_number.h"
#include "core/run_contracts.h"
#include "core/time_helpers.h"

namespace tolvane {
namespace {

// A line is read into 8191 characters with its terminator; longer lines come in pieces.
constexpr int kLineBufferSize = 8191;
// Longest accepted fields: the GGA altitude and the RMC time, and every other field.
constexpr std::size_t kLongFieldLimit = 254;
constexpr std::size_t kFieldLimit = 62;
// 1/60 rounded to single precision; minutes are multiplied by it in double precision.
constexpr double kMinute = 0.016666668f;
// Both sentences carry what is read in their first nine fields.
constexpr int kFieldsRead = 9;

// What ends a sentence: the end of its line, its checksum, or the start of another sentence
// glued onto it.
enum : unsigned char { kText = 0, kComma = 1, kEnd = 2 };

struct CharClasses {
  unsigned char of[256] = {};
  constexpr CharClasses() {
    of[static_cast<unsigned char>(',')] = kComma;
    for (char c : {'\0', '\r', '\n', '*', '$'}) of[static_cast<unsigned char>(c)] = kEnd;
  }
};
constexpr CharClasses kClasses;

unsigned char class_of(char c) { return kClasses.of[static_cast<unsigned char>(c)]; }

// Left uninitialised: only the fields that split_fields found are read.
struct Field {
  const char* text;
  std::size_t length;
};

// Splits the sentence whose name ends at `p` into the fields that follow the first comma after
// the name, up to `wanted` of them. Returns how many were found before the sentence ended.
int split_fields(const char* p, Field* fields, int wanted) {
  while (class_of(*p) == kText) ++p;
  int count = 0;
  while (count < wanted && class_of(*p) == kComma) {
    const char* begin = ++p;
    while (class_of(*p) == kText) ++p;
    fields[count++] = {begin, static_cast<std::size_t>(p - begin)};
  }
  return count;
}

bool is_capital(char c) { return static_cast<unsigned char>(c - 'A') < 26; }

// Two capitals A-Z that name the talker (GP, GN, GL, ...); a first letter P marks a maker's own
// sentence, such as $PGRMC, and is not one.
bool is_talker(const char* p) { return p[0] != 'P' && is_capital(p[0]) && is_capital(p[1]); }

// The first place in `line` where a talker and the three letters of `type` ("GGA", "RMC") stand,
// as a search from the start of the line finds it. Most lines begin with "$" and such a name;
// otherwise the line is searched for the last letter of the type, which is rare in other
// sentences.
const char* find_name(const char* line, const char* type) {
  if (line[0] == '$' && is_talker(line + 1) && line[3] == type[0] && line[4] == type[1] &&
      line[5] == type[2]) {
    return line + 1;
  }
  for (const char* p = std::strchr(line, type[2]); p; p = std::strchr(p + 1, type[2])) {
    if (p - line >= 4 && p[-2] == type[0] && p[-1] == type[1] && is_talker(p - 4)) return p - 4;
  }
  return nullptr;
}

// Reads the next line, or the next piece of a line longer than the buffer. False at the end of
// the file, and once `stop` is set: a piece that reached the end of the file is never used.
bool read_line(std::FILE* log, char* line, const std::atomic<bool>* stop) {
  if (stop_requested(stop) || !fgets_unlocked(line, kLineBufferSize, log)) return false;
  return !feof_unlocked(log);
}

// The number of a field, converted as atof converts it; the text after the field never takes
// part, since no number runs on into a comma or a sentence end.
double field_number(const Field& field) { return field.length ? field_atof(field.text) : 0.0; }

bool fits_float(double value) { return std::fabs(value) <= FLT_MAX; }  // false for NaN too

// Latitude or longitude from ddmm.mmmm (dddmm.mmmm) and its hemisphere letter. False when the
// position lies beyond `limit` degrees.
bool parse_coordinate(const Field& value, const Field& hemisphere, char positive, double limit,
                      float& raw, std::int32_t& raw_int, float& fraction, float& degrees) {
  const double v = field_atof(value.text);
  // Beyond this the integer part does not fit, and the position is far outside the limit.
  if (!(std::fabs(v) < 2147483648.0)) return false;
  const std::int32_t i = static_cast<std::int32_t>(v);
  double result = (v - i + i % 100) * kMinute + i / 100;
  if (hemisphere.length == 0 || hemisphere.text[0] != positive) result = -result;
  // Judged as stored: 89 degrees 60 minutes comes to just over 90 with the single-precision
  // minutes constant, and to 90 exactly in a float.
  const float stored = static_cast<float>(result);
  if (!(std::fabs(stored) <= limit)) return false;
  raw = static_cast<float>(v);
  raw_int = i;
  fraction = static_cast<float>(v - i);
  degrees = stored;
  return true;
}

// Decimal degrees of a ddmm.mmmm (dddmm.mmmm) text in double precision, signed by its hemisphere.
double precise_coordinate(const Field& value, const Field& hemisphere, char positive) {
  const double v = field_atof(value.text);
  const double whole_degrees = std::trunc(v / 100);
  const double degrees = whole_degrees + (v - whole_degrees * 100) / 60;
  return hemisphere.length == 0 || hemisphere.text[0] != positive ? -degrees : degrees;
}

// Fields 1 to 18 of a point from the fields of an RMC sentence; false for a damaged one. The
// precise values, when asked for, only of a good one.
bool parse_rmc(const char* after_name, TrackPoint& point, PreciseFix* precise) {
  Field f[kFieldsRead];
  if (split_fields(after_name, f, kFieldsRead) < kFieldsRead) return false;
  const Field& time = f[0];
  const Field& latitude = f[2];
  const Field& longitude = f[4];
  const Field& speed = f[6];
  const Field& course = f[7];
  const Field& date = f[8];
  if (time.length == 0 || latitude.length == 0 || longitude.length == 0 || date.length == 0) {
    return false;
  }
  if (time.length > kLongFieldLimit) return false;
  for (const Field* field : {&latitude, &longitude, &speed, &course, &date}) {
    if (field->length > kFieldLimit) return false;
  }

  const int t = field_atoi(time.text);
  if (t < 0 || t / 10000 > 23 || (t % 10000) / 100 > 59 || t % 100 > 59) return false;
  const int d = field_atoi(date.text);
  const int day = d / 10000;
  const int month = (d % 10000) / 100;
  const int year = d % 100 + 2000;
  if (d < 0 || month < 1 || month > 12 || day < 1 || day > days_in_month(year, month)) {
    return false;
  }
  const double speed_kmh = field_number(speed) * 1.852;
  const double course_degrees = field_number(course);
  if (!fits_float(speed_kmh) || !fits_float(course_degrees)) return false;

  if (!parse_coordinate(latitude, f[3], 'N', 90.0, point.raw_latitude, point.raw_latitude_int,
                        point.latitude_fraction, point.latitude) ||
      !parse_coordinate(longitude, f[5], 'E', 180.0, point.raw_longitude, point.raw_longitude_int,
                        point.longitude_fraction, point.longitude)) {
    return false;
  }
  point.speed_kmh = static_cast<float>(speed_kmh);
  point.course = static_cast<float>(course_degrees);
  point.utc_hhmmss = t;
  point.hour = t / 10000;
  point.minute = (t % 10000) / 100;
  point.second = t % 100;
  point.utc_ddmmyy = d;
  point.day = day;
  point.month = month;
  point.year = year;
  if (precise) {
    precise->latitude = precise_coordinate(latitude, f[3], 'N');
    precise->longitude = precise_coordinate(longitude, f[5], 'E');
    const double fraction = field_atof(time.text) - t;
    precise->second_fraction = fraction > 0 && fraction < 1 ? fraction : 0;
    precise->speed_kmh.reset();
    precise->course.reset();
    if (speed.length) precise->speed_kmh = speed_kmh;
    if (course.length) precise->course = course_degrees;
  }
  return true;
}

}  // namespace

std::int8_t read_track_point(std::FILE* log, TrackPoint& point, const std::atomic<bool>* stop,
                             PreciseFix* precise) {
  char line[kLineBufferSize];
  if (feof_unlocked(log)) return -1;
  for (;;) {
    const char* name = nullptr;
    do {
      if (!read_line(log, line, stop)) return -1;
      name = find_name(line, "GGA");
    } while (!name);

    Field f[kFieldsRead];
    if (split_fields(name + 5, f, kFieldsRead) < kFieldsRead) continue;
    const Field& altitude = f[8];
    if (altitude.length > kLongFieldLimit) continue;
    const double metres = field_number(altitude);
    if (!fits_float(metres)) continue;
    point.altitude = static_cast<float>(metres);
    const bool has_altitude = altitude.length != 0;

    // Lines up to the next RMC sentence are passed over, further GGA sentences among them.
    do {
      if (!read_line(log, line, stop)) return -1;
      name = find_name(line, "RMC");
    } while (!name);

    TrackPoint parsed;
    if (!parse_rmc(name + 5, parsed, precise)) continue;
    copy_track_point(point, parsed);
    if (precise) {
      precise->altitude.reset();
      if (has_altitude) precise->altitude = metres;
    }
    return 0;
  }
}

}  // namespace tolvane
