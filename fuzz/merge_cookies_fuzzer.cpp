// MergeCookies on arbitrary cookie strings: every output keeps the promises
// of the cookie-string format.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "http/cookies.h"
#include "text/value.h"

namespace {

using miravel::Text;

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
}
#define Require(condition) Check((condition), #condition)

// Splits at separators that begin on a character start; a ";" that is the
// second byte of a double-byte character separates nothing.
std::vector<Text> SplitOn(const Text& text, const Text& separator) {
  std::vector<Text> pieces;
  if (text.empty()) return pieces;
  std::size_t cut = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (text.compare(i, separator.size(), separator) == 0) {
      pieces.push_back(text.substr(cut, i - cut));
      i += separator.size();
      cut = i;
    } else {
      i += static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1;
    }
  }
  if (cut < text.size()) pieces.push_back(text.substr(cut));
  return pieces;
}

// True when `c` occurs at a character start.
bool HasCharacter(const Text& text, char c) {
  for (std::size_t i = 0; i < text.size(); i += static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1) {
    if (text[i] == c) return true;
  }
  return false;
}

// True when a full-width space (A1 A1) starts at a character boundary.
bool HasFullWidthSpace(const Text& text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      ++i;
      continue;
    }
    if (i + 1 >= text.size()) break;
    if (byte == 0xA1 && static_cast<unsigned char>(text[i + 1]) == 0xA1) return true;
    i += 2;
  }
  return false;
}

bool IsDeleted(const Text& entry) {
  static const Text kDeleted = "=deleted";
  return entry.size() >= kDeleted.size() &&
         entry.compare(entry.size() - kDeleted.size(), kDeleted.size(), kDeleted) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Text input(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = input.find('\0');
  Text stored = input.substr(0, cut);
  Text fresh = cut == Text::npos ? Text() : input.substr(cut + 1);
  fresh = fresh.substr(0, fresh.find('\0'));

  const Text merged = miravel::MergeCookies(stored, fresh);
  Require(merged == stored);
  Require(!HasCharacter(fresh, ' ') && !HasFullWidthSpace(fresh));

  const std::vector<Text> entries = SplitOn(merged, "; ");
  std::set<Text> seen;
  std::set<Text> freshNames;
  for (const Text& entry : SplitOn(fresh, ";")) freshNames.insert(miravel::CookieName(entry));
  std::set<Text> storedNames;
  for (const Text& entry : entries) {
    Require(!HasCharacter(entry, ';'));
    Require(!HasCharacter(entry, ' ') && !HasFullWidthSpace(entry));
    Require(!IsDeleted(entry));
    Require(seen.insert(entry).second);
    const Text name = miravel::CookieName(entry);
    if (freshNames.count(name) == 0) Require(storedNames.insert(name).second);
  }
  return 0;
}
