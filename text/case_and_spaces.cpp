#include <cstddef>

#include "text/char_walk.h"
#include "text/primitives.h"

namespace miravel {
namespace {

constexpr char kFullWidthSpaceByte = '\xA1';  // a full-width space is A1 A1

bool IsFullWidthSpaceAt(const Text& text, std::size_t i) {
  return i + 1 < text.size() && text[i] == kFullWidthSpaceByte && text[i + 1] == kFullWidthSpaceByte;
}

}  // namespace

Text ToLowerCase(const Text& text) {
  Text result = text;
  for (std::size_t i = 0; i < result.size(); ++i) {
    if (char_walk::IsHigh(result[i])) {
      ++i;  // the trail byte keeps its value
    } else {
      result[i] = char_walk::FoldCase(result[i]);
    }
  }
  return result;
}

// A lone lead byte at the very end is cut; a run of spaces just before it
// is then the text's trailing run and goes with it.
Text TrimSpaces(const Text& text) {
  const std::size_t n = text.size();
  std::size_t begin = 0;
  while (begin < n) {
    if (text[begin] == ' ') {
      ++begin;
    } else if (IsFullWidthSpaceAt(text, begin)) {
      begin += 2;
    } else {
      break;
    }
  }
  std::size_t end = n;
  bool inRun = false;
  std::size_t runStart = n;
  std::size_t p = begin;
  while (p < n) {
    const bool high = char_walk::IsHigh(text[p]);
    if (high && p + 1 == n) {
      end = p;
      break;
    }
    const bool space = text[p] == ' ' || IsFullWidthSpaceAt(text, p);
    if (space && !inRun) runStart = p;
    inRun = space;
    p += high ? 2 : 1;
  }
  if (inRun) end = runStart;
  return text.substr(begin, end - begin);
}

Text RemoveAllSpaces(const Text& text) {
  const std::size_t n = text.size();
  Text result;
  result.reserve(n);
  std::size_t p = 0;
  while (p < n) {
    if (!char_walk::IsHigh(text[p])) {
      if (text[p] != ' ') result.push_back(text[p]);
      ++p;
    } else if (p + 1 == n) {
      break;  // a lone lead byte is not copied
    } else {
      if (!IsFullWidthSpaceAt(text, p)) result.append(text, p, 2);
      p += 2;
    }
  }
  return result;
}

}  // namespace miravel
