#ifndef MIRAVEL_REGEX_PCRE2_ENGINE_H_
#define MIRAVEL_REGEX_PCRE2_ENGINE_H_

// The regular-expression engine behind RegexObject: PCRE2's 16-bit library
// over UTF-16 subjects. Offsets are in UTF-16 code units. \w and \d match
// ASCII only; "^", "$" and line breaks recognise CR, LF and CR LF. Every match
// runs under fixed match and depth limits, so a pattern that backtracks
// without end fails instead of hanging the caller.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace miravel::regex_engine {

struct CompileOptions {
  bool ignoreCase = false;
  bool multiline = false;  // "^" and "$" also at line breaks
  bool dotAll = false;     // "." also matches a line break
};

// One captured span; start and end are -1 when the group took no part.
struct Span {
  int start = -1;
  int end = -1;
  bool Matched() const { return start >= 0; }
};

// The spans of every match of one search, in order.
class MatchList {
 public:
  int Count() const { return stride_ == 0 ? 0 : static_cast<int>(spans_.size() / stride_); }
  // Group `group` (0: the whole match) of match `match` (0-based); nullptr
  // when either does not exist.
  const Span* Find(int match, int group) const {
    if (match < 0 || match >= Count() || group < 0 || group >= static_cast<int>(stride_)) {
      return nullptr;
    }
    return &spans_[match * stride_ + group];
  }
  void Clear() { spans_.clear(); }

 private:
  friend class CompiledPattern;
  size_t stride_ = 0;  // spans per match: the groups and the whole match
  std::vector<Span> spans_;
};

class CompiledPattern {
 public:
  // nullptr when PCRE2 rejects the pattern.
  static std::unique_ptr<CompiledPattern> Compile(std::u16string_view pattern,
                                                  const CompileOptions& options);
  ~CompiledPattern();
  CompiledPattern(const CompiledPattern&) = delete;
  CompiledPattern& operator=(const CompiledPattern&) = delete;

  int GroupCount() const;

  // The matches in `subject` from left to right: all of them with `global`,
  // otherwise at most the first. After an empty match the search goes on one
  // character further. False, with `matches` cleared, when the engine gave up
  // (a match or depth limit, any other matching error).
  bool FindAll(std::u16string_view subject, bool global, MatchList& matches) const;

  // `subject` with every match (with `global`) or the first one replaced by
  // `replacement` in PCRE2's substitution syntax ($1, ${name}, $$); a group
  // that took no part inserts nothing. nullopt on a bad replacement or an
  // engine failure.
  std::optional<std::u16string> Substitute(std::u16string_view subject,
                                           std::u16string_view replacement, bool global) const;

 private:
  struct Handles;
  explicit CompiledPattern(std::unique_ptr<Handles> handles);
  std::unique_ptr<Handles> handles_;
};

}  // namespace miravel::regex_engine

#endif  // MIRAVEL_REGEX_PCRE2_ENGINE_H_
