// Where a table's place comes from: a record of a places file, found by number or by the start
// of its name, or coordinates typed as in the window.
#pragma once

#include <cstdint>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/table/sun_table.h"
#include "placesfile/place_record.h"

namespace orvalin {

// The places file a tool reads: `file` (--file) when given, else the window's (this folder's
// location.dat, else the user's places folder, made on first use); a word on `err` when the
// first use could not copy the sample. ToolFailure when there is no folder to use.
std::string ChosenPlacesFile(const std::optional<std::string>& file, std::string_view program,
                             std::ostream& err);

// The bytes of a places file, which must exist (it is never created here). ToolFailure when it
// is missing or unreadable.
std::string ReadPlacesBytes(const std::string& path);
// The same file opened to be read record by record.
std::ifstream OpenPlacesToRead(const std::string& path);

PlaceRecord RecordAt(std::string_view bytes, std::int64_t n);  // n from 1

// A record's angles read by the window's rules. ToolFailure when the window would show a message.
TablePlace PlaceFromRecord(const PlaceRecord& record, std::int64_t n);

// Coordinates typed on the command line in any of the accepted forms (engine/angle_forms.h).
// BadUsage, in one line naming the text and the accepted forms, when one cannot be read, when
// its hemisphere letter does not suit it, or when it is out of range.
TablePlace PlaceFromTyped(std::string_view latitude, std::string_view longitude);

}  // namespace orvalin
