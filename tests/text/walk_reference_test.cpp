// ReplaceText and SplitText against plain, step-by-step versions of their
// walks on random texts rich in lead bytes and letters.

#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "text/primitives.h"

namespace miravel {
namespace {

bool High(char c) { return static_cast<unsigned char>(c) >= 0x80; }

char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool EqualAt(const Text& text, std::size_t p, const Text& sought, bool ignoreCase) {
  for (std::size_t k = 0; k < sought.size(); ++k) {
    const char a = ignoreCase ? Fold(text[p + k]) : text[p + k];
    const char b = ignoreCase ? Fold(sought[k]) : sought[k];
    if (a != b) return false;
  }
  return true;
}

Text PlainReplace(const Text& text, const Text& sought, const Text& replacement, int start,
                  std::optional<int> count, bool caseSensitive) {
  if (start < 1) start = 1;
  const std::size_t n = text.size();
  if (n == 0 || sought.empty() || static_cast<std::size_t>(start) - 1 >= n || count == 0) return text;
  int remaining = count.value_or(-1);
  std::size_t p = static_cast<std::size_t>(start) - 1;
  Text result = text.substr(0, p);
  while (remaining != 0 && n - p >= sought.size()) {
    if (EqualAt(text, p, sought, !caseSensitive)) {
      result += replacement;
      p += sought.size();
      if (remaining > 0) --remaining;
    } else if (High(text[p])) {
      if (p + 1 == n) return result;  // lone lead byte: dropped, loop ends
      result.append(text, p, 2);
      p += 2;
    } else {
      result.push_back(text[p++]);
    }
  }
  return result + text.substr(p);
}

std::vector<Text> PlainSplit(const Text& text, const Text& separator, std::optional<int> maximum) {
  int remaining = maximum ? std::max(*maximum, 0) : -1;
  std::vector<Text> members;
  if (text.empty() || remaining == 0) return members;
  if (separator.empty()) return {text};
  std::size_t p = 0;
  std::size_t cut = 0;
  while (p < text.size()) {
    if (text.size() - p >= separator.size() && EqualAt(text, p, separator, false)) {
      members.push_back(text.substr(cut, p - cut));
      p = cut = p + separator.size();
      if (remaining > 0 && --remaining == 0) return members;
    } else if (High(text[p])) {
      if (p + 1 == text.size()) break;
      p += 2;
    } else {
      ++p;
    }
  }
  if (cut < text.size()) members.push_back(text.substr(cut));
  return members;
}

Text RandomText(std::mt19937& rng, std::size_t maxLength) {
  static const char kAlphabet[] = {'a', 'A', ',', '\xA1', '\xB0', '\xC1'};
  Text text(rng() % (maxLength + 1), ' ');
  for (char& c : text) c = kAlphabet[rng() % sizeof kAlphabet];
  return text;
}

std::optional<int> RandomLimit(std::mt19937& rng) {
  const int pick = static_cast<int>(rng() % 6);
  return pick == 0 ? std::nullopt : std::optional<int>(pick - 2);
}

TEST(WalkReference, ReplaceTextAgrees) {
  std::mt19937 rng(7);
  for (int round = 0; round < 20000; ++round) {
    const Text text = RandomText(rng, round % 10 == 0 ? 300 : 20);
    const Text sought = RandomText(rng, 3);
    const Text replacement = RandomText(rng, 2);
    const int start = static_cast<int>(rng() % (text.size() + 3)) - 1;
    const std::optional<int> count = RandomLimit(rng);
    const bool caseSensitive = rng() % 2 == 0;
    SCOPED_TRACE(testing::Message() << "round " << round);
    ASSERT_EQ(ReplaceText(text, sought, replacement, start, count, caseSensitive),
              PlainReplace(text, sought, replacement, start, count, caseSensitive));
  }
}

TEST(WalkReference, SplitTextAgrees) {
  std::mt19937 rng(11);
  for (int round = 0; round < 20000; ++round) {
    const Text text = RandomText(rng, round % 10 == 0 ? 300 : 20);
    const Text separator = RandomText(rng, 3);
    const std::optional<int> maximum = RandomLimit(rng);
    SCOPED_TRACE(testing::Message() << "round " << round);
    ASSERT_EQ(SplitText(text, separator, maximum).Members(), PlainSplit(text, separator, maximum));
  }
}

}  // namespace
}  // namespace miravel
