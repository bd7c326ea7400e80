// The code-page backend on glibc. GBK is glibc iconv's "CP936" converter
// (which, like the platform's code page 936, maps 0x80 to the euro sign);
// UTF-8 is utf8_utf16.h.
//
// iconv stops at the first character it cannot convert and pays a
// converter step per call. So the converter is asked once, character by
// character, for its whole mapping (every single byte and byte pair, every
// BMP code point), and the conversions run over those tables. The mapping
// stays iconv's; what the tables add is the platform's substitution: a GBK
// sequence iconv cannot read becomes U+FFFD, a character GBK cannot hold
// becomes "?", and the conversion carries on.

#include <iconv.h>

#include <array>
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
static_assert(sizeof(wchar_t) == sizeof(std::uint32_t), "WCHAR_T must be UCS-4");

constexpr std::uint16_t kNone = 0xFFFF;  // neither a GBK code nor a GBK result
constexpr std::uint16_t kReplacement = 0xFFFD;
constexpr unsigned char kGbkDefaultChar = '?';

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

  // Converts the whole of `input` (one character) into `output`; the number
  // of bytes written, or -1 when iconv cannot convert it (EILSEQ, EINVAL or
  // E2BIG alike: each means "not one character of the other side" here).
  std::ptrdiff_t ConvertOne(const void* input, std::size_t size, void* output, std::size_t capacity) {
    char* in = static_cast<char*>(const_cast<void*>(input));  // iconv's signature; never written
    char* out = static_cast<char*>(output);
    std::size_t outLeft = capacity;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd_, &in, &size, &out, &outLeft) == static_cast<std::size_t>(-1) || size != 0) return -1;
    return static_cast<std::ptrdiff_t>(capacity - outLeft);
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
constexpr std::size_t kTrails = 0xFE - 0x40 + 1;  // trail byte columns, 0x7F's left empty
std::size_t PairIndex(unsigned char lead, unsigned char trail) { return (lead - 0x81u) * kTrails + (trail - 0x40u); }

// The converter's mapping. Decoding: the BMP code point of each single byte
// and of each lead+trail pair, U+FFFD where the converter cannot read it.
// Encoding: the GBK code of each BMP code point (a value up to 0xFF is one
// byte, otherwise lead << 8 | trail), kNone where GBK cannot hold it.
struct GbkMap {
  std::array<std::uint16_t, 256> single;
  std::array<std::uint16_t, 126 * kTrails> pairs;
  std::array<std::uint16_t, 0x10000> encode;
};

std::uint16_t DecodeOne(IconvDescriptor& cd, const unsigned char* bytes, std::size_t size) {
  std::uint32_t code = 0;
  const std::ptrdiff_t written = cd.ConvertOne(bytes, size, &code, sizeof code);
  return written == static_cast<std::ptrdiff_t>(sizeof code) && code < kNone ? static_cast<std::uint16_t>(code) : kReplacement;
}

std::uint16_t EncodeOne(IconvDescriptor& cd, std::uint32_t code) {
  unsigned char bytes[4];
  const std::ptrdiff_t written = cd.ConvertOne(&code, sizeof code, bytes, sizeof bytes);
  if (written == 1) return bytes[0];
  if (written == 2 && IsGbkLead(bytes[0]) && IsGbkTrail(bytes[1])) return static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
  return kNone;
}

// Without the converter every entry stays "not convertible": every byte
// then reads as U+FFFD and every character writes as "?".
std::unique_ptr<GbkMap> ReadGbkMap() {
  auto map = std::make_unique<GbkMap>();
  map->single.fill(kReplacement);
  map->pairs.fill(kReplacement);
  map->encode.fill(kNone);
  IconvDescriptor decoder(kUcs4Name, kGbkName);
  IconvDescriptor encoder(kGbkName, kUcs4Name);
  if (!decoder.Valid() || !encoder.Valid()) return map;
  for (unsigned b = 0; b < 256; ++b) {
    const unsigned char byte = static_cast<unsigned char>(b);
    map->single[b] = DecodeOne(decoder, &byte, 1);
  }
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      const unsigned char pair[2] = {static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)};
      if (IsGbkTrail(pair[1])) map->pairs[PairIndex(pair[0], pair[1])] = DecodeOne(decoder, pair, 2);
    }
  }
  for (std::uint32_t code = 0; code < 0x10000; ++code) {
    if (code < 0xD800 || code > 0xDFFF) map->encode[code] = EncodeOne(encoder, code);
  }
  return map;
}

const GbkMap& Gbk() {
  static const std::unique_ptr<GbkMap> map = ReadGbkMap();
  return *map;
}

std::uint32_t Unit(const std::uint8_t* utf16, std::size_t index) {
  return utf16[2 * index] | (utf16[2 * index + 1] << 8u);
}

void PutUnit(std::uint8_t* utf16, std::size_t index, std::uint32_t unit) {
  utf16[2 * index] = static_cast<std::uint8_t>(unit & 0xFF);
  utf16[2 * index + 1] = static_cast<std::uint8_t>(unit >> 8);
}

std::uint64_t Word(const unsigned char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

constexpr std::uint64_t kHighBits = 0x8080808080808080u;
constexpr std::uint64_t kLowBits = 0x0101010101010101u;

bool HasZeroByte(std::uint64_t word) { return ((word - kLowBits) & ~word & kHighBits) != 0; }

bool IsAsciiWord(std::uint64_t word) { return (word & kHighBits) == 0; }

// Eight bytes in 0x81..0xFE: from a character start, four lead+trail pairs.
bool IsPairsWord(std::uint64_t word) {
  return (word & kHighBits) == kHighBits && !HasZeroByte(word & ~kHighBits) && !HasZeroByte(~word);
}

// A lead byte followed by a trail byte is one character, mapped or not; any
// other byte stands alone. Every GBK character, and every U+FFFD put for
// one, is one UTF-16 unit: this writes what MeasureGbkToUtf16 counts, or
// returns -1 when it does not fit.
std::ptrdiff_t GbkToUtf16(const unsigned char* in, std::size_t size, std::uint8_t* out, std::size_t capacity) {
  const GbkMap& map = Gbk();
  std::size_t units = 0;
  std::size_t i = 0;
  while (i < size) {
    // A word of ASCII or of whole pairs at once; otherwise the characters
    // that start in this word one by one, before looking at words again.
    std::size_t end = size;
    if (size - i >= 8) {
      const std::uint64_t word = Word(in + i);
      if (IsAsciiWord(word)) {
        if (capacity - units < 8) return -1;
        for (std::size_t k = 0; k < 8; ++k) PutUnit(out, units + k, in[i + k]);
        units += 8;
        i += 8;
        continue;
      }
      if (IsPairsWord(word)) {
        if (capacity - units < 4) return -1;
        for (std::size_t k = 0; k < 4; ++k) PutUnit(out, units + k, map.pairs[PairIndex(in[i + 2 * k], in[i + 2 * k + 1])]);
        units += 4;
        i += 8;
        continue;
      }
      end = i + 8;
    }
    while (i < end) {
      std::uint16_t code;
      if (i + 1 < size && IsGbkLead(in[i]) && IsGbkTrail(in[i + 1])) {
        code = map.pairs[PairIndex(in[i], in[i + 1])];
        i += 2;
      } else {
        code = map.single[in[i]];
        i += 1;
      }
      if (units == capacity) return -1;
      PutUnit(out, units, code);
      ++units;
    }
  }
  return static_cast<std::ptrdiff_t>(units);
}

// Counting GBK characters eight bytes at a time without branching on the
// text. A pair starts at byte j when j is a character start, j is a lead
// byte and j + 1 a trail byte; which bytes are starts follows from the
// bytes' pair flags and whether the word's first byte is one, so a table
// indexed by (start, flags) gives each word's character count and whether
// the next word's first byte is a start.
std::uint64_t SetIfNonZero(std::uint64_t word) {  // high bit of each non-zero byte
  return (((word & ~kHighBits) + ~kHighBits) | word) & kHighBits;
}

std::uint64_t LeadFlags(std::uint64_t word) {  // 0x81..0xFE
  return word & kHighBits & SetIfNonZero(word & ~kHighBits) & SetIfNonZero(~word);
}

std::uint64_t TrailFlags(std::uint64_t word) {  // 0x40..0xFE except 0x7F
  const std::uint64_t atLeast40 = (word | (word << 1)) & kHighBits;
  return atLeast40 & SetIfNonZero(word ^ (0x7F * kLowBits)) & SetIfNonZero(~word);
}

unsigned FlagBits(std::uint64_t flags) {  // high bit of byte j -> bit j
  return static_cast<unsigned>(((flags >> 7) * 0x0102040810204080u) >> 56);
}

struct WordStep {
  std::uint8_t characters;
  bool nextStarts;
};

constexpr std::array<WordStep, 512> kWordSteps = [] {
  std::array<WordStep, 512> steps{};
  for (unsigned entry = 0; entry < 512; ++entry) {
    bool start = (entry >> 8) != 0;
    std::uint8_t characters = 0;
    for (unsigned j = 0; j < 8; ++j) {
      const bool pair = ((entry >> j) & 1) != 0;
      if (start) ++characters;
      start = !(start && pair);
    }
    steps[entry] = {characters, start};
  }
  return steps;
}();

std::size_t MeasureGbkToUtf16(const unsigned char* in, std::size_t size) {
  std::size_t units = 0;
  std::size_t i = 0;
  bool start = true;
  for (; size - i >= 9; i += 8) {
    const unsigned pairs = FlagBits(LeadFlags(Word(in + i)) & TrailFlags(Word(in + i + 1)));
    const WordStep step = kWordSteps[(start ? 256u : 0u) | pairs];
    units += step.characters;
    start = step.nextStarts;
  }
  if (!start) ++i;  // the trail byte of a pair begun in the last word
  for (; i < size; ++units) {
    i += i + 1 < size && IsGbkLead(in[i]) && IsGbkTrail(in[i + 1]) ? 2 : 1;
  }
  return units;
}

// A surrogate pair is one character, which GBK cannot hold (it has nothing
// beyond U+FFFF); an unpaired surrogate is one character GBK cannot hold.
// Either way it becomes one "?".
bool IsHighSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Bytes of each unit in GBK, "?" counting 1, with a low surrogate counted 0
// here and corrected where it is unpaired.
std::unique_ptr<std::array<std::uint8_t, 0x10000>> ReadGbkWidths() {
  auto widths = std::make_unique<std::array<std::uint8_t, 0x10000>>();
  const GbkMap& map = Gbk();
  for (std::uint32_t unit = 0; unit < 0x10000; ++unit) {
    (*widths)[unit] = IsLowSurrogate(unit) ? 0 : map.encode[unit] != kNone && map.encode[unit] > 0xFF ? 2 : 1;
  }
  return widths;
}

std::size_t MeasureUtf16ToGbk(const std::uint8_t* in, std::size_t units) {
  static const auto widths = ReadGbkWidths();
  std::size_t size = 0;
  for (std::size_t i = 0; i < units; ++i) {
    const std::uint32_t unit = Unit(in, i);
    size += (*widths)[unit];
    if (IsLowSurrogate(unit) && (i == 0 || !IsHighSurrogate(Unit(in, i - 1)))) ++size;
  }
  return size;
}

// Writes what MeasureUtf16ToGbk counts; -1 when it does not fit.
std::ptrdiff_t Utf16ToGbk(const std::uint8_t* in, std::size_t units, unsigned char* out, std::size_t capacity) {
  const GbkMap& map = Gbk();
  std::size_t size = 0;
  for (std::size_t i = 0; i < units;) {
    while (units - i >= 4) {  // ASCII, four units per word
      const std::uint64_t word = Word(in + 2 * i);
      if ((word & 0xFF80FF80FF80FF80u) != 0) break;
      if (capacity - size < 4) return -1;
      for (std::size_t k = 0; k < 4; ++k) out[size + k] = in[2 * (i + k)];
      size += 4;
      i += 4;
    }
    if (i == units) break;
    const std::uint32_t unit = Unit(in, i++);
    std::uint16_t code = map.encode[unit];
    if (IsHighSurrogate(unit) && i < units && IsLowSurrogate(Unit(in, i))) {
      ++i;
      code = kNone;
    }
    if (code == kNone) code = kGbkDefaultChar;
    if (code <= 0xFF) {
      if (size == capacity) return -1;
      out[size++] = static_cast<unsigned char>(code);
    } else {
      if (capacity - size < 2) return -1;
      out[size++] = static_cast<unsigned char>(code >> 8);
      out[size++] = static_cast<unsigned char>(code & 0xFF);
    }
  }
  return static_cast<std::ptrdiff_t>(size);
}

// Each GBK character's UTF-8 form, made by the same encoder the UTF-16
// route ends in, for GbkToUtf8. A character is copied as one 4-byte block
// and the output advanced by its size. Usable only when every entry is a
// code point on its own: a zero, which would end the text, or a surrogate,
// which the UTF-16 route could pair with its neighbour, sends callers back
// to that route.
struct Utf8Char {
  std::uint8_t bytes[3];
  std::uint8_t size;
};
static_assert(sizeof(Utf8Char) == 4);

struct GbkUtf8Map {
  std::array<Utf8Char, 256> single;
  std::array<Utf8Char, 126 * kTrails> pairs;
  bool usable = true;
};

Utf8Char Utf8Of(std::uint16_t unit, bool& usable) {
  Utf8Char c{};
  if (unit == 0 || (unit >= 0xD800 && unit <= 0xDFFF)) {
    usable = false;
    return c;
  }
  const std::uint8_t utf16[2] = {static_cast<std::uint8_t>(unit & 0xFF), static_cast<std::uint8_t>(unit >> 8)};
  const std::ptrdiff_t size = Utf16ToUtf8(utf16, 1, c.bytes, sizeof c.bytes);
  if (size <= 0) usable = false;
  c.size = static_cast<std::uint8_t>(size > 0 ? size : 0);
  return c;
}

std::unique_ptr<GbkUtf8Map> ReadGbkUtf8Map() {
  auto map = std::make_unique<GbkUtf8Map>();
  const GbkMap& gbk = Gbk();
  map->single[0] = {};  // a zero byte never reaches the walk
  for (std::size_t b = 1; b < 256; ++b) map->single[b] = Utf8Of(gbk.single[b], map->usable);
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      if (!IsGbkTrail(static_cast<unsigned char>(trail))) continue;
      const std::size_t index = PairIndex(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
      map->pairs[index] = Utf8Of(gbk.pairs[index], map->usable);
    }
  }
  return map;
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

int MultiByteToWide(int codePage, const char* input, int length, std::uint8_t* utf16, int capacityUnits) {
  const Page page = Resolve(codePage);
  if (page == Page::kUnsupported || input == nullptr || length == 0 || length < -1 || capacityUnits < 0 ||
      (capacityUnits > 0 && utf16 == nullptr)) {
    return 0;
  }
  const std::size_t size = length == -1 ? std::strlen(input) + 1 : static_cast<std::size_t>(length);
  const auto* bytes = reinterpret_cast<const unsigned char*>(input);
  const auto capacity = static_cast<std::size_t>(capacityUnits);
  if (page == Page::kUtf8) return ToResult(Utf8ToUtf16(bytes, size, capacity == 0 ? nullptr : utf16, capacity));
  return ToResult(capacity == 0 ? static_cast<std::ptrdiff_t>(MeasureGbkToUtf16(bytes, size))
                                : GbkToUtf16(bytes, size, utf16, capacity));
}

int WideToMultiByte(int codePage, const std::uint8_t* utf16, int lengthUnits, char* output, int capacityBytes) {
  const Page page = Resolve(codePage);
  if (page == Page::kUnsupported || utf16 == nullptr || lengthUnits == 0 || lengthUnits < -1 ||
      capacityBytes < 0 || (capacityBytes > 0 && output == nullptr)) {
    return 0;
  }
  const std::size_t units = lengthUnits == -1 ? TerminatedUnits(utf16) : static_cast<std::size_t>(lengthUnits);
  auto* bytes = reinterpret_cast<unsigned char*>(output);
  const auto capacity = static_cast<std::size_t>(capacityBytes);
  if (page == Page::kUtf8) return ToResult(Utf16ToUtf8(utf16, units, capacity == 0 ? nullptr : bytes, capacity));
  return ToResult(capacity == 0 ? static_cast<std::ptrdiff_t>(MeasureUtf16ToGbk(utf16, units))
                                : Utf16ToGbk(utf16, units, bytes, capacity));
}

// The same walk as GbkToUtf16, each character written in its UTF-8 form.
std::ptrdiff_t GbkToUtf8(const char* input, std::size_t length, char* output) {
  static const std::unique_ptr<GbkUtf8Map> map = ReadGbkUtf8Map();
  if (!map->usable || input == nullptr || output == nullptr) return -1;
  const auto* in = reinterpret_cast<const unsigned char*>(input);
  auto* out = reinterpret_cast<unsigned char*>(output);
  auto put = [&out](const Utf8Char& c) {
    std::memcpy(out, &c, sizeof c);
    out += c.size;
  };
  std::size_t i = 0;
  auto step = [&] {
    if (i + 1 < length && IsGbkLead(in[i]) && IsGbkTrail(in[i + 1])) {
      put(map->pairs[PairIndex(in[i], in[i + 1])]);
      i += 2;
    } else {
      put(map->single[in[i]]);
      i += 1;
    }
  };
  while (length - i >= 8) {
    const std::uint64_t word = Word(in + i);
    if (IsAsciiWord(word)) {
      std::memcpy(out, in + i, 8);
      out += 8;
      i += 8;
    } else if (IsPairsWord(word)) {
      for (std::size_t k = 0; k < 8; k += 2) put(map->pairs[PairIndex(in[i + k], in[i + k + 1])]);
      i += 8;
    } else {
      for (const std::size_t end = i + 8; i < end;) step();
    }
  }
  while (i < length) step();
  return out - reinterpret_cast<unsigned char*>(output);
}

namespace {

// Utf8ToGbk copies ASCII as it is and stops at the first zero code point, as
// Utf16ToGbk copies ASCII words and the caller cuts at the first zero byte:
// both need ASCII to map to itself and nothing else to map to a zero byte
// (a pair's bytes never are zero).
bool DirectGbkUsable() {
  const GbkMap& map = Gbk();
  for (std::uint32_t code = 0; code < 0x80; ++code) {
    if (map.encode[code] != code) return false;
  }
  for (std::uint32_t code = 0x80; code < 0x10000; ++code) {
    if (map.encode[code] == 0) return false;
  }
  return true;
}

}  // namespace

// The code points Utf8ToUtf16 would read, each mapped as Utf16ToGbk maps
// it; a code point beyond U+FFFF, a surrogate pair there, becomes one "?".
std::ptrdiff_t Utf8ToGbk(const char* input, std::size_t length, char* output) {
  static const bool usable = DirectGbkUsable();
  if (!usable || input == nullptr || output == nullptr) return -1;
  const GbkMap& map = Gbk();
  const auto* in = reinterpret_cast<const unsigned char*>(input);
  auto* out = reinterpret_cast<unsigned char*>(output);
  // Writes a GBK code; a one-byte code also writes a spare byte after it,
  // which the room allows (the input byte that gave it is worth two).
  auto put = [&out](std::uint16_t code) {
    const unsigned lead = code >> 8;
    out[0] = static_cast<unsigned char>(lead != 0 ? lead : code);
    out[1] = static_cast<unsigned char>(code & 0xFF);
    out += lead != 0 ? 2 : 1;
  };
  auto gbkOf = [&map](char32_t code) -> std::uint16_t {
    const std::uint16_t gbk = code < 0x10000 ? map.encode[code] : kNone;
    return gbk == kNone ? kGbkDefaultChar : gbk;
  };
  std::size_t i = 0;
  while (i < length) {
    while (length - i >= 8) {
      const std::uint64_t word = Word(in + i);
      if (!IsAsciiWord(word)) break;
      if (HasZeroByte(word)) {
        const auto* zero = static_cast<const unsigned char*>(std::memchr(in + i, 0, 8));
        const auto size = static_cast<std::size_t>(zero - (in + i));
        std::memcpy(out, in + i, size);
        return out + size - reinterpret_cast<unsigned char*>(output);
      }
      std::memcpy(out, in + i, 8);
      out += 8;
      i += 8;
    }
    while (IsCommonThreeByteCharacter(in + i, length - i)) {
      put(gbkOf(CommonThreeByteCode(in + i)));
      i += 3;
    }
    if (i == length) break;
    const Utf8Decoded next = NextUtf8(in + i, length - i);
    i += next.size;
    const std::uint16_t gbk = gbkOf(next.code);
    if (gbk == 0) break;
    put(gbk);
  }
  return out - reinterpret_cast<unsigned char*>(output);
}

}  // namespace miravel::code_page
