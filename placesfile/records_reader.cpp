#include "placesfile/records_reader.h"

#include <string>

#include "common/failure.h"
#include "placesfile/place_record.h"

namespace orvalin {

bool ForEachRecord(std::istream& in,
                   const std::function<void(std::int64_t, std::string_view)>& each) {
  std::string block(static_cast<std::size_t>(kRecordsPerBlock) * kRecordSize, '\0');
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

std::string_view RecordBlocks::At(std::int64_t n) {
  if (block_.empty() || n < first_ || n >= first_ + kRecordsPerBlock) {
    block_ = file_.RecordsBytesAt(n, kRecordsPerBlock);
    first_ = n;
  }
  const auto at = static_cast<std::size_t>(n - first_) * kRecordSize;
  if (at >= block_.size()) Fail(Fault::BadRecordNumber);
  return std::string_view(block_).substr(at, kRecordSize);
}

}  // namespace orvalin
