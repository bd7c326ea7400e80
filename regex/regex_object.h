#ifndef MIRAVEL_REGEX_REGEX_OBJECT_H_
#define MIRAVEL_REGEX_REGEX_OBJECT_H_

// A compiled pattern with its subject and matches. Each Compile starts from a
// fresh engine instance; the queries read what the last Compile left.
// Match and group numbers are 1-based; positions are 0-based byte offsets in
// the GBK subject. Failures yield empty text, 0 or false.

#include <memory>

#include "text/value.h"

namespace miravel {

class RegexObject {
 public:
  RegexObject();
  ~RegexObject();
  RegexObject(const RegexObject&) = delete;
  RegexObject& operator=(const RegexObject&) = delete;

  // True when the pattern compiled and ran (also with no match); false for a
  // pattern the engine rejects, which leaves no matches behind.
  bool Compile(const Text& pattern, const Text& subject, bool caseSensitive = false,
               bool multiline = true, bool global = true, bool expandQuoteMarker = false);

  Text GetPattern() const;
  Text ReplaceMatches(const Text& replacement = {}) const;
  int MatchCount() const;
  Text MatchText(int match, int* position = nullptr) const;
  Text SubmatchText(int match, int group, int* position = nullptr) const;
  int SubmatchCount() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace miravel

#endif  // MIRAVEL_REGEX_REGEX_OBJECT_H_
