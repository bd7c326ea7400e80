#include "text/value.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace miravel {
namespace {

FatalStopHook g_fatal_stop_hook = nullptr;

[[noreturn]] void BadIndex(int index, int size) {
  FatalStop("TextArray index " + std::to_string(index) + " is outside 1.." + std::to_string(size));
}

}  // namespace

void SetFatalStopHook(FatalStopHook hook) { g_fatal_stop_hook = hook; }

void FatalStop(std::string_view message) {
  std::fprintf(stderr, "miravel: fatal: %.*s\n", static_cast<int>(message.size()), message.data());
  std::fflush(stderr);
  if (g_fatal_stop_hook != nullptr) g_fatal_stop_hook(message);
  std::_Exit(EXIT_FAILURE);
}

Text& TextArray::operator[](int index) {
  if (index < 1 || index > Size()) BadIndex(index, Size());
  return members_[static_cast<std::size_t>(index - 1)];
}

const Text& TextArray::operator[](int index) const {
  if (index < 1 || index > Size()) BadIndex(index, Size());
  return members_[static_cast<std::size_t>(index - 1)];
}

}  // namespace miravel
