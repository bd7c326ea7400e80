#include "text/text_between.h"

#include "text/primitives.h"

namespace miravel {
namespace {

// "#引号" in GBK: a marker's way of spelling a double quote.
const Text kQuotePlaceholder = "#\xD2\xFD\xBA\xC5";

Text UnquoteMarker(const Text& marker) { return ReplaceText(marker, kQuotePlaceholder, "\"", 1, std::nullopt, true); }

}  // namespace

Text TextBetween(const Text& text, const Text& left, const Text& right, int start, bool ignoreCase) {
  const Text leftMarker = UnquoteMarker(left);
  const Text rightMarker = UnquoteMarker(right);
  int p = FindText(text, leftMarker, start, ignoreCase);
  if (p == -1) return {};
  p += TextLength(leftMarker);
  const int q = FindText(text, rightMarker, p, ignoreCase);
  if (q == -1) return {};
  return TextMid(text, p, q - p);
}

}  // namespace miravel
