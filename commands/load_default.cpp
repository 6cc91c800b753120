#include "commands/load_default.h"

#include "commands/messages.h"
#include "commands/place_steps.h"
#include "commands/steps.h"
#include "commands/trap.h"

namespace orvalin {

void LoadDefaultPlace(Session& s) {
  using namespace steps::load_default;
  int step = kChooseFile;
  // An empty file has no record 1: the user is asked to store a place first.
  const auto ask_for_a_place = [&](const Failure& failure) {
    if (step != kRead || failure.fault() != Fault::BadRecordNumber) return false;
    Tell(s.window, Message::EnterDataFirst);
    return true;
  };
  RunTrapped(
      s, kLabel, step,
      [&] {
        ChooseFileName(s);
        step = kOpen;
        OpenChosenFile(s);
        s.CurrentRecord = 1;
        s.window.SetFieldText(Field::RecordNumber, "1");
        step = kRead;
        ReadPlace(s, 1, s.WorkPlace);
        step = kShow;
        ShowPlace(s, s.WorkPlace);
        ClosePlacesFile(s);
      },
      {.first = ask_for_a_place});
}

}  // namespace orvalin
