#ifndef MIRAVEL_APP_CLI_COMMANDS_H_
#define MIRAVEL_APP_CLI_COMMANDS_H_

// The commands of the command line. Input and output are UTF-8; each returns
// the process's exit status: 0 success, 1 no share password or an id not
// found, 2 usage error. Error lines start with "miravel: ".

#include <istream>
#include <ostream>
#include <string>

#include "app/command_line.h"

namespace miravel {

// Warm-up, then one conversion. The password and a newline on `out` (exit 0),
// or one line on `err` saying why there is none (exit 1).
int RunConvert(const std::string& url, const std::string& title, std::ostream& out,
               std::ostream& err);

// Each line of `in` is URL or URL<TAB>TITLE; each gives URL<TAB>TITLE<TAB>PASSWORD
// on `out`, in order, the password empty where it failed. One warm-up before
// the first request; an answer that rejects the token is retried once with
// the renewed cookies. Exit 0 when every line got a password.
int RunConvertBatch(std::istream& in, std::ostream& out, std::ostream& err, bool showProgress);

// The two-in-one link on `out`; exit 1, saying which on `err`, when the
// activity id or the item id came out empty.
int RunMerge(const CommandLine& line, std::ostream& out, std::ostream& err);

// Parses argv and runs the command; argc must be at least 2.
int RunCommandLine(int argc, char** argv);

}  // namespace miravel

#endif  // MIRAVEL_APP_CLI_COMMANDS_H_
