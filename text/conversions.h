#ifndef MIRAVEL_TEXT_CONVERSIONS_H_
#define MIRAVEL_TEXT_CONVERSIONS_H_

// Numbers, characters, date-times and bits. Pure functions except
// CurrentDateTime, which reads the local clock.

#include <chrono>
#include <cstdint>
#include <initializer_list>

#include "text/value.h"

namespace miravel {

// Local date and time as days since 1899-12-30 00:00:00, no time zone.
using DateTime = double;
inline constexpr DateTime kInvalidDateTime = -657434.0;  // also 0100-01-01 00:00:00

Text NumberToText(std::int16_t value);  // "%d"
Text NumberToText(std::int32_t value);  // "%d"
Text NumberToText(double value);        // "%.13g"
Text NumberToText(const Text& value);   // a copy
Text NumberToText(const Bytes& value);  // BytesToText

Text HexText(std::int32_t value);       // "%X"; negatives as two's complement

// Leading white space, optional sign, digits; full-width forms folded first.
// 0 without digits; saturates at the 32-bit range.
std::int32_t TextToInteger(const Text& text);

// "Y-M-D h:m:s" with the separators of the program's date format;
// kInvalidDateTime when it does not name a real date and time.
DateTime TextToDateTime(const Text& text);

DateTime CurrentDateTime();  // local wall clock, whole seconds
DateTime CurrentDateTime(std::chrono::system_clock::time_point now);

// first - second in `unit`: 5 days, 6 hours, 7 minutes, 8 seconds (units
// outside 1..8 are clamped; 1..4 are not supported and yield 0). Hours,
// minutes and seconds are whole counts truncated toward zero, with a bias
// against rounding error applied away from zero, so a - b == -(b - a).
double DateTimeDiff(DateTime first, DateTime second, int unit);

Text CharFromCode(int code);  // one byte: the low 8 bits; empty for 0

std::int32_t BitAnd(std::initializer_list<std::int32_t> values);
std::int32_t BitOr(std::initializer_list<std::int32_t> values);
std::int32_t ShiftRight(std::int32_t value, int count);  // arithmetic; low 5 bits of count

}  // namespace miravel

#endif  // MIRAVEL_TEXT_CONVERSIONS_H_
