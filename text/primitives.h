#ifndef MIRAVEL_TEXT_PRIMITIVES_H_
#define MIRAVEL_TEXT_PRIMITIVES_H_

// Text and byte primitives. Pure functions: arguments are never modified and
// every result is a fresh value. Positions are 1-based byte positions; a
// search that finds nothing yields -1.
//
// Double-byte rule ("character steps"): walking a text, a byte below 0x80 is
// one character and a byte of 0x80 or above starts a two-byte character. A
// walk starts at the first byte it is given and a match can only begin at a
// character start of that walk. A lead byte that is the text's last byte
// ends the walk; it is still a position where a one-byte sought text is
// compared. Every routine here is linear in the length of its input.

#include <initializer_list>
#include <optional>

#include "text/value.h"

namespace miravel {

int TextLength(const Text& text);

// Byte cuts; they may split a double-byte character.
Text TextLeft(const Text& text, int n);             // empty when n < 1
Text TextRight(const Text& text, int n);            // empty when n < 1
Text TextMid(const Text& text, int start, int n);   // empty when start < 1, start > length or n < 1

// First match at or after `start` (the whole text when start < 2); -1 when
// none. An empty `sought` yields 1 when the searched region is not empty.
int FindText(const Text& text, const Text& sought, int start = 0, bool ignoreCase = false);

// Last match lying wholly before `start` (whole text when start is not
// given, nothing when start < 2); -1 when none.
int FindTextReverse(const Text& text, const Text& sought, std::optional<int> start = std::nullopt,
                    bool ignoreCase = false);

Text ToLowerCase(const Text& text);     // A-Z only; trail bytes untouched
// 0x20 and A1 A1 at both ends. A lone lead byte at the end is cut, and a
// run of spaces just before it with it.
Text TrimSpaces(const Text& text);
Text RemoveAllSpaces(const Text& text); // every 0x20 and A1 A1; drops a lone lead byte at the end

// Replaces non-overlapping occurrences of `sought` left to right from byte
// `start`; at most `count` of them when count is given (0: none; a negative
// count never runs out). After each match the walk resumes right after it.
// With a one-byte `sought`, a lone lead byte at the end that the walk
// reaches and that does not match is dropped.
Text ReplaceText(const Text& text, const Text& sought, const Text& replacement = {}, int start = 1,
                 std::optional<int> count = std::nullopt, bool caseSensitive = false);

// Pieces between separators; a separator at the very end gives no empty
// last piece; an empty text gives none. With `maximum`, at most that many.
TextArray SplitText(const Text& text, const Text& separator = ",",
                    std::optional<int> maximum = std::nullopt);

Bytes TextToBytes(const Text& text);
Text BytesToText(const Bytes& bytes);  // up to the first zero byte
Text BlankText(int n);                 // n spaces
Text RepeatText(int count, const Text& text);
int BytesLength(const Bytes& bytes);
Bytes BytesLeft(const Bytes& bytes, int n);
Bytes BlankBytes(int n);               // n zero bytes

Text ConcatText(std::initializer_list<std::string_view> parts);
Bytes ConcatBytes(std::initializer_list<Bytes> parts);
bool TextEquals(const Text& a, const Text& b);
bool BytesEquals(const Bytes& a, const Bytes& b);

}  // namespace miravel

#endif  // MIRAVEL_TEXT_PRIMITIVES_H_
