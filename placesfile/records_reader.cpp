#include "placesfile/records_reader.h"

#include <string>

#include "placesfile/place_record.h"

namespace orvalin {
namespace {

constexpr std::size_t kBlockRecords = 4096;

}  // namespace

bool ForEachRecord(std::istream& in,
                   const std::function<void(std::int64_t, std::string_view)>& each) {
  std::string block(kBlockRecords * kRecordSize, '\0');
  std::int64_t n = 0;
  while (in) {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    for (std::size_t at = 0; at < got; at += kRecordSize) {
      each(++n, std::string_view(block).substr(at, std::min(kRecordSize, got - at)));
    }
  }
  return !in.bad();
}

}  // namespace orvalin
