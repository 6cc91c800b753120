// Any 72 bytes decode into a record that encodes back to the same bytes; shorter input never
// crashes and reads as blanks and zero past its end.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "placesfile/place_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data),
                               size < orvalin::kRecordSize ? size : orvalin::kRecordSize);
  const orvalin::PlaceRecord record = orvalin::DecodeRecord(bytes);
  const orvalin::RecordBytes again = orvalin::EncodeRecord(record);
  if (std::memcmp(again.data(), bytes.data(), bytes.size()) != 0) std::abort();
  for (std::size_t i = bytes.size(); i < orvalin::kRecordSize - 2; ++i) {
    if (again[i] != ' ') std::abort();
  }
  if (orvalin::DecodeRecord(std::string_view(again.data(), again.size())) != record) std::abort();
  return 0;
}
