// The code-page backend on glibc: GBK through iconv's "CP936" converter
// (which, like the platform's code page 936, maps 0x80 to the euro sign),
// UTF-8 through utf8_utf16.h. iconv stops at the first character it cannot
// convert; the loops here substitute and carry on, as the platform does.

#include <iconv.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <utility>

#include "text/code_page_backend.h"
#include "text/utf8_utf16.h"

namespace miravel::code_page {
namespace {

constexpr const char* kGbkName = "CP936";
constexpr const char* kUcs4Name = "WCHAR_T";  // glibc: UCS-4 in host order
constexpr std::uint32_t kReplacement = 0xFFFD;
static_assert(sizeof(wchar_t) == sizeof(std::uint32_t), "WCHAR_T must be UCS-4");
constexpr char kGbkDefaultChar = '?';

enum class IconvStop { kDone, kOutputFull, kBadInput };

// Owns one iconv conversion descriptor.
class IconvDescriptor {
 public:
  IconvDescriptor(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~IconvDescriptor() { Close(); }
  IconvDescriptor(const IconvDescriptor&) = delete;
  IconvDescriptor& operator=(const IconvDescriptor&) = delete;
  IconvDescriptor(IconvDescriptor&& other) noexcept : cd_(std::exchange(other.cd_, Invalid())) {}
  IconvDescriptor& operator=(IconvDescriptor&& other) noexcept {
    if (this != &other) {
      Close();
      cd_ = std::exchange(other.cd_, Invalid());
    }
    return *this;
  }

  bool Valid() const { return cd_ != Invalid(); }

  // Converts as much as it can, advancing all four arguments. The one place
  // iconv's errno is read: E2BIG means the output is full; EILSEQ and EINVAL
  // (a sequence cut short at the end) both leave `in` at a character that
  // cannot be converted.
  IconvStop Convert(const char*& in, std::size_t& inLeft, char*& out, std::size_t& outLeft) {
    char* input = const_cast<char*>(in);  // iconv's signature; it never writes there
    const std::size_t result = iconv(cd_, &input, &inLeft, &out, &outLeft);
    in = input;
    if (result != static_cast<std::size_t>(-1)) return IconvStop::kDone;
    return errno == E2BIG ? IconvStop::kOutputFull : IconvStop::kBadInput;
  }

 private:
  static iconv_t Invalid() { return reinterpret_cast<iconv_t>(-1); }
  void Close() {
    if (Valid()) iconv_close(cd_);
    cd_ = Invalid();
  }

  iconv_t cd_;
};

bool IsGbkLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsGbkTrail(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }
bool IsHighSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

std::uint32_t Unit(const std::uint8_t* utf16, std::size_t index) {
  return utf16[2 * index] | (utf16[2 * index + 1] << 8u);
}

void PutUnit(std::uint8_t* utf16, std::size_t index, std::uint32_t unit) {
  utf16[2 * index] = static_cast<std::uint8_t>(unit & 0xFF);
  utf16[2 * index + 1] = static_cast<std::uint8_t>(unit >> 8);
}

// Bytes of the GBK character at `p`: a lead byte followed by a trail byte
// is one character (mapped or not); any other byte stands alone.
std::size_t GbkCharSize(const unsigned char* p, std::size_t left) {
  return left > 1 && IsGbkLead(p[0]) && IsGbkTrail(p[1]) ? 2 : 1;
}

// The code point at `*index`, advancing past it: a surrogate pair is one
// code point beyond U+FFFF, an unpaired surrogate stands for itself.
std::uint32_t NextCodePoint(const std::uint8_t* utf16, std::size_t& index, std::size_t units) {
  const std::uint32_t unit = Unit(utf16, index++);
  if ((unit & 0xF800) != 0xD800) return unit;
  if (IsHighSurrogate(unit) && index < units) {
    const std::uint32_t next = Unit(utf16, index);
    if (IsLowSurrogate(next)) {
      ++index;
      return 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
    }
  }
  return unit;
}

// Every GBK character, and every substitute, is one UTF-16 unit.
std::size_t MeasureGbkToUtf16(const unsigned char* in, std::size_t size) {
  std::size_t units = 0;
  std::size_t i = 0;
  while (i < size) {
    if (size - i >= 8) {
      std::uint64_t word;
      std::memcpy(&word, in + i, sizeof word);
      if ((word & 0x8080808080808080u) == 0) {
        units += 8;
        i += 8;
        continue;
      }
    }
    i += in[i] < 0x80 ? 1 : GbkCharSize(in + i, size - i);
    ++units;
  }
  return units;
}

// UCS-4 code points, host order, in chunks that stay in the cache. glibc
// converts between GBK and its wchar_t (UCS-4) in one step, where UTF-16
// would take two; the UTF-16 side is done here.
using Ucs4Chunk = std::array<std::uint32_t, 4096>;

// Puts `code` as one or two UTF-16 units at `*units`; false when it does not
// fit in `capacity`.
bool PutUtf16(std::uint32_t code, std::uint8_t* out, std::size_t& units, std::size_t capacity) {
  if (code < 0x10000) {
    if (units == capacity) return false;
    PutUnit(out, units++, code);
    return true;
  }
  if (capacity - units < 2) return false;
  PutUnit(out, units++, 0xD800 + ((code - 0x10000) >> 10));
  PutUnit(out, units++, 0xDC00 + ((code - 0x10000) & 0x3FF));
  return true;
}

std::ptrdiff_t GbkToUtf16(const char* in, std::size_t size, std::uint8_t* out, std::size_t capacityUnits) {
  IconvDescriptor cd(kUcs4Name, kGbkName);
  if (!cd.Valid()) return -1;
  Ucs4Chunk chunk;
  std::size_t units = 0;
  for (;;) {
    char* chunkPtr = reinterpret_cast<char*>(chunk.data());
    std::size_t chunkLeft = sizeof chunk;
    const IconvStop stop = cd.Convert(in, size, chunkPtr, chunkLeft);
    if (stop == IconvStop::kBadInput && chunkLeft >= sizeof(std::uint32_t)) {
      const std::uint32_t replacement = kReplacement;
      std::memcpy(chunkPtr, &replacement, sizeof replacement);
      chunkPtr += sizeof replacement;
      chunkLeft -= sizeof replacement;
      const std::size_t skip = GbkCharSize(reinterpret_cast<const unsigned char*>(in), size);
      in += skip;
      size -= skip;
    }
    const std::size_t count = (sizeof chunk - chunkLeft) / sizeof(std::uint32_t);
    for (std::size_t k = 0; k < count; ++k) {
      if (!PutUtf16(chunk[k], out, units, capacityUnits)) return -1;
    }
    if (stop == IconvStop::kDone) return static_cast<std::ptrdiff_t>(units);
  }
}

// GBK bytes of each BMP code point as the converter writes it; 1 for the
// "?" that stands in for a code point it cannot hold. Built once from the
// converter itself, so measuring agrees with converting.
using WidthTable = std::array<std::uint8_t, 0x10000>;

std::unique_ptr<WidthTable> BuildGbkWidths() {
  auto widths = std::make_unique<WidthTable>();
  widths->fill(1);
  IconvDescriptor cd(kGbkName, kUcs4Name);
  if (!cd.Valid()) return widths;
  for (std::uint32_t code = 0; code < 0x10000; ++code) {
    if (code >= 0xD800 && code <= 0xDFFF) continue;
    const char* in = reinterpret_cast<const char*>(&code);
    std::size_t inLeft = sizeof code;
    char buffer[8];
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    if (cd.Convert(in, inLeft, out, outLeft) == IconvStop::kDone) {
      (*widths)[code] = static_cast<std::uint8_t>(sizeof buffer - outLeft);
    }
  }
  return widths;
}

const WidthTable& GbkWidths() {
  static const std::unique_ptr<WidthTable> widths = BuildGbkWidths();
  return *widths;
}

// GBK holds nothing beyond U+FFFF, so a surrogate pair becomes one "?".
std::size_t MeasureUtf16ToGbk(const std::uint8_t* in, std::size_t units) {
  const WidthTable& widths = GbkWidths();
  std::size_t size = 0;
  for (std::size_t i = 0; i < units;) {
    const std::uint32_t code = NextCodePoint(in, i, units);
    size += code > 0xFFFF ? 1 : widths[code];
  }
  return size;
}

std::ptrdiff_t Utf16ToGbk(const std::uint8_t* in, std::size_t units, char* out, std::size_t capacity) {
  IconvDescriptor cd(kGbkName, kUcs4Name);
  if (!cd.Valid()) return -1;
  Ucs4Chunk chunk;
  std::size_t outLeft = capacity;
  for (std::size_t i = 0; i < units;) {
    std::size_t count = 0;
    for (; count < chunk.size() && i < units; ++count) chunk[count] = NextCodePoint(in, i, units);
    // Unpaired surrogates and code points beyond U+FFFF are bad input to
    // the GBK converter, so each becomes one "?".
    const char* chunkPtr = reinterpret_cast<const char*>(chunk.data());
    std::size_t chunkLeft = count * sizeof(std::uint32_t);
    while (chunkLeft > 0) {
      switch (cd.Convert(chunkPtr, chunkLeft, out, outLeft)) {
        case IconvStop::kDone:
          break;
        case IconvStop::kOutputFull:
          return -1;
        case IconvStop::kBadInput:
          if (outLeft == 0) return -1;
          *out++ = kGbkDefaultChar;
          --outLeft;
          chunkPtr += sizeof(std::uint32_t);
          chunkLeft -= sizeof(std::uint32_t);
          break;
      }
    }
  }
  return static_cast<std::ptrdiff_t>(capacity - outLeft);
}

enum class Page { kGbk, kUtf8, kUnsupported };

Page Resolve(int codePage) {
  switch (codePage) {
    case 0:  // the system ANSI code page, which is GBK here
    case 936:
      return Page::kGbk;
    case 65001:
      return Page::kUtf8;
    default:
      return Page::kUnsupported;
  }
}

int ToResult(std::ptrdiff_t size) { return size < 0 || size > INT_MAX ? 0 : static_cast<int>(size); }

std::size_t TerminatedUnits(const std::uint8_t* utf16) {
  std::size_t units = 0;
  while (Unit(utf16, units) != 0) ++units;
  return units + 1;
}

}  // namespace

int MultiByteToWide(int codePage, const char* input, int length, std::uint8_t* utf16,
                    int capacityUnits) {
  const Page page = Resolve(codePage);
  if (page == Page::kUnsupported || input == nullptr || length == 0 || length < -1 ||
      capacityUnits < 0 || (capacityUnits > 0 && utf16 == nullptr)) {
    return 0;
  }
  const std::size_t size = length == -1 ? std::strlen(input) + 1 : static_cast<std::size_t>(length);
  const auto* bytes = reinterpret_cast<const unsigned char*>(input);
  if (capacityUnits == 0) {
    return ToResult(page == Page::kGbk ? static_cast<std::ptrdiff_t>(MeasureGbkToUtf16(bytes, size))
                                       : Utf8ToUtf16(bytes, size, nullptr, 0));
  }
  const auto capacity = static_cast<std::size_t>(capacityUnits);
  return ToResult(page == Page::kGbk ? GbkToUtf16(input, size, utf16, capacity)
                                     : Utf8ToUtf16(bytes, size, utf16, capacity));
}

int WideToMultiByte(int codePage, const std::uint8_t* utf16, int lengthUnits, char* output,
                    int capacityBytes) {
  const Page page = Resolve(codePage);
  if (page == Page::kUnsupported || utf16 == nullptr || lengthUnits == 0 || lengthUnits < -1 ||
      capacityBytes < 0 || (capacityBytes > 0 && output == nullptr)) {
    return 0;
  }
  const std::size_t units =
      lengthUnits == -1 ? TerminatedUnits(utf16) : static_cast<std::size_t>(lengthUnits);
  if (capacityBytes == 0) {
    return ToResult(page == Page::kGbk ? static_cast<std::ptrdiff_t>(MeasureUtf16ToGbk(utf16, units))
                                       : Utf16ToUtf8(utf16, units, nullptr, 0));
  }
  const auto capacity = static_cast<std::size_t>(capacityBytes);
  return ToResult(page == Page::kGbk
                      ? Utf16ToGbk(utf16, units, output, capacity)
                      : Utf16ToUtf8(utf16, units, reinterpret_cast<unsigned char*>(output), capacity));
}

}  // namespace miravel::code_page
