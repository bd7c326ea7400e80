// The three buttons on the real window, against the local gateway.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <memory>
#include <string>

#include "app/gbk_qstring.h"
#include "app/main_window.h"
#include "local_gateway.h"
#include "qt_application.h"
#include "services/session_cookies.h"
#include "services/share_password.h"

namespace miravel {
namespace {

const QString kActivityId = QStringLiteral("0123456789abcdef0123456789ABCDEF");
const QRegularExpression kSharePassword(QStringLiteral("^￥[^￥]+￥$"));

class HandlersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::TestApplication();
    SessionCookies.clear();
    window_ = std::make_unique<MainWindow>();
    window_->show();
  }
  void TearDown() override { SessionCookies.clear(); }

  QLineEdit* Box(std::string_view name) { return window_->findChild<QLineEdit*>(Utf8Literal(name)); }
  void Click(std::string_view name) {
    QTest::mouseClick(window_->findChild<QAbstractButton*>(Utf8Literal(name)), Qt::LeftButton);
  }

  std::unique_ptr<MainWindow> window_;
};

TEST_F(HandlersTest, MergeWritesTheLinkIntoTheAddressBoxOnly) {
  Box(control::kItemLinkBox)->setText(QStringLiteral("https://item.taobao.com/item.htm?id=612345678901"));
  Box(control::kCouponBox)->setText(QStringLiteral("https://uland.taobao.com/quan?activityId=") + kActivityId);
  Box(control::kPidBox)->setText(QStringLiteral("mm_1_2_3"));
  Box(control::kAddressBox)->setText(QStringLiteral("earlier address"));
  const QString base = QStringLiteral("http://uland.taobao.com/coupon/edetail?activityId=") + kActivityId +
                       QStringLiteral("&itemId=612345678901&src=czhk_cztkl&pid=mm_1_2_3");

  Click(control::kMergeButton);
  EXPECT_EQ(Box(control::kAddressBox)->text(), base);

  window_->findChild<QCheckBox*>(Utf8Literal(control::kForcedTargetingBox))->setChecked(true);
  Click(control::kMergeButton);
  EXPECT_EQ(Box(control::kAddressBox)->text(), base + QStringLiteral("&dx=1"));

  EXPECT_EQ(Box(control::kItemLinkBox)->text(), QStringLiteral("https://item.taobao.com/item.htm?id=612345678901"));
  EXPECT_EQ(Box(control::kCouponBox)->text(), QStringLiteral("https://uland.taobao.com/quan?activityId=") + kActivityId);
  EXPECT_EQ(Box(control::kPidBox)->text(), QStringLiteral("mm_1_2_3"));
  EXPECT_TRUE(Box(control::kTitleBox)->text().isEmpty());
  EXPECT_TRUE(Box(control::kResultBox)->text().isEmpty());
}

TEST_F(HandlersTest, ConvertFillsTheResultBoxAndCopyPutsItOnTheClipboard) {
  testing::LocalGateway gateway;
  ASSERT_TRUE(gateway.ok());
  WarmUpGateway();
  Box(control::kAddressBox)->setText(QStringLiteral("https://item.taobao.com/item.htm?id=612345678901"));
  Box(control::kTitleBox)->setText(QStringLiteral("测试标题 \"quoted\""));

  Click(control::kConvertButton);
  const QString password = Box(control::kResultBox)->text();
  EXPECT_TRUE(kSharePassword.match(password).hasMatch()) << password.toStdString();
  EXPECT_EQ(gateway.Control("/_fake/last-title"), "测试标题 \"quoted\"");

  Click(control::kCopyButton);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), password);
}

TEST_F(HandlersTest, ConvertReplacesAnEarlierResultWithEmptyTextWhenTheGatewayFails) {
  testing::LocalGateway gateway;
  ASSERT_TRUE(gateway.ok());
  WarmUpGateway();
  Box(control::kAddressBox)->setText(QStringLiteral("https://item.taobao.com/item.htm?id=612345678901"));
  Click(control::kConvertButton);
  ASSERT_TRUE(kSharePassword.match(Box(control::kResultBox)->text()).hasMatch());

  gateway.Control("/_fake/answer?mode=none");
  Click(control::kConvertButton);
  EXPECT_EQ(Box(control::kResultBox)->text(), QString());

  gateway.Control("/_fake/answer?mode=normal");
  Click(control::kConvertButton);
  ASSERT_TRUE(kSharePassword.match(Box(control::kResultBox)->text()).hasMatch());
  gateway.GoDown();
  Click(control::kConvertButton);
  EXPECT_EQ(Box(control::kResultBox)->text(), QString());

  Click(control::kCopyButton);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString());
}

}  // namespace
}  // namespace miravel
