#pragma once

#include <optional>
#include <string>
#include <string_view>

// Number reading and writing that never depends on the process locale
// (Qt adopts the user's, where the decimal point may be a comma).
namespace kesta::numbers {

// strtod in the C locale over the whole text: optional sign, decimal or
// hexadecimal digits, exponent, "inf" and "nan". Absent unless every byte is
// consumed, or when the text starts with white space or is empty.
std::optional<double> parseDouble(std::string_view text);

// A whole decimal number, optional sign, every byte consumed.
std::optional<long long> parseInteger(std::string_view text);

// Fixed notation with the given number of decimals, "." as decimal point.
std::string formatFixed(double value, int decimals);

// The shortest text that reads back as the same double.
std::string formatShortest(double value);

}  // namespace kesta::numbers
