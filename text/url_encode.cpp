#include "text/url_encode.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "text/code_page.h"

namespace miravel {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// "-", "." and 0-9 (0x2D..0x39 without "/"), A-Z and a-z.
constexpr bool IsKept(unsigned char b) {
  return (b >= 0x2D && b <= 0x39 && b != 0x2F) || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

// Output bytes per input byte: 1 for a kept byte, 3 for "%XX".
constexpr std::array<std::uint8_t, 256> kKeptWidths = [] {
  std::array<std::uint8_t, 256> widths{};
  for (int b = 0; b < 256; ++b) widths[static_cast<std::size_t>(b)] = IsKept(static_cast<unsigned char>(b)) ? 1 : 3;
  return widths;
}();

std::size_t EncodedSize(std::string_view bytes, bool keepUnreserved) {
  if (!keepUnreserved) return 3 * bytes.size();
  std::size_t size = 0;
  for (const char c : bytes) size += kKeptWidths[static_cast<unsigned char>(c)];
  return size;
}

// Writes through a small staging buffer into storage reserved at the exact
// size, so each output byte is written once and no allocation is repeated.
Text Encode(std::string_view bytes, bool keepUnreserved) {
  Text out;
  out.reserve(EncodedSize(bytes, keepUnreserved));
  char chunk[4096];
  std::size_t used = 0;
  for (const char c : bytes) {
    if (used > sizeof chunk - 3) {
      out.append(chunk, used);
      used = 0;
    }
    const auto b = static_cast<unsigned char>(c);
    if (keepUnreserved && kKeptWidths[b] == 1) {
      chunk[used++] = c;
    } else {
      chunk[used] = '%';
      chunk[used + 1] = kHexDigits[b >> 4];
      chunk[used + 2] = kHexDigits[b & 0x0F];
      used += 3;
    }
  }
  out.append(chunk, used);
  return out;
}

}  // namespace

Text UrlEncode(const Text& text, bool keepUnreserved, bool utf8) {
  if (text.empty()) return {};
  return Encode(utf8 ? AnsiToUtf8(text) : text, keepUnreserved);
}

}  // namespace miravel
