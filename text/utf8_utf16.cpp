#include "text/utf8_utf16.h"

#include <cstring>

namespace miravel::code_page {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

// An ill-formed sequence consumes its maximal subpart: the bytes that could
// still have begun a valid one.
Utf8Decoded DecodeUtf8(const unsigned char* p, std::size_t left) {
  const unsigned char lead = p[0];
  std::size_t trail;
  char32_t code;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    trail = 1;
    code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    trail = 2;
    code = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    trail = 3;
    code = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
  } else {
    return {kReplacement, 1};
  }
  for (std::size_t i = 1; i <= trail; ++i) {
    if (i >= left || p[i] < low || p[i] > high) return {kReplacement, i};
    low = 0x80;
    high = 0xBF;
    code = (code << 6) | (p[i] & 0x3Fu);
  }
  return {code, trail + 1};
}

namespace {

char32_t Unit(const std::uint8_t* utf16, std::size_t index) {
  return static_cast<char32_t>(utf16[2 * index] | (utf16[2 * index + 1] << 8));
}

void PutUnit(std::uint8_t* utf16, std::size_t index, char32_t unit) {
  utf16[2 * index] = static_cast<std::uint8_t>(unit & 0xFF);
  utf16[2 * index + 1] = static_cast<std::uint8_t>(unit >> 8);
}

bool IsAsciiWord(const unsigned char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return (word & 0x8080808080808080u) == 0;
}

// Measuring (kWrite false) and converting share one walk, so the size
// measured is always the size written. Runs of ASCII words and of the common
// three-byte characters take tight loops; everything else goes through
// NextUtf8.
template <bool kWrite>
std::ptrdiff_t Utf8ToUtf16Walk(const unsigned char* in, std::size_t size, std::uint8_t* out,
                               std::size_t capacity) {
  std::size_t units = 0;
  std::size_t i = 0;
  while (i < size) {
    while (size - i >= 8 && IsAsciiWord(in + i)) {
      if constexpr (kWrite) {
        if (capacity - units < 8) return -1;
        for (std::size_t k = 0; k < 8; ++k) PutUnit(out, units + k, in[i + k]);
      }
      units += 8;
      i += 8;
    }
    while (IsCommonThreeByteCharacter(in + i, size - i)) {
      if constexpr (kWrite) {
        if (units == capacity) return -1;
        PutUnit(out, units, CommonThreeByteCode(in + i));
      }
      ++units;
      i += 3;
    }
    if (i == size) break;
    const Utf8Decoded next = NextUtf8(in + i, size - i);
    const char32_t code = next.code;
    i += next.size;
    const std::size_t need = code >= 0x10000 ? 2 : 1;
    if constexpr (kWrite) {
      if (capacity - units < need) return -1;
      if (need == 1) {
        PutUnit(out, units, code);
      } else {
        PutUnit(out, units, 0xD800 + ((code - 0x10000) >> 10));
        PutUnit(out, units + 1, 0xDC00 + ((code - 0x10000) & 0x3FF));
      }
    }
    units += need;
  }
  return static_cast<std::ptrdiff_t>(units);
}

template <bool kWrite>
std::ptrdiff_t Utf16ToUtf8Walk(const std::uint8_t* in, std::size_t units, unsigned char* out,
                               std::size_t capacity) {
  std::size_t size = 0;
  std::size_t i = 0;
  while (i < units) {
    // Runs of ASCII, four units per word, and of three-byte characters.
    while (units - i >= 4) {
      std::uint64_t word;
      std::memcpy(&word, in + 2 * i, sizeof word);
      if ((word & 0xFF80FF80FF80FF80u) != 0) break;
      if constexpr (kWrite) {
        if (capacity - size < 4) return -1;
        for (std::size_t k = 0; k < 4; ++k) out[size + k] = in[2 * (i + k)];
      }
      size += 4;
      i += 4;
    }
    while (i < units) {
      const char32_t unit = Unit(in, i);
      if (unit < 0x800 || (unit & 0xF800) == 0xD800) break;
      if constexpr (kWrite) {
        if (capacity - size < 3) return -1;
        out[size] = static_cast<unsigned char>(0xE0 | (unit >> 12));
        out[size + 1] = static_cast<unsigned char>(0x80 | ((unit >> 6) & 0x3F));
        out[size + 2] = static_cast<unsigned char>(0x80 | (unit & 0x3F));
      }
      size += 3;
      ++i;
    }
    if (i == units) break;
    char32_t code = Unit(in, i++);
    if ((code & 0xF800) == 0xD800) {
      const char32_t next = i < units ? Unit(in, i) : 0;
      if (code <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
        code = 0x10000 + ((code - 0xD800) << 10) + (next - 0xDC00);
        ++i;
      } else {
        code = kReplacement;
      }
    }
    const std::size_t need = 1 + (code >= 0x80) + (code >= 0x800) + (code >= 0x10000);
    if constexpr (kWrite) {
      if (capacity - size < need) return -1;
      unsigned char* p = out + size;
      switch (need) {
        case 1:
          p[0] = static_cast<unsigned char>(code);
          break;
        case 2:
          p[0] = static_cast<unsigned char>(0xC0 | (code >> 6));
          p[1] = static_cast<unsigned char>(0x80 | (code & 0x3F));
          break;
        case 3:
          p[0] = static_cast<unsigned char>(0xE0 | (code >> 12));
          p[1] = static_cast<unsigned char>(0x80 | ((code >> 6) & 0x3F));
          p[2] = static_cast<unsigned char>(0x80 | (code & 0x3F));
          break;
        default:
          p[0] = static_cast<unsigned char>(0xF0 | (code >> 18));
          p[1] = static_cast<unsigned char>(0x80 | ((code >> 12) & 0x3F));
          p[2] = static_cast<unsigned char>(0x80 | ((code >> 6) & 0x3F));
          p[3] = static_cast<unsigned char>(0x80 | (code & 0x3F));
          break;
      }
    }
    size += need;
  }
  return static_cast<std::ptrdiff_t>(size);
}

}  // namespace

std::ptrdiff_t Utf8ToUtf16(const unsigned char* input, std::size_t size, std::uint8_t* output,
                           std::size_t capacityUnits) {
  if (output == nullptr) return Utf8ToUtf16Walk<false>(input, size, nullptr, 0);
  return Utf8ToUtf16Walk<true>(input, size, output, capacityUnits);
}

std::ptrdiff_t Utf16ToUtf8(const std::uint8_t* input, std::size_t units, unsigned char* output,
                           std::size_t capacityBytes) {
  if (output == nullptr) return Utf16ToUtf8Walk<false>(input, units, nullptr, 0);
  return Utf16ToUtf8Walk<true>(input, units, output, capacityBytes);
}

}  // namespace miravel::code_page
