// Code-page conversions on arbitrary bytes: never a crash, and valid GBK
// survives the trip through UTF-8 and UTF-16 unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/code_page.h"
#include "text/value.h"

namespace {

// Keeps only what code page 936 decodes one-to-one: ASCII without zero bytes
// and two-byte characters in the GBK ranges.
miravel::Text ValidGbkPart(const std::uint8_t* data, std::size_t size) {
  miravel::Text gbk;
  for (std::size_t i = 0; i < size; ++i) {
    const std::uint8_t lead = data[i];
    if (lead == 0) continue;
    if (lead < 0x80) {
      gbk.push_back(static_cast<char>(lead));
    } else if (lead >= 0x81 && lead <= 0xFE && i + 1 < size) {
      const std::uint8_t trail = data[++i];
      if (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) {
        gbk.push_back(static_cast<char>(lead));
        gbk.push_back(static_cast<char>(trail));
      }
    }
  }
  return gbk;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace miravel;
  const Bytes bytes(data, data + size);
  const Text text(reinterpret_cast<const char*>(data), size);

  // Anything at all: no crash, no sanitizer report.
  (void)Utf8ToAnsi(bytes);
  (void)WideToAnsi(bytes, kCodePageGbk);
  (void)WideToAnsi(bytes, kCodePageUtf8);
  (void)AnsiToUtf8(text.substr(0, text.find('\0')));
  (void)AnsiToWide(text.substr(0, text.find('\0')), kCodePageUtf8);

  // Valid GBK whose characters all map to Unicode round-trips exactly; a
  // character the converter cannot map shows up as "?" and is skipped.
  const Text gbk = ValidGbkPart(data, size);
  const Text utf8 = AnsiToUtf8(gbk);
  const Text back = Utf8ToAnsi(Bytes(utf8.begin(), utf8.end()));
  const Text viaWide = WideToAnsi(AnsiToWide(gbk, kCodePageGbk), kCodePageGbk);
  if (back != viaWide) std::abort();
  if (gbk.find('?') == Text::npos && back.find('?') == Text::npos && back != gbk) std::abort();
  return 0;
}
