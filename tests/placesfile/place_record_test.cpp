#include "placesfile/place_record.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "commands/place_steps.h"
#include "common/failure.h"
#include "tests/support/session_fixture.h"

namespace orvalin {
namespace {

using testing::Place;
using testing::SessionTest;

// The file's name chosen, then the file opened.
void OpenPlacesFile(Session& s) {
  ChooseFileName(s);
  OpenChosenFile(s);
}

std::string Bytes(const PlaceRecord& r) {
  const RecordBytes b = EncodeRecord(r);
  return {b.data(), b.size()};
}

TEST(PlaceRecord, LayoutByteByByte) {
  const std::string bytes = Bytes(Place("Zürich", "Switzerland", "47 22 0 N", "8 33 0 E", -300));
  ASSERT_EQ(bytes.size(), 72u);
  EXPECT_EQ(bytes.substr(0, 20), "Z\xFCrich              ");
  EXPECT_EQ(bytes.substr(20, 20), "Switzerland         ");
  EXPECT_EQ(bytes.substr(40, 15), "47 22 0 N      ");
  EXPECT_EQ(bytes.substr(55, 15), "8 33 0 E       ");
  EXPECT_EQ(static_cast<unsigned char>(bytes[70]), 0xD4);  // -300, least significant first
  EXPECT_EQ(static_cast<unsigned char>(bytes[71]), 0xFE);
  EXPECT_EQ(DecodeRecord(bytes), Place("Zürich", "Switzerland", "47 22 0 N", "8 33 0 E", -300));
}

TEST(PlaceRecord, TextsAreCutOrFilledAndUnstorableCharactersBecomeQuestionMarks) {
  const PlaceRecord r = Place("Llanfairpwllgwyngyll-gogery", "東京", "1 2 3 N", "4 5 6 E", 0);
  const std::string bytes = Bytes(r);
  EXPECT_EQ(bytes.substr(0, 20), "Llanfairpwllgwyngyll");
  EXPECT_EQ(bytes.substr(20, 20), "??                  ");
}

TEST(PlaceRecord, PartialRecordReadsBlanksAndZero) {
  const std::string full = Bytes(Place("Basel", "Switzerland", "47 33 0 N", "7 35 0 E", 258));
  EXPECT_EQ(DecodeRecord(full.substr(0, 71)).GmtHours, 2);  // high byte missing
  const PlaceRecord cut = DecodeRecord(full.substr(0, 28));
  EXPECT_EQ(cut.PlaceName, FixedText("Basel", 20));
  EXPECT_EQ(cut.CountryName, FixedText("Switzerl", 20));
  EXPECT_EQ(cut.LatitudeText, std::string(15, ' '));
  EXPECT_EQ(cut.GmtHours, 0);
}

class PlacesFileTest : public SessionTest {};

TEST_F(PlacesFileTest, RecordCountIsARealNumber) {
  const std::pair<std::size_t, double> cases[] = {{0, 0}, {144, 2}, {100, 100.0 / 72}};
  for (auto [size, count] : cases) {
    WriteBytes(std::string(size, 'x'));
    OpenPlacesFile(session);
    EXPECT_EQ(RecordCount(session), count);
    ClosePlacesFile(session);
  }
  EXPECT_NEAR(100.0 / 72, 1.39, 0.01);
}

TEST_F(PlacesFileTest, ReadsAndWritesRecordsAtTheirPlace) {
  OpenPlacesFile(session);
  EXPECT_EQ(Text(Field::FileName), "location.dat");
  const PlaceRecord third = Place("Lausanne", "Switzerland", "46 31 0 N", "6 38 0 E", 1);
  WritePlace(session, 3, third);
  EXPECT_EQ(RecordCount(session), 3);
  PlaceRecord read;
  ReadPlace(session, 3, read);
  EXPECT_EQ(read, third);
  ClosePlacesFile(session);
  EXPECT_EQ(FileBytes().substr(144), Bytes(third));  // record 3 starts at byte 144
  EXPECT_EQ(FileBytes().substr(0, 144), std::string(144, '\0'));
}

TEST_F(PlacesFileTest, FailuresCarryTheirStandardDescription) {
  auto fault_of = [&](auto&& action) {
    try {
      action();
    } catch (const Failure& f) {
      ClosePlacesFile(session);
      return std::string(Description(f.fault()));
    }
    ClosePlacesFile(session);
    return std::string("none");
  };
  PlaceRecord r;
  EXPECT_EQ(fault_of([&] {
              OpenPlacesFile(session);
              ReadPlace(session, 1, r);
            }),
            "Bad record number");  // record 1 of an empty file
  EXPECT_EQ(fault_of([&] {
              OpenPlacesFile(session);
              ReadPlace(session, 0, r);
            }),
            "Bad record number");
  EXPECT_EQ(fault_of([&] {
              OpenPlacesFile(session);
              WritePlace(session, -4, r);
            }),
            "Bad record number");
  // A file that is not open lacks no record: it is said not to be open.
  EXPECT_EQ(fault_of([&] { ReadPlace(session, 1, r); }), "Places file not open");
  EXPECT_EQ(fault_of([&] { WritePlace(session, 1, r); }), "Places file not open");
  std::filesystem::remove(FilePath());
  std::filesystem::create_directory(FilePath());
  EXPECT_EQ(fault_of([&] { OpenPlacesFile(session); }), "Permission denied");
  session.DataDirectory = (dir / "missing" / "").string();
  EXPECT_EQ(fault_of([&] { OpenPlacesFile(session); }), "Path not found");
}

TEST_F(PlacesFileTest, AFullDiskLeavesNoPartialRecordBehind) {
  WriteRecords({testing::Geneva()});
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit old_limit{};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  rlimit small = old_limit;
  small.rlim_cur = 100;  // bytes: the second record does not fit
  setrlimit(RLIMIT_FSIZE, &small);
  std::string description;
  try {
    OpenPlacesFile(session);
    WritePlace(session, 2, testing::Geneva());
  } catch (const Failure& f) {
    description = Description(f.fault());
  }
  ClosePlacesFile(session);
  setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(description, "Disk full");
  EXPECT_EQ(std::filesystem::file_size(FilePath()), 72u);
}

TEST_F(PlacesFileTest, ShowAndTakeThePlaceFields) {
  ShowPlace(session, Place("Bern", "Switzerland", "46 57 0 N", "7 26 0 E", -5));
  EXPECT_EQ(Text(Field::City), "Bern                ");
  EXPECT_EQ(Text(Field::Gmt), "-5");
  const std::pair<const char*, int> offsets[] = {{"1", 1},   {" 1", 1},    {"+2", 2}, {"5.5", 6},
                                                 {"4.5", 4}, {"-3.5", -4}, {"1h", 1}, {"", 0}};
  for (auto [typed, stored] : offsets) {
    window.SetFieldText(Field::Gmt, typed);
    TakePlace(session);
    EXPECT_EQ(session.WorkPlace.GmtHours, stored) << typed;
  }
  EXPECT_EQ(session.WorkPlace.PlaceName, "Bern                ");
  window.SetFieldText(Field::Gmt, "40000");
  EXPECT_THROW(TakePlace(session), Failure);
}

}  // namespace
}  // namespace orvalin
