#include "platform/text/numbers.h"

#include <locale.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>

namespace kesta::numbers {
namespace {

// The C locale, made once; strtod_l then ignores whatever the process set.
locale_t cLocale() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return locale;
}

bool startsWithSpaceOrNul(std::string_view text) {
  switch (text.front()) {
    case ' ':
    case '\t':
    case '\n':
    case '\v':
    case '\f':
    case '\r':
    case '\0':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::optional<double> parseDouble(std::string_view text) {
  if (text.empty() || startsWithSpaceOrNul(text)) return std::nullopt;
  const std::string copy(text);  // strtod needs a terminated string
  char* end = nullptr;
  const double value = strtod_l(copy.c_str(), &end, cLocale());
  if (end != copy.c_str() + copy.size()) return std::nullopt;
  return value;
}

std::optional<long long> parseInteger(std::string_view text) {
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '+') {
    digits.remove_prefix(1);
    if (!digits.empty() && digits.front() == '-') return std::nullopt;
  }
  long long value = 0;
  const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || ptr != digits.data() + digits.size()) return std::nullopt;
  return value;
}

std::string formatFixed(double value, int decimals) {
  char buffer[128];
  const auto [ptr, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (ec != std::errc()) return std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
  return std::string(buffer, ptr);
}

std::string formatShortest(double value) {
  char buffer[64];
  const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (ec != std::errc()) return "nan";
  return std::string(buffer, ptr);
}

}  // namespace kesta::numbers
