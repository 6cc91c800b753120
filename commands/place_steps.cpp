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

void OpenPlacesFile(Session& s) {
  ChooseFileName(s);
  OpenChosenFile(s);
}

double RecordCount(Session& s) { return s.File.RecordCount(); }

void ReadPlace(Session& s, std::int64_t n, PlaceRecord& target) { target = s.File.Read(n); }

void WritePlace(Session& s, std::int64_t n, const PlaceRecord& source) { s.File.Write(n, source); }

void ClosePlacesFile(Session& s) { s.File.Close(); }

void ShowPlace(Session& s, const PlaceRecord& source) {
  s.window.SetFieldText(Field::City, source.PlaceName);
  s.window.SetFieldText(Field::Country, source.CountryName);
  s.window.SetFieldText(Field::Latitude, source.LatitudeText);
  s.window.SetFieldText(Field::Longitude, source.LongitudeText);
  s.window.SetFieldText(Field::Gmt, NumberText(source.GmtHours));
}

void TakePlaceText(Session& s, int part) {
  switch (part) {
    case 0:
      s.WorkPlace.PlaceName = FixedText(s.window.FieldText(Field::City), kNameWidth);
      break;
    case 1:
      s.WorkPlace.CountryName = FixedText(s.window.FieldText(Field::Country), kCountryWidth);
      break;
    case 2:
      s.WorkPlace.LatitudeText = FixedText(s.window.FieldText(Field::Latitude), kAngleWidth);
      break;
    default:
      s.WorkPlace.LongitudeText = FixedText(s.window.FieldText(Field::Longitude), kAngleWidth);
  }
}

void TakeGmtHours(Session& s) {
  s.WorkPlace.GmtHours = RoundToInt16(ReadNumber(s.window.FieldText(Field::Gmt)));
}

void TakePlace(Session& s) {
  for (int part = 0; part < 4; ++part) TakePlaceText(s, part);
  TakeGmtHours(s);
}

void ClearResults(Session& s) {
  for (const Field field :
       {Field::SunriseTime, Field::SunriseAzimuth, Field::CulminationTime,
        Field::CulminationAzimuth, Field::SunsetTime, Field::SunsetAzimuth, Field::DayLength}) {
    s.window.SetFieldText(field, "");
  }
}

void ReportFailure(Session& s, std::string_view label, int step, const Failure& failure) {
  Tell(s.window, ReportText(Description(failure.fault()), step, label));
}

void SetHorizonAltitude(Session& s) {
  s.HorizonAltitude = kHorizonAltitude;
  s.window.SetFieldText(Field::Horizon, NumberText(s.HorizonAltitude));
}

void ShowRecordNumber(Session& s, std::int64_t n) {
  s.window.SetFieldText(Field::RecordNumber, NumberText(static_cast<double>(n)));
}

}  // namespace orvalin
