#include <cstdio>
#include <string>

#include "app/cli_commands.h"
#include "app/display.h"
#include "app/lifecycle.h"

int main(int argc, char** argv) {
  if (argc > 1) return miravel::RunCommandLine(argc, argv);
  if (const std::string problem = miravel::DisplayProblem(); !problem.empty()) {
    std::fprintf(stderr, "miravel: %s; the command line works without one: miravel --help\n",
                 problem.c_str());
    return 2;
  }
  return miravel::RunWindowProgram(argc, argv);
}
