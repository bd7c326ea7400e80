#ifndef MIRAVEL_TEXT_URL_ENCODE_H_
#define MIRAVEL_TEXT_URL_ENCODE_H_

#include "text/value.h"

namespace miravel {

// Percent-encodes every byte as %XX (upper-case hex). With `keepUnreserved`
// the bytes "-", ".", 0-9, A-Z and a-z stay as they are; with `utf8` the text
// is converted to UTF-8 first.
Text UrlEncode(const Text& text, bool keepUnreserved = false, bool utf8 = false);

}  // namespace miravel

#endif  // MIRAVEL_TEXT_URL_ENCODE_H_
