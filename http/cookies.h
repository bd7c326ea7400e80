#ifndef MIRAVEL_HTTP_COOKIES_H_
#define MIRAVEL_HTTP_COOKIES_H_

// The cookie string: name=value entries joined by "; ", nothing at the end.

#include "text/value.h"

namespace miravel {

// Folds `fresh` (the cookies of one answer) into `stored`. Both arguments lose
// their spaces; `stored` is replaced by the merged string, which is returned.
// Fresh entries come first, then stored entries whose names the answer did
// not carry; "=deleted" entries and exact repeats are dropped.
Text MergeCookies(Text& stored, Text& fresh);

Text CookieName(const Text& entry);                          // before "=", trimmed
bool HasCookieName(const TextArray& entries, const Text& name);
Text RemoveDuplicateEntries(const Text& text, const Text& separator);
int IndexOfText(const TextArray& array, const Text& text);   // 1-based, or -1

}  // namespace miravel

#endif  // MIRAVEL_HTTP_COOKIES_H_
