#include "core/track_distance.h"

#include <cmath>

namespace tolvane {
namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kEarthRadiusKm = 6366.197723675814;  // 20000 / pi

}  // namespace

SpherePosition::SpherePosition(double latitude_degrees, double longitude_degrees)
    : phi(latitude_degrees * kRadiansPerDegree),
      lambda(longitude_degrees * kRadiansPerDegree),
      sin_phi(std::sin(phi)),
      cos_phi(std::cos(phi)),
      sin_lambda(std::sin(lambda)),
      cos_lambda(std::cos(lambda)) {}

double chord_km(const SpherePosition& a, const SpherePosition& b) {
  const double dx = a.cos_phi * a.sin_lambda - b.cos_phi * b.sin_lambda;
  const double dy = a.cos_phi * a.cos_lambda - b.cos_phi * b.cos_lambda;
  const double dz = a.sin_phi - b.sin_phi;
  return std::sqrt(dx * dx + dy * dy + dz * dz) * kEarthRadiusKm;
}

double track_distance_km(float latitude1, float longitude1, float latitude2, float longitude2) {
  return chord_km(SpherePosition(static_cast<double>(latitude1), static_cast<double>(longitude1)),
                  SpherePosition(static_cast<double>(latitude2), static_cast<double>(longitude2)));
}

}  // namespace tolvane
