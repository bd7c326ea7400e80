#include "app/lifecycle.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <cstdlib>
#include <memory>

#include "app/gbk_qstring.h"
#include "app/main_window.h"
#include "services/session_cookies.h"
#include "services/share_password.h"
#include "text/value.h"

namespace miravel {
namespace {

std::unique_ptr<MainWindow>& MainWindowSlot() {
  static std::unique_ptr<MainWindow> window;
  return window;
}

void ShowFatalStop(std::string_view message) {
  MainWindow* window = LoadedMainWindow();
  if (window == nullptr || !window->isVisible()) return;
  QMessageBox::critical(window, QStringLiteral("Miravel"), ToQString(Text(message)));
}

// Ends the loop at the window's first paint, i.e. once it is on screen.
class QuitWhenPainted final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      QCoreApplication::exit(0);
    }
    return false;
  }
};

bool ExitWhenShownRequested() {
  const char* value = std::getenv("MIRAVEL_EXIT_WHEN_SHOWN");
  return value != nullptr && *value != '\0';
}

}  // namespace

void ReleaseSessionCookies() {
  if (SessionCookies.empty()) return;
  SessionCookies.clear();
  SessionCookies.shrink_to_fit();
}

int StartupRoutine() {
  WarmUpGateway();
  auto& window = MainWindowSlot();
  window = std::make_unique<MainWindow>();
  if (ExitWhenShownRequested()) window->installEventFilter(new QuitWhenPainted(window.get()));
  window->show();
  SetFatalStopHook(&ShowFatalStop);
  return 0;
}

MainWindow* LoadedMainWindow() { return MainWindowSlot().get(); }

void UnloadMainWindow() {
  SetFatalStopHook(nullptr);
  MainWindowSlot().reset();
}

int RunWindowProgram(int& argc, char** argv) {
  QApplication application(argc, argv);
  std::atexit(&ReleaseSessionCookies);
  StartupRoutine();
  QApplication::exec();
  UnloadMainWindow();
  return 0;
}

}  // namespace miravel
