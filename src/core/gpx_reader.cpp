#include "core/gpx_reader.h"

#include <expat.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "core/c_number.h"
#include "core/field_number.h"
#include "core/gpx_time.h"
#include "core/run_contracts.h"
#include "core/track_distance.h"

namespace tolvane {
namespace {

// Bytes handed to expat at a time.
constexpr int kChunkSize = 64 * 1024;
// The longest text of an element that is read (ele, time, speed, course), blanks around it
// left out; a longer text is not a usable value.
constexpr std::size_t kTextLimit = 256;
constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kKmhPerMetrePerSecond = 3.6;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
struct ParserFree {
  void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

// The name of an element without its prefix: the part after the last ":".
std::string_view local_name(const XML_Char* name) {
  const char* colon = std::strrchr(name, ':');
  return colon ? colon + 1 : name;
}

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The text of one element without the blanks around it, collected from however many pieces
// expat delivers. Blanks inside are kept (as spaces) only once something follows them.
class ElementText {
 public:
  void clear() {
    size_ = 0;
    pending_blanks_ = 0;
    too_long_ = false;
  }
  void add(const char* piece, int length) {
    const char* end = piece + length;
    while (piece < end && !too_long_) {
      if (is_blank(*piece)) {
        if (size_ != 0) ++pending_blanks_;
        ++piece;
        continue;
      }
      const char* run = piece;
      while (piece < end && !is_blank(*piece)) ++piece;
      const std::size_t run_length = static_cast<std::size_t>(piece - run);
      if (size_ + pending_blanks_ + run_length > kTextLimit) {
        too_long_ = true;
        return;
      }
      if (pending_blanks_ != 0) {
        std::memset(buffer_.data() + size_, ' ', pending_blanks_);
        size_ += pending_blanks_;
        pending_blanks_ = 0;
      }
      std::memcpy(buffer_.data() + size_, run, run_length);
      size_ += run_length;
    }
  }
  // The text as a C string (expat delivers no zero byte inside text); null when it was too long
  // to be a value.
  const char* c_str() {
    if (too_long_) return nullptr;
    buffer_[size_] = '\0';
    return buffer_.data();
  }
  std::string_view view() const { return {buffer_.data(), size_}; }

 private:
  std::array<char, kTextLimit + 1> buffer_;
  std::size_t size_ = 0;
  std::size_t pending_blanks_ = 0;
  bool too_long_ = false;
};

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The number at the start of `text` as strtod reads it in the "C" locale; empty when there is
// none or when it is not finite.
std::optional<double> finite_number(const char* text) {
  // A text that starts with a plain decimal, the usual case, has a number: the fast conversion
  // gives strtod's value for it.
  const char* p = text + (*text == '-' || *text == '+');
  if (is_digit(*p) || (*p == '.' && is_digit(p[1]))) {
    const double value = field_atof(text);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
  }
  char* end = nullptr;
  const double value = c_strtod(text, &end);
  if (end == text || !std::isfinite(value)) return std::nullopt;
  return value;
}

// A double rounded once to float; empty when the float is not finite.
std::optional<float> to_float(double value) {
  const float rounded = static_cast<float>(value);
  if (!std::isfinite(rounded)) return std::nullopt;
  return rounded;
}

// A point's position as the file writes it, in double precision, as radians with their sines
// and cosines (as the core's distance takes it), worked out once for the distance and the
// bearing from the previous point and to the next. (The float positions kept in the points are
// too coarse: at several points a second their rounding alone would swing the speeds. Nor may a
// pair of them be widened again next to their rounding: GCC 12.2's SLP vectorizer at -O2 then
// stores the floats but goes on with the unrounded doubles.)
using Position = SpherePosition;

// Initial great-circle bearing from one position to the next, in degrees [0, 360).
float initial_bearing(const Position& from, const Position& to) {
  const double delta_lambda = to.lambda - from.lambda;
  double theta =
      std::atan2(std::sin(delta_lambda) * to.cos_phi,
                 from.cos_phi * to.sin_phi - from.sin_phi * to.cos_phi * std::cos(delta_lambda)) *
      kDegreesPerRadian;
  if (theta < 0) theta += 360.0;
  const float course = static_cast<float>(theta);
  return course == 360.0f ? 0.0f : course;
}

// What is being collected from the element that is open at collect_depth.
enum class Target { kNone, kElevation, kTime, kSpeed, kCourse };

// The trkpt element that is open.
struct OpenPoint {
  int depth = 0;  // depth of the trkpt element; 0 when none is open
  bool position_usable = false;
  double latitude = 0;
  double longitude = 0;
  bool elevation_seen = false;
  bool elevation_usable = false;  // the ele element held a finite number
  double elevation = 0;
  bool time_seen = false;
  std::optional<UtcTime> time;
  std::optional<float> speed_kmh;
  std::optional<float> course;
  int extensions_depth = 0;  // depth of the point's extensions element; 0 when not inside
};

// The last point read from the file, for the speed and course of the next.
struct PreviousPoint {
  Position position;
  UtcTime time;
};

// A lat or lon attribute: a number within +-limit degrees.
std::optional<double> coordinate(const XML_Char* text, double limit) {
  std::optional<double> value = finite_number(text);
  if (!value || !(std::fabs(*value) <= limit)) return std::nullopt;
  return value;
}

}  // namespace

namespace {
void on_characters(void* user, const XML_Char* data, int length);
}  // namespace

struct GpxReader::State {
  std::unique_ptr<std::FILE, FileCloser> file;
  std::unique_ptr<XML_ParserStruct, ParserFree> parser;
  const std::atomic<bool>* stop = nullptr;
  bool parsing_done = false;
  std::deque<GpxFix> ready;  // points completed by the chunks parsed so far

  int depth = 0;
  OpenPoint point;
  Target target = Target::kNone;
  int collect_depth = 0;
  ElementText text;
  std::optional<PreviousPoint> previous;

  void start_element(const XML_Char* name, const XML_Char** attributes);
  void end_element();
  void characters(const XML_Char* data, int length);
  void finish_value();
  void finish_point();
};

void GpxReader::State::start_element(const XML_Char* name, const XML_Char** attributes) {
  ++depth;
  const std::string_view local = local_name(name);
  if (point.depth == 0) {
    if (local != "trkpt") return;
    point = OpenPoint();
    point.depth = depth;
    std::optional<double> latitude;
    std::optional<double> longitude;
    bool latitude_seen = false;
    bool longitude_seen = false;
    for (const XML_Char** a = attributes; a[0]; a += 2) {
      if (!latitude_seen && std::strcmp(a[0], "lat") == 0) {
        latitude_seen = true;
        latitude = coordinate(a[1], 90.0);
      } else if (!longitude_seen && std::strcmp(a[0], "lon") == 0) {
        longitude_seen = true;
        longitude = coordinate(a[1], 180.0);
      }
    }
    point.position_usable = latitude && longitude;
    point.latitude = latitude.value_or(0);
    point.longitude = longitude.value_or(0);
    return;
  }
  if (target != Target::kNone) return;  // inside an element whose own text is collected

  Target wanted = Target::kNone;
  if (depth == point.depth + 1) {
    if (local == "ele" && !point.elevation_seen) {
      wanted = Target::kElevation;
    } else if (local == "time" && !point.time_seen) {
      wanted = Target::kTime;
    } else if (local == "speed" && !point.speed_kmh) {
      wanted = Target::kSpeed;
    } else if (local == "course" && !point.course) {
      wanted = Target::kCourse;
    } else if (local == "extensions" && point.extensions_depth == 0) {
      point.extensions_depth = depth;
    }
  } else if (point.extensions_depth != 0) {
    if (local == "speed" && !point.speed_kmh) {
      wanted = Target::kSpeed;
    } else if (local == "course" && !point.course) {
      wanted = Target::kCourse;
    }
  }
  if (wanted != Target::kNone) {
    target = wanted;
    collect_depth = depth;
    text.clear();
    // Text is wanted only now: expat passes none of the rest, the blanks between elements above
    // all.
    XML_SetCharacterDataHandler(parser.get(), on_characters);
  }
}

void GpxReader::State::characters(const XML_Char* data, int length) {
  if (target != Target::kNone && depth == collect_depth) text.add(data, length);
}

void GpxReader::State::finish_value() {
  const char* value = text.c_str();
  if (target == Target::kTime) {
    point.time_seen = true;
    if (value) point.time = parse_gpx_time(text.view());
  } else {
    const std::optional<double> number = value ? finite_number(value) : std::nullopt;
    switch (target) {
      case Target::kElevation:
        point.elevation_seen = true;
        point.elevation_usable = number.has_value();
        point.elevation = number.value_or(0.0);
        break;
      case Target::kSpeed:
        // A value that is not a finite number counts as absent: a later speed element may give
        // it.
        if (number) point.speed_kmh = to_float(*number * kKmhPerMetrePerSecond);
        break;
      case Target::kCourse:
        if (number) point.course = to_float(*number);
        break;
      case Target::kTime:
      case Target::kNone:
        break;
    }
  }
  target = Target::kNone;
  XML_SetCharacterDataHandler(parser.get(), nullptr);
}

void GpxReader::State::finish_point() {
  const OpenPoint done = point;
  point = OpenPoint();
  if (!done.position_usable || !done.time) return;

  GpxFix fix;
  fix.latitude = done.latitude;
  fix.longitude = done.longitude;
  const UtcTime& t = *done.time;
  fix.second_fraction = t.fraction;
  fix.year = t.year;
  fix.month = static_cast<std::uint8_t>(t.month);
  fix.day = static_cast<std::uint8_t>(t.day);
  fix.hour = static_cast<std::uint8_t>(t.hour);
  fix.minute = static_cast<std::uint8_t>(t.minute);
  fix.second = static_cast<std::uint8_t>(t.second);
  if (done.elevation_usable) {
    fix.flags |= GpxFix::kElevation;
    fix.elevation = done.elevation;
  }

  const Position position(done.latitude, done.longitude);
  if (done.speed_kmh) {
    fix.flags |= GpxFix::kSpeedGiven;
    fix.speed_kmh = *done.speed_kmh;
  } else if (previous) {
    const double elapsed = seconds_between(previous->time, t);
    fix.speed_kmh =
        elapsed <= 0
            ? 0.0f
            : static_cast<float>(chord_km(previous->position, position) * 3600.0 / elapsed);
  }
  if (done.course) {
    fix.flags |= GpxFix::kCourseGiven;
    fix.course = *done.course;
  } else if (previous) {
    fix.course = initial_bearing(previous->position, position);
  }
  previous = PreviousPoint{position, t};
  ready.push_back(fix);
}

void GpxReader::State::end_element() {
  if (target != Target::kNone && depth == collect_depth) finish_value();
  if (point.depth != 0) {
    if (depth == point.extensions_depth) point.extensions_depth = 0;
    if (depth == point.depth) finish_point();
  }
  --depth;
}

namespace {

void on_start(void* user, const XML_Char* name, const XML_Char** attributes) {
  static_cast<GpxReader::State*>(user)->start_element(name, attributes);
}
void on_end(void* user, const XML_Char*) { static_cast<GpxReader::State*>(user)->end_element(); }
void on_characters(void* user, const XML_Char* data, int length) {
  static_cast<GpxReader::State*>(user)->characters(data, length);
}

}  // namespace

std::unique_ptr<GpxReader> GpxReader::open(const std::filesystem::path& path,
                                           const std::atomic<bool>* stop) {
  auto state = std::make_unique<State>();
  state->stop = stop;
  state->file.reset(std::fopen(path.c_str(), "rb"));
  if (!state->file) return nullptr;
  // No namespace processing: prefixed names arrive as written.
  state->parser.reset(XML_ParserCreate(nullptr));
  if (!state->parser) return nullptr;
  XML_SetUserData(state->parser.get(), state.get());
  XML_SetElementHandler(state->parser.get(), on_start, on_end);
  return std::make_unique<GpxReader>(std::move(state));
}

GpxReader::GpxReader(std::unique_ptr<State> state) : state_(std::move(state)) {}

GpxReader::~GpxReader() = default;

namespace {

// Parses chunks until a point is ready; false when none is left or a stop was asked for.
bool fill_ready(GpxReader::State& s) {
  while (s.ready.empty()) {
    if (s.parsing_done || stop_requested(s.stop)) return false;
    XML_Parser parser = s.parser.get();
    void* buffer = XML_GetBuffer(parser, kChunkSize);
    if (!buffer) {
      s.parsing_done = true;
      return false;
    }
    const std::size_t got = std::fread(buffer, 1, kChunkSize, s.file.get());
    const bool last = got < static_cast<std::size_t>(kChunkSize);
    if (XML_ParseBuffer(parser, static_cast<int>(got), last) != XML_STATUS_OK || last) {
      s.parsing_done = true;
    }
  }
  return true;
}

}  // namespace

std::int8_t GpxReader::read(GpxFix& fix) {
  State& s = *state_;
  if (!fill_ready(s)) return -1;
  fix = s.ready.front();
  s.ready.pop_front();
  return 0;
}

TrackPoint track_point_of(const GpxFix& fix) {
  TrackPoint p;
  p.latitude = static_cast<float>(fix.latitude);
  p.longitude = static_cast<float>(fix.longitude);
  p.speed_kmh = fix.speed_kmh;
  p.course = fix.course;
  p.hour = fix.hour;
  p.minute = fix.minute;
  p.second = fix.second;
  p.year = fix.year;
  p.month = fix.month;
  p.day = fix.day;
  p.altitude = to_float(fix.elevation).value_or(0.0f);
  return p;
}

PreciseFix precise_fix_of(const GpxFix& fix) {
  PreciseFix precise;
  precise.latitude = fix.latitude;
  precise.longitude = fix.longitude;
  precise.second_fraction = fix.second_fraction;
  if (fix.flags & GpxFix::kElevation) precise.altitude = fix.elevation;
  if (fix.flags & GpxFix::kSpeedGiven) precise.speed_kmh = fix.speed_kmh;
  if (fix.flags & GpxFix::kCourseGiven) precise.course = fix.course;
  return precise;
}

}  // namespace tolvane
