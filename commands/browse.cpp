#include "commands/browse.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "commands/date_commands.h"
#include "commands/place_steps.h"

namespace orvalin {

namespace {

// The record now current into WorkPlace and the place fields, then the day for it.
void ShowCurrentAndCalculate(Session& s) {
  ReadPlace(s, s.CurrentRecord, s.WorkPlace);
  ShowPlace(s, s.WorkPlace);
  ClearResults(s);
  ClosePlacesFile(s);
  RunName(s);
}

}  // namespace

// Each command keeps the number of the step it is in, so that its trap can name it.

void PreviousRecord(Session& s) {
  int step = 0;
  RunTrapped(s, "PreviousRecord", step, [&] {
    ChooseFileName(s);
    if (s.CurrentRecord <= 1) {
      s.CurrentRecord = 0;
      s.window.Beep();
      return;
    }
    --s.CurrentRecord;
    step = 400;
    OpenChosenFile(s);
    ShowRecordNumber(s, s.CurrentRecord);
    step = 410;
    ShowCurrentAndCalculate(s);
  });
}

void NextRecord(Session& s) {
  int step = 330;
  RunTrapped(s, "NextRecord", step, [&] {
    ChooseFileName(s);
    step = 300;
    OpenChosenFile(s);
    // A real comparison: a partial last record can be reached.
    if (!(s.CurrentRecord < RecordCount(s))) {
      ClosePlacesFile(s);
      return;
    }
    ++s.CurrentRecord;
    step = 305;
    ShowRecordNumber(s, s.CurrentRecord);
    step = 310;
    ShowCurrentAndCalculate(s);
  });
}

void AddRecord(Session& s) {
  int step = 0;
  RunTrapped(s, "AddRecord", step, [&] {
    const Answer answer =
        s.window.ShowMessage(MessageBox{.text = "Do you realy want to register these data ?",
                                        .title = "",
                                        .buttons = Buttons::YesNo,
                                        .icon = Icon::Critical});
    if (answer != Answer::Yes) return;
    step = 520;
    ChooseFileName(s);
    step = 530;
    OpenChosenFileToWrite(s);
    step = 531;
    // Halves to even: a file of 1.5 records gets its new record as record 2.
    const double next = std::nearbyint(RecordCount(s) + 1);
    if (next > std::numeric_limits<std::int32_t>::max()) Fail(Fault::Overflow);
    s.CurrentRecord = static_cast<std::int32_t>(next);
    step = 532;
    ShowRecordNumber(s, s.CurrentRecord);
    TakePlace(s);
    step = 533;
    WritePlace(s, s.CurrentRecord, s.WorkPlace);
    step = 540;
    ClosePlacesFile(s);
    ClearResults(s);
  });
}

void SaveModif(Session& s) {
  int step = 720;
  RunTrapped(s, "SaveModif", step, [&] {
    ChooseFileName(s);
    if (s.CurrentRecord == 0) return;
    step = 730;
    OpenChosenFileToWrite(s);
    step = 740;
    ShowRecordNumber(s, s.CurrentRecord);
    for (int part = 0; part < 4; ++part) {
      step = 741 + part;
      TakePlaceText(s, part);
    }
    step = 745;
    TakeGmtHours(s);
    step = 780;
    CheckCurrentRecordUnchanged(s);
    WritePlace(s, s.CurrentRecord, s.WorkPlace);
    step = 790;
    ClosePlacesFile(s);
    ClearResults(s);
    RunName(s);
  });
}

}  // namespace orvalin
