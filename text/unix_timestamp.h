#ifndef MIRAVEL_TEXT_UNIX_TIMESTAMP_H_
#define MIRAVEL_TEXT_UNIX_TIMESTAMP_H_

#include <chrono>

#include "text/value.h"

namespace miravel {

// Milliseconds since 1970-01-01 00:00:00 UTC as 13 decimal digits, or the
// first 10 of them (whole seconds) with `tenDigits`. Seconds and milliseconds
// come from one reading of the clock.
Text UnixTimestamp(bool tenDigits = false);
Text UnixTimestamp(bool tenDigits, std::chrono::system_clock::time_point now);

}  // namespace miravel

#endif  // MIRAVEL_TEXT_UNIX_TIMESTAMP_H_
