#ifndef MIRAVEL_APP_MAIN_WINDOW_H_
#define MIRAVEL_APP_MAIN_WINDOW_H_

// The program's only window: sixteen controls at fixed places, the three
// buttons wired to their handlers, nothing else. Outer size 458 x 349 where
// the window manager draws a frame (the client shrinks by the frame once it
// is known); without a frame the client itself is 458 x 349.

#include <QWidget>

#include "app/qt_window_system.h"

class QWindow;

namespace miravel {

inline constexpr int kMainWindowWidth = 458;
inline constexpr int kMainWindowHeight = 349;

class MainWindow final : public QWidget {
  Q_OBJECT

 public:
  MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // The window-system operations the handlers use, on this window.
  WindowSystem& windowSystem() { return windowSystem_; }

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void ConnectHandlers();
  void FitFrame();
  void CentreOnPrimaryScreen();

  QtWindowSystem windowSystem_;
  QWindow* watchedHandle_ = nullptr;
  bool frameFitted_ = false;
};

}  // namespace miravel

#endif  // MIRAVEL_APP_MAIN_WINDOW_H_
