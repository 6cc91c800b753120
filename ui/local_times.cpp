#include "ui/local_times.h"

#include <QtGlobal>

#include "clock/clock.h"
#include "common/out_text.h"
#include "engine/date_text.h"
#include "placesfile/world_list.h"

namespace orvalin {
namespace {

constexpr std::string_view kNoZone = "no zone known";

// "05:45:19 on 21-06-2027": the time as a table on the zone's clock writes it.
QString LocalText(const LocalTime& local) {
  return QString::fromStdString(ClockText(local.hours, false, true) + " on " +
                                DateText(local.date));
}

QString Offset(const LocalTime& local) {
  return QString::fromStdString("UTC" + OffsetText(local.offset_seconds));
}

void Describe(QLineEdit* field, const QString& text) {
  field->setToolTip(text);
  field->setAccessibleDescription(text);
}

}  // namespace

std::string LocalTimes::ZoneAt(const Session::CalculatedPlace& place) {
  if (!loaded_) {
    loaded_ = true;
    ZoneGridReading reading = LoadZoneGrid(WorldPlacesPath());
    if (reading.problem) qWarning("orvalin: %s", reading.problem->c_str());
    grid_ = std::move(reading.grid);
  }
  return grid_ ? grid_->ZoneAt(place.latitude.Degrees(), place.longitude.East()) : std::string();
}

void LocalTimes::Update(const Session& s, const std::function<QLineEdit*(orvalin::Field)>& field) {
  const std::pair<orvalin::Field, std::optional<double>> times[] = {
      {Field::SunriseTime, s.LastDay.SunriseTime},
      {Field::CulminationTime, s.LastDay.CulminationTime},
      {Field::SunsetTime, s.LastDay.SunsetTime}};
  const auto date = ReadStrictDate(field(Field::Date)->text().toStdString());
  std::string zone_id;
  if (date && s.Calculated) zone_id = ZoneAt(*s.Calculated);
  const std::optional<Clock> clock = zone_id.empty() ? std::nullopt : Clock::Zone(zone_id);
  const auto describe = [&](QLineEdit* f, const std::function<QString()>& text) {
    if (f->text().isEmpty() || !date || !s.Calculated) return Describe(f, {});
    Describe(f, clock ? text() : QString::fromUtf8(kNoZone.data(), kNoZone.size()));
  };
  const QString where = ", " + QString::fromStdString(zone_id) + ", ";
  for (const auto& [name, hours] : times) {
    // A time the day did not reach is shown empty, or typed by hand: no clock of its own.
    if (!hours) {
      Describe(field(name), {});
      continue;
    }
    describe(field(name), [&, hours = *hours] {
      const LocalTime local = clock->AtHours(*date, hours);
      return LocalText(local) + where + Offset(local);
    });
  }
  describe(field(Field::Date), [&] {
    const LocalTime from = clock->AtHours(*date, 0), to = clock->AtHours(*date, 24);
    return "The UT day runs from " + LocalText(from) + " to " + LocalText(to) + where +
           Offset(from);
  });
}

}  // namespace orvalin
