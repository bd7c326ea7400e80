#include <cstddef>

#include "text/char_walk.h"
#include "text/primitives.h"

namespace miravel {

// A negative count never runs out, like an omitted one. When the sought text
// is one byte long the walk reaches a lone lead byte at the end; it is not a
// character, so it is dropped rather than copied.
Text ReplaceText(const Text& text, const Text& sought, const Text& replacement, int start,
                 std::optional<int> count, bool caseSensitive) {
  const std::size_t n = text.size();
  const std::size_t first = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
  if (n == 0 || sought.empty() || first >= n || count == 0) return text;

  int remaining = count.value_or(-1);
  const char_walk::Searcher searcher(sought, !caseSensitive);
  const std::size_t m = sought.size();
  Text result;
  result.reserve(n);
  result.append(text, 0, first);
  std::size_t pos = first;
  while (remaining != 0) {
    const std::size_t q = searcher.FindFirst(text, pos, n);
    if (q == char_walk::kNone) {
      std::size_t end = n;
      if (m == 1 && char_walk::IsHigh(text[n - 1]) && pos < n && char_walk::StartsCharacter(text, pos, n - 1)) {
        end = n - 1;
      }
      result.append(text, pos, end - pos);
      return result;
    }
    result.append(text, pos, q - pos);
    result.append(replacement);
    pos = q + m;
    if (remaining > 0) --remaining;
  }
  result.append(text, pos, n - pos);
  return result;
}

}  // namespace miravel
