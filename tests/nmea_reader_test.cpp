// The NMEA reader: well-formed pairs, damaged and hostile input, and the corpus of real logs.
#include "core/nmea_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/c_number.h"
#include "core/text_format.h"

namespace tolvane {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// A real file holding `text`, positioned at its start.
File log_of(const std::string& text) {
  File file(std::tmpfile());
  EXPECT_TRUE(file);
  std::fwrite(text.data(), 1, text.size(), file.get());
  std::rewind(file.get());
  return file;
}

std::vector<TrackPoint> read_all(const std::string& text) {
  File log = log_of(text);
  std::vector<TrackPoint> points;
  TrackPoint point;
  while (read_track_point(log.get(), point) == 0) points.push_back(point);
  return points;
}

std::string gga(const std::string& time = "123519", const std::string& altitude = "545.4") {
  return "$GPGGA," + time + ",3540.1234,N,13945.6789,E,1,08,0.9," + altitude + ",M,46.9,M,,*47\r\n";
}

// A $GPRMC line from its eleven fields, with some of them replaced.
std::string rmc(std::map<int, std::string> changes = {}) {
  std::array<std::string, 11> fields = {"123519", "A",     "3540.1234", "N",     "13945.6789", "E",
                                        "10.0",   "123.4", "070108",    "003.1", "W"};
  for (const auto& [index, text] : changes) fields[static_cast<std::size_t>(index)] = text;
  std::string line = "$GPRMC";
  for (const auto& field : fields) line += "," + field;
  return line + "*6A\r\n";
}

std::string pair_at(const std::string& time) { return gga(time) + rmc({{0, time}}); }

TEST(NmeaReader, ReadsEveryFieldOfAWellFormedPair) {
  const auto points = read_all(gga("123519", "545.4") +
                               rmc({{0, "235959.999"}, {2, "3540.1234"}, {4, "13945.6789"}}));
  ASSERT_EQ(points.size(), 1u);
  const TrackPoint& p = points[0];
  EXPECT_EQ(p.raw_latitude, 3540.1234f);
  EXPECT_EQ(p.raw_longitude, 13945.6789f);
  EXPECT_EQ(p.raw_latitude_int, 3540);
  EXPECT_EQ(p.raw_longitude_int, 13945);
  EXPECT_EQ(p.latitude_fraction, static_cast<float>(3540.1234 - 3540));
  EXPECT_EQ(p.longitude_fraction, static_cast<float>(13945.6789 - 13945));
  EXPECT_EQ(format_text("%.6f", p.latitude), "35.668724");
  EXPECT_EQ(format_text("%.6f", p.longitude), "139.761322");
  EXPECT_EQ(p.speed_kmh, 18.52f);
  EXPECT_EQ(p.course, 123.4f);
  EXPECT_EQ(p.utc_hhmmss, 235959);  // the fraction of the second is dropped, not rounded
  EXPECT_EQ(p.hour, 23);
  EXPECT_EQ(p.minute, 59);
  EXPECT_EQ(p.second, 59);
  EXPECT_EQ(p.utc_ddmmyy, 70108);
  EXPECT_EQ(p.day, 7);
  EXPECT_EQ(p.month, 1);
  EXPECT_EQ(p.year, 2008);
  EXPECT_EQ(p.altitude, 545.4f);
}

TEST(NmeaReader, MinutesUseTheSinglePrecisionSixtiethInDoubleArithmetic) {
  // Here 1/60 in double and the single-precision constant round to different floats.
  const auto points = read_all(gga() + rmc({{2, "3500.6847"}, {4, "13901.8013"}}));
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].latitude, 35.01141357421875f);
  EXPECT_EQ(points[0].longitude, 139.030029296875f);
}

TEST(NmeaReader, HemisphereLettersOtherThanNAndEGiveNegativeValues) {
  struct Case {
    std::string north_south, east_west;
    bool north, east;
  };
  const Case cases[] = {{"N", "E", true, true},   {"S", "W", false, false},
                        {"n", "e", false, false}, {"", "", false, false},
                        {"N", "W", true, false},  {"NORTH", "EAST", true, true}};
  for (const Case& c : cases) {
    const auto points = read_all(gga() + rmc({{3, c.north_south}, {5, c.east_west}}));
    ASSERT_EQ(points.size(), 1u) << c.north_south << c.east_west;
    EXPECT_EQ(points[0].latitude > 0, c.north) << c.north_south;
    EXPECT_EQ(points[0].longitude > 0, c.east) << c.east_west;
    EXPECT_EQ(std::fabs(points[0].latitude), std::fabs(read_all(gga() + rmc())[0].latitude));
  }
}

TEST(NmeaReader, PairsEachGgaWithTheNextRmc) {
  const std::string log = rmc({{0, "000001"}}) +  // before any $GPGGA
                          "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39\r\n" +
                          gga("000002", "100.0") + gga("000003", "200.0") +  // first one counts
                          "$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39*71\r\n" +
                          rmc({{0, "000004"}, {1, "V"}}) +  // no fix: still a point
                          "$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K*48\r\n" + pair_at("000005");
  const auto points = read_all(log);
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0].utc_hhmmss, 4);
  EXPECT_EQ(points[0].altitude, 100.0f);
  EXPECT_EQ(points[1].utc_hhmmss, 5);
}

TEST(NmeaReader, AnyTalkerButAMakersOwnSentence) {
  auto talker = [](std::string line, const char* name) { return line.replace(1, 2, name); };
  const std::string log =
      // GGA and RMC of different talkers pair up, the altitude of the first GGA standing.
      talker(gga("100000", "10.0"), "GN") + gga("100000", "20.0") +
      talker(rmc({{0, "100000"}}), "GN") +
      // $GPRMC and $GNRMC of one fix: the second finds no GGA before it.
      gga("100001") + rmc({{0, "100001"}}) + talker(rmc({{0, "100001"}}), "GN") +
      talker(gga("100002"), "BD") + talker(rmc({{0, "100002"}}), "GA") +
      // A maker's own sentence and lower-case letters name no talker: the RMC comes first.
      talker(gga("100003"), "PG") + talker(gga("100003"), "gn") + rmc({{0, "100003"}}) +
      // Found anywhere in the line.
      "noise" + talker(gga("100004"), "IN") + "xx" + talker(rmc({{0, "100004"}}), "GL");
  const auto points = read_all(log);
  ASSERT_EQ(points.size(), 4u);
  EXPECT_EQ(points[0].utc_hhmmss, 100000);
  EXPECT_EQ(points[0].altitude, 10.0f);
  EXPECT_EQ(points[1].utc_hhmmss, 100001);
  EXPECT_EQ(points[2].utc_hhmmss, 100002);
  EXPECT_EQ(points[3].utc_hhmmss, 100004);
  EXPECT_FLOAT_EQ(points[3].latitude, 35.668724f);
}

TEST(NmeaReader, DatesAndTimesAsTheLogHasThem) {
  auto one = [](const std::string& time, const std::string& date) {
    const auto points = read_all(gga() + rmc({{0, time}, {8, date}}));
    EXPECT_EQ(points.size(), 1u) << time << " " << date;
    return points.empty() ? TrackPoint{} : points[0];
  };
  EXPECT_EQ(one("000000", "311299").year, 2099);  // never 1999
  EXPECT_EQ(one("000000", "290200").day, 29);     // 2000 is a leap year
  const TrackPoint odd = one(" 222519", "010100");
  EXPECT_EQ(odd.hour * 10000 + odd.minute * 100 + odd.second, 222519);
  EXPECT_EQ(one("222515.x", "010100").utc_hhmmss, 222515);
  EXPECT_EQ(one("0", "010100").utc_hhmmss, 0);
}

TEST(NmeaReader, EndOfFileRules) {
  // A last $GPGGA without its $GPRMC: -1, with the altitude already taken and the rest of the
  // point left as it was.
  File log = log_of(pair_at("010203") + gga("010204", "999.5"));
  TrackPoint point;
  ASSERT_EQ(read_track_point(log.get(), point), 0);
  EXPECT_EQ(read_track_point(log.get(), point), -1);
  EXPECT_EQ(point.altitude, 999.5f);
  EXPECT_EQ(point.utc_hhmmss, 10203);
  EXPECT_EQ(read_track_point(log.get(), point), -1);  // and stays at its end

  EXPECT_TRUE(read_all("").empty());
  EXPECT_TRUE(read_all(rmc() + rmc()).empty());  // no $GPGGA at all
  // A final line without a line break is never used, even when it completes a point.
  std::string unfinished = pair_at("010203") + pair_at("010204");
  unfinished.resize(unfinished.size() - 2);
  const auto points = read_all(unfinished);
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].utc_hhmmss, 10203);
  EXPECT_EQ(read_all(pair_at("010203") + "\n").size(), 1u);  // LF as well as CR LF
}

TEST(NmeaReader, EmptySpeedCourseAndAltitudeReadAsZero) {
  const auto points = read_all(gga("123519", "") + rmc({{6, ""}, {7, ""}}));
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].speed_kmh, 0.0f);
  EXPECT_EQ(points[0].course, 0.0f);
  EXPECT_EQ(points[0].altitude, 0.0f);
  EXPECT_EQ(format_text("%.6f", points[0].latitude), "35.668724");  // nothing shifted
  EXPECT_EQ(points[0].day, 7);
}

TEST(NmeaReader, SkipsADamagedRmcAndGoesOnWithTheNextPair) {
  const std::string long_field(63, '1');
  const std::string long_time = "123519." + std::string(248, '0');  // 255 characters
  const std::vector<std::map<int, std::string>> damaged = {
      {{0, ""}},          {{2, ""}},           {{4, ""}},           {{8, ""}},
      {{0, "240000"}},    {{0, "236000"}},     {{0, "235960"}},     {{0, "-000001"}},
      {{8, "000108"}},    {{8, "320108"}},     {{8, "001308"}},     {{8, "000008"}},
      {{8, "290201"}},    {{8, "310408"}},     {{8, "-070108"}},    {{8, "2208-1"}},
      {{2, "9001.0000"}}, {{2, "36000.0000"}}, {{4, "18001.0000"}}, {{4, "72000.0000"}},
      {{2, "1e300"}},     {{4, "nan"}},        {{6, "inf"}},        {{7, "nan"}},
      {{6, "1e300"}},     {{0, long_time}},    {{2, long_field}},   {{4, long_field}},
      {{6, long_field}},  {{7, long_field}},   {{8, long_field}},
  };
  for (const auto& change : damaged) {
    const auto points = read_all(pair_at("000001") + gga("000002") + rmc(change) +
                                 rmc({{0, "000003"}}) + pair_at("000004"));
    ASSERT_EQ(points.size(), 2u) << rmc(change);
    EXPECT_EQ(points[0].utc_hhmmss, 1);
    EXPECT_EQ(points[1].utc_hhmmss, 4) << rmc(change);
  }
}

TEST(NmeaReader, SkipsADamagedGgaTogetherWithTheRmcAfterIt) {
  const std::vector<std::string> damaged = {
      "$GPGGA,000002,3540.1234,N,13945.6789,E,1,08,0.9\r\n",  // eight commas
      gga("000002", std::string(255, '1')),
      gga("000002", "inf"),
      "# Note: Only GPGGA and GPRMC\r\n",
  };
  for (const std::string& line : damaged) {
    const auto points =
        read_all(pair_at("000001") + line + rmc({{0, "000002"}}) + pair_at("000003"));
    ASSERT_EQ(points.size(), 2u) << line;
    EXPECT_EQ(points[1].utc_hhmmss, 3);
    EXPECT_EQ(points[1].altitude, 545.4f);
  }
}

TEST(NmeaReader, ReadsFieldsUpToTheirLimits) {
  const std::string time = "123519." + std::string(247, '0');       // 254 characters
  const std::string latitude = "3540.1234" + std::string(53, '0');  // 62 characters
  const auto points =
      read_all(gga("123519", "545.4" + std::string(249, '0')) + rmc({{0, time}, {2, latitude}}));
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].utc_hhmmss, 123519);
  EXPECT_EQ(points[0].raw_latitude, 3540.1234f);
  EXPECT_EQ(points[0].altitude, 545.4f);
}

TEST(NmeaReader, ReadsTheSentenceWhereItsNameIsFoundAndStaysWithinIt) {
  // Sentences that lost their line break and were glued onto another.
  const std::string glued =
      "$GPGSV,3,3,12,06,08,270,,16,01,090,,02,16,270,$GPGGA,000410.00,4808.9993,N,01135.0798,"
      "E,1,04,01.4,00460.0,M,0046.2,M,,*58\r\n"
      "$GPGSA,A,1,,,,,,,,,,,,,,,*1E$GPRMC,000411.00,A,4808.9993,N,01135.0798,E,000.1,000.0,"
      "070419,003.0,E,A*33\r\n"
      "$GPGGA,000412.00,4808.9993,N,01135.0798,E,1,04,01.4,00461.0,M,0046.2,M,,*56\r\n"
      "$GPGSV,3,3,12,20,09,090,41,06,08,270,,31,26,090,40,16,0GPRMC,000413.00,A,4808.9993,N,"
      "01135.0798,E,,,070419,,,N*4E\r\n";
  const auto points = read_all(glued);
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0].utc_hhmmss, 411);
  EXPECT_EQ(points[0].altitude, 460.0f);
  EXPECT_EQ(points[0].raw_latitude_int, 4808);
  EXPECT_EQ(points[1].utc_hhmmss, 413);
  EXPECT_EQ(points[1].altitude, 461.0f);

  // A sentence cut short is not completed from what follows it on its line or on the next.
  const std::string cut =
      gga("000001") + "$GPRMC,000001,A,4808$GPGSV,3,1,11,23,87,270,,13,68,270,,24,60,270\r\n" +
      gga("000002") + "$GPRMC,000002,A,3540.1234,N,13945.6789,E\r\n,10.0,123.4,070108,,\r\n" +
      gga("000003") + "$GPRMC,000003,A,3540.1234,N,13945.6789,E,1.0,2.0*070108\r\n" +
      pair_at("000004");
  const auto cut_points = read_all(cut);
  ASSERT_EQ(cut_points.size(), 1u);
  EXPECT_EQ(cut_points[0].utc_hhmmss, 4);
}

TEST(NmeaReader, LongLinesAreReadInPiecesOfTheirOwn) {
  // A name that begins 8190 characters into its line starts a piece and is found; one cut
  // by the piece boundary is not.
  const auto found = read_all(std::string(8190, 'x') + pair_at("000001"));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_TRUE(read_all(std::string(8187, 'x') + pair_at("000001")).empty());

  const std::string huge(100000, 'x');
  const std::string huge_commas = "$GPRMC,000002,A," + std::string(100000, ',');
  // The last piece of the second long line holds a whole $GPGGA line of its own.
  const auto points = read_all(huge + "\r\n" + pair_at("000001") + gga("000002") + huge_commas +
                               "\r\n" + huge + pair_at("000003") + "\r\n" + pair_at("000004"));
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0].utc_hhmmss, 1);
  EXPECT_EQ(points[1].utc_hhmmss, 3);
  EXPECT_EQ(points[2].utc_hhmmss, 4);
}

TEST(NmeaReader, NulBytesEndTheTextOfTheirLine) {
  std::string log = pair_at("000001");
  log += std::string("$GPGGA,000002,3540.1234,N,13945.6789,E,1,08,0.9,5\0.0,M,,M,,\r\n", 62);
  log += rmc({{0, "000002"}});
  log += gga("000003");
  log += std::string("$GPRMC,000003,A,3540.1234,N,\0\0\0,E,1,2,070108,,\r\n", 48);
  log += std::string(4096, '\0') + "\r\n" + pair_at("000004");
  const auto points = read_all(log);
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0].utc_hhmmss, 1);
  EXPECT_EQ(points[1].utc_hhmmss, 4);
}

TEST(NmeaReader, CutSentencesNeverYieldAPointFromOutsideThem) {
  const std::string whole = pair_at("000001");
  for (std::size_t cut = 0; cut < whole.size(); ++cut) {
    const auto points = read_all(whole.substr(0, cut) + "\n" + pair_at("000002"));
    ASSERT_FALSE(points.empty()) << cut;
    ASSERT_LE(points.size(), 2u);
    EXPECT_EQ(points.back().utc_hhmmss, 2) << cut;
    if (points.size() == 2) {
      EXPECT_EQ(points[0].utc_hhmmss, 1);
    }
  }
}

TEST(NmeaReader, BinaryNoiseAroundGoodPairs) {
  std::mt19937 random(20240601);
  std::string log;
  for (int second = 0; second < 200; ++second) {
    for (int i = 0; i < 2000; ++i) log += static_cast<char>(random() & 0xFF);
    log += "\n" + pair_at(format_text("%02d%02d%02d", 10, second / 60, second % 60));
  }
  const auto points = read_all(log);
  ASSERT_EQ(points.size(), 200u);
  for (int second = 0; second < 200; ++second) {
    EXPECT_EQ(points[static_cast<std::size_t>(second)].utc_hhmmss,
              100000 + second / 60 * 100 + second % 60);
  }
}

// The corpus of real receiver logs, when it is there.
std::filesystem::path corpus_dir() {
  if (const char* dir = std::getenv("TOLVANE_CORPUS")) return dir;
  return std::filesystem::path(TOLVANE_SOURCE_DIR) / ".." / "shared" / "corpus";
}

struct Expected {
  int count;
  int first_time = 0, first_date = 0;
  // The last point; -1 where it is the log's last $GPRMC, as the manifest gives it.
  int last_time = -1, last_date = -1;
};

// What the reader makes of each log: the number of points, the UTC time and date of the first,
// and those of the last where it is not made from the log's last $GPRMC.
const std::map<std::string, Expected> kCorpus = {
    {"gpsbabel-nmea+ms.log", {24, 93156, 170807}},
    {"gpsbabel-nmea.log", {154, 32908, 70804}},
    {"gpsbabel-nmea_utf16_dos.log", {0}},
    // Each $GPGGA pairs with the next epoch's $GPRMC.
    {"gpsbabel-nmeadate.log", {5, 32909, 70899}},
    // The last time field ".1" reads as 00:00:00.
    {"gpsbabel-nmeadatetime.log", {18, 222508, 231019, 0, 231019}},
    {"gpsd-ac12_binary.log", {5, 183530, 231207}},
    {"gpsd-april6_2019.log", {0}},
    // GN talkers only, one $GNRMC after a leading blank.
    {"gpsd-beidou-bd.log", {5, 74155, 250215, 74159, 250215}},
    // Pairs without a position are skipped.
    {"gpsd-blumax-gps009.log", {5, 142818, 180708}},
    {"gpsd-bt451.log", {13, 152505, 91209}},
    // $GPGGA with $GNRMC.
    {"gpsd-bu353-glonass.log", {8, 81412, 260514, 81419, 260514}},
    {"gpsd-bu353s4.log", {25, 30719, 311214}},
    // The last $GPRMC lines have no $GPGGA before them.
    {"gpsd-bundg_zeus_9.log", {136, 94737, 200818, 94959, 200818}},
    // The comment line naming both sentences is skipped.
    {"gpsd-cat-ms352.log", {40, 113938, 231122}},
    {"gpsd-firefly-II.log", {23, 5947, 80710}},
    {"gpsd-foretrex-201.log", {7, 200004, 260810}},
    {"gpsd-geos-1m.log", {7, 73701, 90710}},
    {"gpsd-gp-320fw-2019-04-06-overflow.log", {19, 235725, 60419}},
    // Truncated, garbled and glued sentences.
    {"gpsd-gp-320fw-2019-04-07-coldboot.log", {9, 235957, 250910}},
    {"gpsd-gr8013-w.log", {2, 181142, 190615, 181143, 190615}},
    {"gpsd-haicom-305N.log", {73, 95257, 80407}},
    {"gpsd-humminbird-M37.log", {8, 194105, 160906, 194119, 160906}},
    {"gpsd-iTrek.log", {23, 45851, 270705, 45922, 270705}},
    {"gpsd-meinberg-gps164.log", {0}},
    {"gpsd-motorola-t805.log", {16, 212614, 181207}},
    {"gpsd-mt3339.log", {30, 202640, 130415}},
    // The cold start's 89 degrees 60 minutes is the pole; its 1980 dates read as 2080.
    {"gpsd-mtk-3301.log", {11, 235946, 50180}},
    // 50 $GN pairs besides its 72 $GP pairs.
    {"gpsd-nmea-rtk.log", {122, 132819, 180320, 133901, 180320}},
    {"gpsd-quectel-eg25-g.log", {23, 191503, 110922}},
    {"gpsd-quectel.log", {34, 22021, 71020}},
    {"gpsd-saab-r4.log", {12, 130711, 10611}},
    {"gpsd-skytraq-dgps.log", {96, 213121, 70416}},
    {"gpsd-telit-he910.log", {187, 105153, 120319}},
    {"gpsd-telit-pls83-w.log", {10, 43539, 40925}},
    // 36000.0000 and 72000.0000 are no positions.
    {"gpsd-tn200.log", {0}},
    {"gpsd-tomtom-mkII.log", {4, 175736, 200610, 175739, 200610}},
    {"gpsd-ublox-lea-5q.log", {0}},
    {"gpsd-zodiac.log", {0}},
};

std::vector<std::string> split_tabs(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream stream(line);
  for (std::string field; std::getline(stream, field, '\t');) fields.push_back(field);
  return fields;
}

TEST(NmeaReaderCorpus, ReadsTheRealLogs) {
  const std::filesystem::path dir = corpus_dir() / "nmea";
  std::ifstream manifest(dir / "MANIFEST.tsv");
  if (!manifest) GTEST_SKIP() << "no corpus at " << dir;
  std::string line;
  std::getline(manifest, line);
  const std::vector<std::string> columns = split_tabs(line);
  auto column = [&columns](const std::string& name) {
    return static_cast<std::size_t>(std::find(columns.begin(), columns.end(), name) -
                                    columns.begin());
  };
  const std::size_t file_column = column("file");
  const std::size_t last_time_column = column("last_gprmc_time");
  const std::size_t last_date_column = column("last_gprmc_date");
  ASSERT_LT(last_date_column, columns.size());

  int logs = 0;
  while (std::getline(manifest, line)) {
    const std::vector<std::string> row = split_tabs(line);
    if (row.size() <= last_date_column) continue;
    const std::string& name = row[file_column];
    SCOPED_TRACE(name);
    File log(std::fopen((dir / name).c_str(), "r"));
    ASSERT_TRUE(log);
    std::vector<TrackPoint> points;
    TrackPoint point;
    while (read_track_point(log.get(), point) == 0) points.push_back(point);
    ++logs;

    // Whatever a log holds, every point is a time of day, a calendar date and a position.
    for (const TrackPoint& p : points) {
      EXPECT_TRUE(p.hour >= 0 && p.hour <= 23 && p.minute >= 0 && p.minute <= 59 && p.second >= 0 &&
                  p.second <= 59);
      EXPECT_TRUE(p.month >= 1 && p.month <= 12 && p.day >= 1 && p.day <= 31);
      EXPECT_LE(std::fabs(p.latitude), 90.0f);
      EXPECT_LE(std::fabs(p.longitude), 180.0f);
    }
    const auto expected = kCorpus.find(name);
    if (expected == kCorpus.end()) continue;  // a log added to the corpus later
    const Expected& e = expected->second;
    ASSERT_EQ(static_cast<int>(points.size()), e.count);
    if (points.empty()) continue;
    EXPECT_EQ(points.front().utc_hhmmss, e.first_time);
    EXPECT_EQ(points.front().utc_ddmmyy, e.first_date);
    const int last_time = e.last_time >= 0 ? e.last_time : c_atoi(row[last_time_column].c_str());
    const int last_date = e.last_date >= 0 ? e.last_date : c_atoi(row[last_date_column].c_str());
    EXPECT_EQ(points.back().utc_hhmmss, last_time);
    EXPECT_EQ(points.back().utc_ddmmyy, last_date);
  }
  EXPECT_GE(logs, 38);
}

}  // namespace
}  // namespace tolvane
