#include "engine/helpers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/failure.h"

namespace orvalin {
namespace {

// The general format keeps 15 significant digits and writes plainly while the decimal exponent
// of the rounded value lies in -5 < X < 15.
constexpr int kSignificantDigits = 15;
constexpr int kLowestPlainExponent = -4;
constexpr int kHighestPlainExponent = kSignificantDigits - 1;
// Whole numbers below this have at most 15 digits, all exact: no rounding to do.
constexpr double kExactWholeLimit = 1e15;

constexpr std::string_view kDegreeSign = "\u00B0";
// The seconds shown are the first five characters of their general text, blank included.
constexpr std::size_t kSecondsWidth = 5;
// Seconds that only the exponent form can write (below 1e-4) read as the plain form cut would.
constexpr std::string_view kTinySeconds = " .000";
// Seconds are below 60, but within 5e-14 of it they round to "60" at 15 digits; cut, they read
// as any other second short of the minute.
constexpr std::string_view kFullMinuteText = " 60";
constexpr std::string_view kLastSeconds = " 59.9";

void RequireFinite(double x) {
  if (!std::isfinite(x)) Fail(Fault::Overflow);
}

// The digits of |x| rounded to 15 significant digits, trailing zeros dropped, and the decimal
// exponent of the rounded value.
struct Digits {
  char text[kSignificantDigits];
  int count = 0;
  int exponent = 0;
};

Digits SignificantDigits(double magnitude) {
  // d.dddddddddddddde±XX: one digit, the point, 14 digits, then the exponent.
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                    std::chars_format::scientific, kSignificantDigits - 1);
  Digits d;
  d.text[0] = buffer[0];
  for (int k = 1; k < kSignificantDigits; ++k) d.text[k] = buffer[k + 1];
  const char* e = buffer + kSignificantDigits + 1;  // the 'e'
  std::from_chars(e + (e[1] == '+' ? 2 : 1), result.ptr, d.exponent);
  d.count = kSignificantDigits;
  while (d.count > 1 && d.text[d.count - 1] == '0') --d.count;
  return d;
}

// The longest general text: a sign, 15 digits, the point and "E+308".
constexpr std::size_t kNumberTextCapacity = 24;

char* WritePlain(char* out, const Digits& d) {
  if (d.exponent < 0) {
    *out++ = '.';  // no zero before the point
    for (int k = -d.exponent - 1; k > 0; --k) *out++ = '0';
    return std::copy_n(d.text, d.count, out);
  }
  const int whole = d.exponent + 1;
  if (d.count <= whole) {
    out = std::copy_n(d.text, d.count, out);
    return std::fill_n(out, whole - d.count, '0');
  }
  out = std::copy_n(d.text, whole, out);
  *out++ = '.';
  return std::copy_n(d.text + whole, d.count - whole, out);
}

char* WriteExponentForm(char* out, const Digits& d) {
  *out++ = d.text[0];
  if (d.count > 1) {
    *out++ = '.';
    out = std::copy_n(d.text + 1, d.count - 1, out);
  }
  *out++ = 'E';
  *out++ = d.exponent < 0 ? '-' : '+';
  const int magnitude = std::abs(d.exponent);
  if (magnitude < 10) *out++ = '0';
  return std::to_chars(out, out + 4, magnitude).ptr;
}

// Writes the general text of x and returns its end. Hours, minutes and degrees are floors, so
// most texts are of whole numbers: those below 1e15 are exact and need no rounding.
char* WriteNumberText(char* out, double x) {
  RequireFinite(x);
  *out++ = x < 0 ? '-' : ' ';  // negative zero is " 0"
  const double magnitude = std::fabs(x);
  if (magnitude < kExactWholeLimit && magnitude == std::floor(magnitude)) {
    return std::to_chars(out, out + kSignificantDigits, static_cast<std::int64_t>(magnitude)).ptr;
  }
  const Digits d = SignificantDigits(magnitude);
  if (d.exponent >= kLowestPlainExponent && d.exponent <= kHighestPlainExponent) {
    return WritePlain(out, d);
  }
  return WriteExponentForm(out, d);
}

void AppendNumberText(std::string& out, double x) {
  char buffer[kNumberTextCapacity];
  out.append(buffer, WriteNumberText(buffer, x));
}

void AppendSecondsText(std::string& out, double seconds) {
  char buffer[kNumberTextCapacity];
  char* end = WriteNumberText(buffer, seconds);
  if (std::find(buffer, end, 'E') != end) {
    out += kTinySeconds;
  } else if (std::string_view(buffer, end) == kFullMinuteText) {
    out += kLastSeconds;
  } else {
    out.append(buffer,
               std::min<std::size_t>(kSecondsWidth, static_cast<std::size_t>(end - buffer)));
  }
}

}  // namespace

double Reduce360(double x) { return (x / 360 - std::floor(x / 360)) * 360; }

std::string NumberText(double x) {
  std::string text;
  AppendNumberText(text, x);
  return text;
}

std::string TimeText(double hours) {
  RequireFinite(hours);
  const double h = Reduce360(hours);  // modulo 360, not 24: a day length of 24 stays 24
  const double m = (h - std::floor(h)) * 60;
  const double s = (m - std::floor(m)) * 60;
  std::string text;
  AppendNumberText(text, std::floor(h));
  text += 'h';
  AppendNumberText(text, std::floor(m));
  text += "mn";
  AppendSecondsText(text, s);
  text += 's';
  return text;
}

std::string AngleText(double degrees) {
  RequireFinite(degrees);
  const double a = std::fabs(degrees);
  const double m = (a - std::floor(a)) * 60;
  const double s = (m - std::floor(m)) * 60;
  std::string text(1, degrees < 0 ? '-' : ' ');
  AppendNumberText(text, std::floor(a));
  text += kDegreeSign;
  AppendNumberText(text, std::floor(m));
  text += '\'';
  AppendSecondsText(text, s);
  text += '"';
  return text;
}

}  // namespace orvalin
