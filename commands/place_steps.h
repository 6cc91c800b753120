// The steps every operation on the places file is made of.
#pragma once

#include <cstdint>
#include <new>
#include <string_view>

#include "common/failure.h"
#include "commands/session.h"

namespace orvalin {

// NameOfFile gets "location.dat".
void ChooseFileName(Session& s);
// Opens DataDirectory + NameOfFile, creating a missing file.
void OpenChosenFile(Session& s);
// OpenChosenFile for a command that writes: the file's lock is held until it is closed.
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
// WorkPlace from the place fields; the offset is RoundToInt16(ReadNumber(GMT)).
void TakePlace(Session& s);
// The parts of TakePlace, for operations that number them apart, in the order they are taken.
enum class PlaceText { Name, Country, Latitude, Longitude };
inline constexpr PlaceText kPlaceTexts[] = {PlaceText::Name, PlaceText::Country,
                                            PlaceText::Latitude, PlaceText::Longitude};
void TakePlaceText(Session& s, PlaceText part);
void TakeGmtHours(Session& s);

// Empties SunRise, Azimuth, Culmination, Azimuth3, SunSet, Azimuth2 and Duration.
void ClearResults(Session& s);

// "<description> in line <step> of <label>" in an OK box with the program's title.
void ReportFailure(Session& s, std::string_view label, int step, const Failure& failure);

// Writes `NumberText(n)` into RecordN.
void ShowRecordNumber(Session& s, std::int64_t n);

// HorizonAltitude becomes -0.61 and Horizon shows it.
void SetHorizonAltitude(Session& s);

// Runs a command's steps under its trap: a failure, or an allocation that fails, is reported
// with the label and the step the command had reached, then the places file is closed.
template <typename Steps>
void RunTrapped(Session& s, std::string_view label, const int& step, Steps&& steps) {
  try {
    steps();
  } catch (const Failure& failure) {
    ReportFailure(s, label, step, failure);
    ClosePlacesFile(s);
  } catch (const std::bad_alloc&) {
    ReportFailure(s, label, step, Failure(Fault::OutOfMemory));
    ClosePlacesFile(s);
  }
}

}  // namespace orvalin
