#include "core/track_distance.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tolvane {
namespace {

constexpr double kRadius = 20000.0 / 3.14159265358979323846;

TEST(TrackDistance, IsTheChordOnASphereOfAMeridianOf20000Km) {
  EXPECT_DOUBLE_EQ(track_distance_km(35.5f, 139.25f, 35.5f, 139.25f), 0.0);
  // A quarter of the equator apart: the chord is sqrt(2) radii.
  EXPECT_NEAR(track_distance_km(0, 0, 0, 90), std::sqrt(2.0) * kRadius, 1e-9);
  // Pole to pole: the diameter.
  EXPECT_NEAR(track_distance_km(90, 0, -90, 0), 2 * kRadius, 1e-9);
  // One degree along a meridian: 2 R sin(0.5 degrees), and symmetric.
  const double one_degree = 2 * kRadius * std::sin(0.5 * 3.14159265358979323846 / 180);
  EXPECT_NEAR(track_distance_km(35, 139, 36, 139), one_degree, 1e-9);
  EXPECT_DOUBLE_EQ(track_distance_km(36, 139, 35, 139), track_distance_km(35, 139, 36, 139));
}

}  // namespace
}  // namespace tolvane
