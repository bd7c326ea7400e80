#ifndef MIRAVEL_REGEX_REGEX_OBJECT_H_
#define MIRAVEL_REGEX_REGEX_OBJECT_H_

// A compiled pattern with its subject and matches. Each Compile starts from a
// fresh engine instance; the queries read what the last Compile left.
// Match and group numbers are 1-based; positions are 0-based byte offsets in
// the GBK subject, -1 for a match or group that does not exist or took no
// part. Failures yield empty text, 0 or false.
//
// Syntax is PCRE2's; \w and \d match ASCII only, "." also matches a line
// break, and with `multiline` "^" and "$" match at CR, LF and CR LF. A match
// that needs more than a fixed amount of backtracking fails (Compile returns
// false) instead of running on.

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

  // The pattern as set by the last Compile (quote marker "#引号" expanded to
  // '"' when asked); empty before the first Compile.
  Text GetPattern() const;
  // The last subject with its matches (all with `global`, else the first)
  // replaced; "$1", "${name}" and "$$" as in PCRE2. Empty text when the last
  // pattern was rejected, the replacement is malformed or nothing was compiled.
  Text ReplaceMatches(const Text& replacement = {}) const;
  int MatchCount() const;
  Text MatchText(int match, int* position = nullptr) const;
  // `position` receives the offset of the group's own capture.
  Text SubmatchText(int match, int group, int* position = nullptr) const;
  // The number of groups in the pattern when there is a first match, else 0.
  int SubmatchCount() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace miravel

#endif  // MIRAVEL_REGEX_REGEX_OBJECT_H_
