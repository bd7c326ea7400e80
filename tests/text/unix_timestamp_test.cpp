#include <gtest/gtest.h>

#include <chrono>

#include "text/unix_timestamp.h"
#include "time_zone.h"

namespace miravel {
namespace {

using namespace std::chrono;

// 2017-07-14 10:40:00 in UTC+8.
const sys_time<milliseconds> kBase = sys_days{2017y / July / 14} + 2h + 40min;

struct StampRow {
  const char* name;
  sys_time<milliseconds> now;
  Text thirteen;
  Text ten;
};

TEST(UnixTimestamp, Rows) {
  const StampRow rows[] = {
      {"7 ms", kBase + 7ms, "1500000000007", "1500000000"},
      {"0 ms", kBase, "1500000000000", "1500000000"},
      {"999 ms", kBase + 999ms, "1500000000999", "1500000000"},
      {"45 ms of the next second", kBase + 1045ms, "1500000001045", "1500000001"},
  };
  for (const StampRow& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(UnixTimestamp(false, row.now), row.thirteen);
    EXPECT_EQ(UnixTimestamp(true, row.now), row.ten);
  }
}

TEST(UnixTimestamp, DoesNotDependOnTheTimeZone) {
  for (const char* zone : {"CST-8", "UTC0", "EST5EDT", "<+1245>-12:45"}) {
    SCOPED_TRACE(zone);
    testing::ScopedTimeZone scoped(zone);
    EXPECT_EQ(UnixTimestamp(false, kBase + 7ms), "1500000000007");
  }
}

TEST(UnixTimestamp, ReadsTheSystemClock) {
  const auto before = floor<milliseconds>(system_clock::now()).time_since_epoch().count();
  const Text stamp = UnixTimestamp();
  const auto after = floor<milliseconds>(system_clock::now()).time_since_epoch().count();
  ASSERT_EQ(stamp.size(), 13u);
  const long long value = std::stoll(stamp);
  EXPECT_GE(value, before);
  EXPECT_LE(value, after);
  EXPECT_EQ(UnixTimestamp(true).size(), 10u);
}

}  // namespace
}  // namespace miravel
