#include "commands/default_place.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/bubble_order.h"
#include "commands/calculate_day.h"
#include "commands/load_default.h"
#include "commands/name_keys.h"
#include "commands/place_steps.h"
#include "commands/steps.h"
#include "commands/trap.h"
#include "commands/working_date.h"
#include "common/text.h"

namespace orvalin {
namespace {

using namespace steps;

// Records 1 to k turn round by one place: k becomes 1, 1 to k - 1 become 2 to k. The file is
// replaced whole, so that a failure or a crash never leaves a record lost or doubled; it is copied
// a block at a time, never held whole. Records 1 to k - 1 stand before record k, which exists:
// they are whole and move byte for byte.
void MoveChosenToFront(Session& s, std::int64_t k, int& step) {
  step = default_data::kReadAll;
  const RecordBytes chosen = EncodeRecord(s.ChosenPlace);
  const auto at = [](std::int64_t n) { return (n - 1) * static_cast<std::int64_t>(kRecordSize); };
  const PlaceRecord before_last = DecodeRecord(s.File.RecordBytesAt(k - 1));
  const PlaceRecord first = DecodeRecord(s.File.RecordBytesAt(1));

  step = default_data::kReplace;
  // Should the replacement fail, WorkPlace holds what it held when the first write failed.
  s.WorkPlace = before_last;
  s.File.ReplaceWith([&](const PlacesFile::PieceSink& sink) {
    sink(std::string_view(chosen.data(), chosen.size()));
    s.File.CopyBytes(at(1), at(k), sink);
    s.File.CopyBytes(at(k + 1), std::numeric_limits<std::int64_t>::max(), sink);
  });
  s.WorkPlace = first;
  s.CurrentRecord = 1;
  ShowRecordNumber(s, 1);
}

// Record 1 is already first. Rewriting a whole record 1 with itself changes no byte; a partial
// one is filled out, and being the whole file, it is replaced like any reorder.
void KeepChosenFirst(Session& s, int& step) {
  step = default_data::kReplace;
  s.CurrentRecord = 1;
  ShowRecordNumber(s, 1);
  step = default_data::kShown;
  if (RecordCount(s) < 1) {
    const RecordBytes chosen = EncodeRecord(s.ChosenPlace);
    s.File.ReplaceAll(std::string_view(chosen.data(), chosen.size()));
  }
}

}  // namespace

void DefaultData(Session& s) {
  using namespace default_data;
  // The lock and the file the move to the front wrote pass to the sort, which neither looks the
  // name up again nor lets another writer in; they go at the end whatever happens.
  struct LockGoesAtTheEnd {
    PlacesFile::Handover& held;
    ~LockGoesAtTheEnd() { held.Release(); }
  } lock_goes{s.Held};
  int step = kChooseFile;
  RunTrapped(s, kLabel, step, [&] {
    ChooseFileName(s);
    step = kOpen;
    OpenChosenFileToWrite(s);
    step = kNoRecord;
    std::int64_t k = s.CurrentRecord;
    const bool shown = k != 0;
    if (k == 0) {
      s.CurrentRecord = 1;
      k = 1;
      ShowRecordNumber(s, s.CurrentRecord);
      SetTodayDate(s);
      SetHorizonAltitude(s);
    }
    step = kNumber;
    ShowRecordNumber(s, s.CurrentRecord);
    step = kRead;
    // Another program may have moved the records since the window showed record k: the place
    // made the default must be the one the user sees, or none.
    if (shown) CheckCurrentRecordUnchanged(s);
    ReadPlace(s, k, s.ChosenPlace);  // beyond the end: Bad record number, nothing changed
    ShowPlace(s, s.ChosenPlace);
    if (k >= 2) {
      MoveChosenToFront(s, k, step);
      step = kShown;
    } else {
      KeepChosenFirst(s, step);
    }
    RememberRecord(s, 1);

    step = kSort;
    s.Held = s.File.CloseKeepingLock();
    ClearResults(s);
    Bubblesort(s);
    s.CurrentRecord = 1;
    if (!IsPlaceLoaded(s)) {
      SetTodayDate(s);
      LoadDefaultPlace(s);
      SetHorizonAltitude(s);
    }
    CalculateDay(s);
  });
}

void Bubblesort(Session& s) {
  using namespace bubble_sort;
  int step = kChooseFile;
  RunTrapped(s, kLabel, step, [&] {
    ChooseFileName(s);
    step = kOpen;
    OpenChosenFileToWrite(s);
    const double n = RecordCount(s);
    step = kCount;
    // The first pair is records 2 and 3; a partial last record is never compared.
    if (n - 1 >= 2) {
      step = kCompare;
      // The plan comes from the names alone; the records are then read one by one as the
      // sorted file is written, so the file is never held whole.
      const auto whole = s.File.SizeInBytes() / static_cast<std::int64_t>(kRecordSize);
      const BubbleOutcome plan = PlanBubblesort(NameKeysOf(s.File, whole));
      // The last record the sort reads, found in the file before it is replaced.
      std::optional<PlaceRecord> last_read;
      if (plan.last_read != 0) {
        const std::size_t j = plan.order[static_cast<std::size_t>(plan.last_read) - 2];
        last_read = DecodeRecord(s.File.RecordBytesAt(static_cast<std::int64_t>(j) + 2));
      }

      if (plan.first_exchange != 0) {
        step = kExchange;
        s.WorkPlace = DecodeRecord(s.File.RecordBytesAt(plan.first_exchange));
        // Whole records move unchanged byte for byte; the partial tail stays where it is.
        s.File.ReplaceWith([&](const PlacesFile::PieceSink& sink) {
          sink(s.File.RecordBytesAt(1));
          for (const std::size_t j : plan.order) {
            sink(s.File.RecordBytesAt(static_cast<std::int64_t>(j) + 2));
          }
          s.File.CopyBytes(whole * static_cast<std::int64_t>(kRecordSize),
                           std::numeric_limits<std::int64_t>::max(), sink);
        });
      }
      if (last_read) s.WorkPlace = *last_read;
    }
    step = kClose;
    ClosePlacesFile(s);
  });
}

}  // namespace orvalin
