// Cells of CSV files (RFC 4180) that a spreadsheet may open.
#pragma once

#include <string>
#include <string_view>

namespace orvalin {

// How a cell that begins as a formula would ("=1+1", "-2+3") is kept a text.
enum class FormulaGuard {
  // Led by an apostrophe, which spreadsheets show as text: tables that people read.
  Apostrophe,
  // Its first character written "\xHH", and a leading blank too: texts that EscapeControls wrote,
  // which the places import reads back whole although it trims the blanks around a cell.
  HexEscape,
};

// A cell of text: guarded when it begins as a formula would, then quoted (quotes doubled) when it
// holds a comma, a quote, a line break, or a blank at either end, which a spreadsheet would
// otherwise drop. Numbers are written bare, never through it.
std::string CsvCell(std::string_view text, FormulaGuard guard = FormulaGuard::Apostrophe);

}  // namespace orvalin
