#ifndef MIRAVEL_TEXT_VALUE_H_
#define MIRAVEL_TEXT_VALUE_H_

// The three values every routine of Miravel computes with.
//
// Text      GBK (code page 936) bytes; never holds a zero byte. Absent and
//           empty are the same value. Lengths and positions are in bytes,
//           positions 1-based, and a search that finds nothing yields -1.
// Bytes     a byte buffer that may hold zero bytes; empty and absent alike.
// TextArray Text members numbered 1..ArraySize; any other index is a fatal
//           stop of the program.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace miravel {

using Text = std::string;
using Bytes = std::vector<std::uint8_t>;

// Ends the process after writing "miravel: fatal: MESSAGE" to standard error
// and handing the message to the installed hook (the window shows it in a
// message box). Never returns.
[[noreturn]] void FatalStop(std::string_view message);

// The hook runs before the process ends; nullptr removes it. The hook must
// not return control to the caller of FatalStop by other means (throwing).
using FatalStopHook = void (*)(std::string_view message);
void SetFatalStopHook(FatalStopHook hook);

class TextArray {
 public:
  TextArray() = default;
  explicit TextArray(std::vector<Text> members) : members_(std::move(members)) {}

  int Size() const { return static_cast<int>(members_.size()); }

  // 1-based access; an index outside 1..Size() is a FatalStop.
  Text& operator[](int index);
  const Text& operator[](int index) const;

  void Append(Text member) { members_.push_back(std::move(member)); }
  void Reserve(int count) { members_.reserve(count > 0 ? count : 0); }

  const std::vector<Text>& Members() const { return members_; }
  auto begin() const { return members_.begin(); }
  auto end() const { return members_.end(); }

  friend bool operator==(const TextArray&, const TextArray&) = default;

 private:
  std::vector<Text> members_;
};

inline int ArraySize(const TextArray& array) { return array.Size(); }
inline void AppendText(TextArray& array, const Text& text) { array.Append(text); }

}  // namespace miravel

#endif  // MIRAVEL_TEXT_VALUE_H_
