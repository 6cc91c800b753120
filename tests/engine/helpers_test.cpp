#include "engine/helpers.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "common/failure.h"

namespace orvalin {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Reduce360, IsTheProductFormNotTheDifference) {
  EXPECT_EQ(Reduce360(-13.25), 346.75);
  EXPECT_EQ(Reduce360(360), 0.0);
  EXPECT_EQ(Reduce360(24), 24.0);
  EXPECT_EQ(Reduce360(6.5), 6.499999999999999);
  EXPECT_EQ(Reduce360(725), 4.999999999999982);
}

TEST(NumberText, GeneralFormWithFifteenDigits) {
  struct Case {
    double x;
    const char* text;
  } const cases[] = {
      {100, " 100"},
      {0.5, " .5"},
      {-0.61, "-.61"},
      {12.345678, " 12.345678"},
      {1.0 / 3, " .333333333333333"},
      {0, " 0"},
      {-0.0, " 0"},
      {1, " 1"},
      {-5270, "-5270"},
      {0.1 + 0.2, " .3"},
      {2.0 / 3, " .666666666666667"},
      {123456789012345.6, " 123456789012346"},
      {99999999999999.98, " 100000000000000"},  // 16 digits: rounded at the fifteenth
      {1e14, " 100000000000000"},
      {999999999999999.4, " 999999999999999"},
      {999999999999999.5, " 1E+15"},  // rounding carries into the exponent form
      {1e15, " 1E+15"},
      {-1.5e300, "-1.5E+300"},
      {1.5e-5, " 1.5E-05"},
      {0.0001, " .0001"},
      {0.00001, " 1E-05"},
      {0.000099999999999999995, " .0001"},  // rounds up into the plain range
      {-0.00012345, "-.00012345"},
      {1.7976931348623157e308, " 1.79769313486232E+308"},
      {4.9406564584124654e-324, " 4.94065645841247E-324"},
      {59.99, " 59.99"},
  };
  for (const Case& c : cases) EXPECT_EQ(NumberText(c.x), c.text) << c.x;
}

// C's "%.15G", its leading zero dropped and a blank for a sign, is the reference form.
std::string GeneralFormByPrintf(double x) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.15G", std::fabs(x));
  std::string text = buffer;
  if (text.starts_with("0.")) text.erase(0, 1);
  return (x < 0 ? "-" : " ") + text;
}

TEST(NumberText, AgreesWithPrintfGeneralFormOverRandomValues) {
  std::mt19937_64 random(20090621);
  std::uniform_int_distribution<int> exponent(-30, 30);
  std::uniform_real_distribution<double> mantissa(-10, 10);
  for (int k = 0; k < 200000; ++k) {
    double x;
    if (k % 2 == 0) {
      x = mantissa(random) * std::pow(10.0, exponent(random));
    } else {
      x = std::bit_cast<double>(random());  // any bit pattern
      if (!std::isfinite(x)) continue;
    }
    ASSERT_EQ(NumberText(x), GeneralFormByPrintf(x)) << std::hexfloat << x;
  }
}

TEST(TimeText, FloorsHoursAndMinutesAndCutsSeconds) {
  struct Case {
    double hours;
    const char* text;
  } const cases[] = {
      {3.756025, " 3h 45mn 21.6s"},
      {6.08562, " 6h 5mn 8.23s"},
      {12.500203, " 12h 30mn .730s"},
      {24, " 24h 0mn 0s"},  // modulo 360, not 24
      {0, " 0h 0mn 0s"},
      {0.9999972222222222, " 0h 59mn 59.9s"},  // 59.99 s, cut and never rounded up to 60
      {-1, " 359h 0mn 0s"},
      {3 + 1e-9, " 3h 0mn .000s"},              // 3.6e-6 s: only the exponent form could write it
      {0.016666666666666663, " 0h 0mn 59.9s"},  // 60 - 7e-15 s, "60" at 15 digits
      {3.7554246, " 3h 45mn 19.5s"},
  };
  for (const Case& c : cases) EXPECT_EQ(TimeText(c.hours), c.text) << c.hours;
}

TEST(AngleText, SignApartFromTheDegreesOfTheMagnitude) {
  struct Case {
    double degrees;
    const char* text;
  } const cases[] = {
      {55.8923, "  55\u00B0 53' 32.2\""},   {-0.6132, "- 0\u00B0 36' 47.5\""},
      {0.25, "  0\u00B0 15' 0\""},          {-3.5, "- 3\u00B0 30' 0\""},
      {-0.0, "  0\u00B0 0' 0\""},           {-0.61, "- 0\u00B0 36' 36.0\""},
      {10 + 1e-10, "  10\u00B0 0' .000\""}, {0.016666666666666663, "  0\u00B0 0' 59.9\""},
      {400, "  400\u00B0 0' 0\""},  // not reduced
  };
  for (const Case& c : cases) EXPECT_EQ(AngleText(c.degrees), c.text) << c.degrees;
}

TEST(Formatters, NonFiniteValuesAreOverflowFailures) {
  using Formatter = std::string (*)(double);
  for (Formatter format : {Formatter{NumberText}, Formatter{TimeText}, Formatter{AngleText}}) {
    for (double x : {kInf, -kInf, kNaN}) {
      try {
        format(x);
        ADD_FAILURE() << "no failure for " << x;
      } catch (const Failure& failure) {
        EXPECT_EQ(failure.fault(), Fault::Overflow);
      }
    }
  }
}

}  // namespace
}  // namespace orvalin
