#include "commands/search.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "commands/calculate_day.h"
#include "commands/messages.h"
#include "commands/place_steps.h"
#include "commands/steps.h"
#include "commands/trap.h"
#include "placesfile/place_finder.h"
#include "placesfile/records_reader.h"
#include "placesfile/search_rule.h"

namespace orvalin {
namespace {

using namespace steps::search;

// How far a search has gone, for the window to show where a failure left it.
struct Reading {
  explicit Reading(Session& session) : s(session) {}

  Session& s;
  int step = kAsk;
  std::int64_t reached = 0;  // records counted; RecordN is written once, with the last of them
  std::int64_t read = 0;     // records whose name has been read
  std::string last_read;     // that last record's bytes

  // WorkPlace receives every record read: in the end, the last of them.
  void KeepLastRead() {
    if (reached > 0) ShowRecordNumber(s, reached);
    if (read > 0) s.WorkPlace = DecodeRecord(last_read);
  }
};

// The record `text` finds, now current: the shared rule's first in file order; where it misses,
// the names as people spell them, in file order.
std::optional<std::int64_t> Find(Reading& at, std::string_view text) {
  Session& s = at.s;
  RecordBlocks records(s.File);
  const auto count = static_cast<std::int64_t>(std::ceil(RecordCount(s)));
  std::optional<std::int64_t> found = FirstPlaceFound(text, count, [&](std::int64_t n) {
    at.reached = n;
    s.CurrentRecord = static_cast<std::int32_t>(n);
    at.step = kRead;
    const std::string_view record = records.At(n);
    at.last_read.assign(record);
    at.read = n;
    return record;
  });
  if (!found) at.step = kCount;
  at.KeepLastRead();
  if (found) return found;

  at.step = kRead;
  found = FirstFoldedMatch(
      text, at.reached, [&](std::int64_t n) { return records.At(n); }, s.World.Get());
  if (found) {
    s.CurrentRecord = static_cast<std::int32_t>(*found);
    ShowRecordNumber(s, *found);
    s.WorkPlace = DecodeRecord(records.At(*found));
  }
  return found;
}

// The place found and its day; or, none found, the record shown before is put back.
void Show(Session& s, bool found, std::int32_t record_before,
          const std::string& record_text_before) {
  if (!found) {
    Tell(s.window, Message::PlaceNotFound);
    // Left on the last record, an update would overwrite it with the place still shown.
    s.CurrentRecord = record_before;
    s.window.SetFieldText(Field::RecordNumber, record_text_before);
    ClosePlacesFile(s);
    return;
  }
  RememberRecord(s, s.CurrentRecord);
  ShowPlace(s, s.WorkPlace);
  ClearResults(s);
  SetHorizonAltitude(s);
  ClosePlacesFile(s);
  CalculateDay(s);
}

}  // namespace

void Search(Session& s) {
  Reading at{s};
  const std::int32_t record_before = s.CurrentRecord;
  const std::string record_text_before = s.window.FieldText(Field::RecordNumber);
  RunTrapped(
      s, kLabel, at.step,
      [&] {
        const std::string text = s.window.InputBox(TextOf(s.window, Message::SearchPrompt),
                                                   TextOf(s.window, Message::SearchTitle));
        at.step = kChooseFile;
        ChooseFileName(s);
        at.step = kOpen;
        OpenChosenFile(s);
        s.CurrentRecord = 0;
        Show(s, Find(at, text).has_value(), record_before, record_text_before);
      },
      {.first = [&at](const Failure&) {
        at.KeepLastRead();
        return false;
      }});
}

}  // namespace orvalin
