#include "common/read_number.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/failure.h"

namespace orvalin {
namespace {

struct ReadCase {
  const char* text;
  double expected;
};

TEST(ReadNumber, ReadsTheLeadingNumber) {
  const ReadCase cases[] = {
      {"12-2024", 12},       {" 7 ", 7},           {"1 2 3", 123},      {"\t4\n5", 45},
      {"-3.5", -3.5},        {"+2", 2},            {".5", 0.5},         {"-.61", -0.61},
      {"1.5.3", 1.5},        {"1,5", 1},           {"abc", 0},          {"", 0},
      {"-", 0},              {".", 0},             {"1e3", 1000},       {"1D2", 100},
      {"2d-1", 0.2},         {"1e", 1},            {"1e+", 1},          {"5E+x", 5},
      {"1h", 1},             {"--5", 0},           {"46 31 12.5", 463112.5},
      {"1e-400", 0},         {"0.000e999999", 0},  {"\r5", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadNumber(c.text), c.expected) << '"' << c.text << '"';
  }
}

TEST(ReadNumber, BeyondADoubleIsAnOverflow) {
  for (const char* text : {"1e309", "-1e309", "1e99999999999999999999", "99999e305"}) {
    try {
      ReadNumber(text);
      ADD_FAILURE() << text;
    } catch (const Failure& f) {
      EXPECT_EQ(f.fault(), Fault::Overflow) << text;
    }
  }
  EXPECT_EQ(ReadNumber("1.7976931348623157e308"), 1.7976931348623157e308);
}

TEST(RoundToInt16, HalvesGoToTheEvenNeighbour) {
  const std::pair<double, int> cases[] = {{2.5, 2},  {3.5, 4},   {-2.5, -2}, {-3.5, -4}, {5.5, 6},
                                          {4.5, 4},  {-0.4, 0},  {0.5, 0},   {1.5, 2},   {32767, 32767},
                                          {-32768, -32768}, {32767.4, 32767}, {-32768.5, -32768}};
  for (auto [value, expected] : cases) EXPECT_EQ(RoundToInt16(value), expected) << value;
}

TEST(RoundToInt16, OutsideSixteenBitsIsAnOverflow) {
  for (double value : {32767.5, 40000.0, -32769.0, 1e300, double{INFINITY}}) {
    EXPECT_THROW(RoundToInt16(value), Failure) << value;
  }
}

TEST(ReportText, DescriptionStepAndLabel) {
  EXPECT_EQ(ReportText(Description(Fault::Overflow), 600, "ORVALIN"),
            "Overflow in line 600 of ORVALIN");
  EXPECT_EQ(ReportText(Description(Fault::PathNotFound), 0, "Search"),
            "Path not found in line 0 of Search");
}

}  // namespace
}  // namespace orvalin
