#include <cstddef>

#include "text/primitives.h"

namespace miravel {

int TextLength(const Text& text) { return static_cast<int>(text.size()); }

Text TextLeft(const Text& text, int n) {
  if (n < 1) return {};
  return text.substr(0, static_cast<std::size_t>(n));
}

Text TextRight(const Text& text, int n) {
  if (n < 1) return {};
  const std::size_t count = static_cast<std::size_t>(n);
  return count >= text.size() ? text : text.substr(text.size() - count);
}

Text TextMid(const Text& text, int start, int n) {
  if (start < 1 || static_cast<std::size_t>(start) > text.size() || n < 1) return {};
  return text.substr(static_cast<std::size_t>(start) - 1, static_cast<std::size_t>(n));
}

}  // namespace miravel
