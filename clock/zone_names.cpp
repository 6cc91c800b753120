// The zones a name may give: the database's, checked before the time zone library sees a name,
// and the nearest ones for a name that is none.
#include <QByteArray>
#include <QFile>
#include <algorithm>

#include "clock/clock.h"
#include "common/text.h"

namespace orvalin {

namespace {

constexpr std::string_view kSystemZone = "local";
constexpr std::string_view kUniversalZone = "UTC";
// Where the system keeps its zone database: the folders the time zone library reads.
constexpr const char* kZoneFolders[] = {"/usr/share/zoneinfo/", "/usr/lib/zoneinfo/"};
constexpr QByteArrayView kZoneFileMagic = "TZif";
constexpr std::size_t kLongestZoneName = 255;
// Files of the database that are no zones, wherever they lie in it: the system's own zone under
// its file's name ("local" says it), the rules POSIX TZ strings borrow, and the "-00" of a system
// whose zone was never set.
constexpr QByteArrayView kNotZones[] = {"localtime", "posixrules", "Factory"};
// Zones suggested for a name that is none, at most; and the edits allowed per so many letters
// typed, one at least and three at most: "Pariss" is one edit from Paris.
constexpr std::size_t kSuggestedZones = 3;
constexpr std::size_t kLettersPerEdit = 4;
constexpr std::size_t kMostEdits = 3;

// Letters, digits, "_", "-" and "+" in parts joined by "/": no part that leaves the database's
// folder or names a hidden file.
bool IsZoneName(std::string_view id) {
  if (id.empty() || id.size() > kLongestZoneName || id.front() == '/' || id.back() == '/') {
    return false;
  }
  for (std::size_t at = 0; at < id.size(); ++at) {
    const char c = id[at];
    const bool part_start = at == 0 || id[at - 1] == '/';
    const bool word = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '_' || c == '-' || c == '+';
    if (!(word || (c == '/' && !part_start)) || (part_start && c == '-')) return false;
  }
  return true;
}

// A zone file of the database: links and zones the table of zones leaves out count.
bool InZoneDatabase(const QByteArray& id) {
  if (QTimeZone::isTimeZoneIdAvailable(id)) return true;
  for (const char* folder : kZoneFolders) {
    QFile file(QString::fromLatin1(folder) + QString::fromLatin1(id));
    if (file.open(QIODevice::ReadOnly) && file.read(kZoneFileMagic.size()) == kZoneFileMagic) {
      return true;
    }
  }
  return false;
}

QByteArray LastPart(const QByteArray& id) { return id.mid(id.lastIndexOf('/') + 1); }

bool IsNoZone(const QByteArray& id) {
  return std::find(std::begin(kNotZones), std::end(kNotZones), LastPart(id)) != std::end(kNotZones);
}

std::size_t Edits(const QByteArray& a, const QByteArray& b, std::size_t limit) {
  return EditDistance(std::string_view(a.data(), static_cast<std::size_t>(a.size())),
                      std::string_view(b.data(), static_cast<std::size_t>(b.size())), limit);
}

}  // namespace

std::optional<Clock> Clock::Zone(std::string_view id) {
  if (id == kSystemZone) return Clock(Kind::Zone, 0, QTimeZone::systemTimeZone());
  const QByteArray name(id.data(), static_cast<qsizetype>(id.size()));
  if (id != kUniversalZone && !(IsZoneName(id) && !IsNoZone(name) && InZoneDatabase(name))) {
    return std::nullopt;
  }
  const QTimeZone zone(name);
  if (!zone.isValid()) return std::nullopt;
  return Clock(Kind::Zone, 0, zone);
}

std::vector<std::string> Clock::ZonesLike(std::string_view typed) {
  const QByteArray wanted =
      QByteArray(typed.data(), static_cast<qsizetype>(typed.size())).toLower().replace(' ', '_');
  const std::size_t limit = std::clamp<std::size_t>(typed.size() / kLettersPerEdit, 1, kMostEdits);
  std::size_t least = limit + 1;
  std::vector<std::string> nearest;
  for (const QByteArray& id : QTimeZone::availableTimeZoneIds()) {
    if (!id.contains('/')) continue;
    const QByteArray lower = id.toLower();
    const std::size_t edits =
        std::min(Edits(wanted, lower, limit), Edits(wanted, LastPart(lower), limit));
    if (edits > limit || edits > least) continue;
    if (edits < least) nearest.clear();
    least = edits;
    if (nearest.size() < kSuggestedZones) nearest.push_back(id.toStdString());
  }
  return nearest;
}

}  // namespace orvalin
