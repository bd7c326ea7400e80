#include <algorithm>
#include <cstddef>

#include "text/char_walk.h"
#include "text/primitives.h"

namespace miravel {
namespace {

int ToPosition(std::size_t index) {
  return index == char_walk::kNone ? -1 : static_cast<int>(index) + 1;
}

}  // namespace

int FindText(const Text& text, const Text& sought, int start, bool ignoreCase) {
  const std::size_t length = text.size();
  std::size_t regionStart = 0;
  if (start >= 2) {
    if (static_cast<std::size_t>(start) > length) return -1;
    regionStart = static_cast<std::size_t>(start) - 1;
  }
  if (regionStart >= length) return -1;
  if (sought.empty()) return 1;
  return ToPosition(char_walk::Searcher(sought, ignoreCase).FindFirst(text, regionStart, length));
}

int FindTextReverse(const Text& text, const Text& sought, std::optional<int> start, bool ignoreCase) {
  std::size_t regionEnd = text.size();
  if (start.has_value()) {
    regionEnd = *start < 2 ? 0 : std::min(static_cast<std::size_t>(*start) - 1, regionEnd);
  }
  if (regionEnd == 0) return -1;
  if (sought.empty()) return 1;
  return ToPosition(char_walk::Searcher(sought, ignoreCase).FindLast(text, 0, regionEnd));
}

}  // namespace miravel
