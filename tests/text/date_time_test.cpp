#include <gtest/gtest.h>

#include <chrono>

#include "text/conversions.h"
#include "time_zone.h"

namespace miravel {
namespace {

constexpr DateTime kEpoch = 25569.0;  // 1970-01-01 00:00:00
constexpr double kHour = 1.0 / 24;

struct DateRow {
  const char* name;
  Text text;
  DateTime expected;
};

TEST(TextToDateTime, Rows) {
  const DateRow rows[] = {
      {"dashes and colons", "1970-01-01 08:00:00", kEpoch + 8 * kHour},
      {"slashes, single digits", "1970/1/1 8:0:0", kEpoch + 8 * kHour},
      {"date only", "1970-01-01", kEpoch},
      {"dots", "2000.2.29.23.59.59", 36585.0 + 86399.0 / 86400},
      {"Chinese units", "2017\xC4\xEA" "7\xD4\xC2" "14\xC8\xD5" "10\xCA\xB1" "40\xB7\xD6" "0\xC3\xEB",
       42930.0 + 10 * kHour + 40.0 / 1440},
      {"full-width digits", "\xA3\xB1\xA3\xB9\xA3\xB7\xA3\xB0-1-1", kEpoch},
      {"missing separators", "19700101", kEpoch},
      {"the day the count starts", "1899-12-30", 0.0},
      {"the smallest date", "100-01-01 00:00:00", kInvalidDateTime},
      {"February 30", "1970-02-30", kInvalidDateTime},
      {"not a leap year", "1900-02-29", kInvalidDateTime},
      {"hour 24", "1970-01-01 24:00:00", kInvalidDateTime},
      {"second 60", "1970-01-01 00:00:60", kInvalidDateTime},
      {"year below 100", "99-01-01", kInvalidDateTime},
      {"month 0", "2020", kInvalidDateTime},
      {"trailing junk", "1970-01-01 08:00:00x", kInvalidDateTime},
      {"leading space", " 1970-01-01", kInvalidDateTime},
      {"empty", "", kInvalidDateTime},
  };
  for (const DateRow& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_DOUBLE_EQ(TextToDateTime(row.text), row.expected);
  }
}

struct DiffRow {
  const char* name;
  DateTime first;
  DateTime second;
  int unit;
  double expected;
};

TEST(DateTimeDiff, Rows) {
  const DateTime t = TextToDateTime("2017-07-14 10:40:00");
  const DateTime earlier = TextToDateTime("2017-07-14 10:38:30");
  const DateTime halfDayEarlier = TextToDateTime("2017-07-13 22:40:00");
  const DiffRow rows[] = {
      {"90 seconds", t, earlier, 8, 90.0},
      {"minus 90 seconds", earlier, t, 8, -90.0},
      {"minutes truncate", t, earlier, 7, 1.0},
      {"units above 8 are seconds", t, earlier, 12, 90.0},
      {"half a day in days", t, halfDayEarlier, 5, 0.5},
      {"half a day in hours", t, halfDayEarlier, 6, 12.0},
      {"equal in days", t, t, 5, 0.0},
      {"equal in seconds", t, t, 8, 0.0},
      {"equal in unsupported units", t, t, 1, 0.0},
      {"units below 1 count as 1, unsupported", t, earlier, -3, 0.0},
      {"seconds since the Unix epoch", t, TextToDateTime("1970-01-01 08:00:00"), 8, 1500000000.0},
  };
  for (const DiffRow& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(DateTimeDiff(row.first, row.second, row.unit), row.expected);
  }
}

TEST(CurrentDateTime, IsTheLocalWallClockInWholeSeconds) {
  using namespace std::chrono;
  const sys_time<milliseconds> instant = sys_days{2017y / July / 14} + 2h + 40min + 999ms;
  {
    testing::ScopedTimeZone zone("CST-8");
    EXPECT_EQ(CurrentDateTime(instant), TextToDateTime("2017-07-14 10:40:00"));
  }
  {
    testing::ScopedTimeZone zone("UTC0");
    EXPECT_EQ(CurrentDateTime(instant), TextToDateTime("2017-07-14 02:40:00"));
  }
}

}  // namespace
}  // namespace miravel
