#include "common/csv_cell.h"

#include "common/escaped_text.h"

namespace orvalin {

std::string CsvCell(std::string_view text, FormulaGuard guard) {
  std::string cell(text);
  switch (guard) {
    case FormulaGuard::Apostrophe:
      if (StartsLikeFormula(cell)) cell.insert(0, 1, '\'');
      break;
    case FormulaGuard::HexEscape:
      if (cell.starts_with(' ') || StartsLikeFormula(cell)) {
        cell.replace(0, 1, HexEscape(cell.front()));
      }
      break;
  }
  const bool quote = cell.find_first_of(",\"\r\n") != std::string::npos ||
                     (!cell.empty() && (cell.front() == ' ' || cell.back() == ' '));
  if (!quote) return cell;
  std::string out = "\"";
  for (const char c : cell) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

}  // namespace orvalin
