#ifndef MIRAVEL_TEXT_CODE_PAGE_H_
#define MIRAVEL_TEXT_CODE_PAGE_H_

// Conversions between the program's GBK text, UTF-16LE and UTF-8.
// Code pages: 0 (the system ANSI page, which is 936 here), 936 (GBK) and
// 65001 (UTF-8). A character the target cannot hold becomes "?" and an
// invalid UTF-8 sequence becomes U+FFFD; conversion always goes on.

#include <optional>

#include "text/value.h"

namespace miravel {

inline constexpr int kCodePageAnsi = 0;
inline constexpr int kCodePageGbk = 936;
inline constexpr int kCodePageUtf8 = 65001;

// UTF-16LE of `text` read in `codePage` (65001 when not given), with the
// terminating zero unit; an empty text gives just the two zero bytes. The
// result is 2 x the units the text has in GBK: when `codePage` needs fewer
// (UTF-8 bytes read as UTF-8) the rest are zero units; when it needs more
// (GBK bytes read as UTF-8) it is as long as the conversion. Empty for a
// code page other than 0, 936 and 65001.
Bytes AnsiToWide(const Text& text, std::optional<int> codePage = std::nullopt);

// `utf16` up to its first zero unit (all of it when it holds none; an odd
// last byte is ignored), in `codePage` (0 when not given). Empty for a code
// page other than 0, 936 and 65001.
Text WideToAnsi(const Bytes& utf16, std::optional<int> codePage = std::nullopt);

// GBK -> UTF-8 bytes; the same as WideToAnsi (AnsiToWide (text, 936), 65001).
Text AnsiToUtf8(const Text& text);

// Exactly these UTF-8 bytes -> GBK; the result ends at the first zero byte.
// Empty for empty bytes.
Text Utf8ToAnsi(const Bytes& utf8);

namespace code_page {
// Utf8ToAnsi composed of the two backend conversions through UTF-16: what
// Utf8ToAnsi falls back to when the backend has no direct path, and what
// its direct path must equal byte for byte.
Text Utf8ToAnsiThroughUtf16(const Bytes& utf8);
}  // namespace code_page

}  // namespace miravel

#endif  // MIRAVEL_TEXT_CODE_PAGE_H_
