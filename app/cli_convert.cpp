#include <string>
#include <string_view>
#include <vector>

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

std::vector<BatchLine> ReadBatch(std::istream& in) {
  std::vector<BatchLine> lines;
  std::string line;
  while (std::getline(in, line)) lines.push_back(SplitBatchLine(line));
  return lines;
}

std::string FailureLine(const SharePasswordOutcome& outcome) {
  if (!outcome.failure.empty()) return ToUtf8(outcome.failure);
  return "no share password";
}

}  // namespace

int RunConvert(const std::string& url, const std::string& title, std::ostream& out,
               std::ostream& err) {
  WarmUpGateway();
  const SharePasswordOutcome outcome = RequestSharePassword(FromUtf8(url), FromUtf8(title));
  if (outcome.password.empty()) {
    err << "miravel: " << FailureLine(outcome) << '\n';
    return 1;
  }
  out << ToUtf8(outcome.password) << '\n' << std::flush;
  return 0;
}

int RunConvertBatch(std::istream& in, std::ostream& out, std::ostream& err, bool showProgress) {
  const std::vector<BatchLine> lines = ReadBatch(in);
  ProgressBar progress(err, static_cast<int>(lines.size()), showProgress);
  bool warmedUp = false;
  int failures = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const BatchLine& line = lines[i];
    std::string problem = line.problem;
    Text password;
    if (problem.empty()) {
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
      progress.Message("miravel: line " + std::to_string(i + 1) + ": " + problem);
    }
    out << line.url << '\t' << line.title << '\t' << ToUtf8(password) << '\n' << std::flush;
    progress.Update(static_cast<int>(i + 1));
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace miravel
