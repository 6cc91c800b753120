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

enum class DateOverflow { IsRefused, Fails };

struct TypedDate {
  int day = 0, month = 0, year = 0;
};

// Day before the first "-", month up to the next, year after it, each read and rounded to 16
// bits, and each checked before the next is read: nothing when a "-" is missing or a part is out
// of its range. An overflow is refused the same way unless it `Fails`.
std::optional<TypedDate> ReadTypedDate(std::string_view text, DateOverflow overflow) {
  const DateParts parts = SplitDateText(text);
  if (!parts.has_day) return std::nullopt;
  try {
    TypedDate date;
    date.day = RoundToInt16(ReadNumber(parts.day));
    if (date.day < 1 || date.day > 31 || !parts.has_month) return std::nullopt;
    date.month = RoundToInt16(ReadNumber(parts.month));
    if (date.month < 1 || date.month > 12) return std::nullopt;
    const double year = ReadNumber(parts.year);
    if (year > kLatestTypedYear) return std::nullopt;
    date.year = RoundToInt16(year);
    return date;
  } catch (const Failure&) {
    if (overflow == DateOverflow::Fails) throw;
    return std::nullopt;
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
  const auto typed = ReadTypedDate(s.window.FieldText(Field::Date), DateOverflow::IsRefused);
  // Days past 31 are refused before chrono::day, which keeps only 8 bits, is built.
  if (!typed) return RefuseDate(s);
  const year_month_day date{year{typed->year}, month{static_cast<unsigned>(typed->month)},
                            day{static_cast<unsigned>(typed->day)}};
  if (!date.ok() || typed->year < 1 || typed->year > 9999) return RefuseDate(s);
  const year_month_day stepped{sys_days{date} + std::chrono::days{step}};
  if (stepped.year() < year{1} || stepped.year() > year{9999}) return RefuseDate(s);
  s.window.SetFieldText(Field::Date, DateText(stepped));
  RunName(s);
}

}  // namespace

void CheckDateAndCalculate(Session& s, DateOverflow overflow) {
  if (!IsPlaceLoaded(s)) return LoadDefaultWithToday(s);
  const auto date = ReadTypedDate(s.window.FieldText(Field::Date), overflow);
  if (!date) return RefuseDate(s);
  if (date->year > kPreciseUntilYear) Tell(s.window, Message::ImpreciseAfterLastYear);
  if (date->year < kPreciseFromYear) Tell(s.window, Message::ImpreciseBeforeFirstYear);
  s.window.SetFieldText(Field::Date, TwoDigits(date->day) + "-" + TwoDigits(date->month) + "-" +
                                         TwoDigits(date->year));
  CalculateDay(s);
}

void RunName(Session& s) { CheckDateAndCalculate(s, DateOverflow::IsRefused); }
void RunNameTrapped(Session& s) { CheckDateAndCalculate(s, DateOverflow::Fails); }

void Today(Session& s) {
  SetTodayDate(s);
  s.window.SetFieldText(Field::Date, s.WorkDate);
  RunName(s);
  CalculateDay(s);
}

void NextDay(Session& s) { StepDay(s, +1); }
void PreviousDay(Session& s) { StepDay(s, -1); }

}  // namespace orvalin
