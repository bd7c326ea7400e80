#include <algorithm>
#include <cstddef>

#include "text/char_walk.h"
#include "text/primitives.h"

namespace miravel {

TextArray SplitText(const Text& text, const Text& separator, std::optional<int> maximum) {
  int remaining = maximum.has_value() ? std::max(*maximum, 0) : -1;
  TextArray result;
  if (text.empty() || remaining == 0) return result;
  if (separator.empty()) {
    result.Append(text);
    return result;
  }
  const char_walk::Searcher searcher(separator, false);
  const std::size_t n = text.size();
  std::size_t cut = 0;
  for (;;) {
    const std::size_t q = searcher.FindFirst(text, cut, n);
    if (q == char_walk::kNone) break;
    result.Append(text.substr(cut, q - cut));
    cut = q + separator.size();
    if (remaining > 0 && --remaining == 0) return result;
  }
  if (cut < n) result.Append(text.substr(cut));
  return result;
}

}  // namespace miravel
