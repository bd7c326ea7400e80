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

std::ptrdiff_t Utf8ToUtf16(const unsigned char* input, std::size_t size, std::uint8_t* output,
                           std::size_t capacityUnits);
std::ptrdiff_t Utf16ToUtf8(const std::uint8_t* input, std::size_t units, unsigned char* output,
                           std::size_t capacityBytes);

}  // namespace miravel::code_page

#endif  // MIRAVEL_TEXT_UTF8_UTF16_H_
