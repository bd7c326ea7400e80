#include "regex/wide_subject.h"

#include "text/code_page.h"

namespace miravel {
namespace {

// Bytes of the GBK character at `i`: two for a lead byte followed by a valid
// trail byte, otherwise one (ASCII, or a byte the code page cannot start a
// pair with).
size_t CharacterLength(const Text& gbk, size_t i) {
  const auto lead = static_cast<unsigned char>(gbk[i]);
  if (lead < 0x81 || lead > 0xFE || i + 1 >= gbk.size()) return 1;
  const auto trail = static_cast<unsigned char>(gbk[i + 1]);
  return (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) ? 2 : 1;
}

std::u16string UnitsOf(const Bytes& utf16le) {
  std::u16string units;
  units.reserve(utf16le.size() / 2);
  for (size_t i = 0; i + 1 < utf16le.size(); i += 2) {
    const char16_t unit = static_cast<char16_t>(utf16le[i] | (utf16le[i + 1] << 8));
    if (unit == 0) break;
    units.push_back(unit);
  }
  return units;
}

// The quick mapping holds when every character became one code unit and the
// ASCII characters sit where the walk puts them.
bool OneUnitPerCharacter(const Text& gbk, const std::u16string& units) {
  size_t unit = 0;
  for (size_t i = 0; i < gbk.size(); i += CharacterLength(gbk, i), ++unit) {
    if (unit >= units.size()) return false;
    const auto byte = static_cast<unsigned char>(gbk[i]);
    if (byte < 0x80 ? units[unit] != byte : units[unit] < 0x80) return false;
  }
  return unit == units.size();
}

}  // namespace

std::u16string GbkToUtf16(const Text& gbk) { return UnitsOf(AnsiToWide(gbk, kCodePageGbk)); }

Text Utf16ToGbk(std::u16string_view units) {
  Bytes utf16le;
  utf16le.reserve(units.size() * 2 + 2);
  for (char16_t unit : units) {
    utf16le.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    utf16le.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  utf16le.push_back(0);
  utf16le.push_back(0);
  return WideToAnsi(utf16le, kCodePageGbk);
}

WideSubject::WideSubject(const Text& gbk) : gbk_(gbk), units_(GbkToUtf16(gbk)) {
  starts_.reserve(units_.size());
  if (OneUnitPerCharacter(gbk_, units_)) {
    for (size_t i = 0; i < gbk_.size(); i += CharacterLength(gbk_, i)) {
      starts_.push_back(static_cast<int>(i));
    }
    return;
  }
  // Bytes the code page does not map one to one: convert character by
  // character so every code unit still knows where it came from.
  units_.clear();
  for (size_t i = 0; i < gbk_.size(); i += CharacterLength(gbk_, i)) {
    const size_t length = CharacterLength(gbk_, i);
    const std::u16string piece = GbkToUtf16(gbk_.substr(i, length));
    units_ += piece;
    starts_.insert(starts_.end(), piece.size(), static_cast<int>(i));
  }
}

int WideSubject::ByteOffset(int unit) const {
  if (unit < 0) return -1;
  if (unit >= static_cast<int>(starts_.size())) return static_cast<int>(gbk_.size());
  return starts_[unit];
}

Text WideSubject::Slice(int start, int end) const {
  if (start < 0 || end <= start || end > static_cast<int>(starts_.size())) return {};
  const int from = starts_[start];
  const int last = starts_[end - 1];
  const int to = last + static_cast<int>(CharacterLength(gbk_, last));
  return gbk_.substr(from, to - from);
}

}  // namespace miravel
