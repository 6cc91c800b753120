#include <iostream>

#include "cli/table_tool/table_cli.h"

int main(int argc, char** argv) {
  // Nothing here writes through C's stdio: unsynchronised streams write rows far faster.
  std::ios::sync_with_stdio(false);
  return orvalin::RunTable(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
