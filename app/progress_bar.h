#ifndef MIRAVEL_APP_PROGRESS_BAR_H_
#define MIRAVEL_APP_PROGRESS_BAR_H_

// A one-line progress bar on a terminal. When disabled it draws nothing and
// messages go out as plain lines.

#include <ostream>
#include <string_view>

namespace miravel {

class ProgressBar {
 public:
  ProgressBar(std::ostream& out, int total, bool enabled);
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void Update(int done);
  // A line of its own (newline added) above the bar.
  void Message(std::string_view line);

 private:
  void Draw();
  void Clear();

  std::ostream& out_;
  int total_;
  int done_ = 0;
  bool enabled_;
};

}  // namespace miravel

#endif  // MIRAVEL_APP_PROGRESS_BAR_H_
