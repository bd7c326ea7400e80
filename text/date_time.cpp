#include <cmath>
#include <cstddef>
#include <ctime>
#include <limits>
#include <string_view>

#include "text/conversions.h"
#include "text/full_width.h"

namespace miravel {
namespace {

constexpr double kSecondsPerDay = 86400.0;

// Days from 1970-01-01 to the given proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

struct Fields {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Days since 1899-12-30 00:00:00; kInvalidDateTime unless the fields name a
// real date and time.
DateTime FromFields(const Fields& f) {
  if (f.year < 100 || f.year > 9999 || f.month < 1 || f.month > 12 || f.day < 1 ||
      f.day > DaysInMonth(f.year, f.month) || f.hour > 23 || f.minute > 59 || f.second > 59) {
    return kInvalidDateTime;
  }
  const std::int64_t days = DaysFromCivil(f.year, static_cast<unsigned>(f.month), static_cast<unsigned>(f.day)) -
                            DaysFromCivil(1899, 12, 30);
  return static_cast<double>(days) + (f.hour * 3600 + f.minute * 60 + f.second) / kSecondsPerDay;
}

class DateTimeReader {
 public:
  explicit DateTimeReader(std::string_view text) : text_(text) {}

  // Up to maxDigits decimal digits; 0 when there are none.
  int Number(int maxDigits) {
    int value = 0;
    for (int i = 0; i < maxDigits && pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9'; ++i) {
      value = value * 10 + (text_[pos_++] - '0');
    }
    return value;
  }

  // Skips one separator: one of `ascii` or the two-byte `word`; a missing
  // separator is no fault.
  void Separator(std::string_view ascii, std::string_view word) {
    if (pos_ < text_.size() && ascii.find(text_[pos_]) != std::string_view::npos) {
      ++pos_;
    } else if (text_.substr(pos_, word.size()) == word) {
      pos_ += word.size();
    }
  }

  bool AtEndOrSuffix(std::string_view suffix) const {
    std::string_view rest = text_.substr(pos_);
    return rest.empty() || rest == suffix;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// GBK spellings of the date-time unit characters.
constexpr std::string_view kYear = "\xC4\xEA";
constexpr std::string_view kMonth = "\xD4\xC2";
constexpr std::string_view kDay = "\xC8\xD5";
constexpr std::string_view kHour = "\xCA\xB1";
constexpr std::string_view kMinute = "\xB7\xD6";
constexpr std::string_view kSecond = "\xC3\xEB";
constexpr std::string_view kSeparators = "/-:.";
constexpr std::string_view kDaySeparators = "/-:. ";

}  // namespace

DateTime TextToDateTime(const Text& text) {
  const Text folded = FoldFullWidth(text);
  DateTimeReader reader(folded);
  Fields f;
  f.year = reader.Number(4);
  reader.Separator(kSeparators, kYear);
  f.month = reader.Number(2);
  reader.Separator(kSeparators, kMonth);
  f.day = reader.Number(2);
  reader.Separator(kDaySeparators, kDay);
  f.hour = reader.Number(2);
  reader.Separator(kSeparators, kHour);
  f.minute = reader.Number(2);
  reader.Separator(kSeparators, kMinute);
  f.second = reader.Number(2);
  if (!reader.AtEndOrSuffix(kSecond)) return kInvalidDateTime;
  return FromFields(f);
}

DateTime CurrentDateTime() { return CurrentDateTime(std::chrono::system_clock::now()); }

DateTime CurrentDateTime(std::chrono::system_clock::time_point now) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(
      std::chrono::floor<std::chrono::seconds>(now));
  std::tm local{};
  if (localtime_r(&seconds, &local) == nullptr) return kInvalidDateTime;
  return FromFields({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                     local.tm_sec > 59 ? 59 : local.tm_sec});
}

// The small bias guards whole counts against rounding (89.9999999 seconds
// is 90); it is applied away from zero so negative differences come out as
// whole as positive ones.
double DateTimeDiff(DateTime first, DateTime second, int unit) {
  if (unit > 8) unit = 8;
  if (unit < 1) unit = 1;
  if (first == second) return 0;
  const double days = first - second;
  switch (unit) {
    case 5: return days;
    case 6:
    case 7:
    case 8: {
      constexpr double kPerDay[] = {24.0, 1440.0, kSecondsPerDay};
      constexpr double kBias = 5.787037037037037e-6;
      double count = days * kPerDay[unit - 6];
      count = std::trunc(count + std::copysign(kBias, count));
      constexpr double kMax = std::numeric_limits<std::int32_t>::max();
      constexpr double kMin = std::numeric_limits<std::int32_t>::min();
      return count > kMax ? kMax : (count < kMin ? kMin : count);
    }
    default: return 0;
  }
}

}  // namespace miravel
