// The trip's numbers: days, steps, moving time, the median maximum and the dead-band climb.
#include "core/trip_stats.h"

#include <gtest/gtest.h>

#include "core/track_distance.h"
#include "test_support.h"
#include "writing/track_rules.h"

namespace tolvane {
namespace {

using testing::Fix;
using testing::nmea_text;
using testing::write_file;

constexpr double kLatitude = 35.0;
constexpr double kLongitude = 139.0;
constexpr double kStep = 0.001;  // degrees of latitude between neighbouring fixes

double step_km(int from, int to) {
  return track_distance_km(
      static_cast<float>(kLatitude + from * kStep), static_cast<float>(kLongitude),
      static_cast<float>(kLatitude + to * kStep), static_cast<float>(kLongitude));
}

class TripStatsTest : public testing::ScratchFolder {};

// Two logs whose points pass local midnight (UTC+9). Steps belong to the day of their end
// point, no step joins the two logs, a 120 s gap and a crawl below 1 km/h are not moving, a
// single 50 kn spike is no maximum, and the climb walks each day and the whole track apart.
TEST_F(TripStatsTest, DaysStepsMovingMaximumAndClimbFollowTheDefinitions) {
  const double kn = 1.852;
  // clang-format off
  write_file(folder_ / "a.log", nmea_text({
      {145930, 50108, kLatitude + 0 * kStep, kLongitude, 0, 0, 100},   // 23:59:30 local
      {145940, 50108, kLatitude + 1 * kStep, kLongitude, 10, 0, 103},
      {145950, 50108, kLatitude + 2 * kStep, kLongitude, 50, 0, 108},  // the spike
      {150010, 50108, kLatitude + 3 * kStep, kLongitude, 10, 0, 104},  // 00:00:10, 6 January
      {150210, 50108, kLatitude + 4 * kStep, kLongitude, 20, 0, 98},   // after 120 s
      {150220, 50108, kLatitude + 5 * kStep, kLongitude, 0.3, 0, 120},  // 0.56 km/h
  }));
  write_file(folder_ / "b.log", nmea_text({
      {151000, 50108, kLatitude + 10 * kStep, kLongitude, 10, 0, 90},
      {151030, 50108, kLatitude + 11 * kStep, kLongitude, 10, 0, 96},
  }));
  // clang-format on
  TripStats stats(9.0f);
  ASSERT_TRUE(compute_trip_stats({folder_ / "a.log", folder_ / "b.log"}, stats));
  ASSERT_EQ(stats.days().size(), 2u);
  const TripNumbers& day5 = stats.days()[0];
  const TripNumbers& day6 = stats.days()[1];
  const TripNumbers& total = stats.total();

  EXPECT_EQ(std::make_tuple(day5.year, day5.month, day5.day), std::make_tuple(2008, 1, 5));
  EXPECT_EQ(std::make_tuple(day6.year, day6.month, day6.day), std::make_tuple(2008, 1, 6));
  EXPECT_EQ(day5.point_count, 3);
  EXPECT_EQ(day6.point_count, 5);
  EXPECT_EQ(day5.elapsed_s(), 20);
  EXPECT_EQ(day6.elapsed_s(), 620);
  EXPECT_EQ(total.elapsed_s(), 660);

  const double tolerance = 0.001;
  EXPECT_NEAR(day5.distance_km, step_km(0, 1) + step_km(1, 2), tolerance);
  EXPECT_NEAR(day6.distance_km, step_km(2, 3) + step_km(3, 4) + step_km(4, 5) + step_km(10, 11),
              tolerance);
  EXPECT_NEAR(total.distance_km, day5.distance_km + day6.distance_km, 1e-9);

  EXPECT_EQ(day5.moving_s, 20);
  EXPECT_EQ(day6.moving_s, 50);
  EXPECT_EQ(total.moving_s, 70);
  EXPECT_NEAR(total.average_moving_kmh(),
              (step_km(0, 1) + step_km(1, 2) + step_km(2, 3) + step_km(10, 11)) * 3600 / 70, 0.05);

  EXPECT_NEAR(day5.max_kmh, 10 * kn, 0.01);  // median(10, 50, 10) at the spike's point
  EXPECT_NEAR(day6.max_kmh, 20 * kn, 0.01);  // median(50, 10, 20) at 00:00:10
  EXPECT_NEAR(total.max_kmh, 20 * kn, 0.01);

  EXPECT_DOUBLE_EQ(day5.ascent_m, 8);
  EXPECT_DOUBLE_EQ(day5.descent_m, 0);
  EXPECT_DOUBLE_EQ(day6.ascent_m, 28);
  EXPECT_DOUBLE_EQ(day6.descent_m, 36);
  EXPECT_DOUBLE_EQ(total.ascent_m, 36);
  EXPECT_DOUBLE_EQ(total.descent_m, 40);
  EXPECT_DOUBLE_EQ(day6.min_alt_m, 90);
  EXPECT_DOUBLE_EQ(day6.max_alt_m, 120);
  EXPECT_DOUBLE_EQ(total.min_alt_m, 90);
  EXPECT_DOUBLE_EQ(total.max_alt_m, 120);

  const std::string table = trip_stats_table(stats, false);
  EXPECT_EQ(table.substr(0, table.find('\n') + 1),
            "date\tstart\tend\tdistance_km\telapsed_s\tmoving_s\tavg_moving_kmh\tmax_kmh\t"
            "ascent_m\tdescent_m\tmin_alt_m\tmax_alt_m\n");
  EXPECT_NE(table.find("\n2008-01-05\t23:59:30\t23:59:50\t"), std::string::npos) << table;
  EXPECT_NE(table.find("\t20\t20\t"), std::string::npos) << table;
  EXPECT_NE(table.find("\t18.52\t8.0\t0.0\t100.0\t108.0\n"), std::string::npos) << table;
  EXPECT_NE(table.find("\ntotal\t23:59:30\t00:10:30\t"), std::string::npos) << table;
  EXPECT_NE(table.find("\t37.04\t36.0\t40.0\t90.0\t120.0\n"), std::string::npos) << table;
}

// A GPX point has an altitude only with a usable ele; without any, the fields stay empty.
TEST_F(TripStatsTest, GpxPointsWithoutEleHaveNoAltitude) {
  auto gpx = [](const char* first_ele, const char* second_ele) {
    return std::string("<gpx><trk><trkseg>") + "<trkpt lat=\"35.0\" lon=\"139.0\">" + first_ele +
           "<time>2008-01-05T01:00:00Z</time></trkpt>"
           "<trkpt lat=\"35.001\" lon=\"139.0\">" +
           second_ele +
           "<time>2008-01-05T01:00:10Z</time></trkpt>"
           "</trkseg></trk></gpx>";
  };
  write_file(folder_ / "some.gpx", gpx("", "<ele>57.5</ele>"));
  write_file(folder_ / "none.gpx", gpx("<ele>x</ele>", ""));

  TripStats some(0.0f);
  ASSERT_TRUE(compute_trip_stats({folder_ / "some.gpx"}, some));
  EXPECT_TRUE(some.total().has_altitude);
  EXPECT_DOUBLE_EQ(some.total().min_alt_m, 57.5);  // not the 0 of the point without ele

  TripStats none(0.0f);
  ASSERT_TRUE(compute_trip_stats({folder_ / "none.gpx"}, none));
  EXPECT_FALSE(none.total().has_altitude);
  const std::string table = trip_stats_table(none, false);
  // Two points make no maximum (no three speeds); no altitude leaves four empty fields.
  EXPECT_NE(table.find("\ntotal\t01:00:00\t01:00:10\t0.111\t10\t10\t"), std::string::npos) << table;
  EXPECT_EQ(table.substr(table.size() - 10), "\t0.00\t\t\t\t\n") << table;
}

}  // namespace
}  // namespace tolvane
