#include "regex/regex_object.h"

#include <vector>

#include "regex/pcre2_engine.h"
#include "regex/wide_subject.h"
#include "text/primitives.h"

namespace miravel {
namespace {

// "#引号" in GBK: stands for a double quote in a pattern.
constexpr char kQuoteMarker[] = "#\xD2\xFD\xBA\xC5";

}  // namespace

struct RegexObject::State {
  bool compiled = false;  // a Compile ran: pattern and subject are set
  Text pattern;
  bool global = false;
  std::unique_ptr<regex_engine::CompiledPattern> engine;
  regex_engine::MatchList matches;
  WideSubject subject;

  const regex_engine::Span* Find(int match, int group) const {
    return matches.Find(match - 1, group);
  }

  Text SpanText(const regex_engine::Span* span, int* position) const {
    const bool found = span != nullptr && span->Matched();
    if (position != nullptr) *position = found ? subject.ByteOffset(span->start) : -1;
    return found ? subject.Slice(span->start, span->end) : Text();
  }
};

RegexObject::RegexObject() : state_(std::make_unique<State>()) {}

RegexObject::~RegexObject() = default;

bool RegexObject::Compile(const Text& pattern, const Text& subject, bool caseSensitive,
                          bool multiline, bool global, bool expandQuoteMarker) {
  regex_engine::CompileOptions options;
  options.ignoreCase = !caseSensitive;
  options.multiline = multiline;
  options.dotAll = true;

  State& state = *state_;
  state.engine.reset();
  state.matches.Clear();
  state.compiled = true;
  state.global = global;
  state.pattern = expandQuoteMarker ? ReplaceText(pattern, kQuoteMarker, "\"", 1, std::nullopt, true)
                                    : pattern;
  state.subject = WideSubject(subject);

  state.engine = regex_engine::CompiledPattern::Compile(GbkToUtf16(state.pattern), options);
  if (!state.engine) return false;
  return state.engine->FindAll(state.subject.Units(), global, state.matches);
}

Text RegexObject::GetPattern() const { return state_->compiled ? state_->pattern : Text(); }

Text RegexObject::ReplaceMatches(const Text& replacement) const {
  if (!state_->engine) return {};
  auto replaced = state_->engine->Substitute(state_->subject.Units(), GbkToUtf16(replacement),
                                             state_->global);
  return replaced ? Utf16ToGbk(*replaced) : Text();
}

int RegexObject::MatchCount() const { return state_->matches.Count(); }

Text RegexObject::MatchText(int match, int* position) const {
  return state_->SpanText(state_->Find(match, 0), position);
}

Text RegexObject::SubmatchText(int match, int group, int* position) const {
  if (group < 1) return state_->SpanText(nullptr, position);
  return state_->SpanText(state_->Find(match, group), position);
}

int RegexObject::SubmatchCount() const {
  return state_->matches.Count() == 0 ? 0 : state_->engine->GroupCount();
}

}  // namespace miravel
