// The distance between two track positions: the chord through a sphere of radius 20000/pi km,
// in double precision. The one formula for distances, speeds derived from positions and the
// trip's numbers.
#pragma once

namespace tolvane {

// A position as radians with the sines and cosines the chord takes, worked out once when a
// position is measured against more than one other.
struct SpherePosition {
  SpherePosition(double latitude_degrees, double longitude_degrees);
  double phi, lambda;
  double sin_phi, cos_phi, sin_lambda, cos_lambda;
};

// Chord distance in km between two positions.
double chord_km(const SpherePosition& a, const SpherePosition& b);

// Chord distance in km between two positions (degrees), widened to double precision.
double track_distance_km(float latitude1, float longitude1, float latitude2, float longitude2);

}  // namespace tolvane
