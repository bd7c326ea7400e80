#include "app/qt_window_system.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>

#include "app/gbk_qstring.h"

namespace miravel {

template <typename Widget>
Widget* QtWindowSystem::Find(std::string_view control) const {
  return root_.findChild<Widget*>(Utf8Literal(control));
}

Text QtWindowSystem::ReadControlText(std::string_view control) {
  if (auto* box = Find<QLineEdit>(control)) return ToText(box->text());
  if (auto* label = Find<QLabel>(control)) return ToText(label->text());
  if (auto* button = Find<QAbstractButton>(control)) return ToText(button->text());
  return {};
}

void QtWindowSystem::WriteControlText(std::string_view control, const Text& text) {
  if (auto* box = Find<QLineEdit>(control)) {
    box->setText(ToQString(text));
  } else if (auto* label = Find<QLabel>(control)) {
    label->setText(ToQString(text));
  } else if (auto* button = Find<QAbstractButton>(control)) {
    button->setText(ToQString(text));
  }
}

bool QtWindowSystem::ReadCheckBox(std::string_view control) {
  const auto* box = Find<QCheckBox>(control);
  return box != nullptr && box->isChecked();
}

void QtWindowSystem::PutClipboardText(const Text& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return;
  clipboard->setText(ToQString(text), QClipboard::Clipboard);
}

}  // namespace miravel
