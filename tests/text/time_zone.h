#ifndef MIRAVEL_TESTS_TEXT_TIME_ZONE_H_
#define MIRAVEL_TESTS_TEXT_TIME_ZONE_H_

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace miravel::testing {

// Runs the local clock in the given POSIX time zone for the object's life.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) old_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (old_) {
      setenv("TZ", old_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  std::optional<std::string> old_;
};

}  // namespace miravel::testing

#endif  // MIRAVEL_TESTS_TEXT_TIME_ZONE_H_
