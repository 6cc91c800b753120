// The references of the accuracy tests: CSV files with a header line, read as named cells, and
// the quantiles of the errors found against them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace orvalin {

using Cells = std::map<std::string, std::string>;

inline std::vector<Cells> ReadReference(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::vector<std::string> header;
  std::vector<Cells> rows;
  while (std::getline(in, line)) {
    std::vector<std::string> cells;
    std::stringstream split(line);
    for (std::string cell; std::getline(split, cell, ',');) cells.push_back(cell);
    if (line.back() == ',') cells.emplace_back();
    if (header.empty()) {
      header = cells;
      continue;
    }
    Cells row;
    for (std::size_t i = 0; i < header.size() && i < cells.size(); ++i) row[header[i]] = cells[i];
    rows.push_back(row);
  }
  return rows;
}

inline double Quantile(std::vector<double> values, double q) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1))];
}

}  // namespace orvalin
