#include "commands/load_default.h"

#include <gtest/gtest.h>

#include "tests/support/session_fixture.h"

namespace orvalin {
namespace {

using testing::SessionTest;

class LoadDefaultPlaceTest : public SessionTest {};

TEST_F(LoadDefaultPlaceTest, ShowsRecordOneOnly) {
  WriteRecords({testing::Geneva(), testing::Place("Basel", "CH", "47 33 0 N", "7 35 0 E", 2)});
  LoadDefaultPlace(session);
  EXPECT_EQ(Text(Field::City), "Geneva              ");
  EXPECT_EQ(Text(Field::Latitude), "46 12 0 N      ");
  EXPECT_EQ(Text(Field::Gmt), " 1");
  EXPECT_EQ(Text(Field::RecordNumber), "1");
  EXPECT_EQ(session.CurrentRecord, 1);
  EXPECT_EQ(session.WorkPlace, testing::Geneva());
  EXPECT_TRUE(window.events().empty());
  EXPECT_FALSE(session.File.IsOpen());
}

TEST_F(LoadDefaultPlaceTest, EmptyOrMissingFileAsksForAPlace) {
  for (bool exists : {true, false}) {
    if (exists)
      WriteBytes("");
    else
      std::filesystem::remove(FilePath());
    window.ClearEvents();
    LoadDefaultPlace(session);
    EXPECT_EQ(window.MessageTexts(),
              std::vector<std::string>{"Enter data then save before calculate"});
    EXPECT_TRUE(std::filesystem::exists(FilePath()));  // created empty
    EXPECT_EQ(std::filesystem::file_size(FilePath()), 0u);
    EXPECT_EQ(Text(Field::RecordNumber), "1");
    EXPECT_FALSE(session.File.IsOpen());
  }
}

TEST_F(LoadDefaultPlaceTest, OtherFailuresAreReportedWithTheirStep) {
  std::filesystem::create_directory(FilePath());
  LoadDefaultPlace(session);
  EXPECT_EQ(window.MessageTexts(),
            std::vector<std::string>{"Permission denied in line 200 of DEFAULT"});
}

}  // namespace
}  // namespace orvalin
