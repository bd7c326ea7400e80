#include <cstdint>
#include <cstdio>
#include <limits>

#include "text/conversions.h"
#include "text/full_width.h"
#include "text/primitives.h"

namespace miravel {
namespace {

template <typename... Args>
Text Format(const char* format, Args... args) {
  char buffer[64];
  const int length = std::snprintf(buffer, sizeof buffer, format, args...);
  return length > 0 ? Text(buffer, static_cast<std::size_t>(length)) : Text();
}

bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

Text NumberToText(std::int16_t value) { return Format("%d", static_cast<int>(value)); }
Text NumberToText(std::int32_t value) { return Format("%d", static_cast<int>(value)); }
Text NumberToText(double value) { return Format("%.13g", value); }
Text NumberToText(const Text& value) { return value; }
Text NumberToText(const Bytes& value) { return BytesToText(value); }

Text HexText(std::int32_t value) { return Format("%X", static_cast<unsigned>(static_cast<std::uint32_t>(value))); }

std::int32_t TextToInteger(const Text& text) {
  const Text folded = FoldFullWidth(text);
  std::size_t i = 0;
  while (i < folded.size() && IsWhiteSpace(folded[i])) ++i;
  bool negative = false;
  if (i < folded.size() && (folded[i] == '+' || folded[i] == '-')) {
    negative = folded[i] == '-';
    ++i;
  }
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; i < folded.size() && folded[i] >= '0' && folded[i] <= '9'; ++i) {
    if (magnitude <= kLimit) magnitude = magnitude * 10 + (folded[i] - '0');
  }
  if (negative) return magnitude >= kLimit ? std::numeric_limits<std::int32_t>::min()
                                           : static_cast<std::int32_t>(-magnitude);
  return magnitude >= kLimit ? std::numeric_limits<std::int32_t>::max() : static_cast<std::int32_t>(magnitude);
}

Text CharFromCode(int code) {
  const char byte = static_cast<char>(code & 0xFF);
  return byte == 0 ? Text() : Text(1, byte);
}

}  // namespace miravel
