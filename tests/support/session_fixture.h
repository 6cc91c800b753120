// A session on an in-memory window and a places file in a fresh temporary folder.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "commands/session.h"
#include "common/text.h"
#include "placesfile/place_record.h"
#include "tests/support/memory_window.h"

namespace orvalin::testing {

inline PlaceRecord Place(const std::string& name, const std::string& country,
                         const std::string& latitude, const std::string& longitude,
                         std::int16_t gmt) {
  PlaceRecord r;
  r.PlaceName = FixedText(name, kNameWidth);
  r.CountryName = FixedText(country, kCountryWidth);
  r.LatitudeText = FixedText(latitude, kAngleWidth);
  r.LongitudeText = FixedText(longitude, kAngleWidth);
  r.GmtHours = gmt;
  return r;
}

inline PlaceRecord Geneva() { return Place("Geneva", "Switzerland", "46 12 0 N", "6 9 0 E", 1); }

class SessionTest : public ::testing::Test {
 protected:
  SessionTest() : session(window) {
    dir = std::filesystem::temp_directory_path() /
          ("orvalin-test-" + std::to_string(::getpid()) + "-" +
           std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    session.DataDirectory = dir.string() + "/";
  }
  ~SessionTest() override { std::filesystem::remove_all(dir); }

  std::filesystem::path FilePath() const { return dir / "location.dat"; }

  void WriteBytes(const std::string& bytes) {
    std::ofstream(FilePath(), std::ios::binary | std::ios::trunc) << bytes;
  }
  void WriteRecords(const std::vector<PlaceRecord>& records) {
    std::string bytes;
    for (const auto& r : records) {
      const RecordBytes b = EncodeRecord(r);
      bytes.append(b.data(), b.size());
    }
    WriteBytes(bytes);
  }
  std::string FileBytes() const {
    std::ifstream in(FilePath(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::string Text(Field field) const { return window.FieldText(field); }

  // The place fields as a person would type them.
  void TypePlace(const std::string& city, const std::string& latitude, const std::string& longitude,
                 const std::string& gmt = "1") {
    window.SetFieldText(Field::City, city);
    window.SetFieldText(Field::Latitude, latitude);
    window.SetFieldText(Field::Longitude, longitude);
    window.SetFieldText(Field::Gmt, gmt);
  }

  MemoryWindow window;
  Session session;
  std::filesystem::path dir;
};

}  // namespace orvalin::testing
