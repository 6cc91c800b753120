#include "commands/load_default.h"

#include <new>

#include "commands/place_steps.h"

namespace orvalin {

namespace {

// Steps of loading the default place, as its failure reports number them.
constexpr std::string_view kLabel = "DEFAULT";
constexpr int kChooseFile = 100, kOpen = 200, kRead = 210, kShow = 215;

}  // namespace

void LoadDefaultPlace(Session& s) {
  int step = kChooseFile;
  try {
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
  } catch (const Failure& failure) {
    ClosePlacesFile(s);
    // An empty file has no record 1: the user is asked to store a place first.
    if (step == kRead && failure.fault() == Fault::BadRecordNumber) {
      Tell(s.window, Message::EnterDataFirst);
    } else {
      ReportFailure(s, kLabel, step, failure);
    }
  } catch (const std::bad_alloc&) {
    ClosePlacesFile(s);
    ReportFailure(s, "DEFAULT", step, Failure(Fault::OutOfMemory));
  }
}

}  // namespace orvalin
