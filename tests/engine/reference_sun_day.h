// A deliberately plain transcription of the day's sun computation: every step in the order of
// the written method, the sun evaluated seven times, nothing computed once for reuse. The engine
// must give the same doubles, bit for bit.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/helpers.h"
#include "engine/sun_day.h"
#include "tests/support/degree_trig.h"

namespace orvalin::reference {

// The working values of one evaluation of the sun, and of the whole day, for checking the
// intermediate figures of the worked examples.
struct Pass {
  double ut, alpha, delta, x, hour_angle;
};
struct Trace {
  double jd = 0, t0 = 0, s0 = 0;
  std::vector<Pass> passes;       // the noon pass first, then the event passes
  std::vector<double> event_uts;  // the UT that each event pass found
};

class SunDayByLine {
 public:
  SunDayByLine(double lw, double phi, double h0) : lw_(lw), phi_(phi), h0_(h0) {}

  SunDay Run(std::int16_t day, std::int16_t month, std::int16_t year) {
    const double D = day, M = month, Y = year;
    const int K = (month - 9) / 7;
    const double jd = 367 * Y - std::floor(1.75 * (Y + std::floor((M + 9) / 12))) -
                      std::floor(0.75 * (std::floor(0.01 * (Y + K)) + 1)) +
                      std::floor(275 * M / 9) + D + 1721028.5;
    trace_.jd = jd;
    t0_ = (jd - 2415020) / 36525;
    s0_ = 2400.051262 * t0_ + 6.6460656 + 0.00002581 * t0_ * t0_;
    s0_ = s0_ - 24 * std::floor(s0_ / 24);
    ut_ = 12;
    trace_.t0 = t0_;
    trace_.s0 = s0_;
    st_ = ut_ * 1.002737908 + s0_;
    if (!SunPosition()) return out_;
    double c = st_ - (alpha_ + lw_) / 15;
    if (!std::isfinite(c)) {
      Trap(std::isnan(c) ? Fault::InvalidCall : Fault::Overflow, 4940);
      return out_;
    }
    c = 36 - c;
    c = c - 24 * std::floor(c / 24);
    Store(&SunDay::CulminationTime, c);
    const double noon_delta = delta_;
    double e = delta_ + 90 - phi_;
    if (e > 90) e = 180 - e;
    Store(&SunDay::CulminationElevation, e);

    sign_ = -1;
    if (!IterateEvent()) return out_;
    const double passes_sunrise = ut_;
    double sunrise = 0, rise_h0 = 0, rise_delta = 0;
    if (!TrueEvent(sunrise, rise_h0, rise_delta)) return Missing(SunOutcome::NoSunrise);
    Store(&SunDay::SunriseTime, sunrise);
    sign_ = +1;
    ut_ = passes_sunrise;
    if (!IterateEvent()) return out_;
    double sunset = 0, set_h0 = 0, set_delta = 0;
    if (!TrueEvent(sunset, set_h0, set_delta)) return Missing(SunOutcome::NoSunset);
    Store(&SunDay::SunsetTime, sunset);
    double d = sunset - sunrise;
    d = d - 24 * std::floor(d / 24);
    Store(&SunDay::DayLength, d);
    Store(&SunDay::SunriseAzimuth, Azimuth(-rise_h0, rise_delta));
    Store(&SunDay::CulminationAzimuth, noon_delta <= phi_ ? 180 : 0);
    Store(&SunDay::SunsetAzimuth, Azimuth(set_h0, set_delta));
    return out_;
  }

 private:
  static constexpr double p = kPi15;

  bool IterateEvent() {
    for (int pass = 1; pass <= 3; ++pass) {
      if (!SunPosition()) return false;
      evaluated_at_ = ut_;
      st_ = (sign_ * h0_angle_ + alpha_ + lw_) / 15;
      if (std::fabs(st_ - s0_) > 2400000) return Trap(Fault::Overflow, 5270);
      while (st_ < s0_) st_ = st_ + 24;
      while (st_ >= s0_ + 24) st_ = st_ - 24;
      ut_ = (st_ - s0_) / 1.002737908;
      ut_ = ut_ - 24 * std::floor(ut_ / 24);
      trace_.event_uts.push_back(ut_);
    }
    return true;
  }

  // The passes' UT stands when their last pass moved it by 30 s at most (modulo 24 h). Otherwise
  // the event is sought from it and from a sidereal day (24 / 1.002737908 h) after and before it,
  // in that order, and the earliest found in [0, 24) is the day's; none found, none that day.
  bool TrueEvent(double& ut, double& h0_angle, double& delta) {
    double moved = ut_ - evaluated_at_;
    moved = moved - 24 * std::floor((moved + 12) / 24);
    if (std::fabs(moved) <= 30.0 / 3600) {
      ut = ut_, h0_angle = h0_angle_, delta = delta_;
      return true;
    }
    const double passes_ut = ut_, day = 24 / 1.002737908;
    bool found = false;
    for (const double start : {passes_ut, passes_ut + day, passes_ut - day}) {
      double t = 0, h = 0, d = 0;
      if (!SettleFrom(start, t, h, d) || t < 0 || t >= 24 || (found && t >= ut)) continue;
      found = true;
      ut = t, h0_angle = h, delta = d;
    }
    return found;
  }

  // Up to 12 steps: the sun at t, the sidereal time of its event less that of t brought into
  // [-12, 12), made solar hours and added to t; arrived when that step is 1e-6 h at most.
  bool SettleFrom(double t, double& ut, double& h0_angle, double& delta) {
    for (int step = 0; step < 12; ++step) {
      ut_ = t;
      const double x = SunAt();
      if (!(x >= -1 && x <= 1)) return false;
      const double h = HourAngle(x);
      double r = (sign_ * h + alpha_ + lw_) / 15 - (s0_ + 1.002737908 * t);
      r = r - 24 * std::floor((r + 12) / 24);
      const double move = r / 1.002737908;
      t = t + move;
      if (std::fabs(move) <= 1e-6) {
        ut = t, h0_angle = h, delta = delta_;
        return true;
      }
    }
    return false;
  }

  static double HourAngle(double x) {
    if (x == 1) return 0;
    if (x == -1) return 180;
    return 90 - AtnDeg(x / std::sqrt(1 - x * x), p);
  }

  bool SunPosition() {
    const double x = SunAt();
    trace_.passes.push_back({ut_, alpha_, delta_, x, 0});
    if (std::isnan(x)) return Trap(Fault::InvalidCall, 5640);
    if (x < -1) return Early(SunOutcome::NoSunset, 24);
    if (x > 1) return Early(SunOutcome::NoSunrise, 0);
    h0_angle_ = HourAngle(x);
    trace_.passes.back().hour_angle = h0_angle_;
    return true;
  }

  // The sun at ut_: alpha_, delta_, and the cosine of its rise-and-set hour angle.
  double SunAt() {
    const double T = ut_ / 24 / 36525 + t0_;
    const double L = 36000.76892 * T + 279.69668 + 0.0003025 * T * T;
    const double A = 35999.04975 * T + 358.47583 - 0.000151 * T * T - 0.0000033 * T * T * T;
    const double lambda = (1.91946 - 0.004789 * T - 0.000014 * T * T) * SinDeg(A, p) + L +
                          (0.020094 - 0.0001 * T) * SinDeg(2 * A, p) + 0.000293 * SinDeg(3 * A, p);
    const double eps = 23.452294 - 0.0130125 * T - 0.00000164 * (T * T) +
                       static_cast<double>(0.000000503f) * (T * T * T);
    alpha_ = AtnDeg(CosDeg(eps, p) * TanDeg(lambda, p), p);
    if (CosDeg(lambda, p) < 0) alpha_ = alpha_ + 180;
    const double s = SinDeg(eps, p) * SinDeg(lambda, p);
    delta_ = AtnDeg(s / std::sqrt(1 - s * s), p);
    return (SinDeg(h0_, p) - SinDeg(phi_, p) * SinDeg(delta_, p)) / CosDeg(phi_, p) /
           CosDeg(delta_, p);
  }

  double Azimuth(double H, double delta) const {
    const double y = SinDeg(H, p);
    const double x = CosDeg(H, p) * SinDeg(phi_, p) - TanDeg(delta, p) * CosDeg(phi_, p);
    const double A = std::atan2(y, x) / p * 180;
    double az = A + 180;
    if (az >= 360) az = az - 360;
    if (az < 0) az = az + 360;
    return az;
  }

  void Store(std::optional<double> SunDay::*member, double value) { out_.*member = value; }
  bool Early(SunOutcome outcome, double length) {
    out_.outcome = outcome;
    Store(&SunDay::DayLength, length);
    return false;
  }
  SunDay Missing(SunOutcome outcome) {
    out_.outcome = outcome;
    out_.event_elsewhere = true;
    return out_;
  }
  bool Trap(Fault fault, int step) {
    out_.outcome = SunOutcome::Fault;
    out_.fault = fault;
    out_.step = step;
    return false;
  }

  double lw_, phi_, h0_;
  double t0_ = 0, s0_ = 0, ut_ = 0, st_ = 0, evaluated_at_ = 0;
  double alpha_ = 0, delta_ = 0, h0_angle_ = 0;
  int sign_ = 0;
  SunDay out_;

 public:
  Trace trace_;
};

inline SunDay ComputeByLine(double lw, double phi, double h0, std::int16_t day, std::int16_t month,
                            std::int16_t year) {
  return SunDayByLine(lw, phi, h0).Run(day, month, year);
}

}  // namespace orvalin::reference
