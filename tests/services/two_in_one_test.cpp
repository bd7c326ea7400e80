#include "services/two_in_one.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace miravel {
namespace {

const Text kLanding = "http://uland.taobao.com/coupon/edetail?activityId=";
const Text kIdA = "abcdefghijklmnopqrstuvwxyz012345";  // 32 word characters
const Text kIdB = "ZYXWVUTSRQPONMLKJIHGFEDCBA_98765";
const Text kItem = "https://item.taobao.com/item.htm?id=123456789012";
const Text kCoupon = "https://uland.taobao.com/quan/detail?sellerId=9&activityId=" + kIdA;

struct ComposeCase {
  std::string name;
  Text itemLink;
  Text couponLink;
  Text pid;
  bool forcedTargeting;
  Text expected;
};

void PrintTo(const ComposeCase& c, std::ostream* os) { *os << c.name; }

class ComposeTwoInOne : public ::testing::TestWithParam<ComposeCase> {};

TEST_P(ComposeTwoInOne, BuildsTheLandingLink) {
  const ComposeCase& c = GetParam();
  Text coupon = c.couponLink;
  EXPECT_EQ(ComposeTwoInOneLink(c.itemLink, coupon, c.pid, c.forcedTargeting), c.expected);
  EXPECT_EQ(coupon, c.itemLink + "\r\n" + c.couponLink);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ComposeTwoInOne,
    ::testing::Values(
        ComposeCase{"ItemAndCoupon", kItem, kCoupon, "", false,
                    kLanding + kIdA + "&itemId=123456789012&src=czhk_cztkl"},
        ComposeCase{"PidThenTargeting", kItem, kCoupon, "mm_1_2_3", true,
                    kLanding + kIdA + "&itemId=123456789012&src=czhk_cztkl&pid=mm_1_2_3&dx=1"},
        ComposeCase{"TargetingWithoutPid", kItem, kCoupon, "", true,
                    kLanding + kIdA + "&itemId=123456789012&src=czhk_cztkl&dx=1"},
        ComposeCase{"PidOfSpacesGoesInUnchanged", kItem, kCoupon, "  ", false,
                    kLanding + kIdA + "&itemId=123456789012&src=czhk_cztkl&pid=  "},
        ComposeCase{"SecondActivityForm", kItem, "https://x.com/?activity_id=" + kIdA, "", false,
                    kLanding + kIdA + "&itemId=123456789012&src=czhk_cztkl"},
        ComposeCase{"FirstFormPresentBlocksSecond", kItem,
                    "https://x.com/?activityId=short&activity_id=" + kIdA, "", false,
                    kLanding + "&itemId=123456789012&src=czhk_cztkl"},
        ComposeCase{"CharactersBeyondTheIdsAreCut", "https://x.com/?id=1234567890123456789",
                    "https://x.com/?activityId=" + kIdA + "XYZ9", "", false,
                    kLanding + kIdA + "&itemId=123456789012345&src=czhk_cztkl"},
        ComposeCase{"TenDigitsGiveNoItemId", "https://x.com/?id=1234567890", kCoupon, "P", false,
                    kLanding + kIdA + "&itemId=&src=czhk_cztkl&pid=P"},
        ComposeCase{"NoActivity", kItem, "https://x.com/coupon", "", false,
                    kLanding + "&itemId=123456789012&src=czhk_cztkl"},
        ComposeCase{"LowerCaseMarkerIsNotTried", kItem, "https://x.com/?activityid=" + kIdA, "",
                    false, kLanding + "&itemId=123456789012&src=czhk_cztkl"},
        ComposeCase{"OtherCaseMatchesOnceTried", kItem,
                    "https://x.com/?ACTIVITYID=" + kIdA + "&activityId=" + kIdB, "", false,
                    kLanding + kIdA + "&itemId=123456789012&src=czhk_cztkl"},
        ComposeCase{"ItemLinkComesFirst", "https://x.com/?id=111111111111",
                    "https://y.com/?id=222222222222&activityId=" + kIdB, "", false,
                    kLanding + kIdB + "&itemId=111111111111&src=czhk_cztkl"},
        ComposeCase{"IdLaterInTheQuery", "https://detail.tmall.com/item.htm?spm=a1z10&id=612345678901",
                    kCoupon, "", false, kLanding + kIdA + "&itemId=612345678901&src=czhk_cztkl"},
        ComposeCase{"QuestionMarkIdIsPreferred",
                    "https://x.com/item.htm?id=111111111111&id=222222222222", kCoupon, "", false,
                    kLanding + kIdA + "&itemId=111111111111&src=czhk_cztkl"},
        ComposeCase{"NoIdAnywhere", "https://x.com/item.htm?spm=1", kCoupon, "", false,
                    kLanding + kIdA + "&itemId=&src=czhk_cztkl"},
        ComposeCase{"BothEmpty", "", "", "P", true,
                    kLanding + "&itemId=&src=czhk_cztkl&pid=P&dx=1"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace miravel
