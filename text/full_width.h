#ifndef MIRAVEL_TEXT_FULL_WIDTH_H_
#define MIRAVEL_TEXT_FULL_WIDTH_H_

// Internal to text/: the full-width forms read by the number and date-time
// parsers.

#include "text/value.h"

namespace miravel {

// Walking by character steps: A3 xx (xx from A1 to FE) becomes the byte
// xx - 0x80 (full-width digits, letters and signs become ASCII), A1 A1 a
// space, A1 AB "~", A1 EE and A1 EF "*". Every other byte is kept.
Text FoldFullWidth(const Text& text);

}  // namespace miravel

#endif  // MIRAVEL_TEXT_FULL_WIDTH_H_
