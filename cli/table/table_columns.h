// The sun table's columns: what each holds and in which formats it appears.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/table/sun_table.h"
#include "clock/clock.h"

// Named apart from the rest of cli/: Kind, Cell and Context are common words.
namespace orvalin::table {

inline constexpr int kTableDigits = 6;  // hours to 4 ms, degrees to 0.004"

// How a column's value spreads over the formats: a plain text, a plain decimal, or the window's
// text beside a decimal (and, for an event, its date on the clock).
enum class Kind { Plain, Number, Event, Degrees, Hours };

// One value of a row; `known` false leaves cells empty and makes JSON null.
struct Cell {
  bool known = false;
  std::string text;  // the window's text, or the plain value
  double number = 0;
  Day date{};              // Event: its date on the table's clock
  int offset_seconds = 0;  // Event: the clock's offset then
  std::vector<Cell> more{};  // the day's later events of the kind, or their azimuths
};

inline bool IsPlain(Kind kind) { return kind == Kind::Plain || kind == Kind::Number; }
// The suffix of a column's decimal beside the window's text in CSV: "_deg" or "_h".
inline std::string_view CsvSuffix(Kind kind) { return kind == Kind::Degrees ? "_deg" : "_h"; }

struct Context {
  const SunRow& row;
  const TablePlace& place;
  const Clock& clock;
  bool twilight;
};

// Where a column appears: the readable text table, the window's texts, CSV, JSON; only with a
// twilight; in the readable table only without one, to keep it within 100 columns.
enum Shown : unsigned {
  kReadable = 1,
  kWindow = 2,
  kCsv = 4,
  kJson = 8,
  kAll = 15,
  kTwilight = 16,
  kReadableWithoutTwilight = 32,
  kAt = 64,       // only with a time of day
  kGolden = 128,  // only with golden hours
  kBlue = 256,    // only with blue hours
  kMoon = 512,    // only with the moon
};

// In the text table: padded to the column's width, or last on the line and left as it is.
enum class Fill { Padded, EndsLine };

struct Column {
  std::string_view key;           // CSV header and JSON member
  std::string_view header;        // in the window's texts
  std::string_view short_header;  // in the readable table, when shorter than the header
  Kind kind;
  unsigned shown;
  Cell (*value)(const Context&);
  Fill fill = Fill::Padded;
  int width = 0;  // in the text table, at least
};

// The table's columns in their order.
std::span<const Column> TableColumns();

}  // namespace orvalin::table
