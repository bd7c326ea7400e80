#include <string>
#include <string_view>

#include "app/cli_commands.h"
#include "app/progress_bar.h"
#include "app/utf8_edge.h"
#include "services/share_password.h"

namespace miravel {
namespace {

struct BatchLine {
  std::string url;
  std::string title;
  std::string problem;  // why the line is not sent; empty when it is fine
};

BatchLine SplitBatchLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  BatchLine fields;
  const auto tab = line.find('\t');
  fields.url = std::string(line.substr(0, tab));
  if (tab != std::string_view::npos) {
    const std::string_view rest = line.substr(tab + 1);
    const auto secondTab = rest.find('\t');
    fields.title = std::string(rest.substr(0, secondTab));
    if (secondTab != std::string_view::npos) fields.problem = "more than two fields (URL<TAB>TITLE)";
  }
  if (fields.problem.empty() && fields.url.empty()) fields.problem = "no URL";
  return fields;
}

// The program's text is GBK: what it cannot hold is sent as "?", which the
// user should hear about. Empty when nothing is lost.
std::string LossWarning(std::string_view url, std::string_view title) {
  const bool urlLossy = !FitsGbk(url);
  const bool titleLossy = !FitsGbk(title);
  if (!urlLossy && !titleLossy) return {};
  const char* what = urlLossy && titleLossy ? "the URL and the title hold"
                     : urlLossy             ? "the URL holds"
                                            : "the title holds";
  return std::string("warning: ") + what + " characters outside GBK; they are sent as \"?\"";
}

std::string FailureLine(const SharePasswordOutcome& outcome) {
  if (!outcome.failure.empty()) return ToUtf8(outcome.failure);
  return "no share password";
}

}  // namespace

int RunConvert(const std::string& url, const std::string& title, std::ostream& out,
               std::ostream& err) {
  if (const std::string warning = LossWarning(url, title); !warning.empty()) {
    err << "miravel: " << warning << '\n';
  }
  WarmUpGateway();
  const SharePasswordOutcome outcome = RequestSharePassword(FromUtf8(url), FromUtf8(title));
  if (outcome.password.empty()) {
    err << "miravel: " << FailureLine(outcome) << '\n';
    return 1;
  }
  out << ToUtf8(outcome.password) << '\n' << std::flush;
  return 0;
}

int RunConvertBatch(std::istream& in, std::ostream& out, std::ostream& err, bool showProgress,
                    int expectedLines) {
  ProgressBar progress(err, expectedLines, showProgress);
  bool warmedUp = false;
  int failures = 0;
  int lineNumber = 0;
  std::string text;
  while (std::getline(in, text)) {
    ++lineNumber;
    const BatchLine line = SplitBatchLine(text);
    std::string problem = line.problem;
    Text password;
    if (problem.empty()) {
      if (const std::string warning = LossWarning(line.url, line.title); !warning.empty()) {
        progress.Message("miravel: line " + std::to_string(lineNumber) + ": " + warning);
      }
      if (!warmedUp) {
        WarmUpGateway();
        warmedUp = true;
      }
      const Text url = FromUtf8(line.url);
      const Text title = FromUtf8(line.title);
      SharePasswordOutcome outcome = RequestSharePassword(url, title);
      if (outcome.password.empty() && outcome.tokenRejected) outcome = RequestSharePassword(url, title);
      password = outcome.password;
      if (password.empty()) problem = FailureLine(outcome);
    }
    if (!problem.empty()) {
      ++failures;
      progress.Message("miravel: line " + std::to_string(lineNumber) + ": " + problem);
    }
    progress.Hide();
    out << line.url << '\t' << line.title << '\t' << ToUtf8(password) << '\n' << std::flush;
    progress.Update(lineNumber);
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace miravel
