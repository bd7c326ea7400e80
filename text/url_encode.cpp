#include "text/url_encode.h"

#include <array>

#include "text/code_page.h"

namespace miravel {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// "-", "." and 0-9 (0x2D..0x39 without "/"), A-Z and a-z.
constexpr bool IsKept(unsigned char b) {
  return (b >= 0x2D && b <= 0x39 && b != 0x2F) || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

constexpr std::array<bool, 256> kKeptTable = [] {
  std::array<bool, 256> table{};
  for (int b = 0; b < 256; ++b) table[static_cast<std::size_t>(b)] = IsKept(static_cast<unsigned char>(b));
  return table;
}();

Text Encode(const Text& bytes, bool keepUnreserved) {
  Text out(bytes.size() * 3, '\0');
  char* p = out.data();
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (keepUnreserved && kKeptTable[b]) {
      *p++ = c;
    } else {
      p[0] = '%';
      p[1] = kHexDigits[b >> 4];
      p[2] = kHexDigits[b & 0x0F];
      p += 3;
    }
  }
  out.resize(static_cast<std::size_t>(p - out.data()));
  return out;
}

}  // namespace

Text UrlEncode(const Text& text, bool keepUnreserved, bool utf8) {
  if (text.empty()) return {};
  return Encode(utf8 ? AnsiToUtf8(text) : text, keepUnreserved);
}

}  // namespace miravel
