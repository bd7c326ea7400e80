#ifndef MIRAVEL_TEXT_CHAR_WALK_H_
#define MIRAVEL_TEXT_CHAR_WALK_H_

// Internal to text/: the double-byte walk shared by the searching, replacing
// and splitting primitives.
//
// A walk starts at a given byte and steps one byte over a byte below 0x80 and
// two bytes over a byte of 0x80 or above. The positions it visits are its
// character starts. Searches here report only matches that begin at a
// character start of the walk and lie wholly inside the searched region.
// Every routine is linear in the bytes it looks at.

#include <cstddef>
#include <string>
#include <string_view>

namespace miravel::char_walk {

inline constexpr std::size_t kNone = std::string_view::npos;

inline bool IsHigh(unsigned char byte) { return byte >= 0x80; }
inline bool IsHigh(char byte) { return IsHigh(static_cast<unsigned char>(byte)); }

inline char FoldCase(char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<char>(byte - 'A' + 'a') : byte;
}

// True when `pos` is a character start of the walk that begins at
// `walkStart` (walkStart <= pos <= text.size()). Looks only at the run of
// high bytes just before `pos`.
bool StartsCharacter(std::string_view text, std::size_t walkStart, std::size_t pos);

// A sought text prepared for repeated searches. `sought` must not be empty.
class Searcher {
 public:
  Searcher(std::string_view sought, bool ignoreCase);

  std::size_t Length() const { return sought_.size(); }

  // First match that begins at a character start of the walk from
  // `walkStart` and ends at or before `regionEnd`; kNone when there is none.
  std::size_t FindFirst(std::string_view text, std::size_t walkStart, std::size_t regionEnd) const;

  // Last such match.
  std::size_t FindLast(std::string_view text, std::size_t walkStart, std::size_t regionEnd) const;

 private:
  std::size_t FindFirstExact(std::string_view text, std::size_t walkStart, std::size_t regionEnd) const;
  std::size_t FindFirstFolding(std::string_view text, std::size_t walkStart, std::size_t regionEnd) const;
  std::size_t FindFirstScanning(std::string_view text, std::size_t boundary, std::size_t from,
                                std::size_t regionEnd) const;

  std::string sought_;  // folded to lower case when folding_
  bool folding_;        // ignore case and the sought text holds a letter
};

}  // namespace miravel::char_walk

#endif  // MIRAVEL_TEXT_CHAR_WALK_H_
