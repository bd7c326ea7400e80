// RegexObject with an arbitrary pattern and subject: no crash and no hang
// (the engine's match limits stop runaway patterns), and positions stay
// inside the subject.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "regex/regex_object.h"
#include "text/value.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace miravel;
  if (size < 1) return 0;
  const std::uint8_t options = data[0];
  const Text input(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t cut = input.find('\n');
  Text pattern = input.substr(0, cut);
  Text subject = cut == Text::npos ? Text() : input.substr(cut + 1);
  pattern = pattern.substr(0, pattern.find('\0'));
  subject = subject.substr(0, subject.find('\0'));

  RegexObject regex;
  if (!regex.Compile(pattern, subject, options & 1, options & 2, options & 4, options & 8)) {
    if (regex.MatchCount() != 0) std::abort();
    return 0;
  }
  const int count = regex.MatchCount();
  for (int match = 0; match <= count + 1 && match < 4; ++match) {
    int position = -1;
    const Text text = regex.MatchText(match, &position);
    if (match >= 1 && match <= count &&
        (position < 0 || position > static_cast<int>(subject.size()))) {
      std::abort();
    }
    (void)text;
    (void)regex.SubmatchText(match, 1, &position);
  }
  (void)regex.SubmatchCount();
  (void)regex.GetPattern();
  (void)regex.ReplaceMatches("[$0]");
  return 0;
}
