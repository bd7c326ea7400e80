#ifndef MIRAVEL_TEXT_UTF8_UTF16_H_
#define MIRAVEL_TEXT_UTF8_UTF16_H_

// UTF-8 <-> UTF-16LE with substitution, the code page 65001 half of the
// code-page backend. Inputs are read over exactly `size` bytes / units; a
// zero is converted like any other character.
//
// UTF-8 -> UTF-16: every maximal ill-formed subpart (an invalid byte, an
// overlong or surrogate form, a sequence cut short) becomes one U+FFFD.
// UTF-16 -> UTF-8: an unpaired surrogate becomes U+FFFD.
//
// With `output` null the result is the size needed (units / bytes). Otherwise
// up to `capacity` is written and the result is the size written, or -1 when
// the output does not fit.

#include <cstddef>
#include <cstdint>

namespace miravel::code_page {

// One UTF-8 character at `p` (left >= 1 bytes), as Utf8ToUtf16 reads it: its
// code point, or U+FFFD for an ill-formed sequence, and the bytes it takes
// (for an ill-formed one, its maximal subpart).
struct Utf8Decoded {
  char32_t code;
  std::size_t size;
};
Utf8Decoded DecodeUtf8(const unsigned char* p, std::size_t left);

// The next character at `p` (left >= 1 bytes): an ASCII byte as itself,
// anything else through DecodeUtf8.
inline Utf8Decoded NextUtf8(const unsigned char* p, std::size_t left) {
  if (p[0] < 0x80) return {p[0], 1};
  return DecodeUtf8(p, left);
}

// A three-byte character with lead E1..EC, EE or EF: any two continuation
// bytes make it valid, so the bulk of CJK text can skip DecodeUtf8's range
// checks in a tight loop.
inline bool IsCommonThreeByteCharacter(const unsigned char* p, std::size_t left) {
  return left >= 3 && p[0] >= 0xE1 && p[0] <= 0xEF && p[0] != 0xED && (p[1] & 0xC0) == 0x80 &&
         (p[2] & 0xC0) == 0x80;
}

inline char32_t CommonThreeByteCode(const unsigned char* p) {
  return ((p[0] & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
}

std::ptrdiff_t Utf8ToUtf16(const unsigned char* input, std::size_t size, std::uint8_t* output,
                           std::size_t capacityUnits);
std::ptrdiff_t Utf16ToUtf8(const std::uint8_t* input, std::size_t units, unsigned char* output,
                           std::size_t capacityBytes);

}  // namespace miravel::code_page

#endif  // MIRAVEL_TEXT_UTF8_UTF16_H_
