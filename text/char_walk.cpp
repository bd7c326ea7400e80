#include "text/char_walk.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

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

bool HasLetter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return FoldCase(c) >= 'a' && FoldCase(c) <= 'z'; });
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
  forwardFailure_ = FailureTable(sought_);
  std::string reversed(sought_.rbegin(), sought_.rend());
  backwardFailure_ = FailureTable(reversed);
}

std::size_t Searcher::FindFirst(std::string_view text, std::size_t walkStart,
                                std::size_t regionEnd) const {
  if (regionEnd > text.size() || walkStart > regionEnd || regionEnd - walkStart < sought_.size()) {
    return kNone;
  }
  if (folding_) return FindFirstScanning(text, walkStart, walkStart, regionEnd);
  return FindFirstExact(text, walkStart, regionEnd);
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
  const bool canSkip = !(folding_ && sought_[0] >= 'a' && sought_[0] <= 'z');
  ForwardBoundaries boundaries(data, boundary);
  std::size_t k = 0;
  for (std::size_t i = from; i < regionEnd; ++i) {
    if (k == 0 && canSkip) {
      const void* next = std::memchr(data + i, sought_[0], regionEnd - i);
      if (next == nullptr) return kNone;
      i = static_cast<std::size_t>(static_cast<const char*>(next) - data);
    }
    const char c = folding_ ? FoldCase(data[i]) : data[i];
    while (k > 0 && sought_[k] != c) k = forwardFailure_[k - 1];
    if (sought_[k] == c) ++k;
    if (k == m) {
      std::size_t q = i + 1 - m;
      if (boundaries.StartsAt(q)) return q;
      k = forwardFailure_[m - 1];
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
  const char last = sought_[m - 1];
  const bool canSkip = !(folding_ && last >= 'a' && last <= 'z');
  BackwardBoundaries boundaries(data, walkStart);
  std::size_t k = 0;
  for (std::size_t i = regionEnd; i > walkStart;) {
    --i;
    if (k == 0 && canSkip) {
      const void* next = memrchr(data + walkStart, last, i + 1 - walkStart);
      if (next == nullptr) return kNone;
      i = static_cast<std::size_t>(static_cast<const char*>(next) - data);
    }
    const char c = folding_ ? FoldCase(data[i]) : data[i];
    while (k > 0 && sought_[m - 1 - k] != c) k = backwardFailure_[k - 1];
    if (sought_[m - 1 - k] == c) ++k;
    if (k == m) {
      if (boundaries.StartsAt(i)) return i;
      k = backwardFailure_[m - 1];
    }
  }
  return kNone;
}

}  // namespace miravel::char_walk
