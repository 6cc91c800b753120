#include "placesfile/place_record.h"

#include <cstring>

#include "common/text.h"

namespace orvalin {
namespace {

void PutText(RecordBytes& out, std::size_t at, std::size_t width, std::string_view utf8) {
  std::string bytes = EncodeCp1252(utf8);
  bytes.resize(width, ' ');
  std::memcpy(out.data() + at, bytes.data(), width);
}

std::string GetText(std::string_view bytes, std::size_t at, std::size_t width) {
  std::string field(width, ' ');
  if (at < bytes.size()) {
    const std::size_t n = std::min(width, bytes.size() - at);
    std::memcpy(field.data(), bytes.data() + at, n);
  }
  return DecodeCp1252(field);
}

}  // namespace

RecordBytes EncodeRecord(const PlaceRecord& record) {
  RecordBytes out{};
  PutText(out, 0, kNameWidth, record.PlaceName);
  PutText(out, kCountryOffset, kCountryWidth, record.CountryName);
  PutText(out, kLatitudeOffset, kAngleWidth, record.LatitudeText);
  PutText(out, kLongitudeOffset, kAngleWidth, record.LongitudeText);
  const auto offset = static_cast<std::uint16_t>(record.GmtHours);
  out[kGmtOffset] = static_cast<char>(offset & 0xFF);
  out[kGmtOffset + 1] = static_cast<char>(offset >> 8);
  return out;
}

PlaceRecord DecodeRecord(std::string_view bytes) {
  PlaceRecord record;
  record.PlaceName = GetText(bytes, 0, kNameWidth);
  record.CountryName = GetText(bytes, kCountryOffset, kCountryWidth);
  record.LatitudeText = GetText(bytes, kLatitudeOffset, kAngleWidth);
  record.LongitudeText = GetText(bytes, kLongitudeOffset, kAngleWidth);
  const auto byte_at = [&](std::size_t i) -> std::uint16_t {
    return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0;
  };
  record.GmtHours =
      static_cast<std::int16_t>(byte_at(kGmtOffset) | (byte_at(kGmtOffset + 1) << 8));
  return record;
}

std::string UsableGmtRange() {
  return std::to_string(kLeastGmtHours) + " to +" + std::to_string(kMostGmtHours);
}

std::int64_t RecordsIn(std::string_view file) {
  return static_cast<std::int64_t>((file.size() + kRecordSize - 1) / kRecordSize);
}

std::string_view RecordBytesAt(std::string_view file, std::int64_t n) {
  if (n < 1) return {};
  const auto at = static_cast<std::size_t>(n - 1) * kRecordSize;
  return at < file.size() ? file.substr(at, kRecordSize) : std::string_view();
}

}  // namespace orvalin
