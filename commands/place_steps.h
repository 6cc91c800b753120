// The steps every operation on the places file is made of.
#pragma once

#include <cstdint>
#include <functional>

#include "commands/session.h"

namespace orvalin {

// NameOfFile gets "location.dat".
void ChooseFileName(Session& s);
// Opens DataDirectory + NameOfFile, creating a missing file.
void OpenChosenFile(Session& s);
// OpenChosenFile for a command that writes: the file's lock is held until it is closed. A file
// handed on by the command's first step (Session::Held) is opened as that step left it.
void OpenChosenFileToWrite(Session& s);
double RecordCount(Session& s);
// Both remember the bytes of record n when it is the current record.
void ReadPlace(Session& s, std::int64_t n, PlaceRecord& target);
void WritePlace(Session& s, std::int64_t n, const PlaceRecord& source);
// SeenRecord becomes n, SeenBytes what the open file holds there.
void RememberRecord(Session& s, std::int64_t n);
// Fails with "Places file changed by another program" when the current record is not what the
// window last saw there.
void CheckCurrentRecordUnchanged(Session& s);
void ClosePlacesFile(Session& s);

// The place fields from a record: texts with their filling blanks, GMT as NumberText.
void ShowPlace(Session& s, const PlaceRecord& source);
// WorkPlace from the place fields, in the order of PlacePart; the offset is
// RoundToInt16(ReadNumber(GMT)). `taking` hears of each part before it is taken, for a command
// that numbers them apart.
enum class PlacePart { Name, Country, Latitude, Longitude, Gmt };
void TakePlace(Session& s, const std::function<void(PlacePart)>& taking = {});

// Empties SunRise, Azimuth, Culmination, Azimuth3, SunSet, Azimuth2 and Duration.
void ClearResults(Session& s);

// Writes `NumberText(n)` into RecordN.
void ShowRecordNumber(Session& s, std::int64_t n);

// HorizonAltitude becomes -0.61 and Horizon shows it.
void SetHorizonAltitude(Session& s);

}  // namespace orvalin
