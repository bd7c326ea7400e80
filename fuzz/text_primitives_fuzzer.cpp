// The searching, replacing, splitting and trimming primitives on arbitrary
// bytes, checked against slow reference versions written here straight from
// the rules of the double-byte walk: visit every character start from the
// walk's first byte, compare where the sought text fits, step one byte below
// 0x80 and two from a lead byte, and stop at a lead byte that ends the text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "text/primitives.h"
#include "text/text_between.h"
#include "text/value.h"

namespace {

using miravel::Text;
using miravel::TextArray;

bool High(char c) { return static_cast<unsigned char>(c) >= 0x80; }
char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool MatchesAt(const Text& text, std::size_t at, const Text& sought, bool ignoreCase) {
  if (text.size() - at < sought.size()) return false;
  for (std::size_t k = 0; k < sought.size(); ++k) {
    const char a = text[at + k];
    const char b = sought[k];
    if (ignoreCase ? Fold(a) != Fold(b) : a != b) return false;
  }
  return true;
}

// Next character start after `at`, or text.size() when the walk ends.
std::size_t Step(const Text& text, std::size_t at) {
  if (!High(text[at])) return at + 1;
  return at + 1 >= text.size() ? text.size() : at + 2;
}

int RefFind(const Text& text, const Text& sought, int start, bool ignoreCase) {
  std::size_t from = 0;
  if (start >= 2) {
    if (static_cast<std::size_t>(start) > text.size()) return -1;
    from = static_cast<std::size_t>(start) - 1;
  }
  if (from >= text.size()) return -1;
  if (sought.empty()) return 1;
  for (std::size_t at = from; at < text.size(); at = Step(text, at)) {
    if (MatchesAt(text, at, sought, ignoreCase)) return static_cast<int>(at) + 1;
  }
  return -1;
}

int RefFindReverse(const Text& text, const Text& sought, std::optional<int> start, bool ignoreCase) {
  std::size_t end = text.size();
  if (start) end = *start < 2 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(*start) - 1, end);
  if (end == 0) return -1;
  if (sought.empty()) return 1;
  int last = -1;
  const Text region = text.substr(0, end);
  for (std::size_t at = 0; at < end; at = Step(text, at)) {
    if (MatchesAt(region, at, sought, ignoreCase)) last = static_cast<int>(at) + 1;
  }
  return last;
}

Text RefReplace(const Text& text, const Text& sought, const Text& replacement, int start,
                std::optional<int> count, bool caseSensitive) {
  const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
  if (text.empty() || sought.empty() || from >= text.size() || (count && *count == 0)) return text;
  Text out = text.substr(0, from);
  std::size_t at = from;
  int left = count.value_or(-1);
  while (text.size() - at >= sought.size()) {
    if (MatchesAt(text, at, sought, !caseSensitive)) {
      out += replacement;
      at += sought.size();
      if (count && --left == 0) break;
    } else if (!High(text[at])) {
      out += text[at++];
    } else if (at + 1 >= text.size()) {
      at = text.size();  // a lone lead byte at the end is dropped
    } else {
      out += text.substr(at, 2);
      at += 2;
    }
  }
  return out + text.substr(at);
}

std::vector<Text> RefSplit(const Text& text, const Text& separator, std::optional<int> maximum) {
  int left = maximum ? std::max(*maximum, 0) : -1;
  std::vector<Text> pieces;
  if (text.empty() || left == 0) return pieces;
  if (separator.empty()) return {text};
  std::size_t cut = 0;
  for (std::size_t at = 0; at < text.size();) {
    if (MatchesAt(text, at, separator, false)) {
      pieces.push_back(text.substr(cut, at - cut));
      at += separator.size();
      cut = at;
      if (maximum && --left == 0) return pieces;
    } else {
      at = Step(text, at);
    }
  }
  if (cut < text.size()) pieces.push_back(text.substr(cut));
  return pieces;
}

bool FullWidthSpaceAt(const Text& text, std::size_t at) {
  return at + 1 < text.size() && static_cast<unsigned char>(text[at]) == 0xA1 &&
         static_cast<unsigned char>(text[at + 1]) == 0xA1;
}

Text RefTrim(const Text& text) {
  std::size_t begin = 0;
  while (begin < text.size()) {
    if (text[begin] == ' ') {
      ++begin;
    } else if (FullWidthSpaceAt(text, begin)) {
      begin += 2;
    } else {
      break;
    }
  }
  std::optional<std::size_t> runStart;
  std::size_t end = text.size();
  for (std::size_t at = begin; at < text.size();) {
    if (High(text[at]) && at + 1 >= text.size()) {
      end = at;  // a lone lead byte at the end goes too
      break;
    }
    const bool space = text[at] == ' ' || FullWidthSpaceAt(text, at);
    if (space && !runStart) runStart = at;
    if (!space) runStart.reset();
    at = Step(text, at);
  }
  if (runStart) end = *runStart;
  return text.substr(begin, end - begin);
}

Text RefRemoveSpaces(const Text& text) {
  Text out;
  for (std::size_t at = 0; at < text.size();) {
    if (!High(text[at])) {
      if (text[at] != ' ') out += text[at];
      ++at;
    } else if (at + 1 >= text.size()) {
      break;
    } else {
      if (!FullWidthSpaceAt(text, at)) out += text.substr(at, 2);
      at += 2;
    }
  }
  return out;
}

Text RefBetween(const Text& text, Text left, Text right, int start, bool ignoreCase) {
  const Text kQuote = "#\xD2\xFD\xBA\xC5";
  left = RefReplace(left, kQuote, "\"", 1, std::nullopt, true);
  right = RefReplace(right, kQuote, "\"", 1, std::nullopt, true);
  int p = RefFind(text, left, start, ignoreCase);
  if (p != -1) p += static_cast<int>(left.size());
  const int q = RefFind(text, right, p, ignoreCase);
  if (p == -1 || q == -1 || q - p < 1 || static_cast<std::size_t>(p) > text.size()) return {};
  return text.substr(static_cast<std::size_t>(p) - 1, static_cast<std::size_t>(q - p));
}

[[noreturn]] void Mismatch(const char* what) {
  std::fprintf(stderr, "mismatch in %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace miravel;
  if (size < 3) return 0;
  const std::uint8_t flags = data[0];
  const int start = static_cast<std::int8_t>(data[1]);
  const int number = static_cast<std::int8_t>(data[2]);
  // text \0 sought \0 replacement; texts never hold zero bytes.
  std::vector<Text> parts(3);
  std::size_t part = 0;
  for (std::size_t i = 3; i < size; ++i) {
    if (data[i] == 0) {
      if (++part == parts.size()) break;
    } else {
      parts[part] += static_cast<char>(data[i]);
    }
  }
  const Text& text = parts[0];
  const Text& sought = parts[1];
  const Text& replacement = parts[2];
  const bool ignoreCase = flags & 1;
  const std::optional<int> maybeStart = (flags & 2) ? std::optional<int>(start) : std::nullopt;
  const std::optional<int> maybeNumber = (flags & 4) ? std::optional<int>(number) : std::nullopt;

  if (FindText(text, sought, start, ignoreCase) != RefFind(text, sought, start, ignoreCase)) {
    Mismatch("FindText");
  }
  if (FindTextReverse(text, sought, maybeStart, ignoreCase) !=
      RefFindReverse(text, sought, maybeStart, ignoreCase)) {
    Mismatch("FindTextReverse");
  }
  if (ReplaceText(text, sought, replacement, start, maybeNumber, !ignoreCase) !=
      RefReplace(text, sought, replacement, start, maybeNumber, !ignoreCase)) {
    Mismatch("ReplaceText");
  }
  if (SplitText(text, sought, maybeNumber).Members() != RefSplit(text, sought, maybeNumber)) {
    Mismatch("SplitText");
  }
  if (TrimSpaces(text) != RefTrim(text)) Mismatch("TrimSpaces");
  if (RemoveAllSpaces(text) != RefRemoveSpaces(text)) Mismatch("RemoveAllSpaces");
  if (TextBetween(text, sought, replacement, start, ignoreCase) !=
      RefBetween(text, sought, replacement, start, ignoreCase)) {
    Mismatch("TextBetween");
  }
  return 0;
}
