#include "app/progress_bar.h"

#include <string>

namespace miravel {
namespace {

constexpr int kBarWidth = 30;

}  // namespace

ProgressBar::ProgressBar(std::ostream& out, int total, bool enabled)
    : out_(out), total_(total), enabled_(enabled && total > 0) {
  if (enabled_) Draw();
}

ProgressBar::~ProgressBar() {
  if (!enabled_) return;
  Clear();
  out_.flush();
}

void ProgressBar::Update(int done) {
  done_ = done;
  if (enabled_) Draw();
}

void ProgressBar::Message(std::string_view line) {
  if (enabled_) Clear();
  out_ << line << '\n';
  if (enabled_) Draw();
  out_.flush();
}

void ProgressBar::Draw() {
  const int filled = total_ > 0 ? done_ * kBarWidth / total_ : 0;
  out_ << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
       << std::string(static_cast<std::size_t>(kBarWidth - filled), '.') << "] " << done_ << '/'
       << total_ << std::flush;
}

void ProgressBar::Clear() { out_ << "\r\033[K"; }

}  // namespace miravel
