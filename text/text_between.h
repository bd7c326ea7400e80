#ifndef MIRAVEL_TEXT_TEXT_BETWEEN_H_
#define MIRAVEL_TEXT_TEXT_BETWEEN_H_

#include "text/value.h"

namespace miravel {

// The text after the first `left` at or after `start` up to the next `right`
// after it; empty when either is missing. "#引号" in a marker stands for a
// double quote. start 0 or 1 means the beginning.
Text TextBetween(const Text& text, const Text& left, const Text& right, int start = 0,
                 bool ignoreCase = false);

}  // namespace miravel

#endif  // MIRAVEL_TEXT_TEXT_BETWEEN_H_
