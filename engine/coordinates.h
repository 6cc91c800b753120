// A place's latitude and longitude, each its own type: a longitude's sign is East positive here,
// West positive in the window and the places file, and a bare double cannot say which.
#pragma once

namespace orvalin {

// Degrees, North positive.
class Latitude {
 public:
  constexpr explicit Latitude(double north) : north_(north) {}
  constexpr double Degrees() const { return north_; }

 private:
  double north_;
};

// Degrees, East positive; the window's and the file's West-positive figures come in by FromWest
// and go out by West(). Negation is exact: a longitude turned twice keeps every bit.
class Longitude {
 public:
  constexpr explicit Longitude(double east) : east_(east) {}
  static constexpr Longitude FromWest(double west) { return Longitude(-west); }
  constexpr double East() const { return east_; }
  constexpr double West() const { return -east_; }

 private:
  double east_;
};

}  // namespace orvalin
