#include "ui/local_times.h"

#include <QDateTime>
#include <QTimeZone>
#include <QtGlobal>
#include <cmath>

#include "common/vector_registers.h"
#include "engine/date_text.h"
#include "placesfile/world_list.h"

namespace orvalin {
namespace {

constexpr std::string_view kNoZone = "no zone known";
constexpr double kMsPerHour = 3'600'000;

QString Offset(const QDateTime& local) {
  const int seconds = local.offsetFromUtc();
  const int minutes = std::abs(seconds) / 60;
  return QString("UTC%1%2:%3")
      .arg(seconds < 0 ? '-' : '+')
      .arg(minutes / 60, 2, 10, QChar('0'))
      .arg(minutes % 60, 2, 10, QChar('0'));
}

// "05:45:19 on 21-06-2027", the seconds cut as the window cuts them.
QString LocalText(const QDateTime& local) {
  return local.toString("HH:mm:ss") + " on " + local.toString("dd-MM-yyyy");
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
  const QTimeZone zone(QByteArray::fromStdString(zone_id));
  ClearUpperVectorRegisters();
  const bool known = !zone_id.empty() && zone.isValid();
  const auto describe = [&](QLineEdit* f, const std::function<QString()>& text) {
    if (f->text().isEmpty() || !date || !s.Calculated) return Describe(f, {});
    Describe(f, known ? text() : QString::fromUtf8(kNoZone.data(), kNoZone.size()));
  };
  const QDateTime midnight(QDate(static_cast<int>(date ? date->year() : std::chrono::year{2000}),
                                 static_cast<int>(date ? static_cast<unsigned>(date->month()) : 1),
                                 static_cast<int>(date ? static_cast<unsigned>(date->day()) : 1)),
                           QTime(0, 0), QTimeZone::utc());
  const QString where = ", " + QString::fromStdString(zone_id) + ", ";
  for (const auto& [name, hours] : times) {
    // A time the day did not reach is shown empty, or typed by hand: no clock of its own.
    if (!hours) {
      Describe(field(name), {});
      continue;
    }
    describe(field(name), [&, hours = *hours] {
      const QDateTime local =
          midnight.addMSecs(static_cast<qint64>(std::floor(hours * kMsPerHour / 1000)) * 1000)
              .toTimeZone(zone);
      return LocalText(local) + where + Offset(local);
    });
  }
  describe(field(Field::Date), [&] {
    const QDateTime from = midnight.toTimeZone(zone), to = midnight.addDays(1).toTimeZone(zone);
    return "The UT day runs from " + LocalText(from) + " to " + LocalText(to) + where +
           Offset(from);
  });
}

}  // namespace orvalin
