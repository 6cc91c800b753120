// An allocation that fails inside a command is reported through its trap like any failure.
#include <gtest/gtest.h>

#include <new>

#include "commands/browse.h"
#include "commands/calculate_day.h"
#include "commands/load_default.h"
#include "commands/search.h"
#include "tests/commands/places_fixture.h"

namespace orvalin {
namespace {

using namespace testing;

// Runs out of memory when its starved field is written, or when the input box is asked for.
class StarvedWindow : public MemoryWindow {
 public:
  explicit StarvedWindow(Field starved) : starved_(starved) {}
  void SetFieldText(Field field, std::string_view text) override {
    if (field == starved_) throw std::bad_alloc();
    MemoryWindow::SetFieldText(field, text);
  }
  std::string InputBox(std::string_view, std::string_view) override { throw std::bad_alloc(); }
  // The trap closes the places file before its report, so that no other program waits for the
  // lock while the report is read.
  Answer ShowMessage(const MessageBox& box) override {
    open_at_report = open_at_report || (file != nullptr && file->IsOpen());
    return MemoryWindow::ShowMessage(box);
  }
  const PlacesFile* file = nullptr;
  bool open_at_report = false;

 private:
  Field starved_;
};

class OutOfMemoryTest : public PlacesTest {};

TEST_F(OutOfMemoryTest, IsReportedByTheCommandsTrapWithItsStep) {
  const struct {
    void (*command)(Session&);
    Field starved;
    std::string report;
    int beeps;
  } cases[] = {
      {&LoadDefaultPlace, Field::RecordNumber, "Out of memory in line 200 of DEFAULT", 0},
      {&NextRecord, Field::RecordNumber, "Out of memory in line 305 of NextRecord", 0},
      {&Search, Field::RecordNumber, "Out of memory in line 0 of Search", 0},
      {&CalculateDay, Field::SunriseTime, "Out of memory in line 650 of ORVALIN", 1},
  };
  const std::pair<Field, const char*> geneva[] = {{Field::Latitude, "46 12 0 N"},
                                                  {Field::Longitude, "6 9 0 E"},
                                                  {Field::Gmt, "1"},
                                                  {Field::Date, "21-06-2009"}};
  WriteRecords({Geneva(), Basel()});
  for (const auto& c : cases) {
    StarvedWindow starved(c.starved);
    for (const auto& [field, text] : geneva) starved.SetFieldText(field, text);
    Session s(starved);
    s.DataDirectory = session.DataDirectory;
    starved.file = &s.File;
    c.command(s);
    EXPECT_EQ(starved.MessageTexts(), std::vector<std::string>{c.report});
    EXPECT_EQ(starved.BeepCount(), c.beeps) << c.report;
    EXPECT_FALSE(starved.open_at_report) << c.report;
    EXPECT_FALSE(s.File.IsOpen());
  }
}

}  // namespace
}  // namespace orvalin
