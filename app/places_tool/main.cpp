#include <iostream>

#include "cli/places/places_cli.h"
#include "placesfile/places_lock.h"

int main(int argc, char** argv) {
  orvalin::HoldLocksAsTheEnvironmentSays();
  return orvalin::RunPlaces(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
