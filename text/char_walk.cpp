#include "text/char_walk.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace miravel::char_walk {
namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// Start of the run of high bytes that ends just before `pos`, not going
// below `floor`. The run's start is a character start whenever `floor` is.
std::size_t HighRunStart(const char* data, std::size_t floor, std::size_t pos) {
  std::size_t j = pos;
  while (j >= floor + 8) {
    std::uint64_t word;
    std::memcpy(&word, data + j - 8, sizeof word);
    if ((word & kHighBits) != kHighBits) break;
    j -= 8;
  }
  while (j > floor && IsHigh(data[j - 1])) --j;
  return j;
}

bool IsLowerLetter(char c) { return c >= 'a' && c <= 'z'; }

bool HasLetter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return IsLowerLetter(FoldCase(c)); });
}

// First index in [from, end) whose byte reads as `folded` when A-Z are read
// as a-z; `end` when there is none.
std::size_t NextFolded(const char* data, std::size_t from, std::size_t end, char folded) {
  if (!IsLowerLetter(folded)) {
    const void* hit = std::memchr(data + from, folded, end - from);
    return hit == nullptr ? end : static_cast<std::size_t>(static_cast<const char*>(hit) - data);
  }
  std::size_t i = from;
#if defined(__SSE2__)
  // For a lower-case letter, (byte | 0x20) == letter holds exactly for the
  // letter and its upper-case form.
  const __m128i wanted = _mm_set1_epi8(folded);
  const __m128i caseBit = _mm_set1_epi8(0x20);
  for (; i + 16 <= end; i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    const int mask = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(bytes, caseBit), wanted));
    if (mask != 0) return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
  }
#endif
  for (; i < end; ++i) {
    if (FoldCase(data[i]) == folded) return i;
  }
  return end;
}

// Last index in [floor, end) whose byte reads as `folded`; kNone when there
// is none.
std::size_t PreviousFolded(const char* data, std::size_t floor, std::size_t end, char folded) {
  if (!IsLowerLetter(folded)) {
    const void* hit = memrchr(data + floor, folded, end - floor);
    return hit == nullptr ? kNone : static_cast<std::size_t>(static_cast<const char*>(hit) - data);
  }
  std::size_t i = end;
#if defined(__SSE2__)
  const __m128i wanted = _mm_set1_epi8(folded);
  const __m128i caseBit = _mm_set1_epi8(0x20);
  for (; i >= floor + 16; i -= 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i - 16));
    const int mask = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(bytes, caseBit), wanted));
    if (mask != 0) return i - 16 + 31 - static_cast<std::size_t>(__builtin_clz(static_cast<unsigned>(mask)));
  }
#endif
  while (i > floor) {
    --i;
    if (FoldCase(data[i]) == folded) return i;
  }
  return kNone;
}

bool EqualsFolded(const char* data, std::string_view folded) {
  for (std::size_t k = 0; k < folded.size(); ++k) {
    if (FoldCase(data[k]) != folded[k]) return false;
  }
  return true;
}

// failure[i]: length of the longest proper border of pattern[0..i].
std::vector<std::size_t> FailureTable(std::string_view pattern) {
  std::vector<std::size_t> failure(pattern.size(), 0);
  std::size_t k = 0;
  for (std::size_t i = 1; i < pattern.size(); ++i) {
    while (k > 0 && pattern[i] != pattern[k]) k = failure[k - 1];
    if (pattern[i] == pattern[k]) ++k;
    failure[i] = k;
  }
  return failure;
}

// Answers "is q a character start?" for increasing q, resuming the walk from
// the last boundary it established, so every byte is looked at once.
class ForwardBoundaries {
 public:
  ForwardBoundaries(const char* data, std::size_t boundary) : data_(data), boundary_(boundary) {}

  bool StartsAt(std::size_t q) {
    std::size_t runStart = HighRunStart(data_, boundary_, q);
    if ((q - runStart) % 2 == 0) {
      boundary_ = q;
      return true;
    }
    boundary_ = q + 1;  // q is a trail byte, so the next byte starts a character
    return false;
  }

  std::size_t Boundary() const { return boundary_; }

 private:
  const char* data_;
  std::size_t boundary_;
};

// The same for decreasing q: remembers the last run of high bytes it
// measured, [runStart_, runEnd_], whose start is a character start.
class BackwardBoundaries {
 public:
  BackwardBoundaries(const char* data, std::size_t walkStart) : data_(data), walkStart_(walkStart) {}

  bool StartsAt(std::size_t q) {
    if (!known_ || q < runStart_ || q > runEnd_) {
      runStart_ = HighRunStart(data_, walkStart_, q);
      runEnd_ = q;
      known_ = true;
    }
    return (q - runStart_) % 2 == 0;
  }

 private:
  const char* data_;
  std::size_t walkStart_;
  bool known_ = false;
  std::size_t runStart_ = 0;
  std::size_t runEnd_ = 0;
};

}  // namespace

bool StartsCharacter(std::string_view text, std::size_t walkStart, std::size_t pos) {
  return (pos - HighRunStart(text.data(), walkStart, pos)) % 2 == 0;
}

Searcher::Searcher(std::string_view sought, bool ignoreCase)
    : sought_(sought), folding_(ignoreCase && HasLetter(sought)) {
  if (folding_) std::transform(sought_.begin(), sought_.end(), sought_.begin(), FoldCase);
}

std::size_t Searcher::FindFirst(std::string_view text, std::size_t walkStart,
                                std::size_t regionEnd) const {
  if (regionEnd > text.size() || walkStart > regionEnd || regionEnd - walkStart < sought_.size()) {
    return kNone;
  }
  if (folding_) return FindFirstFolding(text, walkStart, regionEnd);
  return FindFirstExact(text, walkStart, regionEnd);
}

// Candidates are the bytes that fold to the sought text's first byte; each
// is compared in full. Should the comparisons cost more than a few times the
// bytes passed (a repetitive sought text over a repetitive region), the
// scanning search takes over, so the whole stays linear.
std::size_t Searcher::FindFirstFolding(std::string_view text, std::size_t walkStart,
                                       std::size_t regionEnd) const {
  const char* data = text.data();
  const std::size_t m = sought_.size();
  const std::size_t lastStart = regionEnd - m + 1;
  ForwardBoundaries boundaries(data, walkStart);
  std::size_t from = walkStart;
  std::size_t compared = 0;
  while (from < lastStart) {
    const std::size_t q = NextFolded(data, from, lastStart, sought_[0]);
    if (q == lastStart) return kNone;
    if (EqualsFolded(data + q, sought_) && boundaries.StartsAt(q)) return q;
    from = q + 1;
    compared += m;
    if (compared > 2 * (from - walkStart) + 4096) {
      return FindFirstScanning(text, boundaries.Boundary(), from, regionEnd);
    }
  }
  return kNone;
}

// memmem finds candidates; a candidate on a trail byte is skipped. Should the
// candidates crowd (a periodic sought text over a periodic region), the
// scanning search takes over so the restarts of memmem stay linear in total.
std::size_t Searcher::FindFirstExact(std::string_view text, std::size_t walkStart,
                                     std::size_t regionEnd) const {
  const char* data = text.data();
  const std::size_t m = sought_.size();
  ForwardBoundaries boundaries(data, walkStart);
  std::size_t from = walkStart;
  std::size_t skipped = 0;
  while (regionEnd - from >= m) {
    const void* hit = m == 1 ? std::memchr(data + from, sought_[0], regionEnd - from)
                             : memmem(data + from, regionEnd - from, sought_.data(), m);
    if (hit == nullptr) return kNone;
    std::size_t q = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
    if (boundaries.StartsAt(q)) return q;
    from = q + 1;
    if (++skipped > 16 && skipped * m > from - walkStart) {
      return FindFirstScanning(text, boundaries.Boundary(), from, regionEnd);
    }
  }
  return kNone;
}

// Knuth-Morris-Pratt over the (folded) bytes, checking each match against
// the walk. `boundary` is a character start at or before `from`.
std::size_t Searcher::FindFirstScanning(std::string_view text, std::size_t boundary,
                                        std::size_t from, std::size_t regionEnd) const {
  const char* data = text.data();
  const std::size_t m = sought_.size();
  const std::vector<std::size_t> failure = FailureTable(sought_);
  ForwardBoundaries boundaries(data, boundary);
  std::size_t k = 0;
  for (std::size_t i = from; i < regionEnd; ++i) {
    if (k == 0) {
      i = NextFolded(data, i, regionEnd, sought_[0]);
      if (i == regionEnd) return kNone;
    }
    const char c = folding_ ? FoldCase(data[i]) : data[i];
    while (k > 0 && sought_[k] != c) k = failure[k - 1];
    if (sought_[k] == c) ++k;
    if (k == m) {
      std::size_t q = i + 1 - m;
      if (boundaries.StartsAt(q)) return q;
      k = failure[m - 1];
    }
  }
  return kNone;
}

// Knuth-Morris-Pratt over the reversed sought text, scanning the region from
// its end; the first match that starts a character is the last one.
std::size_t Searcher::FindLast(std::string_view text, std::size_t walkStart,
                               std::size_t regionEnd) const {
  const std::size_t m = sought_.size();
  if (regionEnd > text.size() || walkStart > regionEnd || regionEnd - walkStart < m) return kNone;
  const char* data = text.data();
  const std::vector<std::size_t> failure = FailureTable(std::string(sought_.rbegin(), sought_.rend()));
  BackwardBoundaries boundaries(data, walkStart);
  std::size_t k = 0;
  for (std::size_t i = regionEnd; i > walkStart;) {
    --i;
    if (k == 0) {
      i = PreviousFolded(data, walkStart, i + 1, sought_[m - 1]);
      if (i == kNone) return kNone;
    }
    const char c = folding_ ? FoldCase(data[i]) : data[i];
    while (k > 0 && sought_[m - 1 - k] != c) k = failure[k - 1];
    if (sought_[m - 1 - k] == c) ++k;
    if (k == m) {
      if (boundaries.StartsAt(i)) return i;
      k = failure[m - 1];
    }
  }
  return kNone;
}

}  // namespace miravel::char_walk
