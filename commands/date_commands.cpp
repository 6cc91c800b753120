#include "commands/date_commands.h"

#include <cmath>
#include <optional>
#include <string>

#include "commands/calculate_day.h"
#include "commands/load_default.h"
#include "commands/messages.h"
#include "commands/place_steps.h"
#include "commands/working_date.h"
#include "common/read_number.h"
#include "engine/date_text.h"

namespace orvalin {
namespace {

constexpr int kLatestTypedYear = 32000;

struct TypedDate {
  int day = 0, month = 0, year = 0;
};

// Day before the first "-", month up to the next, year after it, each read and rounded to 16
// bits. Nothing when a "-" is missing or a number overflows.
std::optional<TypedDate> ReadTypedDate(std::string_view text) {
  const DateParts parts = SplitDateText(text);
  if (!parts.has_day) return std::nullopt;
  try {
    TypedDate date;
    date.day = RoundToInt16(ReadNumber(parts.day));
    if (!parts.has_month) return std::nullopt;
    date.month = RoundToInt16(ReadNumber(parts.month));
    const double year = ReadNumber(parts.year);
    if (year > kLatestTypedYear) return std::nullopt;
    date.year = RoundToInt16(year);
    return date;
  } catch (const Failure&) {
    return std::nullopt;  // an overflow is refused like a malformed date
  }
}

void RefuseDate(Session& s) {
  s.window.Beep();
  Tell(s.window, Message::DateFormatError);
}

// Digits without sign, at least two.
std::string TwoDigits(int n) {
  std::string digits = std::to_string(std::abs(n));
  return digits.size() < 2 ? "0" + digits : digits;
}

void LoadDefaultWithToday(Session& s) {
  SetTodayDate(s);
  LoadDefaultPlace(s);
  SetHorizonAltitude(s);
}

// Datejour one day forward or back, on the proleptic Gregorian calendar within years 1 to 9999.
void StepDay(Session& s, int step) {
  if (!IsPlaceLoaded(s)) {
    LoadDefaultWithToday(s);
    CalculateDay(s);
    return;
  }
  using namespace std::chrono;
  const auto typed = ReadTypedDate(s.window.FieldText(Field::Date));
  // chrono::day keeps only 8 bits: a day beyond 31 must be refused before it is built.
  if (!typed || typed->month < 1 || typed->month > 12 || typed->day < 1 || typed->day > 31) {
    return RefuseDate(s);
  }
  const year_month_day date{year{typed->year}, month{static_cast<unsigned>(typed->month)},
                            day{static_cast<unsigned>(typed->day)}};
  if (!date.ok() || typed->year < 1 || typed->year > 9999) return RefuseDate(s);
  const year_month_day stepped{sys_days{date} + std::chrono::days{step}};
  if (stepped.year() < year{1} || stepped.year() > year{9999}) return RefuseDate(s);
  s.window.SetFieldText(Field::Date, DateText(stepped));
  RunName(s);
}

}  // namespace

void RunName(Session& s) {
  if (!IsPlaceLoaded(s)) return LoadDefaultWithToday(s);
  const auto date = ReadTypedDate(s.window.FieldText(Field::Date));
  if (!date || date->day < 1 || date->day > 31 || date->month < 1 || date->month > 12) {
    return RefuseDate(s);
  }
  if (date->year > kPreciseUntilYear) Tell(s.window, Message::ImpreciseAfterLastYear);
  if (date->year < kPreciseFromYear) Tell(s.window, Message::ImpreciseBeforeFirstYear);
  s.window.SetFieldText(Field::Date, TwoDigits(date->day) + "-" + TwoDigits(date->month) + "-" +
                                         TwoDigits(date->year));
  CalculateDay(s);
}

void Today(Session& s) {
  SetTodayDate(s);
  s.window.SetFieldText(Field::Date, s.WorkDate);
  RunName(s);
  CalculateDay(s);
}

void NextDay(Session& s) { StepDay(s, +1); }
void PreviousDay(Session& s) { StepDay(s, -1); }

}  // namespace orvalin
