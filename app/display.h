#ifndef MIRAVEL_APP_DISPLAY_H_
#define MIRAVEL_APP_DISPLAY_H_

namespace miravel {

// True when the environment names somewhere to show a window: DISPLAY,
// WAYLAND_DISPLAY or QT_QPA_PLATFORM set and not empty.
bool HasDisplay();

}  // namespace miravel

#endif  // MIRAVEL_APP_DISPLAY_H_
