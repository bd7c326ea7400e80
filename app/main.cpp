#include <cstdio>

#include "app/cli_commands.h"
#include "app/display.h"
#include "app/lifecycle.h"

int main(int argc, char** argv) {
  if (argc > 1) return miravel::RunCommandLine(argc, argv);
  if (!miravel::HasDisplay()) {
    std::fputs("miravel: no display to open the window on (DISPLAY is not set); "
               "the command line works without one: miravel --help\n",
               stderr);
    return 2;
  }
  return miravel::RunWindowProgram(argc, argv);
}
