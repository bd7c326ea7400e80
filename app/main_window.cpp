#include "app/main_window.h"

#include <QCheckBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <limits>
#include <string_view>

#include "app/copy_handler.h"
#include "app/gbk_qstring.h"
#include "services/handlers.h"

namespace miravel {
namespace {

enum class Kind { kLabel, kEditBox, kButton, kCheckBox };

struct ControlData {
  std::string_view name;
  Kind kind;
  int left, top, width, height;
  std::string_view text;
};

// The window data: client coordinates, in creation (tab) order.
constexpr ControlData kControls[] = {
    {"标签4", Kind::kLabel, 16, 8, 72, 24, "商品链接:"},
    {"编辑框4", Kind::kEditBox, 77, 10, 296, 24, ""},
    {"标签5", Kind::kLabel, 23, 46, 72, 24, "优惠券:"},
    {"编辑框5", Kind::kEditBox, 73, 48, 296, 24, ""},
    {"标签6", Kind::kLabel, 24, 96, 32, 16, "pid"},
    {"编辑框6", Kind::kEditBox, 80, 88, 152, 32, ""},
    {"按钮3", Kind::kButton, 264, 88, 136, 32, "合并二合一"},
    {"选择框1", Kind::kCheckBox, 80, 128, 136, 16, "强制定向"},
    {"标签1", Kind::kLabel, 24, 170, 32, 16, "标题:"},
    {"编辑框1", Kind::kEditBox, 64, 168, 328, 24, ""},
    {"标签2", Kind::kLabel, 24, 202, 32, 16, "地址:"},
    {"编辑框2", Kind::kEditBox, 64, 200, 328, 24, ""},
    {"标签3", Kind::kLabel, 23, 240, 40, 24, "结果:"},
    {"编辑框3", Kind::kEditBox, 62, 235, 144, 32, ""},
    {"按钮2", Kind::kButton, 208, 234, 48, 32, "复制"},
    {"按钮1", Kind::kButton, 274, 232, 128, 48, "转换"},
};

// The labels were laid out for a 12-pixel system font; a larger default
// would clip them.
constexpr int kFontPixelSize = 12;

QWidget* CreateControl(const ControlData& data, QWidget* parent) {
  const QString text = Utf8Literal(data.text);
  QWidget* widget = nullptr;
  switch (data.kind) {
    case Kind::kLabel: {
      auto* label = new QLabel(text, parent);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      widget = label;
      break;
    }
    case Kind::kEditBox: {
      auto* box = new QLineEdit(parent);
      box->setMaxLength(std::numeric_limits<int>::max());
      box->setFrame(true);
      QPalette colours = box->palette();
      colours.setColor(QPalette::Base, Qt::white);
      colours.setColor(QPalette::Text, Qt::black);
      box->setPalette(colours);
      widget = box;
      break;
    }
    case Kind::kButton: {
      auto* button = new QPushButton(text, parent);
      button->setAutoDefault(false);
      widget = button;
      break;
    }
    case Kind::kCheckBox:
      widget = new QCheckBox(text, parent);
      break;
  }
  widget->setObjectName(Utf8Literal(data.name));
  widget->setGeometry(data.left, data.top, data.width, data.height);
  return widget;
}

}  // namespace

MainWindow::MainWindow() : QWidget(nullptr), windowSystem_(*this) {
  setWindowTitle(QStringLiteral("Miravel"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setBackgroundRole(QPalette::Button);
  setAutoFillBackground(true);
  QFont font = this->font();
  font.setPixelSize(kFontPixelSize);
  setFont(font);
  CreateControls();
  ConnectHandlers();
  setFixedSize(kMainWindowWidth, kMainWindowHeight);
  CentreOnPrimaryScreen();
}

void MainWindow::CreateControls() {
  for (const ControlData& data : kControls) CreateControl(data, this);
}

void MainWindow::ConnectHandlers() {
  const auto connectButton = [this](std::string_view name, void (*handler)(WindowSystem&)) {
    auto* button = findChild<QPushButton*>(Utf8Literal(name));
    connect(button, &QPushButton::clicked, this, [this, handler] { handler(windowSystem_); });
  };
  connectButton(control::kConvertButton, &OnConvertClicked);
  connectButton(control::kCopyButton, &OnCopyClicked);
  connectButton(control::kMergeButton, &OnMergeClicked);
}

// The outer size is fixed, so the frame-less placement is the one to centre.
void MainWindow::CentreOnPrimaryScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->geometry();
  move(area.x() + (area.width() - kMainWindowWidth) / 2,
       area.y() + (area.height() - kMainWindowHeight) / 2);
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  QWindow* handle = windowHandle();
  if (handle != nullptr && handle != watchedHandle_ && !frameFitted_) {
    handle->installEventFilter(this);
    watchedHandle_ = handle;
  }
}

// A window manager's frame is known only once the window is exposed.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == watchedHandle_ && event->type() == QEvent::Expose && !frameFitted_) FitFrame();
  return QWidget::eventFilter(watched, event);
}

void MainWindow::FitFrame() {
  const QMargins frame = watchedHandle_->frameMargins();
  if (frame.isNull()) return;
  frameFitted_ = true;
  watchedHandle_->removeEventFilter(this);
  setFixedSize(kMainWindowWidth - frame.left() - frame.right(),
               kMainWindowHeight - frame.top() - frame.bottom());
  CentreOnPrimaryScreen();
}

}  // namespace miravel
