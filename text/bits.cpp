#include "text/conversions.h"

namespace miravel {

// An empty list yields 0; a single value yields itself.
std::int32_t BitAnd(std::initializer_list<std::int32_t> values) {
  if (values.size() == 0) return 0;
  std::int32_t result = -1;
  for (std::int32_t value : values) result &= value;
  return result;
}

std::int32_t BitOr(std::initializer_list<std::int32_t> values) {
  std::int32_t result = 0;
  for (std::int32_t value : values) result |= value;
  return result;
}

std::int32_t ShiftRight(std::int32_t value, int count) { return value >> (count & 31); }

}  // namespace miravel
