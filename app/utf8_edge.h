#ifndef MIRAVEL_APP_UTF8_EDGE_H_
#define MIRAVEL_APP_UTF8_EDGE_H_

// The command line speaks UTF-8, the program GBK. A character that GBK cannot
// hold becomes "?"; invalid UTF-8 becomes U+FFFD first (and then "?").

#include <string>
#include <string_view>

#include "text/value.h"

namespace miravel {

Text FromUtf8(std::string_view utf8);
std::string ToUtf8(const Text& text);

}  // namespace miravel

#endif  // MIRAVEL_APP_UTF8_EDGE_H_
