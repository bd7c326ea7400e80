#include "app/command_line.h"

#include <optional>

namespace miravel {
namespace {

// Walks the arguments of one command: options with values (--name VALUE or
// --name=VALUE), flags, and positionals; "--" ends the options.
class ArgumentReader {
 public:
  struct Argument {
    bool isOption;
    std::string_view text;  // an option's name without "=value", or the positional
  };

  explicit ArgumentReader(const std::vector<std::string_view>& args) : args_(args) {}

  bool Next(Argument& argument) {
    while (next_ < args_.size()) {
      const std::string_view arg = args_[next_++];
      inlineValue_.reset();
      if (!optionsEnded_ && arg == "--") {
        optionsEnded_ = true;
        continue;
      }
      if (optionsEnded_ || arg.size() < 2 || arg[0] != '-') {
        argument = {false, arg};
        return true;
      }
      const auto equals = arg.find('=');
      if (equals != std::string_view::npos) inlineValue_ = arg.substr(equals + 1);
      argument = {true, arg.substr(0, equals)};
      return true;
    }
    return false;
  }

  // The value of the option just read; nullopt when there is none.
  std::optional<std::string_view> Value() {
    if (inlineValue_) {
      const auto value = inlineValue_;
      inlineValue_.reset();
      return value;
    }
    if (next_ >= args_.size()) return std::nullopt;
    return args_[next_++];
  }

  bool HasInlineValue() const { return inlineValue_.has_value(); }

 private:
  const std::vector<std::string_view>& args_;
  std::size_t next_ = 1;  // args_[0] is the command
  bool optionsEnded_ = false;
  std::optional<std::string_view> inlineValue_;
};

bool IsHelp(std::string_view arg) { return arg == "--help" || arg == "-h"; }

CommandLine Help() {
  CommandLine line;
  line.command = Command::kHelp;
  return line;
}

CommandLine UsageError(std::string message) {
  CommandLine line;
  line.command = Command::kUsageError;
  line.error = std::move(message);
  return line;
}

// Reads the value of `option` into `target`; false (with `error` set) when
// it is missing or given twice.
bool TakeValue(ArgumentReader& reader, std::string_view option, std::optional<std::string>& target,
               std::string& error) {
  const auto value = reader.Value();
  if (!value) {
    error = std::string(option) + " needs a value";
    return false;
  }
  if (target) {
    error = std::string(option) + " is given twice";
    return false;
  }
  target = std::string(*value);
  return true;
}

CommandLine ParseConvert(const std::vector<std::string_view>& args) {
  ArgumentReader reader(args);
  std::optional<std::string> title, batch, url;
  std::string error;
  ArgumentReader::Argument arg;
  while (reader.Next(arg)) {
    if (!arg.isOption) {
      if (url) return UsageError("convert takes one URL; unexpected '" + std::string(arg.text) + "'");
      url = std::string(arg.text);
    } else if (IsHelp(arg.text)) {
      return Help();
    } else if (arg.text == "--title") {
      if (!TakeValue(reader, arg.text, title, error)) return UsageError(error);
    } else if (arg.text == "--batch") {
      if (!TakeValue(reader, arg.text, batch, error)) return UsageError(error);
    } else {
      return UsageError("unknown option for convert: " + std::string(arg.text));
    }
  }
  CommandLine line;
  if (batch) {
    if (url) return UsageError("convert takes a URL or --batch FILE, not both");
    if (title) return UsageError("--title does not go with --batch; titles come from the file");
    line.command = Command::kConvertBatch;
    line.batchSource = *batch;
    return line;
  }
  if (!url) return UsageError("convert needs a URL (or --batch FILE)");
  line.command = Command::kConvert;
  line.url = *url;
  line.title = title.value_or("");
  return line;
}

CommandLine ParseMerge(const std::vector<std::string_view>& args) {
  ArgumentReader reader(args);
  std::optional<std::string> item, coupon, pid;
  bool forcedTargeting = false;
  std::string error;
  ArgumentReader::Argument arg;
  while (reader.Next(arg)) {
    if (!arg.isOption) {
      return UsageError("merge takes no positional arguments; unexpected '" + std::string(arg.text) + "'");
    }
    if (IsHelp(arg.text)) {
      return Help();
    } else if (arg.text == "--item") {
      if (!TakeValue(reader, arg.text, item, error)) return UsageError(error);
    } else if (arg.text == "--coupon") {
      if (!TakeValue(reader, arg.text, coupon, error)) return UsageError(error);
    } else if (arg.text == "--pid") {
      if (!TakeValue(reader, arg.text, pid, error)) return UsageError(error);
    } else if (arg.text == "--force-targeting") {
      if (reader.HasInlineValue()) return UsageError("--force-targeting takes no value");
      forcedTargeting = true;
    } else {
      return UsageError("unknown option for merge: " + std::string(arg.text));
    }
  }
  if (!item) return UsageError("merge needs --item LINK");
  if (!coupon) return UsageError("merge needs --coupon LINK");
  CommandLine line;
  line.command = Command::kMerge;
  line.itemLink = *item;
  line.couponLink = *coupon;
  line.pid = pid.value_or("");
  line.forcedTargeting = forcedTargeting;
  return line;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string_view>& args) {
  if (args.empty()) return CommandLine{};
  const std::string_view command = args.front();
  if (IsHelp(command)) return Help();
  if (command == "--version") {
    if (args.size() > 1) return UsageError("--version takes no arguments");
    CommandLine line;
    line.command = Command::kVersion;
    return line;
  }
  if (command == "convert") return ParseConvert(args);
  if (command == "merge") return ParseMerge(args);
  if (!command.empty() && command[0] == '-') return UsageError("unknown option: " + std::string(command));
  return UsageError("unknown command: " + std::string(command));
}

std::string UsageText() {
  return "Usage:\n"
         "  miravel                        open the window\n"
         "  miravel convert [--title TITLE] URL\n"
         "                                 print the share password for URL\n"
         "  miravel convert --batch FILE   convert each line of FILE (- for standard input):\n"
         "                                 URL or URL<TAB>TITLE in, URL<TAB>TITLE<TAB>PASSWORD out\n"
         "  miravel merge --item LINK --coupon LINK [--pid PID] [--force-targeting]\n"
         "                                 print the two-in-one coupon link\n"
         "  miravel --help | --version\n"
         "\n"
         "Exit status: 0 success, 1 no share password / an id not found, 2 usage error.\n"
         "MIRAVEL_GATEWAY_HOST (host or host:port) points the program at another gateway.\n";
}

}  // namespace miravel
