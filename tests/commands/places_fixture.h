// A places file of a few Swiss towns, a valid working date, and the file read back as records.
#pragma once

#include <string>
#include <vector>

#include "placesfile/place_record.h"
#include "placesfile/places_lock.h"
#include "tests/support/session_fixture.h"

namespace orvalin::testing {

inline PlaceRecord Basel() { return Place("Basel", "Switzerland", "47 33 0 N", "7 35 0 E", 1); }
inline PlaceRecord Lausanne() {
  return Place("Lausanne", "Switzerland", "46 31 0 N", "6 38 0 E", 1);
}
inline PlaceRecord Zurich() { return Place("Zurich", "Switzerland", "47 22 0 N", "8 33 0 E", 1); }
inline PlaceRecord Named(const std::string& name, const std::string& country = "X") {
  return Place(name, country, "46 0 0 N", "7 0 0 E", 1);
}

// The name of a record exactly as it is compared when sorting: the Unicode values of its 20
// characters, blanks included.
inline std::u32string NameKey(const PlaceRecord& record) { return CodePoints(record.PlaceName); }
inline std::string Bytes(const PlaceRecord& r) {
  const RecordBytes b = EncodeRecord(r);
  return {b.data(), b.size()};
}

class PlacesTest : public SessionTest {
 protected:
  PlacesTest() { window.SetFieldText(Field::Date, "05-03-2024"); }

  std::vector<PlaceRecord> Records() const {
    const std::string bytes = FileBytes();
    std::vector<PlaceRecord> out;
    for (std::size_t at = 0; at < bytes.size(); at += kRecordSize) {
      out.push_back(DecodeRecord(std::string_view(bytes).substr(at, kRecordSize)));
    }
    return out;
  }
  std::vector<std::string> StoredNames() const {
    std::vector<std::string> out;
    for (const auto& r : Records()) {
      std::string name = r.PlaceName;
      name.erase(name.find_last_not_of(' ') + 1);
      out.push_back(name);
    }
    return out;
  }
  // Files left in the data directory besides location.dat and its lock file.
  int StrayFiles() const {
    const std::string lock = LockFileOf(std::string(dir / "location.dat"));
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
      n += e.path().filename() != "location.dat" && e.path() != lock ? 1 : 0;
    }
    return n;
  }
};

}  // namespace orvalin::testing
