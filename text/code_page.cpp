#include "text/code_page.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "text/code_page_backend.h"

namespace miravel {
namespace {

constexpr int kWhole = -1;  // input read up to and including its first zero

// The UTF-16 data of `utf16` up to its first zero unit, with that zero. When
// the bytes hold no zero unit, a terminated copy is made in `storage` so the
// converter never reads past the caller's buffer.
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

// The buffer is sized in the ANSI code page and filled in the requested one.
// When the requested page needs fewer units the buffer keeps zero units at
// its end; when it needs more (a GBK text read as UTF-8, say) the buffer
// grows to fit rather than losing the end of the text and its terminator.
Bytes AnsiToWide(const Text& text, std::optional<int> codePage) {
  const int page = codePage.value_or(kCodePageUtf8);
  const int n = code_page::MultiByteToWide(kCodePageAnsi, text.c_str(), kWhole, nullptr, 0);
  if (n == 0) return {};
  Bytes buffer(2 * static_cast<std::size_t>(n));
  if (code_page::MultiByteToWide(page, text.c_str(), kWhole, buffer.data(), n) != 0) return buffer;
  const int needed = code_page::MultiByteToWide(page, text.c_str(), kWhole, nullptr, 0);
  if (needed <= n) return {};
  buffer.assign(2 * static_cast<std::size_t>(needed), 0);
  if (code_page::MultiByteToWide(page, text.c_str(), kWhole, buffer.data(), needed) == 0) return {};
  return buffer;
}

// The buffer is twice the size measured in the ANSI code page, which holds
// the UTF-8 form of any text that came from GBK; for other texts it grows to
// what the requested page needs.
Text WideToAnsi(const Bytes& utf16, std::optional<int> codePage) {
  const int page = codePage.value_or(kCodePageAnsi);
  Bytes storage;
  const std::uint8_t* data = TerminatedWide(utf16, storage);
  const int m = code_page::WideToMultiByte(kCodePageAnsi, data, kWhole, nullptr, 0);
  if (m == 0 || m > INT_MAX / 2) return {};
  Text buffer(2 * static_cast<std::size_t>(m), ' ');
  if (code_page::WideToMultiByte(page, data, kWhole, buffer.data(), 2 * m) == 0) {
    const int needed = code_page::WideToMultiByte(page, data, kWhole, nullptr, 0);
    if (needed <= 2 * m) return {};
    buffer.assign(static_cast<std::size_t>(needed), ' ');
    if (code_page::WideToMultiByte(page, data, kWhole, buffer.data(), needed) == 0) return {};
  }
  buffer.resize(std::strlen(buffer.c_str()));
  return buffer;
}

Text AnsiToUtf8(const Text& text) { return WideToAnsi(AnsiToWide(text, kCodePageGbk), kCodePageUtf8); }

// Converts exactly the given bytes (no terminator is involved) to GBK; the
// result ends at the first zero byte of the converted text.
Text Utf8ToAnsi(const Bytes& utf8) {
  if (utf8.empty() || utf8.size() > INT_MAX) return {};
  const auto* input = reinterpret_cast<const char*>(utf8.data());
  const int length = static_cast<int>(utf8.size());
  const int w = code_page::MultiByteToWide(kCodePageUtf8, input, length, nullptr, 0);
  if (w == 0) return {};
  Bytes wide(2 * static_cast<std::size_t>(w));
  if (code_page::MultiByteToWide(kCodePageUtf8, input, length, wide.data(), w) == 0) return {};
  const int m = code_page::WideToMultiByte(kCodePageGbk, wide.data(), w, nullptr, 0);
  if (m == 0) return {};
  Text gbk(static_cast<std::size_t>(m), '\0');
  if (code_page::WideToMultiByte(kCodePageGbk, wide.data(), w, gbk.data(), m) == 0) return {};
  gbk.resize(std::strlen(gbk.c_str()));
  return gbk;
}

}  // namespace miravel
