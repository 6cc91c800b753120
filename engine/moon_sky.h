// The moon as an observer on the Earth sees it at a moment of universal time: its topocentric
// place (the observer on the WGS-84 ellipsoid, the parallax applied), its hour angle, azimuth
// and elevation, its apparent size, and the altitude its centre stands at when it rises or sets.
#pragma once

#include "engine/body_path.h"
#include "engine/moon_ephemeris.h"
#include "engine/moon_theory.h"
#include "engine/observer.h"
#include "engine/sky_angles.h"

namespace orvalin {

struct MoonObserver {
  Latitude latitude;  // geodetic
  Longitude longitude;
  double height;  // metres above the ellipsoid
};

// The upper limb's geometric altitude at moonrise and moonset, degrees: the refraction at the
// horizon, 34', as the almanacs define them.
inline constexpr double kMoonLimbAltitude = -34.0 / 60;

struct MoonPosition {
  double right_ascension;  // degrees, [0, 360), topocentric apparent (true equinox of the date)
  double declination;      // degrees, topocentric apparent
  double distance;         // km, from the observer
  double semi_diameter;    // degrees, as the observer sees it
  double hour_angle;       // degrees, local and topocentric, [-180, 180): west of the meridian > 0
  double azimuth;          // degrees, true, from the north through the east, [0, 360)
  double elevation;        // degrees, geometric (no refraction), of the centre
  // The centre's geometric elevation at rise and set: the limb's altitude less the
  // semi-diameter and the dip of the horizon from the observer's height (HorizonDip).
  double horizon;
};

class MoonSky {
 public:
  // Times are hours of universal time from 0 h UT of `date`, any span of days around it.
  MoonSky(const MoonObserver& observer, CivilDate date);

  double JulianDay() const { return julian_day_; }  // of 0 h UT of the date
  MoonPosition At(double hours) const;
  // The place the observer sees at `hours`, the moon's geocentric place then given.
  MoonPosition Seen(double hours, const MoonVector& moon) const;
  // Only what the crossing search takes.
  BodyPlace PlaceForSearch(double hours, const MoonVector& moon) const;
  // The apparent geocentric place at the same moment.
  moon::ApparentPlace Geocentric(double hours) const;

 private:
  double julian_day_;  // of 0 h UT of the date
  double sidereal0_;   // Greenwich mean sidereal time then, hours
  double longitude_;   // east, degrees
  double sin_latitude_, cos_latitude_;
  // The observer's distance from the Earth's axis and from the equator's plane, Earth radii
  // (Meeus ch. 11: rho cos phi', rho sin phi').
  double rho_cos_, rho_sin_;
  double dip_;  // degrees
  Turn limb_;   // the limb's altitude at rise and set, the dip taken away
  // In Earth radii, in the frame of the observer's meridian: x towards the equator's point on
  // it, y towards the west, z towards the north pole; the observer's place taken away.
  struct Frame {
    double sidereal;  // local apparent sidereal time, degrees
    double x, y, z;
  };
  Frame FrameAt(double hours, const MoonVector& moon) const;
};

// The moon as the crossing search takes it: its topocentric place, from the ephemeris, its upper
// limb at the almanacs' altitude.
class MoonPath : public Body {
 public:
  // The ephemeris must outlive the path.
  MoonPath(const MoonObserver& observer, CivilDate date, MoonEphemeris& ephemeris)
      : sky_(observer, date), ephemeris_(ephemeris) {}

  BodyPlace At(double hours) const override;
  BodyPace Pace() const override;
  MoonPosition PositionAt(double hours) const;

 private:
  MoonVector VectorAt(double hours) const;

  MoonSky sky_;
  MoonEphemeris& ephemeris_;
};

}  // namespace orvalin
