#ifndef MIRAVEL_TEXT_CODE_PAGE_BACKEND_H_
#define MIRAVEL_TEXT_CODE_PAGE_BACKEND_H_

// The code-page converter the routines of code_page.h are written over. The
// two functions play the parts of the platform's MultiByteToWideChar and
// WideCharToMultiByte called with flags 0 (and no default character): one
// backend file implements them (code_page_iconv.cpp on glibc).
//
// Code pages: 0 and 936 (GBK), 65001 (UTF-8); any other yields 0.
// UTF-16 is little-endian bytes; its sizes count 16-bit units.
// `length` -1 means: read up to and including the first zero byte (or unit),
// so the output carries a terminating zero too.
// `capacity` 0 measures: the result is the size the output needs. Otherwise
// the output is written and the result is the size written, or 0 when the
// output does not fit (nothing useful is left in `output` then).
// The conversion never stops at bad input: a character the target cannot
// hold becomes "?" (U+FFFD towards UTF-16), an invalid sequence becomes
// U+FFFD; measuring and converting always agree.

#include <cstddef>
#include <cstdint>

namespace miravel::code_page {

int MultiByteToWide(int codePage, const char* input, int length, std::uint8_t* utf16,
                    int capacityUnits);
int WideToMultiByte(int codePage, const std::uint8_t* utf16, int lengthUnits, char* output,
                    int capacityBytes);

// Output room GbkToUtf8 needs for `length` input bytes: every GBK character
// or lone byte is at most three bytes of UTF-8, plus one byte of slack.
inline std::size_t GbkToUtf8Room(std::size_t length) { return 3 * length + 1; }

// The `length` GBK bytes at `input`, which hold no zero byte, straight to
// UTF-8: the same bytes as WideToMultiByte(65001, ...) over the units
// MultiByteToWide(936, ...) gives for them, in one pass. `output` has room
// for GbkToUtf8Room(length) bytes. The result is the bytes written, or -1
// when the backend has no such path and the caller must compose the two.
std::ptrdiff_t GbkToUtf8(const char* input, std::size_t length, char* output);

// Output room Utf8ToGbk needs for `length` input bytes: every character,
// or ill-formed sequence, takes at least one byte and becomes at most two.
inline std::size_t Utf8ToGbkRoom(std::size_t length) { return 2 * length; }

// The `length` UTF-8 bytes at `input` straight to GBK: the same bytes as
// WideToMultiByte(936, ...) over the units MultiByteToWide(65001, ...)
// gives for them, up to the first zero byte of that result, in one pass.
// `output` has room for Utf8ToGbkRoom(length) bytes. The result is the
// bytes written (no terminator), or -1 when the backend has no such path
// and the caller must compose the two.
std::ptrdiff_t Utf8ToGbk(const char* input, std::size_t length, char* output);

}  // namespace miravel::code_page

#endif  // MIRAVEL_TEXT_CODE_PAGE_BACKEND_H_
