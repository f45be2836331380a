// GPX tracks read through the log seam: fields, times, speed and course, what is skipped,
// damaged files, and the corpus of real tracks.
#include "core/gpx_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/log_file.h"
#include "core/log_set.h"
#include "core/log_spool.h"

namespace tolvane {
namespace {
namespace fs = std::filesystem;

class GpxReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("tolvane_gpx_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path write(const std::string& name, const std::string& bytes) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  // Every point of a GPX document whose track points are `points`.
  std::vector<TrackPoint> read_track(const std::string& points, const char* name = "t.gpx") {
    return read_file(write(name, document(points)));
  }

  static std::string document(const std::string& points) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<gpx version=\"1.1\" creator=\"test\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
           "<trk><trkseg>\n" +
           points + "</trkseg></trk>\n</gpx>\n";
  }

  static std::vector<TrackPoint> read_file(const fs::path& path) {
    std::vector<TrackPoint> points;
    LogFile log = open_log(path);
    EXPECT_TRUE(log);
    TrackPoint point;
    while (read_track_point(log, point) == 0) points.push_back(point);
    EXPECT_EQ(read_track_point(log, point), -1);  // and stays at its end
    return points;
  }

  fs::path dir_;
};

// The chord distance of the track rules between two positions taken in double precision.
double chord_km(double lat1, double lon1, double lat2, double lon2) {
  constexpr double r = 3.141592653589793 / 180;
  const double dx =
      std::cos(lat1 * r) * std::sin(lon1 * r) - std::cos(lat2 * r) * std::sin(lon2 * r);
  const double dy =
      std::cos(lat1 * r) * std::cos(lon1 * r) - std::cos(lat2 * r) * std::cos(lon2 * r);
  const double dz = std::sin(lat1 * r) - std::sin(lat2 * r);
  return std::sqrt(dx * dx + dy * dy + dz * dz) * 20000.0 / 3.141592653589793;
}

// The time and the date of a point as an NMEA log writes them.
int hhmmss(const TrackPoint& p) { return (p.hour * 100 + p.minute) * 100 + p.second; }
int ddmmyy(const TrackPoint& p) { return (p.day * 100 + p.month) * 100 + p.year % 100; }

std::string trkpt(const char* lat, const char* lon, const char* time, const char* inside = "") {
  std::string text = std::string("<trkpt lat=\"") + lat + "\" lon=\"" + lon + "\">";
  if (time) text += std::string("<time>") + time + "</time>";
  return text + inside + "</trkpt>\n";
}

TEST_F(GpxReaderTest, FillsTheFieldsTheOutputsRead) {
  const auto points =
      read_track(trkpt("35.668723", "-139.762982", "2008-01-07T12:35:19Z", "<ele> 545.4 </ele>") +
                 trkpt("-35.6695", "139.7630", "2008-01-07T12:35:29Z"));
  ASSERT_EQ(points.size(), 2u);
  const TrackPoint& p = points[0];
  EXPECT_EQ(p.latitude, 35.668723f);
  EXPECT_EQ(p.longitude, -139.762982f);
  EXPECT_EQ(p.hour, 12);
  EXPECT_EQ(p.minute, 35);
  EXPECT_EQ(p.second, 19);
  EXPECT_EQ(p.year, 2008);
  EXPECT_EQ(p.month, 1);
  EXPECT_EQ(p.day, 7);
  EXPECT_EQ(p.altitude, 545.4f);
  EXPECT_EQ(p.speed_kmh, 0.0f);  // the first point of a file
  EXPECT_EQ(p.course, 0.0f);
  EXPECT_EQ(points[1].altitude, 0.0f);  // no ele
  EXPECT_EQ(points[1].latitude, -35.6695f);
}

TEST_F(GpxReaderTest, TimesInEveryWrittenFormAndTheUnusableOnesSkipped) {
  struct Case {
    const char* text;
    int hhmmss, ddmmyy, year;  // hhmmss -1: the point is skipped
  };
  const Case cases[] = {
      {"2008-01-05T10:23:45Z", 102345, 50108, 2008},
      {" \n\t2008-01-05T10:23:45.999Z \r\n", 102345, 50108, 2008},  // dropped, not rounded
      {"2008-01-05T10:23:45", 102345, 50108, 2008},
      {"2008-01-05T00:30:00+09:00", 153000, 40108, 2008},
      {"2008-03-01T00:30:00.5+0100", 233000, 290208, 2008},
      {"2007-12-31T23:30:00-01:30", 10000, 10108, 2008},
      {"1999-12-31T23:59:59Z", 235959, 311299, 1999},
      {"2008-01-05t10:23:45Z", -1, 0, 0},
      {"2008-01-05 10:23:45Z", -1, 0, 0},
      {"2008-1-05T10:23:45Z", -1, 0, 0},
      {"2007-02-29T10:23:45Z", -1, 0, 0},
      {"2008-01-05T24:00:00Z", -1, 0, 0},
      {"2008-01-05T10:60:00Z", -1, 0, 0},
      {"2008-01-05T10:23:60Z", -1, 0, 0},
      {"2008-01-05T10:23:45.Z", -1, 0, 0},
      {"2008-01-05T10:23:45+24:00", -1, 0, 0},
      {"2008-01-05T10:23:45+09", -1, 0, 0},
      {"2008-01-05T10:23:45 Z", -1, 0, 0},
      {"2008-01-05T10:23:45ZZ", -1, 0, 0},
      {"", -1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto points = read_track(trkpt("35", "139", c.text));
    if (c.hhmmss < 0) {
      EXPECT_TRUE(points.empty());
      continue;
    }
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(hhmmss(points[0]), c.hhmmss);
    EXPECT_EQ(ddmmyy(points[0]), c.ddmmyy);
    EXPECT_EQ(points[0].year, c.year);
  }
}

TEST_F(GpxReaderTest, SpeedAndCourseGivenOrDerivedFromThePreviousPointRead) {
  const auto points = read_track(
      trkpt("0", "0", "2008-01-05T10:00:00Z") +
      // Given: a speed child in m/s and a course child.
      trkpt("0", "0.001", "2008-01-05T10:00:10Z", "<speed>2.5</speed><course>45.5</course>") +
      // Skipped points do not count as the previous one.
      trkpt("91", "0", "2008-01-05T10:00:15Z") + trkpt("0", "abc", "2008-01-05T10:00:15Z") +
      trkpt("0", "0", nullptr) +
      // Derived: east, 0.001 degrees of longitude in 10 s; a speed that is no number is absent.
      trkpt("0", "0.002", "2008-01-05T10:00:20Z", "<speed>NaN</speed>") +
      // From the extensions, the first in document order, any prefix.
      trkpt("-0.001", "0.002", "2008-01-05T10:00:30Z",
            "<extensions><x:TrackPointExtension xmlns:x=\"urn:x\"><x:speed>1</x:speed>"
            "<x:speed>9</x:speed><x:course>inf</x:course></x:TrackPointExtension>"
            "</extensions>") +
      // Westward; the same second gives speed 0.
      trkpt("-0.001", "0.001", "2008-01-05T10:00:30Z") +
      // Not track points.
      "</trkseg></trk><rte><rtept lat=\"1\" lon=\"1\"><time>2008-01-05T10:00:40Z</time></rtept>"
      "</rte><wpt lat=\"1\" lon=\"1\"><time>2008-01-05T10:00:40Z</time></wpt><trk><trkseg>");
  ASSERT_EQ(points.size(), 5u);
  EXPECT_EQ(points[1].speed_kmh, static_cast<float>(2.5 * 3.6));
  EXPECT_EQ(points[1].course, 45.5f);
  EXPECT_FLOAT_EQ(points[2].speed_kmh, chord_km(0, 0.001, 0, 0.002) * 3600.0 / 10.0);
  EXPECT_EQ(points[2].course, 90.0f);
  EXPECT_EQ(points[3].speed_kmh, 3.6f);
  EXPECT_EQ(points[3].course, 180.0f);  // south, from the previous point
  EXPECT_EQ(points[4].speed_kmh, 0.0f);
  EXPECT_EQ(points[4].course, 270.0f);
}

TEST_F(GpxReaderTest, DamagedFilesKeepThePointsBeforeTheDamage) {
  const std::string good =
      trkpt("35", "139", "2008-01-05T10:00:00Z") + trkpt("35", "139", "2008-01-05T10:00:01Z");
  // Cut short inside the third point: its end tag never comes.
  const std::string whole = document(good + trkpt("35", "139", "2008-01-05T10:00:02Z"));
  const std::size_t cut = whole.rfind("</trkpt>");
  EXPECT_EQ(read_file(write("cut.gpx", whole.substr(0, cut))).size(), 2u);
  // Not well-formed after two points.
  EXPECT_EQ(read_file(write("bad.gpx", document(good + "<trkpt lat=\"1\" lat=\"2\">"))).size(), 2u);
  // No point at all.
  for (const std::string& bytes : {std::string(), std::string("not xml"), document(""),
                                   std::string("\xFF\xFE\x00\x00junk", 8)}) {
    EXPECT_TRUE(read_file(write("none.gpx", bytes)).empty());
  }
  // A file that cannot be opened.
  EXPECT_FALSE(open_log(dir_ / "missing.gpx"));
}

TEST_F(GpxReaderTest, BuiltInEncodingsAndNamesInAnyCase) {
  const std::string latin1 =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><gpx><trk><name>Caf\xE9</name><trkseg>" +
      trkpt("35", "139", "2008-01-05T10:00:00Z") + "</trkseg></trk></gpx>";
  EXPECT_EQ(read_file(write("latin.GPX", latin1)).size(), 1u);
  // UTF-16 with its byte-order mark, every character two bytes.
  const std::string text = "<?xml version=\"1.0\" encoding=\"UTF-16\"?><gpx><trk><trkseg>" +
                           trkpt("35", "139", "2008-01-05T10:00:00Z") + "</trkseg></trk></gpx>";
  std::string utf16 = "\xFF\xFE";
  for (char c : text) {
    utf16 += c;
    utf16 += '\0';
  }
  EXPECT_EQ(read_file(write("wide.Gpx", utf16)).size(), 1u);
}

TEST_F(GpxReaderTest, LongTracksComeInChunksInOrderWithTheirDerivedSpeeds) {
  std::string points;
  for (int i = 0; i < 5000; ++i) {
    char time[32];
    std::snprintf(time, sizeof time, "2008-01-05T%02d:%02d:%02dZ", i / 3600, i / 60 % 60, i % 60);
    const std::string latitude = std::to_string(35 + i * 1e-4);
    const std::string longitude = std::to_string(139 - (i % 7) * 3e-4);
    points += trkpt(latitude.c_str(), longitude.c_str(), time, "<ele>1</ele>");
  }
  const auto read = read_track(points);
  ASSERT_EQ(read.size(), 5000u);
  for (std::size_t i = 0; i < 5000; ++i) {
    const int second = static_cast<int>(i);
    ASSERT_EQ(hhmmss(read[i]), second / 3600 * 10000 + second / 60 % 60 * 100 + second % 60);
    if (i == 0) continue;
    // One second apart: the chord distance between the positions as written, per hour.
    ASSERT_FLOAT_EQ(read[i].speed_kmh, chord_km(35 + (i - 1) * 1e-4, 139 - ((i - 1) % 7) * 3e-4,
                                                35 + i * 1e-4, 139 - (i % 7) * 3e-4) *
                                           3600.0)
        << i;
  }
}

TEST_F(GpxReaderTest, FastTracksTakeTheFractionsOfTheirTimesAndTheWrittenPositions) {
  // 5 points a second at 47 km/h, north-east, as a phone writes them: nine decimals of a degree
  // and milliseconds; one point is written twice, at the same instant.
  const double speed_kmh = 47.0;
  const double step_deg = speed_kmh / 3.6 * 0.2 / 111194.9266 / std::sqrt(2.0);
  std::string points;
  for (int i = 0; i < 60; ++i) {
    char lat[32];
    char lon[32];
    char time[40];
    std::snprintf(lat, sizeof lat, "%.9f", 35.681236 + i * step_deg);
    std::snprintf(lon, sizeof lon, "%.9f",
                  139.767125 + i * step_deg / std::cos((35.681236 + i * step_deg) * 0.0174533));
    std::snprintf(time, sizeof time, "2024-05-01T09:%02d:%02d.%03dZ", (i / 5) / 60, (i / 5) % 60,
                  i % 5 * 200);
    points += trkpt(lat, lon, time);
    if (i == 30) points += trkpt(lat, lon, time);
  }
  const auto read = read_track(points);
  ASSERT_EQ(read.size(), 61u);
  for (std::size_t i = 1; i < read.size(); ++i) {
    SCOPED_TRACE(i);
    if (i == 31) {
      EXPECT_EQ(read[i].speed_kmh, 0.0f);  // no time between the two
      continue;
    }
    EXPECT_NEAR(read[i].speed_kmh, speed_kmh, speed_kmh * 0.01);
    EXPECT_NEAR(read[i].course, 45.0, 0.5);
  }
  // The times shown keep whole seconds.
  EXPECT_EQ(hhmmss(read[4]), 90000);
  EXPECT_EQ(hhmmss(read[5]), 90001);
}

TEST_F(GpxReaderTest, ASpooledLogReadsBackAsItsFileWithoutTheFile) {
  // Longer than a block of the spool; elevations, speeds and courses given for some points.
  std::string points;
  for (int i = 0; i < 3000; ++i) {
    char time[40];
    std::snprintf(time, sizeof time, "2008-01-05T%02d:%02d:%02d.%dZ", i / 3600, i / 60 % 60, i % 60,
                  i % 10);
    const std::string latitude = std::to_string(35 + i * 1.234567e-4);
    const std::string longitude = std::to_string(139 - (i % 11) * 3e-4);
    std::string inside;
    if (i % 3 == 0) inside += i % 2 ? "<ele>12.25</ele>" : "<ele>x</ele>";
    if (i % 5 == 0) inside += "<speed>3.5</speed>";
    if (i % 7 == 0) inside += "<course>271.5</course>";
    points += trkpt(latitude.c_str(), longitude.c_str(), time, inside.c_str());
  }
  const fs::path path = write("spooled.gpx", document(points));
  struct Read {
    TrackPoint point;
    PreciseFix precise;
    bool altitude = false;
  };
  auto read_all = [](LogFile log) {
    std::vector<Read> all;
    Read r;
    while (read_track_point(log, r.point, r.precise) == 0) {
      r.altitude = has_altitude(log);
      all.push_back(r);
    }
    return all;
  };
  const std::vector<Read> from_file = read_all(open_log(path));
  ASSERT_EQ(from_file.size(), 3000u);

  LogSpools spools;
  LogExtent extent;
  ASSERT_EQ(read_log_extent(path, extent, nullptr, &spools), 0);
  fs::remove(path);
  const std::vector<Read> from_spool = read_all(open_log(path, nullptr, &spools));
  ASSERT_EQ(from_spool.size(), from_file.size());
  for (std::size_t i = 0; i < from_file.size(); ++i) {
    SCOPED_TRACE(i);
    const Read& a = from_file[i];
    const Read& b = from_spool[i];
    ASSERT_EQ(std::memcmp(&a.point, &b.point, sizeof a.point), 0);
    ASSERT_EQ(a.altitude, b.altitude);
    ASSERT_EQ(a.precise.latitude, b.precise.latitude);
    ASSERT_EQ(a.precise.longitude, b.precise.longitude);
    ASSERT_EQ(a.precise.second_fraction, b.precise.second_fraction);
    ASSERT_EQ(a.precise.altitude, b.precise.altitude);
    ASSERT_EQ(a.precise.speed_kmh, b.precise.speed_kmh);
    ASSERT_EQ(a.precise.course, b.precise.course);
  }

  // A stop ends a spooled log at its next point.
  std::atomic<bool> stop{false};
  LogFile log = open_log(path, &stop, &spools);
  TrackPoint point;
  ASSERT_EQ(read_track_point(log, point), 0);
  stop = true;
  EXPECT_EQ(read_track_point(log, point), -1);
  // A log without a spool is read from its file, which is gone.
  EXPECT_FALSE(open_log(dir_ / "other.gpx", nullptr, &spools));
}

// The corpus of real GPX files, when it is there.
fs::path corpus_dir() {
  if (const char* dir = std::getenv("TOLVANE_CORPUS")) return dir;
  return fs::path(TOLVANE_SOURCE_DIR) / ".." / "shared" / "corpus";
}

TEST(GpxReaderCorpus, ReadsTheRealTracks) {
  const fs::path dir = corpus_dir() / "gpx";
  if (!fs::exists(dir / "MANIFEST.tsv")) GTEST_SKIP() << "no corpus at " << dir;
  // Points read: every trkpt with a time (the manifest's count), but where noted.
  const std::map<std::string, int> expected = {
      {"gpsbabel-expertgps.gpx", 64},
      {"gpsbabel-garmin-forerunner-10-output.gpx", 514},
      {"gpsbabel-garminconnect.gpx", 68},
      {"gpsbabel-globalsat_gh625XT.gpx", 174},
      {"gpsbabel-gpx_subsecond-sample.gpx", 5},
      {"gpsbabel-igc1_baro.gpx", 637},
      {"gpsbabel-nmea+ms.gpx", 26},
      {"gpsbabel-nmea.gpx", 154},
      {"gpsbabel-segmented_tracks.gpx", 4},
      {"gpsbabel-tpo-sample1.gpx", 0},
      {"gpxpy-cerknicko-without-times.gpx", 5},
      {"gpxpy-korita-zbevnica.gpx", 513},
      {"gpxpy-track-with-less-sec-time.gpx", 2},
      {"gpxpy-track_with_speed.gpx", 3},
      {"gpxpy-unicode_with_bom.gpx", 0},
      {"togeojson-empty_ele.gpx", 2},
      {"togeojson-gdal.gpx", 0},
      {"togeojson-missing_hr.gpx", 16},
      {"togeojson-run.gpx", 206},
  };
  for (const auto& [name, count] : expected) {
    SCOPED_TRACE(name);
    std::vector<TrackPoint> points;
    LogFile log = open_log(dir / name);
    ASSERT_TRUE(log);
    TrackPoint point;
    while (read_track_point(log, point) == 0) points.push_back(point);
    EXPECT_EQ(static_cast<int>(points.size()), count);
  }

  // The one track the corpus holds as an NMEA log too: the same fixes, times, places and
  // courses (its speeds are the writer's own).
  LogFile gpx = open_log(dir / "gpsbabel-nmea.gpx");
  LogFile nmea = open_log(corpus_dir() / "nmea" / "gpsbabel-nmea.log");
  ASSERT_TRUE(gpx && nmea);
  TrackPoint a;
  TrackPoint b;
  int same = 0;
  while (read_track_point(gpx, a) == 0 && read_track_point(nmea, b) == 0) {
    SCOPED_TRACE(hhmmss(a));
    ASSERT_EQ(hhmmss(a), hhmmss(b));
    ASSERT_EQ(ddmmyy(a), ddmmyy(b));
    EXPECT_NEAR(a.latitude, b.latitude, 1e-5);
    EXPECT_NEAR(a.longitude, b.longitude, 1e-5);
    EXPECT_NEAR(a.course, b.course, 0.01);
    ++same;
  }
  EXPECT_EQ(same, 154);
}

}  // namespace
}  // namespace tolvane
