#include "text/code_page.h"

#include <climits>
#include <cstring>
#include <memory>

#include "text/code_page_backend.h"

namespace miravel {
namespace {

constexpr int kWhole = -1;  // input read up to and including its first zero

// Texts shorter than this stay within every size limit of the UTF-16 route:
// GBK texts' units, twice that in GBK bytes, three times in UTF-8; UTF-8
// texts' units, and at most twice their size in GBK.
constexpr std::size_t kDirectLimit = INT_MAX / 4;

// A converter's output buffer whose bytes start undefined, for buffers no
// caller sees: they are read only up to the size the converter wrote.
class RawBuffer {
 public:
  RawBuffer() = default;
  explicit RawBuffer(std::size_t size) : data_(new std::uint8_t[size]), size_(size) {}
  void assign(std::size_t size, std::uint8_t /*fill: not needed*/) { *this = RawBuffer(size); }
  std::uint8_t* data() { return data_.get(); }
  std::size_t size() const { return size_; }

 private:
  std::unique_ptr<std::uint8_t[]> data_;
  std::size_t size_ = 0;
};

// AnsiToWide's steps into `buffer` (Bytes, zero-filled, for callers that
// see the whole buffer; RawBuffer for AnsiToUtf8, which reads up to the
// terminator). The buffer is sized in the ANSI code page and filled in the
// requested one: when that page needs fewer units the rest of the buffer is
// left as it was; when it needs more (GBK bytes read as UTF-8, say) the
// buffer grows to fit rather than losing the end of the text and its
// terminator. Returns the units written (terminator included), 0 when the
// conversion cannot be done.
template <class Buffer>
int AnsiToWideInto(const Text& text, int codePage, Buffer& buffer) {
  const int n = code_page::MultiByteToWide(kCodePageAnsi, text.c_str(), kWhole, nullptr, 0);
  if (n == 0) return 0;
  buffer = Buffer(2 * static_cast<std::size_t>(n));
  const int written = code_page::MultiByteToWide(codePage, text.c_str(), kWhole, buffer.data(), n);
  if (written != 0) return written;
  const int needed = code_page::MultiByteToWide(codePage, text.c_str(), kWhole, nullptr, 0);
  if (needed <= n) return 0;
  buffer.assign(2 * static_cast<std::size_t>(needed), 0);
  return code_page::MultiByteToWide(codePage, text.c_str(), kWhole, buffer.data(), needed);
}

// WideToAnsi's steps over `units` UTF-16 units that end with their first
// zero unit (what the platform reads when given the length -1). The output
// buffer is twice the size measured in the ANSI code page, which holds the
// UTF-8 form of any text that came from GBK; for other texts (an emoji takes
// four bytes in UTF-8 and one "?" in GBK) it grows to what the requested
// page needs instead of overflowing. The result is the output up to its
// first zero byte; the rest of the buffer (spaces on the platform) is never
// seen.
Text WideToAnsiOf(const std::uint8_t* utf16, int units, int codePage) {
  const int m = code_page::WideToMultiByte(kCodePageAnsi, utf16, units, nullptr, 0);
  if (m == 0 || m > INT_MAX / 2) return {};
  RawBuffer buffer(2 * static_cast<std::size_t>(m));
  auto* out = reinterpret_cast<char*>(buffer.data());
  int written = code_page::WideToMultiByte(codePage, utf16, units, out, 2 * m);
  if (written == 0) {
    const int needed = code_page::WideToMultiByte(codePage, utf16, units, nullptr, 0);
    if (needed <= 2 * m) return {};
    buffer = RawBuffer(static_cast<std::size_t>(needed));
    out = reinterpret_cast<char*>(buffer.data());
    written = code_page::WideToMultiByte(codePage, utf16, units, out, needed);
  }
  const void* zero = std::memchr(out, 0, static_cast<std::size_t>(written));
  return zero == nullptr ? Text() : Text(static_cast<const char*>(out), static_cast<const char*>(zero));
}

// The units of `utf16` up to and including its first zero unit. When the
// bytes hold no zero unit, a terminated copy is made in `storage` so the
// conversion never reads past the caller's bytes.
const std::uint8_t* TerminatedWide(const Bytes& utf16, Bytes& storage, int& units) {
  const std::size_t count = utf16.size() / 2;
  for (std::size_t i = 0; i < count; ++i) {
    if (utf16[2 * i] == 0 && utf16[2 * i + 1] == 0) {
      units = i + 1 > INT_MAX ? 0 : static_cast<int>(i + 1);
      return utf16.data();
    }
  }
  storage.assign(utf16.begin(), utf16.begin() + static_cast<std::ptrdiff_t>(2 * count));
  storage.push_back(0);
  storage.push_back(0);
  units = count + 1 > INT_MAX ? 0 : static_cast<int>(count + 1);
  return storage.data();
}

}  // namespace

Bytes AnsiToWide(const Text& text, std::optional<int> codePage) {
  Bytes buffer;
  if (AnsiToWideInto(text, codePage.value_or(kCodePageUtf8), buffer) == 0) return {};
  return buffer;
}

Text WideToAnsi(const Bytes& utf16, std::optional<int> codePage) {
  Bytes storage;
  int units = 0;
  const std::uint8_t* data = TerminatedWide(utf16, storage, units);
  if (units == 0) return {};
  return WideToAnsiOf(data, units, codePage.value_or(kCodePageAnsi));
}

// WideToAnsi (AnsiToWide (text, 936), 65001). The backend's direct path
// gives the same bytes in one pass; below kDirectLimit the composition never
// meets its own size limits, so the two agree there. Otherwise, or without a
// direct path, the composition runs, without filling the intermediate buffer
// that only this routine sees and without searching it again for the
// terminator the conversion just wrote.
Text AnsiToUtf8(const Text& text) {
  const std::size_t length = std::strlen(text.c_str());
  if (length < kDirectLimit) {
    RawBuffer utf8(code_page::GbkToUtf8Room(length));
    auto* out = reinterpret_cast<char*>(utf8.data());
    const std::ptrdiff_t size = code_page::GbkToUtf8(text.c_str(), length, out);
    if (size >= 0) return Text(out, static_cast<std::size_t>(size));
  }
  RawBuffer wide;
  const int units = AnsiToWideInto(text, kCodePageGbk, wide);
  if (units == 0) return {};
  return WideToAnsiOf(wide.data(), units, kCodePageUtf8);
}

namespace code_page {

Text Utf8ToAnsiThroughUtf16(const Bytes& utf8) {
  if (utf8.empty() || utf8.size() > INT_MAX) return {};
  const auto* input = reinterpret_cast<const char*>(utf8.data());
  const int length = static_cast<int>(utf8.size());
  const int w = MultiByteToWide(kCodePageUtf8, input, length, nullptr, 0);
  if (w == 0) return {};
  RawBuffer wide(2 * static_cast<std::size_t>(w));
  if (MultiByteToWide(kCodePageUtf8, input, length, wide.data(), w) == 0) return {};
  const int m = WideToMultiByte(kCodePageGbk, wide.data(), w, nullptr, 0);
  if (m == 0) return {};
  Text gbk(static_cast<std::size_t>(m), '\0');
  if (WideToMultiByte(kCodePageGbk, wide.data(), w, gbk.data(), m) == 0) return {};
  gbk.resize(std::strlen(gbk.c_str()));
  return gbk;
}

}  // namespace code_page

// Converts exactly the given bytes (no terminator is involved) to GBK; the
// result ends at the first zero byte of the converted text. The backend's
// direct path gives the same bytes in one pass; below kDirectLimit the
// composition never meets its size limits (it needs at most twice the
// input's size), so the two agree there.
Text Utf8ToAnsi(const Bytes& utf8) {
  if (utf8.empty()) return {};
  if (utf8.size() < kDirectLimit) {
    RawBuffer gbk(code_page::Utf8ToGbkRoom(utf8.size()));
    auto* out = reinterpret_cast<char*>(gbk.data());
    const std::ptrdiff_t size = code_page::Utf8ToGbk(reinterpret_cast<const char*>(utf8.data()), utf8.size(), out);
    if (size >= 0) return Text(out, static_cast<std::size_t>(size));
  }
  return code_page::Utf8ToAnsiThroughUtf16(utf8);
}

}  // namespace miravel
