#include "commands/load_default.h"

#include <new>

#include "commands/place_steps.h"

namespace orvalin {

void LoadDefaultPlace(Session& s) {
  int step = 100;
  try {
    ChooseFileName(s);
    step = 200;
    OpenChosenFile(s);
    s.CurrentRecord = 1;
    s.window.SetFieldText("RecordN", "1");
    step = 210;
    ReadPlace(s, 1, s.WorkPlace);
    step = 215;
    ShowPlace(s, s.WorkPlace);
    ClosePlacesFile(s);
  } catch (const Failure& failure) {
    ClosePlacesFile(s);
    // An empty file has no record 1: the user is asked to store a place first.
    if (step == 210 && failure.fault() == Fault::BadRecordNumber) {
      Tell(s.window, "Enter data then save before calculate");
    } else {
      ReportFailure(s, "DEFAULT", step, failure);
    }
  } catch (const std::bad_alloc&) {
    ClosePlacesFile(s);
    ReportFailure(s, "DEFAULT", step, Failure(Fault::OutOfMemory));
  }
}

}  // namespace orvalin
