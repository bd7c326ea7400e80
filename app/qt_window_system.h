#ifndef MIRAVEL_APP_QT_WINDOW_SYSTEM_H_
#define MIRAVEL_APP_QT_WINDOW_SYSTEM_H_

// WindowSystem over a Qt widget tree: controls are the root's descendants
// found by object name. A name that is not there, or names a control of
// another kind, reads as empty text / unchecked and ignores writes.

#include <QWidget>

#include "services/window_system.h"

namespace miravel {

class QtWindowSystem final : public WindowSystem {
 public:
  explicit QtWindowSystem(QWidget& root) : root_(root) {}
  QtWindowSystem(const QtWindowSystem&) = delete;
  QtWindowSystem& operator=(const QtWindowSystem&) = delete;

  Text ReadControlText(std::string_view control) override;
  void WriteControlText(std::string_view control, const Text& text) override;
  bool ReadCheckBox(std::string_view control) override;
  void PutClipboardText(const Text& text) override;

 private:
  template <typename Widget>
  Widget* Find(std::string_view control) const;

  QWidget& root_;
};

}  // namespace miravel

#endif  // MIRAVEL_APP_QT_WINDOW_SYSTEM_H_
