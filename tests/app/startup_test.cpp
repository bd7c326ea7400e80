#include "app/lifecycle.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <string>

#include "app/main_window.h"
#include "local_gateway.h"
#include "qt_application.h"
#include "services/session_cookies.h"
#include "text/value.h"

namespace miravel {
namespace {

// Notes what SessionCookies held when the main window first took an event,
// which it does while it builds its controls.
class WindowBirthWatcher final : public QObject {
 public:
  bool seen = false;
  Text cookiesAtBirth;

 protected:
  bool eventFilter(QObject* watched, QEvent*) override {
    if (!seen && dynamic_cast<MainWindow*>(watched) != nullptr) {
      seen = true;
      cookiesAtBirth = SessionCookies;
    }
    return false;
  }
};

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::TestApplication();
    SessionCookies.clear();
  }
  void TearDown() override {
    UnloadMainWindow();
    SessionCookies.clear();
  }
};

TEST_F(StartupTest, WarmsUpBeforeTheWindowExistsThenShowsIt) {
  testing::LocalGateway gateway;
  ASSERT_TRUE(gateway.ok());
  WindowBirthWatcher watcher;
  qApp->installEventFilter(&watcher);
  EXPECT_EQ(StartupRoutine(), 0);
  qApp->removeEventFilter(&watcher);

  ASSERT_TRUE(watcher.seen);
  EXPECT_NE(watcher.cookiesAtBirth.find("_m_h5_tk="), Text::npos) << watcher.cookiesAtBirth;
  ASSERT_NE(LoadedMainWindow(), nullptr);
  EXPECT_TRUE(LoadedMainWindow()->isVisible());
  EXPECT_NE(gateway.Control("/_fake/stats").find("\"warmups\": 1"), std::string::npos)
      << gateway.Control("/_fake/stats");
}

TEST_F(StartupTest, ShowsTheWindowWhenTheGatewayIsDown) {
  testing::LocalGateway gateway;
  gateway.GoDown();
  StartupRoutine();
  ASSERT_NE(LoadedMainWindow(), nullptr);
  EXPECT_TRUE(LoadedMainWindow()->isVisible());
  EXPECT_EQ(SessionCookies, Text());
}

TEST_F(StartupTest, ReleaseSessionCookiesEmptiesThem) {
  SessionCookies = "_m_h5_tk=abc_1";
  ReleaseSessionCookies();
  EXPECT_EQ(SessionCookies, Text());
  ReleaseSessionCookies();
  EXPECT_EQ(SessionCookies, Text());
}

// Once the window is up, a fatal stop shows its message in a box before the
// process ends. The box is read and dismissed from inside its own loop.
TEST(FatalStopDeathTest, ShowsItsMessageInABoxOnceTheWindowIsUp) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        testing::TestApplication();
        testing::LocalGateway gateway;
        gateway.GoDown();
        StartupRoutine();
        QTimer::singleShot(0, [] {
          auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
          std::fprintf(stderr, "box: %s\n", box != nullptr ? box->text().toUtf8().constData() : "none");
          if (box != nullptr) box->accept();
        });
        const TextArray empty;
        (void)empty[3];
      },
      ::testing::ExitedWithCode(1), "box: TextArray index 3");
}

}  // namespace
}  // namespace miravel
