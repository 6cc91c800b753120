#include "commands/browse.h"

#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>

#include "commands/date_commands.h"
#include "commands/messages.h"
#include "commands/place_steps.h"
#include "commands/steps.h"
#include "commands/trap.h"

namespace orvalin {
namespace {

// The record now current into WorkPlace and the place fields, then the day for it. A date that
// overflows is the command's failure here, not a refusal of the date.
void ShowCurrentAndCalculate(Session& s) {
  ReadPlace(s, s.CurrentRecord, s.WorkPlace);
  ShowPlace(s, s.WorkPlace);
  ClearResults(s);
  ClosePlacesFile(s);
  CalculateWithNewDateOrFail(s);
}

}  // namespace

static_assert(std::size(steps::save_modif::kTakePart) ==
              static_cast<std::size_t>(PlacePart::Gmt) + 1);

// Each command keeps the number of the step it is in, so that its trap can name it.

void PreviousRecord(Session& s) {
  using namespace steps::previous_record;
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
  using namespace steps::next_record;
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
  using namespace steps::add_record;
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

void UpdatePlace(Session& s) {
  using namespace steps::save_modif;
  int step = kStart;
  RunTrapped(s, kLabel, step, [&] {
    ChooseFileName(s);
    if (s.CurrentRecord == 0) return;
    step = kOpen;
    OpenChosenFileToWrite(s);
    step = kNumber;
    ShowRecordNumber(s, s.CurrentRecord);
    TakePlace(s, [&step](PlacePart part) { step = kTakePart[static_cast<int>(part)]; });
    step = kWrite;
    CheckCurrentRecordUnchanged(s);
    WritePlace(s, s.CurrentRecord, s.WorkPlace);
    step = kClose;
    ClosePlacesFile(s);
    ClearResults(s);
    CalculateWithNewDateOrFail(s);
  });
}

}  // namespace orvalin
