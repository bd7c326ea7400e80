#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace miravel {
namespace {

struct ParseRow {
  const char* name;
  std::vector<std::string_view> args;
  Command command;
  std::string url = "";
  std::string title = "";
  std::string batch = "";
  std::string item = "";
  std::string coupon = "";
  std::string pid = "";
  bool forcedTargeting = false;
};

class ParseCommandLineTest : public ::testing::TestWithParam<ParseRow> {};

TEST_P(ParseCommandLineTest, Parses) {
  const ParseRow& row = GetParam();
  const CommandLine line = ParseCommandLine(row.args);
  ASSERT_EQ(line.command, row.command) << line.error;
  EXPECT_EQ(line.url, row.url);
  EXPECT_EQ(line.title, row.title);
  EXPECT_EQ(line.batchSource, row.batch);
  EXPECT_EQ(line.itemLink, row.item);
  EXPECT_EQ(line.couponLink, row.coupon);
  EXPECT_EQ(line.pid, row.pid);
  EXPECT_EQ(line.forcedTargeting, row.forcedTargeting);
}

const ParseRow kParseRows[] = {
    {"NoArgumentsIsTheWindow", {}, Command::kWindow},
    {"Help", {"--help"}, Command::kHelp},
    {"ShortHelp", {"-h"}, Command::kHelp},
    {"HelpOfACommand", {"merge", "--help"}, Command::kHelp},
    {"Version", {"--version"}, Command::kVersion},
    {"ConvertUrl", {"convert", "http://a/?id=1"}, Command::kConvert, "http://a/?id=1"},
    {"ConvertWithTitleBefore", {"convert", "--title", "标题", "u"}, Command::kConvert, "u", "标题"},
    {"ConvertWithTitleAfter", {"convert", "u", "--title", "t"}, Command::kConvert, "u", "t"},
    {"ConvertTitleWithEquals", {"convert", "--title=a=b", "u"}, Command::kConvert, "u", "a=b"},
    {"ConvertEmptyTitle", {"convert", "--title", "", "u"}, Command::kConvert, "u", ""},
    {"ConvertTitleLooksLikeAnOption", {"convert", "--title", "--help", "u"}, Command::kConvert, "u",
     "--help"},
    {"ConvertUrlAfterDoubleDash", {"convert", "--", "-odd"}, Command::kConvert, "-odd"},
    {"BatchFile", {"convert", "--batch", "links.tsv"}, Command::kConvertBatch, "", "", "links.tsv"},
    {"BatchStdin", {"convert", "--batch", "-"}, Command::kConvertBatch, "", "", "-"},
    {"Merge", {"merge", "--item", "i", "--coupon", "c"}, Command::kMerge, "", "", "", "i", "c"},
    {"MergeEverything",
     {"merge", "--force-targeting", "--coupon=c", "--pid", "mm_1_2_3", "--item", "i"},
     Command::kMerge, "", "", "", "i", "c", "mm_1_2_3", true},
    {"MergeEmptyLinks", {"merge", "--item", "", "--coupon", ""}, Command::kMerge},
};

INSTANTIATE_TEST_SUITE_P(Rows, ParseCommandLineTest, ::testing::ValuesIn(kParseRows),
                         [](const auto& info) { return std::string(info.param.name); });

struct UsageErrorRow {
  const char* name;
  std::vector<std::string_view> args;
  const char* mentions;  // the message names what is wrong
};

class UsageErrorTest : public ::testing::TestWithParam<UsageErrorRow> {};

TEST_P(UsageErrorTest, IsOneLineNamingTheProblem) {
  const UsageErrorRow& row = GetParam();
  const CommandLine line = ParseCommandLine(row.args);
  ASSERT_EQ(line.command, Command::kUsageError);
  EXPECT_NE(line.error.find(row.mentions), std::string::npos) << line.error;
  EXPECT_EQ(line.error.find('\n'), std::string::npos);
}

const UsageErrorRow kUsageErrorRows[] = {
    {"UnknownCommand", {"frobnicate"}, "frobnicate"},
    {"UnknownTopLevelOption", {"--verbose"}, "--verbose"},
    {"VersionWithExtra", {"--version", "x"}, "--version"},
    {"ConvertWithoutUrl", {"convert"}, "URL"},
    {"ConvertTwoUrls", {"convert", "a", "b"}, "b"},
    {"ConvertTitleWithoutValue", {"convert", "u", "--title"}, "--title"},
    {"ConvertTitleTwice", {"convert", "--title", "a", "--title", "b", "u"}, "twice"},
    {"ConvertUnknownOption", {"convert", "--pid", "p", "u"}, "--pid"},
    {"BatchAndUrl", {"convert", "--batch", "f", "u"}, "not both"},
    {"BatchAndTitle", {"convert", "--batch", "f", "--title", "t"}, "--title"},
    {"BatchWithoutFile", {"convert", "--batch"}, "--batch"},
    {"MergeWithoutItem", {"merge", "--coupon", "c"}, "--item"},
    {"MergeWithoutCoupon", {"merge", "--item", "i"}, "--coupon"},
    {"MergePositional", {"merge", "--item", "i", "--coupon", "c", "extra"}, "extra"},
    {"MergeFlagWithValue", {"merge", "--item", "i", "--coupon", "c", "--force-targeting=no"},
     "--force-targeting"},
    {"MergeUnknownOption", {"merge", "--item", "i", "--coupon", "c", "--title", "t"}, "--title"},
};

INSTANTIATE_TEST_SUITE_P(Rows, UsageErrorTest, ::testing::ValuesIn(kUsageErrorRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace miravel
