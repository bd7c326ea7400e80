#include "http/cookies.h"

#include <string_view>
#include <unordered_set>

#include "text/primitives.h"

namespace miravel {
namespace {

constexpr std::string_view kDeletedSuffix = "=deleted";
constexpr std::string_view kEntrySeparator = "; ";

bool IsDeletedEntry(const Text& entry) { return TextRight(entry, 8) == kDeletedSuffix; }

}  // namespace

// Same result as scanning the merged list for every stored name and the
// seen list for every entry, with hash sets in place of the scans.
Text MergeCookies(Text& stored, Text& fresh) {
  stored = RemoveAllSpaces(stored);
  fresh = RemoveAllSpaces(fresh);
  const TextArray storedEntries = SplitText(stored, ";");
  TextArray merged = SplitText(fresh, ";");

  std::unordered_set<Text> names;
  names.reserve(static_cast<std::size_t>(merged.Size() + storedEntries.Size()));
  for (const Text& entry : merged) names.insert(CookieName(entry));
  for (const Text& entry : storedEntries) {
    if (names.insert(CookieName(entry)).second) merged.Append(entry);
  }

  Text joined;
  for (const Text& entry : merged) {
    if (IsDeletedEntry(entry)) continue;
    joined += entry;
    joined += kEntrySeparator;
  }
  joined = TextLeft(joined, TextLength(joined) - 2);
  stored = RemoveDuplicateEntries(joined, Text(kEntrySeparator));
  return stored;
}

Text CookieName(const Text& entry) {
  const int equals = FindText(entry, "=");
  return TrimSpaces(equals == -1 ? entry : TextLeft(entry, equals - 1));
}

bool HasCookieName(const TextArray& entries, const Text& name) {
  for (const Text& entry : entries) {
    if (CookieName(entry) == name) return true;
  }
  return false;
}

Text RemoveDuplicateEntries(const Text& text, const Text& separator) {
  const TextArray pieces = SplitText(text, separator);
  std::unordered_set<std::string_view> seen;
  seen.reserve(static_cast<std::size_t>(pieces.Size()));
  Text result;
  for (const Text& piece : pieces) {
    if (!seen.insert(piece).second) continue;
    result += piece;
    result += separator;
  }
  return TextLeft(result, TextLength(result) - TextLength(separator));
}

int IndexOfText(const TextArray& array, const Text& text) {
  for (int i = 1; i <= ArraySize(array); ++i) {
    if (array[i] == text) return i;
  }
  return -1;
}

}  // namespace miravel
