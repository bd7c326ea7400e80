#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <memory>
#include <string>
#include <vector>

#include "app/copy_handler.h"
#include "app/gbk_qstring.h"
#include "app/main_window.h"
#include "qt_application.h"

namespace miravel {
namespace {

// "中文￥" in GBK.
const Text kGbkChinese = "\xD6\xD0\xCE\xC4\xA3\xA4";

TEST(GbkQStringTest, CrossesBothWays) {
  struct Row {
    const char* name;
    Text gbk;
    QString unicode;
  } const rows[] = {
      {"empty", "", QString()},
      {"ascii", "https://a.b/?id=1&x=\"q\"", QStringLiteral("https://a.b/?id=1&x=\"q\"")},
      {"chinese and yen sign", kGbkChinese, QStringLiteral("中文￥")},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ToQString(row.gbk), row.unicode);
    EXPECT_EQ(ToText(row.unicode), row.gbk);
  }
}

TEST(GbkQStringTest, WhatGbkCannotHoldBecomesQuestionMark) {
  EXPECT_EQ(ToText(QStringLiteral("a\u00E9b")), Text("a?b"));  // é is not in GBK
}

TEST(GbkQStringTest, ANulEndsTheText) {
  EXPECT_EQ(ToText(QString("ab") + QChar(0) + QString("cd")), Text("ab"));
}

class QtWindowSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::TestApplication();
    window_ = std::make_unique<MainWindow>();
    window_->show();
  }

  QLineEdit* Box(std::string_view name) { return window_->findChild<QLineEdit*>(Utf8Literal(name)); }
  QString Clipboard() { return QGuiApplication::clipboard()->text(); }
  WindowSystem& System() { return window_->windowSystem(); }

  std::unique_ptr<MainWindow> window_;
};

TEST_F(QtWindowSystemTest, ReadsAndWritesEachEditBoxAsGbk) {
  for (const std::string_view name :
       {control::kTitleBox, control::kAddressBox, control::kResultBox, control::kItemLinkBox,
        control::kCouponBox, control::kPidBox}) {
    SCOPED_TRACE(std::string(name));
    EXPECT_EQ(System().ReadControlText(name), Text());
    System().WriteControlText(name, kGbkChinese);
    EXPECT_EQ(Box(name)->text(), QStringLiteral("中文￥"));
    Box(name)->setText(QStringLiteral("标题 x"));
    EXPECT_EQ(System().ReadControlText(name), Text("\xB1\xEA\xCC\xE2 x"));
    System().WriteControlText(name, Text());
    EXPECT_TRUE(Box(name)->text().isEmpty());
  }
}

TEST_F(QtWindowSystemTest, WritingOneBoxLeavesTheOthers) {
  Box(control::kTitleBox)->setText(QStringLiteral("title"));
  System().WriteControlText(control::kAddressBox, "addr");
  EXPECT_EQ(System().ReadControlText(control::kTitleBox), Text("title"));
  EXPECT_EQ(System().ReadControlText(control::kResultBox), Text());
}

TEST_F(QtWindowSystemTest, ReadsTheCheckBox) {
  auto* box = window_->findChild<QCheckBox*>(Utf8Literal(control::kForcedTargetingBox));
  EXPECT_FALSE(System().ReadCheckBox(control::kForcedTargetingBox));
  box->setChecked(true);
  EXPECT_TRUE(System().ReadCheckBox(control::kForcedTargetingBox));
}

TEST_F(QtWindowSystemTest, UnknownControlsReadEmptyAndIgnoreWrites) {
  EXPECT_EQ(System().ReadControlText("编辑框9"), Text());
  EXPECT_FALSE(System().ReadCheckBox(control::kTitleBox));
  System().WriteControlText("编辑框9", "x");
}

TEST_F(QtWindowSystemTest, PutsTextOnTheClipboard) {
  System().PutClipboardText(kGbkChinese);
  EXPECT_EQ(Clipboard(), QStringLiteral("中文￥"));
}

// The result box's text goes to the clipboard, replacing what was there, an
// empty text too.
TEST_F(QtWindowSystemTest, CopyButtonPutsTheResultBoxOnTheClipboard) {
  QGuiApplication::clipboard()->setText(QStringLiteral("earlier"));
  Box(control::kTitleBox)->setText(QStringLiteral("not this"));
  Box(control::kResultBox)->setText(QStringLiteral("￥AbC123￥"));
  window_->findChild<QAbstractButton*>(Utf8Literal(control::kCopyButton))->click();
  EXPECT_EQ(Clipboard(), QStringLiteral("￥AbC123￥"));

  Box(control::kResultBox)->clear();
  window_->findChild<QAbstractButton*>(Utf8Literal(control::kCopyButton))->click();
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_TRUE(data->hasText());
  EXPECT_EQ(Clipboard(), QString());
}

// What Copy does, step by step, on a fake window.
class RecordingWindow final : public WindowSystem {
 public:
  Text ReadControlText(std::string_view control) override {
    steps.push_back("read " + std::string(control));
    return control == control::kResultBox ? "\xA3\xA4x\xA3\xA4" : "other";
  }
  void WriteControlText(std::string_view control, const Text&) override {
    steps.push_back("write " + std::string(control));
  }
  bool ReadCheckBox(std::string_view control) override {
    steps.push_back("check " + std::string(control));
    return false;
  }
  void PutClipboardText(const Text& text) override { steps.push_back("clipboard " + text); }

  std::vector<std::string> steps;
};

TEST(OnCopyClickedTest, ReadsTheResultBoxThenPutsItOnTheClipboard) {
  RecordingWindow window;
  OnCopyClicked(window);
  EXPECT_EQ(window.steps, (std::vector<std::string>{"read 编辑框3", "clipboard \xA3\xA4x\xA3\xA4"}));
}

}  // namespace
}  // namespace miravel
