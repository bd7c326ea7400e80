#include "text/unix_timestamp.h"

#include <string>

#include "text/primitives.h"

namespace miravel {

Text UnixTimestamp(bool tenDigits) { return UnixTimestamp(tenDigits, std::chrono::system_clock::now()); }

// Seconds and milliseconds both come from `now`, so the digits never mix two
// readings of the clock across a second boundary.
Text UnixTimestamp(bool tenDigits, std::chrono::system_clock::time_point now) {
  using std::chrono::milliseconds;
  const long long totalMs = std::chrono::floor<milliseconds>(now.time_since_epoch()).count();
  long long seconds = totalMs / 1000;
  long long ms = totalMs % 1000;
  if (ms < 0) {
    ms += 1000;
    --seconds;
  }
  Text msText = std::to_string(ms);
  Text full = std::to_string(seconds) + RepeatText(3 - TextLength(msText), "0") + msText;
  return tenDigits ? TextLeft(full, 10) : full;
}

}  // namespace miravel
