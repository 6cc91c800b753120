#include <iostream>

#include "app/table/table_cli.h"

int main(int argc, char** argv) {
  return orvalin::RunTable(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
