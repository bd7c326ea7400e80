#include "services/handlers.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "fake_gateway_fixture.h"
#include "services/share_password.h"
#include "services/two_in_one.h"

namespace miravel {
namespace {

// Controls as a map; records every read and write in order.
class FakeWindow : public WindowSystem {
 public:
  std::map<std::string, Text, std::less<>> texts;
  bool checked = false;
  std::vector<std::string> calls;

  Text ReadControlText(std::string_view control) override {
    calls.push_back("read " + std::string(control));
    auto found = texts.find(control);
    return found == texts.end() ? Text() : found->second;
  }
  void WriteControlText(std::string_view control, const Text& text) override {
    calls.push_back("write " + std::string(control));
    texts[std::string(control)] = text;
  }
  bool ReadCheckBox(std::string_view control) override {
    calls.push_back("check " + std::string(control));
    return checked;
  }
  void PutClipboardText(const Text&) override { calls.push_back("clipboard"); }
};

std::string Call(const char* verb, std::string_view control) {
  return verb + std::string(" ") + std::string(control);
}

class MergeClicked : public ::testing::TestWithParam<bool> {};

TEST_P(MergeClicked, WritesTheComposedLinkIntoTheAddressBoxOnly) {
  const Text item = "https://item.taobao.com/item.htm?id=123456789012";
  const Text coupon = "https://x.com/?activityId=abcdefghijklmnopqrstuvwxyz012345";
  FakeWindow window;
  window.texts[std::string(control::kItemLinkBox)] = item;
  window.texts[std::string(control::kCouponBox)] = coupon;
  window.texts[std::string(control::kPidBox)] = "mm_1";
  window.texts[std::string(control::kAddressBox)] = "earlier text";
  window.checked = GetParam();

  OnMergeClicked(window);

  Text joined = coupon;
  EXPECT_EQ(window.texts[std::string(control::kAddressBox)],
            ComposeTwoInOneLink(item, joined, "mm_1", GetParam()));
  EXPECT_EQ(window.texts[std::string(control::kItemLinkBox)], item);
  EXPECT_EQ(window.texts[std::string(control::kCouponBox)], coupon);
  EXPECT_EQ(window.texts[std::string(control::kPidBox)], "mm_1");
  const std::vector<std::string> expected = {
      Call("read", control::kItemLinkBox), Call("read", control::kCouponBox),
      Call("read", control::kPidBox), Call("check", control::kForcedTargetingBox),
      Call("write", control::kAddressBox)};
  EXPECT_EQ(window.calls, expected);
}

INSTANTIATE_TEST_SUITE_P(ForcedTargeting, MergeClicked, ::testing::Bool());

using ConvertClicked = FakeGatewayTest;

TEST_F(ConvertClicked, ReadsAddressThenTitleAndReplacesTheResult) {
  WarmUpGateway();
  FakeWindow window;
  window.texts[std::string(control::kAddressBox)] = "https://item.taobao.com/item.htm?id=612345678901";
  window.texts[std::string(control::kTitleBox)] = "title";
  window.texts[std::string(control::kResultBox)] = "earlier";

  OnConvertClicked(window);
  const Text first = window.texts[std::string(control::kResultBox)];
  EXPECT_EQ(first, LastFieldText("password"));
  EXPECT_NE(first, "");
  const std::vector<std::string> expected = {Call("read", control::kAddressBox),
                                             Call("read", control::kTitleBox),
                                             Call("write", control::kResultBox)};
  EXPECT_EQ(window.calls, expected);

  // A later Convert that finds no password empties the result box.
  Control("/_fake/answer?mode=none");
  OnConvertClicked(window);
  EXPECT_EQ(window.texts[std::string(control::kResultBox)], "");
}

TEST_F(ConvertClicked, EmptyBoxesStillSendARequest) {
  WarmUpGateway();
  FakeWindow window;
  OnConvertClicked(window);
  EXPECT_EQ(LastField("kind"), "signed");
  EXPECT_EQ(window.texts[std::string(control::kResultBox)], LastFieldText("password"));
}

}  // namespace
}  // namespace miravel
