#ifndef MIRAVEL_TESTS_APP_QT_APPLICATION_H_
#define MIRAVEL_TESTS_APP_QT_APPLICATION_H_

#include <QApplication>

namespace miravel::testing {

// The one QApplication of the test program (offscreen platform), created on
// first use and kept to the end of the process.
inline QApplication& TestApplication() {
  static int argc = 1;
  static char name[] = "miravel_app_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* application = new QApplication(argc, argv);
  return *application;
}

}  // namespace miravel::testing

#endif  // MIRAVEL_TESTS_APP_QT_APPLICATION_H_
