#include "commands/browse.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "commands/date_commands.h"
#include "commands/messages.h"
#include "commands/place_steps.h"

namespace orvalin {
namespace {

// Steps of each command, as its failure reports number them.
namespace previous_record {
constexpr std::string_view kLabel = "PreviousRecord";
constexpr int kStart = 0, kOpen = 400, kShow = 410;
}  // namespace previous_record
namespace next_record {
constexpr std::string_view kLabel = "NextRecord";
constexpr int kStart = 330, kOpen = 300, kNumber = 305, kShow = 310;
}  // namespace next_record
namespace add_record {
constexpr std::string_view kLabel = "AddRecord";
constexpr int kAsk = 0, kChooseFile = 520, kOpen = 530, kCount = 531, kNumber = 532, kWrite = 533,
              kClose = 540;
}  // namespace add_record
namespace save_modif {
constexpr std::string_view kLabel = "SaveModif";
constexpr int kStart = 720, kOpen = 730, kNumber = 740, kFirstText = 741, kGmt = 745, kWrite = 780,
              kClose = 790;
}  // namespace save_modif

// The record now current into WorkPlace and the place fields, then the day for it. A date that
// overflows is the command's failure here, not a refusal of the date.
void ShowCurrentAndCalculate(Session& s) {
  ReadPlace(s, s.CurrentRecord, s.WorkPlace);
  ShowPlace(s, s.WorkPlace);
  ClearResults(s);
  ClosePlacesFile(s);
  RunNameTrapped(s);
}

}  // namespace

// Each command keeps the number of the step it is in, so that its trap can name it.

void PreviousRecord(Session& s) {
  using namespace previous_record;
  int step = kStart;
  RunTrapped(s, kLabel, step, [&] {
    ChooseFileName(s);
    if (s.CurrentRecord <= 1) {
      s.CurrentRecord = 0;
      s.window.Beep();
      return;
    }
    --s.CurrentRecord;
    step = kOpen;
    OpenChosenFile(s);
    ShowRecordNumber(s, s.CurrentRecord);
    step = kShow;
    ShowCurrentAndCalculate(s);
  });
}

void NextRecord(Session& s) {
  using namespace next_record;
  int step = kStart;
  RunTrapped(s, kLabel, step, [&] {
    ChooseFileName(s);
    step = kOpen;
    OpenChosenFile(s);
    // A real comparison: a partial last record can be reached.
    if (!(s.CurrentRecord < RecordCount(s))) {
      ClosePlacesFile(s);
      return;
    }
    ++s.CurrentRecord;
    step = kNumber;
    ShowRecordNumber(s, s.CurrentRecord);
    step = kShow;
    ShowCurrentAndCalculate(s);
  });
}

void AddRecord(Session& s) {
  using namespace add_record;
  int step = kAsk;
  RunTrapped(s, kLabel, step, [&] {
    const Answer answer = s.window.ShowMessage(
        MessageBox{.text = std::string(TextOf(s.window, Message::ConfirmNewPlace)),
                   .title = "",
                   .buttons = Buttons::YesNo,
                   .icon = Icon::Critical});
    if (answer != Answer::Yes) return;
    step = kChooseFile;
    ChooseFileName(s);
    step = kOpen;
    OpenChosenFileToWrite(s);
    step = kCount;
    // Halves to even: a file of 1.5 records gets its new record as record 2.
    const double next = std::nearbyint(RecordCount(s) + 1);
    if (next > std::numeric_limits<std::int32_t>::max()) Fail(Fault::Overflow);
    s.CurrentRecord = static_cast<std::int32_t>(next);
    step = kNumber;
    ShowRecordNumber(s, s.CurrentRecord);
    TakePlace(s);
    step = kWrite;
    WritePlace(s, s.CurrentRecord, s.WorkPlace);
    step = kClose;
    ClosePlacesFile(s);
    ClearResults(s);
  });
}

void SaveModif(Session& s) {
  using namespace save_modif;
  int step = kStart;
  RunTrapped(s, kLabel, step, [&] {
    ChooseFileName(s);
    if (s.CurrentRecord == 0) return;
    step = kOpen;
    OpenChosenFileToWrite(s);
    step = kNumber;
    ShowRecordNumber(s, s.CurrentRecord);
    for (const PlaceText part : kPlaceTexts) {
      step = kFirstText + static_cast<int>(part);
      TakePlaceText(s, part);
    }
    step = kGmt;
    TakeGmtHours(s);
    step = kWrite;
    CheckCurrentRecordUnchanged(s);
    WritePlace(s, s.CurrentRecord, s.WorkPlace);
    step = kClose;
    ClosePlacesFile(s);
    ClearResults(s);
    RunNameTrapped(s);
  });
}

}  // namespace orvalin
