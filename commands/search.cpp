#include "commands/search.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <new>
#include <string_view>

#include "commands/calculate_day.h"
#include "commands/place_steps.h"
#include "common/text.h"
#include "placesfile/records_reader.h"

namespace orvalin {
namespace {

constexpr char32_t Folded(char32_t c) { return c >= U'a' && c <= U'z' ? c - 32 : c; }

// The folded character of every byte of a stored name.
const std::array<char32_t, 256>& FoldedBytes() {
  static const std::array<char32_t, 256> table = [] {
    std::array<char32_t, 256> t{};
    for (int b = 0; b < 256; ++b) t[b] = Folded(Cp1252Character(static_cast<unsigned char>(b)));
    return t;
  }();
  return table;
}

// The folded 20-character name of a record's bytes; what a partial record lacks reads as
// blanks.
std::u32string_view FoldedName(std::string_view record, std::array<char32_t, kNameWidth>& out) {
  const std::string_view bytes = record.substr(0, kNameWidth);
  const auto& table = FoldedBytes();
  out.fill(U' ');
  for (std::size_t c = 0; c < bytes.size(); ++c)
    out[c] = table[static_cast<unsigned char>(bytes[c])];
  return {out.data(), out.size()};
}

// The name's first k characters (all 20 when the text is longer) stand somewhere in the text:
// up to 20 characters, the text begins the name; beyond, the whole name lies inside the text.
bool IsHit(std::u32string_view folded_text, std::u32string_view folded_name) {
  if (folded_text.empty()) return false;
  const auto start = folded_name.substr(0, std::min(folded_text.size(), kNameWidth));
  return folded_text.find(start) != std::u32string_view::npos;
}

}  // namespace

void FoldCase(std::string& text) {
  // Bytes of UTF-8 sequences are all above 127, so only the letters a to z change.
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
}

void Search(Session& s) {
  int step = 0;
  std::int64_t reached = 0;  // records counted; RecordN is written once, with the last of them
  std::int64_t read = 0;     // records whose name has been read
  std::string last_read;     // that last record's bytes
  const std::int32_t record_before = s.CurrentRecord;
  const std::string record_text_before = s.window.FieldText("RecordN");
  // WorkPlace receives every record read: in the end, the last of them.
  const auto keep_last_read = [&] {
    if (reached > 0) ShowRecordNumber(s, reached);
    if (read > 0) s.WorkPlace = DecodeRecord(last_read);
  };
  const auto report = [&](const Failure& failure) {
    keep_last_read();
    ReportFailure(s, "Search", step, failure);
    ClosePlacesFile(s);
  };
  try {
    std::string text = s.window.InputBox("Enter Place name", "Search");
    step = 830;
    ChooseFileName(s);
    step = 800;
    OpenChosenFile(s);
    s.CurrentRecord = 0;
    FoldCase(text);
    const std::u32string wanted = CodePoints(text);

    const double count = RecordCount(s);
    std::array<char32_t, kNameWidth> name{};
    RecordBlocks records(s.File);
    bool found = false;
    while (!found) {
      step = 820;
      if (!(static_cast<double>(reached) < count)) break;
      ++reached;
      s.CurrentRecord = static_cast<std::int32_t>(reached);
      step = 810;
      const std::string_view record = records.At(reached);
      found = IsHit(wanted, FoldedName(record, name));
      last_read.assign(record);
      read = reached;
    }
    keep_last_read();

    if (!found) {
      TellInLanguage(s.window, "Lieu inconnu", "Place not found");
      // Left on the last record, an update would overwrite it with the place still shown.
      s.CurrentRecord = record_before;
      s.window.SetFieldText("RecordN", record_text_before);
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
