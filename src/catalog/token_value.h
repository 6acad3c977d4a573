#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vs {

// The one rule by which a number is read from text. Spaces, tabs and line feeds
// are skipped anywhere; then an optional sign, digits with an optional fraction
// (".5", "5.") and an optional exponent ("1e2"; "1e" reads 1), or "&H"/"&O"
// followed by unsigned hexadecimal or octal digits. Reading stops at the first
// character that cannot continue the number; no number reads 0. A value beyond
// a double's range reads as infinity.
double tokenValue(std::string_view text);

// Rounds to the nearest integer, a half going to the even neighbour.
double roundHalfEven(double value);

// Checked conversions: round half to even, then throw NumberTooLarge when the
// result does not fit. `what` names the field in the error's detail.
int16_t toInt16(double value, std::string_view what = {});
int32_t toInt32(double value, std::string_view what = {});

// Shortest decimal text of a value as the user would write it: 12, -3, 12.5.
std::string formatNumber(double value);

}  // namespace vs
