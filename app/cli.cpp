#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string_view>
#include <vector>

#include "app/cli_commands.h"

namespace miravel {
namespace {

int UsageError(const std::string& message) {
  std::cerr << "miravel: " << message << " (see miravel --help)\n";
  return 2;
}

int RunBatchFrom(const std::string& source) {
  const bool progress = isatty(STDERR_FILENO) == 1;
  if (source == "-") return RunConvertBatch(std::cin, std::cout, std::cerr, progress);
  std::ifstream file(source, std::ios::binary);
  if (!file) {
    std::cerr << "miravel: cannot read " << source << ": " << std::strerror(errno) << '\n';
    return 2;
  }
  return RunConvertBatch(file, std::cout, std::cerr, progress);
}

}  // namespace

int RunCommandLine(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const CommandLine line = ParseCommandLine(args);
  switch (line.command) {
    case Command::kHelp:
      std::cout << UsageText();
      return 0;
    case Command::kVersion:
      std::cout << "miravel " MIRAVEL_VERSION "\n";
      return 0;
    case Command::kConvert:
      return RunConvert(line.url, line.title, std::cout, std::cerr);
    case Command::kConvertBatch:
      return RunBatchFrom(line.batchSource);
    case Command::kMerge:
      return RunMerge(line, std::cout, std::cerr);
    case Command::kUsageError:
      return UsageError(line.error);
    case Command::kWindow:
      break;
  }
  return UsageError("no command");
}

}  // namespace miravel
