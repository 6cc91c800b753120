#include <iostream>

#include "cli/places/places_cli.h"

int main(int argc, char** argv) {
  return orvalin::RunPlaces(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
