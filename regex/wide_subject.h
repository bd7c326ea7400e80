#ifndef MIRAVEL_REGEX_WIDE_SUBJECT_H_
#define MIRAVEL_REGEX_WIDE_SUBJECT_H_

// GBK text in the engine's string form (UTF-16), with the way back from a
// code-unit offset to the byte offset of the same place in the GBK text.

#include <string>
#include <string_view>
#include <vector>

#include "text/value.h"

namespace miravel {

class WideSubject {
 public:
  WideSubject() = default;
  explicit WideSubject(const Text& gbk);

  const std::u16string& Units() const { return units_; }
  const Text& Gbk() const { return gbk_; }

  // Byte offset in the GBK text of the character that holds code unit
  // `unit`; the text's length for unit == Units().size(); -1 below 0.
  int ByteOffset(int unit) const;

  // The GBK bytes of the characters that hold the code units [start, end).
  Text Slice(int start, int end) const;

 private:
  Text gbk_;
  std::u16string units_;
  std::vector<int> starts_;  // per code unit: where its character begins
};

// GBK <-> UTF-16 for patterns, replacements and results.
std::u16string GbkToUtf16(const Text& gbk);
Text Utf16ToGbk(std::u16string_view units);

}  // namespace miravel

#endif  // MIRAVEL_REGEX_WIDE_SUBJECT_H_
