#pragma once
// Reading and writing the text of a number field, independent of the widget.
// Both use '.' as the decimal separator; the field swaps in the locale's.
#include <optional>
#include <string>

namespace tsy {

// A real number in the field's syntax: optional blanks, optional sign, digits
// with at most one decimal separator (at least one digit in all), an optional
// exponent ("e" or "E", optional sign, digits), optional blanks. Values that
// overflow are refused like any other unreadable text.
std::optional<long double> ParseNumberText(const std::string& Text);

// Value in fixed-point notation with Digits decimals (0 to 18), correct to 18
// significant digits; halves round away from zero and a zero never shows a
// minus sign. Magnitudes of 1e18 and above need more than 18 digits and are
// written in scientific notation ("9.22337203685477581E18").
std::string FormatNumberText(long double Value, int Digits);

}  // namespace tsy
