#include "commands/place_steps.h"

#include "common/read_number.h"
#include "common/text.h"
#include "engine/helpers.h"

namespace orvalin {

void ChooseFileName(Session& s) {
  s.window.SetFieldText(Field::FileName, "");
  if (s.window.FieldText(Field::FileName).empty()) {
    s.window.SetFieldText(Field::FileName, kPlacesFileName);
  }
}

void OpenChosenFile(Session& s) {
  s.File.Open(PlacesFileIn(s.DataDirectory, s.window.FieldText(Field::FileName)));
}

double RecordCount(Session& s) { return s.File.RecordCount(); }

void OpenChosenFileToWrite(Session& s) {
  if (s.Held.Held()) {
    s.File.Open(std::move(s.Held));
  } else {
    s.File.Open(PlacesFileIn(s.DataDirectory, s.window.FieldText(Field::FileName)),
                PlacesFile::Use::Write);
  }
}

void ReadPlace(Session& s, std::int64_t n, PlaceRecord& target) {
  // Remembered first: a record beyond the end is seen as nothing there.
  if (n == s.CurrentRecord) RememberRecord(s, n);
  target = s.File.Read(n);
}

void WritePlace(Session& s, std::int64_t n, const PlaceRecord& source) {
  s.File.Write(n, source);
  if (n == s.CurrentRecord) RememberRecord(s, n);
}

void RememberRecord(Session& s, std::int64_t n) {
  s.SeenBytes = s.File.RecordBytesAt(n);
  s.SeenRecord = static_cast<std::int32_t>(n);
}

void CheckCurrentRecordUnchanged(Session& s) {
  // A record the window never saw (its reading failed before) is not judged.
  if (s.SeenRecord != s.CurrentRecord) return;
  if (s.File.RecordBytesAt(s.CurrentRecord) != s.SeenBytes) Fail(Fault::PlacesFileChanged);
}

void ClosePlacesFile(Session& s) { s.File.Close(); }

void ShowPlace(Session& s, const PlaceRecord& source) {
  s.window.SetFieldText(Field::City, source.PlaceName);
  s.window.SetFieldText(Field::Country, source.CountryName);
  s.window.SetFieldText(Field::Latitude, source.LatitudeText);
  s.window.SetFieldText(Field::Longitude, source.LongitudeText);
  s.window.SetFieldText(Field::Gmt, NumberText(source.GmtHours));
}

void TakePlace(Session& s, const std::function<void(PlacePart)>& taking) {
  const auto take = [&](PlacePart part, Field field, std::string& text, std::size_t width) {
    if (taking) taking(part);
    text = FixedText(s.window.FieldText(field), width);
  };
  take(PlacePart::Name, Field::City, s.WorkPlace.PlaceName, kNameWidth);
  take(PlacePart::Country, Field::Country, s.WorkPlace.CountryName, kCountryWidth);
  take(PlacePart::Latitude, Field::Latitude, s.WorkPlace.LatitudeText, kAngleWidth);
  take(PlacePart::Longitude, Field::Longitude, s.WorkPlace.LongitudeText, kAngleWidth);
  if (taking) taking(PlacePart::Gmt);
  s.WorkPlace.GmtHours = RoundToInt16(ReadNumber(s.window.FieldText(Field::Gmt)));
}

void ClearResults(Session& s) {
  for (const Field field :
       {Field::SunriseTime, Field::SunriseAzimuth, Field::CulminationTime,
        Field::CulminationAzimuth, Field::SunsetTime, Field::SunsetAzimuth, Field::DayLength}) {
    s.window.SetFieldText(field, "");
  }
}

void SetHorizonAltitude(Session& s) {
  s.HorizonAltitude = kHorizonAltitude;
  s.window.SetFieldText(Field::Horizon, NumberText(s.HorizonAltitude));
}

void ShowRecordNumber(Session& s, std::int64_t n) {
  s.window.SetFieldText(Field::RecordNumber, NumberText(static_cast<double>(n)));
}

}  // namespace orvalin
