#include "app/progress_bar.h"

#include <string>

namespace miravel {
namespace {

constexpr int kBarWidth = 30;

}  // namespace

ProgressBar::ProgressBar(std::ostream& out, int total, bool enabled)
    : out_(out), total_(total), enabled_(enabled) {
  if (enabled_) Draw();
}

ProgressBar::~ProgressBar() { Hide(); }

void ProgressBar::Update(int done) {
  done_ = done;
  if (enabled_) Draw();
}

void ProgressBar::Message(std::string_view line) {
  Hide();
  out_ << line << '\n';
  if (enabled_) Draw();
  out_.flush();
}

void ProgressBar::Hide() {
  if (enabled_) out_ << "\r\033[K" << std::flush;
}

void ProgressBar::Draw() {
  if (total_ <= 0) {
    out_ << "\r" << done_ << " done" << std::flush;
    return;
  }
  const int filled = total_ > 0 ? done_ * kBarWidth / total_ : 0;
  out_ << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
       << std::string(static_cast<std::size_t>(kBarWidth - filled), '.') << "] " << done_ << '/'
       << total_ << std::flush;
}

}  // namespace miravel
