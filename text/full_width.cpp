#include "text/full_width.h"

#include <cstddef>

#include "text/char_walk.h"

namespace miravel {
namespace {

// The single byte a two-byte character folds to, or 0 when it has none.
char FoldedPair(unsigned char lead, unsigned char trail) {
  if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return static_cast<char>(trail - 0x80);
  if (lead != 0xA1) return 0;
  switch (trail) {
    case 0xA1: return ' ';
    case 0xAB: return '~';
    case 0xEE:
    case 0xEF: return '*';
    default: return 0;
  }
}

}  // namespace

Text FoldFullWidth(const Text& text) {
  Text result;
  result.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (!char_walk::IsHigh(text[i]) || i + 1 == text.size()) {
      result.push_back(text[i]);
      ++i;
      continue;
    }
    const char folded = FoldedPair(static_cast<unsigned char>(text[i]), static_cast<unsigned char>(text[i + 1]));
    if (folded != 0) {
      result.push_back(folded);
    } else {
      result.append(text, i, 2);
    }
    i += 2;
  }
  return result;
}

}  // namespace miravel
