#ifndef MIRAVEL_APP_LIFECYCLE_H_
#define MIRAVEL_APP_LIFECYCLE_H_

// Start and end of the window program. One thread: the warm-up, every
// handler and every request run on the GUI thread.

namespace miravel {

class MainWindow;

// Exit routine: releases SessionCookies. Safe to run more than once.
void ReleaseSessionCookies();

// Sends the warm-up request and waits for it, then loads MainWindow and shows
// it centred; from then on a fatal stop shows its message in a message box.
// Needs a QApplication. Returns 0.
int StartupRoutine();

// The window StartupRoutine loaded, or nullptr (none yet, or unloaded).
MainWindow* LoadedMainWindow();

// Destroys the loaded window; it must go before the QApplication does.
void UnloadMainWindow();

// The whole window program: toolkit, exit routine, StartupRoutine, message
// loop until the last window is gone. Returns 0.
// MIRAVEL_EXIT_WHEN_SHOWN (set and not empty) ends the loop once the window
// has first painted, so start-up can be measured.
int RunWindowProgram(int& argc, char** argv);

}  // namespace miravel

#endif  // MIRAVEL_APP_LIFECYCLE_H_
