#include <gtest/gtest.h>

#include <cstdio>

#include "text/primitives.h"
#include "text/value.h"

namespace miravel {
namespace {

TEST(TextArray, OneBasedAccess) {
  TextArray array;
  AppendText(array, "a");
  AppendText(array, "b");
  EXPECT_EQ(ArraySize(array), 2);
  EXPECT_EQ(array[1], "a");
  array[2].assign(1, 'c');
  EXPECT_EQ(array[2], "c");
}

TEST(TextArrayDeathTest, IndexOutsideTheArrayIsAFatalStop) {
  const TextArray array({"a"});
  EXPECT_DEATH((void)array[0], "fatal: TextArray index 0 is outside 1\\.\\.1");
  EXPECT_DEATH((void)array[2], "fatal: TextArray index 2 is outside 1\\.\\.1");
  TextArray empty;
  EXPECT_DEATH((void)empty[1], "fatal: TextArray index 1 is outside 1\\.\\.0");
}

void ReportingHook(std::string_view message) {
  std::fprintf(stderr, "hook saw <%.*s>\n", static_cast<int>(message.size()), message.data());
}

TEST(TextArrayDeathTest, TheHookSeesTheMessage) {
  EXPECT_DEATH(
      {
        SetFatalStopHook(ReportingHook);
        TextArray array;
        (void)array[-1];
      },
      "hook saw <TextArray index -1 is outside 1\\.\\.0>");
}

}  // namespace
}  // namespace miravel
