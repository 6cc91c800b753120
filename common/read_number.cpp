#include "common/read_number.h"

#include <charconv>
#include <cmath>
#include <string>

#include "common/failure.h"

namespace orvalin {
namespace {

bool IsIgnored(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text without the characters that ReadNumber skips.
std::string Squeezed(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (!IsIgnored(c)) out += c;
  }
  return out;
}

}  // namespace

double ReadNumber(std::string_view text) {
  const std::string s = Squeezed(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';

  // Mantissa digits, normalised for from_chars: "digits.digits".
  std::string mantissa;
  int leading_integer_digits = 0;  // significant digits before the point
  int leading_fraction_zeros = 0;  // zeros after the point before the first significant digit
  bool seen_point = false, seen_digit = false, seen_significant = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (IsDigit(c)) {
      seen_digit = true;
      if (c != '0') seen_significant = true;
      if (!seen_point && seen_significant) ++leading_integer_digits;
      if (seen_point && !seen_significant) ++leading_fraction_zeros;
      mantissa += c;
    } else if (c == '.' && !seen_point) {
      seen_point = true;
      mantissa += '.';
    } else {
      break;
    }
  }
  if (!seen_digit || !seen_significant) return 0.0;

  // Exponent: a letter, an optional sign and at least one digit; otherwise it is not part of the
  // number. Saturated: anything past a few thousand is out of range either way.
  long exponent = 0;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
    std::size_t j = i + 1;
    bool exp_negative = false;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exp_negative = s[j++] == '-';
    if (j < s.size() && IsDigit(s[j])) {
      for (; j < s.size() && IsDigit(s[j]); ++j) {
        if (exponent < 100000) exponent = exponent * 10 + (s[j] - '0');
      }
      if (exp_negative) exponent = -exponent;
    }
  }

  const std::string canonical = mantissa + "e" + std::to_string(exponent);
  double value = 0.0;
  const auto [end, ec] =
      std::from_chars(canonical.data(), canonical.data() + canonical.size(), value,
                      std::chars_format::scientific);
  if (ec == std::errc::result_out_of_range) {
    // Decimal exponent of the first significant digit tells overflow from underflow.
    const long magnitude = leading_integer_digits > 0 ? exponent + leading_integer_digits - 1
                                                      : exponent - leading_fraction_zeros - 1;
    if (magnitude > 0) Fail(Fault::Overflow);
    return negative ? -0.0 : 0.0;
  }
  if (ec != std::errc() || !std::isfinite(value)) Fail(Fault::Overflow);
  return negative ? -value : value;
}

std::int16_t RoundToInt16(double value) {
  if (!std::isfinite(value)) Fail(Fault::Overflow);
  const double rounded = std::nearbyint(value);  // the default mode rounds halves to even
  if (rounded < -32768.0 || rounded > 32767.0) Fail(Fault::Overflow);
  return static_cast<std::int16_t>(rounded);
}

}  // namespace orvalin
