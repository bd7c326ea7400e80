#include "regex/pcre2_engine.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <algorithm>

namespace miravel::regex_engine {
namespace {

// Enough for any real pattern over a page of text; a catastrophic pattern
// exhausts them within a fraction of a second.
constexpr uint32_t kMatchLimit = 5'000'000;
constexpr uint32_t kDepthLimit = 250'000;
constexpr uint32_t kHeapLimitKib = 64 * 1024;

struct CodeFree {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct CompileContextFree {
  void operator()(pcre2_compile_context* context) const { pcre2_compile_context_free(context); }
};
struct MatchContextFree {
  void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
};
struct MatchDataFree {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};

using CodeOwner = std::unique_ptr<pcre2_code, CodeFree>;
using CompileContextOwner = std::unique_ptr<pcre2_compile_context, CompileContextFree>;
using MatchContextOwner = std::unique_ptr<pcre2_match_context, MatchContextFree>;
using MatchDataOwner = std::unique_ptr<pcre2_match_data, MatchDataFree>;

PCRE2_SPTR Units(std::u16string_view text) {
  return reinterpret_cast<PCRE2_SPTR>(text.data());
}

uint32_t CompileFlags(const CompileOptions& options) {
  // PCRE2_UCP stays off: \w and \d keep to ASCII.
  uint32_t flags = PCRE2_UTF;
  if (options.ignoreCase) flags |= PCRE2_CASELESS;
  if (options.multiline) flags |= PCRE2_MULTILINE;
  if (options.dotAll) flags |= PCRE2_DOTALL;
  return flags;
}

bool IsLeadSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsTrailSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The offset one character after `offset`.
size_t NextCharacter(std::u16string_view subject, size_t offset) {
  if (offset + 1 < subject.size() && IsLeadSurrogate(subject[offset]) &&
      IsTrailSurrogate(subject[offset + 1])) {
    return offset + 2;
  }
  return offset + 1;
}

void AppendSpans(pcre2_match_data* data, size_t count, std::vector<Span>& spans) {
  const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
  for (size_t k = 0; k < count; ++k) {
    const PCRE2_SIZE start = ovector[2 * k];
    const PCRE2_SIZE end = ovector[2 * k + 1];
    if (start == PCRE2_UNSET) {
      spans.push_back(Span{});
    } else {
      spans.push_back(Span{static_cast<int>(start), static_cast<int>(std::max(start, end))});
    }
  }
}

}  // namespace

struct CompiledPattern::Handles {
  CodeOwner code;
  MatchContextOwner matchContext;
  int groupCount = 0;
};

CompiledPattern::CompiledPattern(std::unique_ptr<Handles> handles)
    : handles_(std::move(handles)) {}

CompiledPattern::~CompiledPattern() = default;

std::unique_ptr<CompiledPattern> CompiledPattern::Compile(std::u16string_view pattern,
                                                          const CompileOptions& options) {
  CompileContextOwner compileContext(pcre2_compile_context_create(nullptr));
  if (!compileContext) return nullptr;
  pcre2_set_newline(compileContext.get(), PCRE2_NEWLINE_ANYCRLF);

  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  auto handles = std::make_unique<Handles>();
  handles->code.reset(pcre2_compile(Units(pattern), pattern.size(), CompileFlags(options),
                                    &errorCode, &errorOffset, compileContext.get()));
  if (!handles->code) return nullptr;

  handles->matchContext.reset(pcre2_match_context_create(nullptr));
  if (!handles->matchContext) return nullptr;
  pcre2_set_match_limit(handles->matchContext.get(), kMatchLimit);
  pcre2_set_depth_limit(handles->matchContext.get(), kDepthLimit);
  pcre2_set_heap_limit(handles->matchContext.get(), kHeapLimitKib);

  uint32_t captures = 0;
  pcre2_pattern_info(handles->code.get(), PCRE2_INFO_CAPTURECOUNT, &captures);
  handles->groupCount = static_cast<int>(captures);
  return std::unique_ptr<CompiledPattern>(new CompiledPattern(std::move(handles)));
}

int CompiledPattern::GroupCount() const { return handles_->groupCount; }

bool CompiledPattern::FindAll(std::u16string_view subject, bool global,
                              MatchList& matches) const {
  matches.spans_.clear();
  matches.stride_ = static_cast<size_t>(handles_->groupCount) + 1;
  MatchDataOwner data(pcre2_match_data_create_from_pattern(handles_->code.get(), nullptr));
  if (!data) return false;
  size_t start = 0;
  uint32_t flags = 0;  // the first call checks the subject's UTF-16 once
  while (start <= subject.size()) {
    const int rc = pcre2_match(handles_->code.get(), Units(subject), subject.size(), start, flags,
                               data.get(), handles_->matchContext.get());
    flags = PCRE2_NO_UTF_CHECK;
    if (rc == PCRE2_ERROR_NOMATCH) break;
    if (rc < 0) {
      matches.spans_.clear();
      return false;
    }
    AppendSpans(data.get(), matches.stride_, matches.spans_);
    if (!global) break;
    const Span whole = matches.spans_[matches.spans_.size() - matches.stride_];
    size_t next = static_cast<size_t>(whole.end);
    if (whole.end == whole.start) next = NextCharacter(subject, next);
    start = std::max(next, start + 1);
  }
  return true;
}

std::optional<std::u16string> CompiledPattern::Substitute(std::u16string_view subject,
                                                          std::u16string_view replacement,
                                                          bool global) const {
  uint32_t options = PCRE2_SUBSTITUTE_OVERFLOW_LENGTH | PCRE2_SUBSTITUTE_UNSET_EMPTY;
  if (global) options |= PCRE2_SUBSTITUTE_GLOBAL;
  std::u16string output(subject.size() + replacement.size() + 16, u'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    PCRE2_SIZE length = output.size();
    const int rc = pcre2_substitute(
        handles_->code.get(), Units(subject), subject.size(), 0, options, nullptr,
        handles_->matchContext.get(), Units(replacement), replacement.size(),
        reinterpret_cast<PCRE2_UCHAR*>(output.data()), &length);
    if (rc >= 0) {
      output.resize(length);
      return output;
    }
    if (rc != PCRE2_ERROR_NOMEMORY) return std::nullopt;
    output.assign(length, u'\0');  // the length PCRE2 asked for, terminator included
  }
  return std::nullopt;
}

}  // namespace miravel::regex_engine
