// Names of places as the sort compares them.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "placesfile/place_record.h"
#include "placesfile/places_file.h"

namespace orvalin {

// A name in 20 bytes, each the rank of its character among all 256 of Windows-1252, so that
// names compare as their characters do: a fraction of the memory of a text per name.
using NameOrderKey = std::array<std::uint8_t, kNameWidth>;

// The key of a record's bytes; what a partial record lacks counts as blanks.
NameOrderKey NameKeyOf(std::string_view record);

// The keys of records 2 to `whole` of the open file, read a block of records at a time.
std::vector<NameOrderKey> NameKeysOf(const PlacesFile& file, std::int64_t whole);

}  // namespace orvalin
