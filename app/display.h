#ifndef MIRAVEL_APP_DISPLAY_H_
#define MIRAVEL_APP_DISPLAY_H_

#include <string>

namespace miravel {

// Empty when there is somewhere to show a window: QT_QPA_PLATFORM or
// WAYLAND_DISPLAY set, or an X display in DISPLAY that accepts a connection.
// Otherwise one line saying what is missing, so the program can say so
// instead of letting the toolkit abort.
std::string DisplayProblem();

}  // namespace miravel

#endif  // MIRAVEL_APP_DISPLAY_H_
