#include "commands/default_place.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "commands/bubble_order.h"
#include "commands/calculate_day.h"
#include "commands/load_default.h"
#include "commands/name_keys.h"
#include "commands/place_steps.h"
#include "commands/working_date.h"
#include "common/text.h"

namespace orvalin {
namespace {

// The bytes of record n (from 1), fewer than 72 for a partial record, none beyond the end.
std::string_view RecordAt(std::string_view file, std::int64_t n) {
  const auto at = static_cast<std::size_t>(n - 1) * kRecordSize;
  return at < file.size() ? file.substr(at, kRecordSize) : std::string_view();
}

// A record that moves passes through memory. Every byte reads as a character and writes back as
// the same byte, so a whole record is copied as it is; a partial one is filled out to 72 bytes.
void AppendMoved(std::string& out, std::string_view record) {
  if (record.size() == kRecordSize) {
    out.append(record);
    return;
  }
  const RecordBytes bytes = EncodeRecord(DecodeRecord(record));
  out.append(bytes.data(), bytes.size());
}

// Records 1 to k turn round by one place: k becomes 1, 1 to k - 1 become 2 to k. The file is
// replaced whole, so that a failure or a crash never leaves a record lost or doubled.
void MoveChosenToFront(Session& s, std::int64_t k, int& step) {
  step = 940;
  const std::string old = s.File.ReadAll();
  const RecordBytes chosen = EncodeRecord(s.ChosenPlace);
  const auto moved = [&](const PlacesFile::PieceSink& sink) {
    sink(std::string_view(chosen.data(), chosen.size()));
    std::string filled;
    for (std::int64_t i = 2; i <= k; ++i) {
      filled.clear();
      AppendMoved(filled, RecordAt(old, i - 1));
      sink(filled);
    }
    sink(std::string_view(old).substr(
        std::min(old.size(), static_cast<std::size_t>(k) * kRecordSize)));
  };

  step = 942;
  // Should the replacement fail, WorkPlace holds what it held when the first write failed.
  s.WorkPlace = DecodeRecord(RecordAt(old, k - 1));
  s.File.ReplaceWith(moved);
  s.WorkPlace = DecodeRecord(RecordAt(old, 1));
  s.CurrentRecord = 1;
  ShowRecordNumber(s, 1);
}

}  // namespace

void DefaultData(Session& s) {
  int step = 920;
  RunTrapped(s, "DEFAULT", step, [&] {
    ChooseFileName(s);
    step = 930;
    OpenChosenFileToWrite(s);
    step = 931;
    std::int64_t k = s.CurrentRecord;
    if (k == 0) {
      s.CurrentRecord = 1;
      k = 1;
      ShowRecordNumber(s, s.CurrentRecord);
      SetTodayDate(s);
      SetHorizonAltitude(s);
    }
    step = 932;
    ShowRecordNumber(s, s.CurrentRecord);
    step = 934;
    ReadPlace(s, k, s.ChosenPlace);  // beyond the end: Bad record number, nothing changed
    ShowPlace(s, s.ChosenPlace);
    if (k >= 2) {
      MoveChosenToFront(s, k, step);
      step = 944;
    } else {
      step = 942;
      s.CurrentRecord = 1;
      ShowRecordNumber(s, 1);
      step = 944;
      // Rewriting a whole record 1 with itself changes no byte; a partial one is filled out,
      // and being the whole file, it is replaced like any reorder.
      if (RecordCount(s) < 1) {
        const RecordBytes chosen = EncodeRecord(s.ChosenPlace);
        s.File.ReplaceAll(std::string_view(chosen.data(), chosen.size()));
      }
    }
    RememberRecord(s, 1);

    step = 950;
    ClosePlacesFile(s);
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
  int step = 6520;
  RunTrapped(s, "Bubblesort", step, [&] {
    ChooseFileName(s);
    step = 6550;
    OpenChosenFileToWrite(s);
    const double n = RecordCount(s);
    step = 6560;
    // The first pair is records 2 and 3; a partial last record is never compared.
    if (n - 1 >= 2) {
      step = 6630;
      // The plan comes from the names alone; the file's bytes are read once it is made, so
      // that the two never take memory together.
      const auto whole = s.File.SizeInBytes() / static_cast<std::int64_t>(kRecordSize);
      const BubbleOutcome plan = PlanBubblesort(NameKeysOf(s.File, whole));
      const std::string old = s.File.ReadAll();

      if (plan.first_exchange != 0) {
        step = 6650;
        s.WorkPlace = DecodeRecord(RecordAt(old, plan.first_exchange));
        // Whole records move unchanged byte for byte; the partial tail stays where it is.
        s.File.ReplaceWith([&](const PlacesFile::PieceSink& sink) {
          sink(RecordAt(old, 1));
          for (const std::size_t j : plan.order) {
            sink(RecordAt(old, static_cast<std::int64_t>(j) + 2));
          }
          sink(std::string_view(old).substr(static_cast<std::size_t>(whole) * kRecordSize));
        });
      }
      if (plan.last_read != 0) {
        const std::size_t j = plan.order[static_cast<std::size_t>(plan.last_read) - 2];
        s.WorkPlace = DecodeRecord(RecordAt(old, static_cast<std::int64_t>(j) + 2));
      }
    }
    step = 6660;
    ClosePlacesFile(s);
  });
}

}  // namespace orvalin
