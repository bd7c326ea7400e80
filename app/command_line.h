#ifndef MIRAVEL_APP_COMMAND_LINE_H_
#define MIRAVEL_APP_COMMAND_LINE_H_

// The command line, parsed. Values stay as given (UTF-8); the runners convert
// them to GBK.
//
//   miravel                                       the window
//   miravel convert [--title TITLE] URL
//   miravel convert --batch FILE|-
//   miravel merge --item LINK --coupon LINK [--pid PID] [--force-targeting]
//   miravel --help | --version

#include <string>
#include <string_view>
#include <vector>

namespace miravel {

enum class Command { kWindow, kHelp, kVersion, kConvert, kConvertBatch, kMerge, kUsageError };

struct CommandLine {
  Command command = Command::kWindow;
  std::string url;
  std::string title;
  std::string batchSource;  // a file name, or "-" for standard input
  std::string itemLink;
  std::string couponLink;
  std::string pid;
  bool forcedTargeting = false;
  std::string error;  // kUsageError: what is wrong, one line
};

// `args` are the arguments after the program name.
CommandLine ParseCommandLine(const std::vector<std::string_view>& args);

// The text of --help, ending in a newline.
std::string UsageText();

}  // namespace miravel

#endif  // MIRAVEL_APP_COMMAND_LINE_H_
