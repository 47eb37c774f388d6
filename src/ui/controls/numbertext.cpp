#include "controls/numbertext.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tsy {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::optional<long double> ParseNumberText(const std::string& Text) {
  size_t begin = 0, end = Text.size();
  while (begin < end && IsBlank(Text[begin])) ++begin;
  while (end > begin && IsBlank(Text[end - 1])) --end;

  size_t i = begin;
  bool negative = false;
  if (i < end && (Text[i] == '+' || Text[i] == '-')) negative = Text[i++] == '-';
  const size_t numberStart = i;
  size_t digits = 0;
  while (i < end && IsDigit(Text[i])) ++i, ++digits;
  if (i < end && Text[i] == '.') {
    ++i;
    while (i < end && IsDigit(Text[i])) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < end && (Text[i] == 'e' || Text[i] == 'E')) {
    ++i;
    if (i < end && (Text[i] == '+' || Text[i] == '-')) ++i;
    size_t expDigits = 0;
    while (i < end && IsDigit(Text[i])) ++i, ++expDigits;
    if (expDigits == 0) return std::nullopt;
  }
  if (i != end) return std::nullopt;

  // from_chars takes neither a leading '+' nor a bare "5." in every library,
  // so hand it the canonical form.
  std::string canonical(Text, numberStart, end - numberStart);
  if (canonical[0] == '.') canonical.insert(canonical.begin(), '0');
  const size_t dot = canonical.find('.');
  if (dot != std::string::npos && (dot + 1 == canonical.size() || !IsDigit(canonical[dot + 1])))
    canonical.insert(dot + 1, 1, '0');

  long double value = 0;
  const auto [ptr, ec] = std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
  if (ec != std::errc() || ptr != canonical.data() + canonical.size() || !std::isfinite(value))
    return std::nullopt;
  return negative ? -value : value;
}

std::string FormatNumberText(long double Value, int Digits) {
  Digits = std::clamp(Digits, 0, 18);
  if (!std::isfinite(Value)) return "0";  // never produced by the field itself
  const bool negative = std::signbit(Value);
  const long double magnitude = std::fabs(Value);

  char buffer[128];
  if (magnitude >= 1e18L) {
    auto r = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 17);
    std::string s(buffer, r.ptr);
    const size_t e = s.find('e');
    std::string mantissa = s.substr(0, e);
    int exponent = std::stoi(s.substr(e + 1));
    return (negative ? "-" : "") + mantissa + "E" + std::to_string(exponent);
  }

  // Enough decimals to decide every rounding the field can ask for.
  auto r = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed, 40);
  std::string s(buffer, r.ptr);
  const size_t dot = s.find('.');
  std::string intPart = s.substr(0, dot);
  std::string all = intPart + (dot == std::string::npos ? std::string() : s.substr(dot + 1));
  const int n = static_cast<int>(intPart.size());

  // Keep Digits decimals, but never more than 18 significant digits.
  const size_t firstNonZero = all.find_first_not_of('0');
  int keep = Digits;
  if (firstNonZero != std::string::npos) keep = std::min(keep, static_cast<int>(firstNonZero) + 18 - n);
  keep = std::max(keep, 0);

  const size_t cut = static_cast<size_t>(n + keep);
  std::string kept = all.substr(0, std::min(cut, all.size()));
  kept.resize(cut, '0');
  if (cut < all.size() && all[cut] >= '5') {
    int pos = static_cast<int>(kept.size()) - 1;
    while (pos >= 0 && kept[pos] == '9') kept[pos--] = '0';
    if (pos >= 0)
      ++kept[pos];
    else {
      kept.insert(kept.begin(), '1');
    }
  }
  const size_t intDigits = kept.size() - static_cast<size_t>(keep);
  std::string result = kept.substr(0, intDigits);
  // Drop surplus leading zeros of the integer part ("0" stays).
  const size_t lead = result.find_first_not_of('0');
  result = lead == std::string::npos ? "0" : result.substr(lead);
  std::string decimals = kept.substr(intDigits);
  decimals.resize(static_cast<size_t>(Digits), '0');
  if (Digits > 0) result += "." + decimals;

  const bool isZero = result.find_first_not_of("0.") == std::string::npos;
  if (negative && !isZero) result.insert(result.begin(), '-');
  return result;
}

}  // namespace tsy
