// The rules both runs share: route length, heading sectors, title, point selection, reception gaps.
#include "writing/track_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/track_distance.h"

namespace tolvane {
namespace {

TrackPoint at(int hour, int minute, int second, float latitude = 35.0f, float longitude = 139.0f) {
  TrackPoint p;
  p.hour = hour;
  p.minute = minute;
  p.second = second;
  p.latitude = latitude;
  p.longitude = longitude;
  p.year = 2008;
  p.month = 1;
  p.day = 5;
  return p;
}

TEST(HeadingIcon, SixteenSectorsCentredOnNorth) {
  struct Case {
    float course;
    int index;
  } cases[] = {{0, 0},       {11.24f, 0},  {11.25f, 1}, {22.5f, 1},   {33.74f, 1},
               {33.75f, 2},  {90, 4},      {180, 8},    {337.5f, 15}, {348.74f, 15},
               {348.75f, 0}, {359.99f, 0}, {360, 0},    {371.25f, 1}, {720, 0}};
  for (const Case& c : cases) EXPECT_EQ(heading_icon_index(c.course), c.index) << c.course;
}

TEST(HeadingIcon, NegativeCourseTakesTheSectorOfTheSameDirection) {
  EXPECT_EQ(heading_icon_index(-10), heading_icon_index(350));
  EXPECT_EQ(heading_icon_index(-22.5f), 15);
  EXPECT_EQ(heading_icon_index(-90), 12);
  EXPECT_EQ(heading_icon_index(-360), 0);
  EXPECT_EQ(heading_icon_index(-1e-6f), 0);
  EXPECT_EQ(heading_icon_index(-725), heading_icon_index(355));
  // Values no logger writes still give a sector.
  for (float odd : {1e30f, -1e30f, INFINITY, -INFINITY, NAN}) {
    const int index = heading_icon_index(odd);
    EXPECT_GE(index, 0);
    EXPECT_LT(index, 16);
  }
}

TEST(DateTitle, OneDateOrARange) {
  TrackPoint first = at(0, 30, 0);
  TrackPoint last = at(23, 59, 59);
  EXPECT_EQ(date_title(first, last), "2008年1月5日(土)");
  first.year = 2007;
  first.month = 12;
  first.day = 31;
  last.day = 1;
  EXPECT_EQ(date_title(first, last), "2007年12月31日(月) - 2008年1月1日(火)");
}

TEST(DistanceTotal, SmallStepsAddUpOnlyOnceTheyPassTheThreshold) {
  ConversionSettings settings;  // Common.minimum_interval 50 m
  DistanceTotal distance = DistanceTotal::from_settings(settings);
  // About 40 m per step northwards.
  const float step = 0.00036f;
  distance.begin_log(true);
  distance.add(at(10, 0, 0, 35.0f));
  distance.add(at(10, 0, 1, 35.0f + step));
  EXPECT_EQ(distance.km(), 0.0f);
  distance.add(at(10, 0, 2, 35.0f + 2 * step));
  const double from_start = track_distance_km(35.0f + 2 * step, 139, 35.0f, 139);
  EXPECT_EQ(distance.km(), static_cast<float>(from_start));
  EXPECT_GT(from_start, 0.05);
  // The reference moved to the point just added: 40 m further adds nothing again.
  distance.add(at(10, 0, 3, 35.0f + 3 * step));
  EXPECT_EQ(distance.km(), static_cast<float>(from_start));
}

TEST(DistanceTotal, ALogsFirstPointRestartsOrCarriesOn) {
  DistanceTotal distance(0.05f);
  distance.begin_log(true);
  distance.add(at(10, 0, 0, 35.0f));
  distance.add(at(10, 1, 0, 35.01f));
  const float after_first_log = distance.km();
  EXPECT_GT(after_first_log, 1.0f);

  // Joined: the next log's first point adds nothing, its second is measured from the old
  // reference (35.01).
  distance.begin_log(false);
  distance.add(at(11, 0, 0, 36.0f));
  EXPECT_EQ(distance.km(), after_first_log);
  distance.add(at(11, 0, 1, 35.02f));
  const double expected =
      static_cast<double>(after_first_log) + track_distance_km(35.02f, 139, 35.01f, 139);
  EXPECT_EQ(distance.km(), static_cast<float>(expected));

  // Restarted: total 0 and a fresh reference.
  distance.begin_log(true);
  distance.add(at(12, 0, 0, 10.0f));
  EXPECT_EQ(distance.km(), 0.0f);
}

// Runs the selector over one log's points and returns the indexes it took.
std::vector<int> taken(PointSelector& selector, const std::vector<TrackPoint>& points) {
  std::vector<int> result;
  selector.begin_log();
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (selector.take(points[i])) result.push_back(static_cast<int>(i));
  }
  return result;
}

TEST(PointSelector, TakesTheFirstPointThenOnePerIntervalWhenMoved) {
  PointSelector selector(2, 0.0002f);
  std::vector<TrackPoint> points;
  for (int i = 0; i < 10; ++i) {
    points.push_back(at(10, i, 0, 35.0f + 0.001f * static_cast<float>(i),
                        139.0f + 0.001f * static_cast<float>(i)));
  }
  EXPECT_EQ(taken(selector, points), (std::vector<int>{0, 2, 4, 6, 8}));
  EXPECT_EQ(selector.due_minute(), 10 * 60 + 10);
}

TEST(PointSelector, BothCoordinatesMustMoveStrictly) {
  PointSelector selector(2, 0.0002f);
  std::vector<TrackPoint> points = {
      at(10, 0, 0, 35.0f, 139.0f),
      at(10, 2, 0, 35.01f, 139.0f),    // due, latitude moved, longitude did not: skipped
      at(10, 2, 30, 35.02f, 139.01f),  // due at once (due minute became 10:02): taken
      at(10, 4, 0, 35.02f, 139.01f),   // due, not moved
      at(10, 5, 0, 35.03f, 139.02f),   // due minute moved to 10:04: taken
  };
  EXPECT_EQ(taken(selector, points), (std::vector<int>{0, 2, 4}));
}

TEST(PointSelector, ALogsFirstPointIsAlwaysTaken) {
  PointSelector selector(2, 0.0002f);
  taken(selector, {at(10, 0, 0), at(10, 3, 0, 35.1f, 139.1f)});
  // Same minute, same position as the last placemark of the previous log.
  EXPECT_EQ(taken(selector, {at(10, 3, 0, 35.1f, 139.1f)}), (std::vector<int>{0}));
}

TEST(PointSelector, MidnightIsReadWithATwelveHourRule) {
  PointSelector selector(2, 0.0002f);
  // 23:57 taken makes 23:59 (1439) due; 00:01 is then due at once because 1 + 720 < 1439.
  EXPECT_EQ(taken(selector, {at(23, 57, 0, 35.0f, 139.0f), at(0, 1, 0, 35.1f, 139.1f)}),
            (std::vector<int>{0, 1}));
  EXPECT_EQ(selector.due_minute(), 3);

  // A placemark at 23:59 makes 00:01 the due minute (the interval wraps once) ...
  taken(selector, {at(23, 59, 0)});
  EXPECT_EQ(selector.due_minute(), 1);
  // ... and a point at 23:50 is not due then (1430 - 1 = 1429 >= 720).
  selector.begin_log();
  selector.take(at(23, 59, 0));
  EXPECT_FALSE(selector.take(at(23, 50, 0, 36.0f, 140.0f)));
  EXPECT_EQ(selector.due_minute(), 1);
  EXPECT_FALSE(selector.take(at(0, 0, 59, 36.0f, 140.0f)));
  EXPECT_TRUE(selector.take(at(0, 1, 0, 36.0f, 140.0f)));
}

TEST(PointSelector, ThresholdsComeFromTheRunsOwnSettings) {
  ConversionSettings settings;
  settings.google_earth.mode = 1;
  settings.google_maps.mode = 5;
  PointSelector kml = PointSelector::for_kml(settings);
  PointSelector page = PointSelector::for_map_page(settings);
  kml.begin_log();
  page.begin_log();
  kml.take(at(10, 0, 0));
  page.take(at(10, 0, 0));
  EXPECT_EQ(kml.due_minute(), 601);
  EXPECT_EQ(page.due_minute(), 605);
  // GoogleEarth.minimum_movement 2 (0.0002 degrees) passes a move of 0.0005, GoogleMaps'
  // 10 (0.001) does not.
  EXPECT_TRUE(kml.take(at(10, 5, 0, 35.0005f, 139.0005f)));
  EXPECT_FALSE(page.take(at(10, 5, 0, 35.0005f, 139.0005f)));
}

TEST(ReceptionGaps, ATimeoutLongStepStartsAWeakStretchTheNextShortOneEndsIt) {
  ReceptionGaps gaps(60, 1);
  gaps.restart();
  EXPECT_EQ(gaps.add(1000), LineSwitch::kNone);    // nothing to test against
  EXPECT_EQ(gaps.add(1059), LineSwitch::kNone);    // 59 s
  EXPECT_EQ(gaps.add(1119), LineSwitch::kToWeak);  // 60 s
  EXPECT_TRUE(gaps.weak());
  EXPECT_EQ(gaps.add(1300), LineSwitch::kNone);  // still silent: no second switch
  EXPECT_EQ(gaps.add(1301), LineSwitch::kToNormal);
  EXPECT_FALSE(gaps.weak());
  EXPECT_EQ(gaps.add(1302), LineSwitch::kNone);
}

TEST(ReceptionGaps, MidnightAndStepsBackInTime) {
  ReceptionGaps gaps(60, 1);
  gaps.restart();
  gaps.add(86390);                                // 23:59:50
  EXPECT_EQ(gaps.add(10), LineSwitch::kNone);     // 00:00:10 is 20 s later
  EXPECT_EQ(gaps.add(100), LineSwitch::kToWeak);  // 90 s
  // A step back (negative gap) is shorter than the timeout and ends the stretch.
  EXPECT_EQ(gaps.add(50), LineSwitch::kToNormal);
  // A step back of more than 12 hours reads as the next day: 23:00 -> 12:00 is 13 h forward.
  gaps.restart();
  gaps.add(23 * 3600);
  EXPECT_EQ(gaps.add(10 * 3600), LineSwitch::kToWeak);
}

TEST(ReceptionGaps, SplitsOnlyWhenNoReceivePathIsExactlyOne) {
  for (Flag setting : {Flag{0}, Flag{2}, Flag{-1}}) {
    ReceptionGaps gaps(60, setting);
    gaps.restart();
    gaps.add(0);
    EXPECT_EQ(gaps.add(1000), LineSwitch::kNone);
    EXPECT_FALSE(gaps.weak());
  }
  ConversionSettings settings;
  settings.google_earth.no_receive_path = 0;
  ReceptionGaps kml = ReceptionGaps::for_kml(settings);
  ReceptionGaps page = ReceptionGaps::for_map_page(settings);
  kml.add(0);
  page.add(0);
  EXPECT_EQ(kml.add(100), LineSwitch::kNone);
  EXPECT_EQ(page.add(100), LineSwitch::kToWeak);
}

TEST(ReceptionGaps, RestartForgetsThePreviousPointAndTheWeakState) {
  ReceptionGaps gaps(60, 1);
  gaps.restart();
  gaps.add(0);
  gaps.add(100);
  ASSERT_TRUE(gaps.weak());
  gaps.restart();
  EXPECT_FALSE(gaps.weak());
  EXPECT_EQ(gaps.add(5000), LineSwitch::kNone);
}

TEST(RestartsRoute, AtEveryLogUnlessJoined) {
  ConversionSettings settings;
  settings.common.concate = 1;
  EXPECT_TRUE(restarts_route(settings, 0));
  EXPECT_FALSE(restarts_route(settings, 1));
  settings.common.concate = 2;  // any value but 0 joins
  EXPECT_FALSE(restarts_route(settings, 1));
  settings.common.concate = 0;
  EXPECT_TRUE(restarts_route(settings, 1));
}

}  // namespace
}  // namespace tolvane
