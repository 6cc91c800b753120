// An allocation that fails inside a command is reported through its trap like any failure.
#include <gtest/gtest.h>

#include <new>

#include "commands/browse.h"
#include "commands/load_default.h"
#include "commands/search.h"
#include "tests/commands/places_fixture.h"

namespace orvalin {
namespace {

using namespace testing;

// Runs out of memory when RecordN is written, or when the input box is asked for.
class StarvedWindow : public MemoryWindow {
 public:
  void SetFieldText(Field field, std::string_view text) override {
    if (field == Field::RecordNumber) throw std::bad_alloc();
    MemoryWindow::SetFieldText(field, text);
  }
  std::string InputBox(std::string_view, std::string_view) override { throw std::bad_alloc(); }
};

class OutOfMemoryTest : public PlacesTest {};

TEST_F(OutOfMemoryTest, IsReportedByTheCommandsTrapWithItsStep) {
  const std::pair<void (*)(Session&), std::string> cases[] = {
      {&LoadDefaultPlace, "Out of memory in line 200 of DEFAULT"},
      {&NextRecord, "Out of memory in line 305 of NextRecord"},
      {&Search, "Out of memory in line 0 of Search"},
  };
  WriteRecords({Geneva(), Basel()});
  for (const auto& [command, report] : cases) {
    StarvedWindow starved;
    Session s(starved);
    s.DataDirectory = session.DataDirectory;
    command(s);
    EXPECT_EQ(starved.MessageTexts(), std::vector<std::string>{report});
    EXPECT_FALSE(s.File.IsOpen());
  }
}

}  // namespace
}  // namespace orvalin
