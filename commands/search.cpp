#include "commands/search.h"

#include <cstdint>
#include <new>
#include <string_view>

#include "commands/calculate_day.h"
#include "commands/messages.h"
#include "commands/place_steps.h"
#include "placesfile/place_finder.h"
#include "placesfile/records_reader.h"
#include "placesfile/search_rule.h"

namespace orvalin {
namespace {

// Steps of the search, as its failure reports number them.
constexpr std::string_view kLabel = "Search";
constexpr int kAsk = 0, kChooseFile = 830, kOpen = 800, kCount = 820, kRead = 810;

}  // namespace

void Search(Session& s) {
  int step = kAsk;
  std::int64_t reached = 0;  // records counted; RecordN is written once, with the last of them
  std::int64_t read = 0;     // records whose name has been read
  std::string last_read;     // that last record's bytes
  const std::int32_t record_before = s.CurrentRecord;
  const std::string record_text_before = s.window.FieldText(Field::RecordNumber);
  // WorkPlace receives every record read: in the end, the last of them.
  const auto keep_last_read = [&] {
    if (reached > 0) ShowRecordNumber(s, reached);
    if (read > 0) s.WorkPlace = DecodeRecord(last_read);
  };
  const auto report = [&](const Failure& failure) {
    keep_last_read();
    ReportFailure(s, kLabel, step, failure);
    ClosePlacesFile(s);
  };
  try {
    const std::string text = s.window.InputBox(TextOf(s.window, Message::SearchPrompt),
                                               TextOf(s.window, Message::SearchTitle));
    step = kChooseFile;
    ChooseFileName(s);
    step = kOpen;
    OpenChosenFile(s);
    s.CurrentRecord = 0;
    const std::u32string wanted = FoldedText(text);

    const double count = RecordCount(s);
    FoldedName name{};
    RecordBlocks records(s.File);
    bool found = false;
    while (!found) {
      step = kCount;
      if (!(static_cast<double>(reached) < count)) break;
      ++reached;
      s.CurrentRecord = static_cast<std::int32_t>(reached);
      step = kRead;
      const std::string_view record = records.At(reached);
      FoldName(record, name);
      found = IsHit(wanted, {name.data(), name.size()});
      last_read.assign(record);
      read = reached;
    }
    keep_last_read();

    if (!found) {
      // The exact rule found nothing: the names as people spell them, in file order.
      step = kRead;
      const auto near = FirstFoldedMatch(
          text, reached, [&](std::int64_t n) { return records.At(n); }, s.World.Get());
      if (near) {
        s.CurrentRecord = static_cast<std::int32_t>(*near);
        ShowRecordNumber(s, *near);
        s.WorkPlace = DecodeRecord(records.At(*near));
        found = true;
      }
    }
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
  } catch (const Failure& failure) {
    report(failure);
  } catch (const std::bad_alloc&) {
    report(Failure(Fault::OutOfMemory));
  }
}

}  // namespace orvalin
