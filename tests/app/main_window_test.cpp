#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <memory>
#include <string>

#include "qt_application.h"

namespace miravel {
namespace {

struct ExpectedControl {
  const char* name;
  const char* kind;  // Qt class standing for the window data's kind
  int left, top, width, height;
  const char* text;
};

// Restated from the window data, not taken from the window's own table.
const ExpectedControl kExpectedControls[] = {
    {"标签4", "QLabel", 16, 8, 72, 24, "商品链接:"},
    {"编辑框4", "QLineEdit", 77, 10, 296, 24, ""},
    {"标签5", "QLabel", 23, 46, 72, 24, "优惠券:"},
    {"编辑框5", "QLineEdit", 73, 48, 296, 24, ""},
    {"标签6", "QLabel", 24, 96, 32, 16, "pid"},
    {"编辑框6", "QLineEdit", 80, 88, 152, 32, ""},
    {"按钮3", "QPushButton", 264, 88, 136, 32, "合并二合一"},
    {"选择框1", "QCheckBox", 80, 128, 136, 16, "强制定向"},
    {"标签1", "QLabel", 24, 170, 32, 16, "标题:"},
    {"编辑框1", "QLineEdit", 64, 168, 328, 24, ""},
    {"标签2", "QLabel", 24, 202, 32, 16, "地址:"},
    {"编辑框2", "QLineEdit", 64, 200, 328, 24, ""},
    {"标签3", "QLabel", 23, 240, 40, 24, "结果:"},
    {"编辑框3", "QLineEdit", 62, 235, 144, 32, ""},
    {"按钮2", "QPushButton", 208, 234, 48, 32, "复制"},
    {"按钮1", "QPushButton", 274, 232, 128, 48, "转换"},
};

QString ControlText(const QWidget* widget) {
  if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
  if (const auto* box = qobject_cast<const QLineEdit*>(widget)) return box->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
  return QStringLiteral("<no text>");
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::TestApplication();
    window_ = std::make_unique<MainWindow>();
    window_->show();
  }

  std::unique_ptr<MainWindow> window_;
};

class MainWindowControlTest : public MainWindowTest,
                              public ::testing::WithParamInterface<ExpectedControl> {};

TEST_P(MainWindowControlTest, HasItsKindPlaceSizeAndText) {
  const ExpectedControl& expected = GetParam();
  const auto* widget = window_->findChild<QWidget*>(QString::fromUtf8(expected.name));
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->parentWidget(), window_.get());
  EXPECT_STREQ(widget->metaObject()->className(), expected.kind);
  EXPECT_EQ(widget->geometry(), QRect(expected.left, expected.top, expected.width, expected.height));
  EXPECT_EQ(ControlText(widget).toStdString(), expected.text);
  EXPECT_TRUE(widget->isVisible());
}

INSTANTIATE_TEST_SUITE_P(WindowData, MainWindowControlTest, ::testing::ValuesIn(kExpectedControls),
                         [](const auto& info) { return "control" + std::to_string(info.index); });

TEST_F(MainWindowTest, HoldsExactlyTheSixteenControls) {
  const auto children = window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  EXPECT_EQ(children.size(), static_cast<qsizetype>(std::size(kExpectedControls)));
}

TEST_F(MainWindowTest, IsAFixedSizeCentredWindowWithoutMaximise) {
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Miravel"));
  EXPECT_TRUE(window_->isWindow());
  EXPECT_EQ(window_->parentWidget(), nullptr);
  EXPECT_FALSE(window_->isModal());
  // No frame under the offscreen platform: the client is the outer size.
  EXPECT_EQ(window_->size(), QSize(458, 349));
  EXPECT_EQ(window_->minimumSize(), QSize(458, 349));
  EXPECT_EQ(window_->maximumSize(), QSize(458, 349));

  const Qt::WindowFlags flags = window_->windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));

  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(window_->pos(), QPoint(screen.x() + (screen.width() - 458) / 2,
                                   screen.y() + (screen.height() - 349) / 2));
}

TEST_F(MainWindowTest, PaintsTheButtonFace) {
  EXPECT_TRUE(window_->autoFillBackground());
  EXPECT_EQ(window_->backgroundRole(), QPalette::Button);
}

TEST_F(MainWindowTest, EditBoxesAreOrdinaryWhiteSingleLineBoxes) {
  const auto boxes = window_->findChildren<QLineEdit*>();
  ASSERT_EQ(boxes.size(), 6);
  for (const QLineEdit* box : boxes) {
    SCOPED_TRACE(box->objectName().toStdString());
    EXPECT_FALSE(box->isReadOnly());
    EXPECT_EQ(box->echoMode(), QLineEdit::Normal);
    EXPECT_TRUE(box->hasFrame());
    EXPECT_TRUE(box->alignment().testFlag(Qt::AlignLeft));
    EXPECT_GT(box->maxLength(), 1 << 20);  // no practical limit
    EXPECT_EQ(box->palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(box->palette().color(QPalette::Text), QColor(Qt::black));
  }
}

TEST_F(MainWindowTest, CheckBoxStartsUncheckedAndTogglesOnEachClick) {
  auto* box = window_->findChild<QCheckBox*>(QStringLiteral("选择框1"));
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(box->isChecked());
  box->click();
  EXPECT_TRUE(box->isChecked());
  box->click();
  EXPECT_FALSE(box->isChecked());
}

TEST_F(MainWindowTest, LongTextFitsInABoxWhole) {
  auto* box = window_->findChild<QLineEdit*>(QStringLiteral("编辑框2"));
  const QString longLink = QString(100000, QLatin1Char('a'));
  box->setText(longLink);
  EXPECT_EQ(box->text(), longLink);
}

}  // namespace
}  // namespace miravel
