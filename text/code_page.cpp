#include "text/code_page.h"

#include <climits>
#include <cstring>
#include <memory>

#include "text/code_page_backend.h"

namespace miravel {
namespace {

constexpr int kWhole = -1;  // input read up to and including its first zero

// A converter's output buffer whose bytes start undefined, for buffers no
// caller sees: they are read only up to the terminator the converter writes.
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
// terminator. False when the conversion cannot be done.
template <class Buffer>
bool AnsiToWideInto(const Text& text, int codePage, Buffer& buffer) {
  const int n = code_page::MultiByteToWide(kCodePageAnsi, text.c_str(), kWhole, nullptr, 0);
  if (n == 0) return false;
  buffer = Buffer(2 * static_cast<std::size_t>(n));
  if (code_page::MultiByteToWide(codePage, text.c_str(), kWhole, buffer.data(), n) != 0) return true;
  const int needed = code_page::MultiByteToWide(codePage, text.c_str(), kWhole, nullptr, 0);
  if (needed <= n) return false;
  buffer.assign(2 * static_cast<std::size_t>(needed), 0);
  return code_page::MultiByteToWide(codePage, text.c_str(), kWhole, buffer.data(), needed) != 0;
}

// WideToAnsi's steps over zero-terminated UTF-16. The platform's output
// buffer is 2 x m bytes of spaces, m measured in the ANSI code page, and
// the result is that buffer up to its first zero byte. The conversion always
// writes its terminator and the spaces after it are never seen, so the
// buffer here is what the requested page needs: never more than 2 x m for a
// text that came from GBK, and for other texts (an emoji into UTF-8 takes
// four bytes where the ANSI page takes one "?") the whole conversion instead
// of an overflow.
Text WideToAnsiOf(const std::uint8_t* utf16, int codePage) {
  const int m = code_page::WideToMultiByte(kCodePageAnsi, utf16, kWhole, nullptr, 0);
  if (m == 0) return {};
  const int needed = code_page::WideToMultiByte(codePage, utf16, kWhole, nullptr, 0);
  if (needed == 0) return {};
  Text buffer(static_cast<std::size_t>(needed), ' ');
  if (code_page::WideToMultiByte(codePage, utf16, kWhole, buffer.data(), needed) == 0) return {};
  buffer.resize(std::strlen(buffer.c_str()));
  return buffer;
}

// `utf16` itself when it holds a zero unit; otherwise a terminated copy in
// `storage`, so the converter never reads past the caller's bytes.
const std::uint8_t* TerminatedWide(const Bytes& utf16, Bytes& storage) {
  const std::size_t units = utf16.size() / 2;
  for (std::size_t i = 0; i < units; ++i) {
    if (utf16[2 * i] == 0 && utf16[2 * i + 1] == 0) return utf16.data();
  }
  storage.assign(utf16.begin(), utf16.begin() + static_cast<std::ptrdiff_t>(2 * units));
  storage.push_back(0);
  storage.push_back(0);
  return storage.data();
}

}  // namespace

Bytes AnsiToWide(const Text& text, std::optional<int> codePage) {
  Bytes buffer;
  if (!AnsiToWideInto(text, codePage.value_or(kCodePageUtf8), buffer)) return {};
  return buffer;
}

Text WideToAnsi(const Bytes& utf16, std::optional<int> codePage) {
  Bytes storage;
  return WideToAnsiOf(TerminatedWide(utf16, storage), codePage.value_or(kCodePageAnsi));
}

// WideToAnsi (AnsiToWide (text, 936), 65001), without filling the
// intermediate buffer that only this routine sees.
Text AnsiToUtf8(const Text& text) {
  RawBuffer wide;
  if (!AnsiToWideInto(text, kCodePageGbk, wide)) return {};
  return WideToAnsiOf(wide.data(), kCodePageUtf8);
}

// Converts exactly the given bytes (no terminator is involved) to GBK; the
// result ends at the first zero byte of the converted text.
Text Utf8ToAnsi(const Bytes& utf8) {
  if (utf8.empty() || utf8.size() > INT_MAX) return {};
  const auto* input = reinterpret_cast<const char*>(utf8.data());
  const int length = static_cast<int>(utf8.size());
  const int w = code_page::MultiByteToWide(kCodePageUtf8, input, length, nullptr, 0);
  if (w == 0) return {};
  RawBuffer wide(2 * static_cast<std::size_t>(w));
  if (code_page::MultiByteToWide(kCodePageUtf8, input, length, wide.data(), w) == 0) return {};
  const int m = code_page::WideToMultiByte(kCodePageGbk, wide.data(), w, nullptr, 0);
  if (m == 0) return {};
  Text gbk(static_cast<std::size_t>(m), '\0');
  if (code_page::WideToMultiByte(kCodePageGbk, wide.data(), w, gbk.data(), m) == 0) return {};
  gbk.resize(std::strlen(gbk.c_str()));
  return gbk;
}

}  // namespace miravel
