#include "text/code_page.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "text/code_page_backend.h"

namespace miravel {
namespace {

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }

std::string Hex(std::string_view s) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : s) {
    const auto b = static_cast<unsigned char>(c);
    out += {kDigits[b >> 4], kDigits[b & 15], ' '};
  }
  return out;
}
std::string Hex(const Bytes& b) { return Hex(std::string_view(reinterpret_cast<const char*>(b.data()), b.size())); }

struct TextCase {
  const char* name;
  std::string_view input;
  std::string_view expected;
};

TEST(AnsiToUtf8, ConvertsGbkAndSubstitutesWhatItCannotRead) {
  const TextCase cases[] = {
      {"two Chinese characters", "\xC4\xE3\xBA\xC3", "\xE4\xBD\xA0\xE5\xA5\xBD"},
      {"ASCII is unchanged", "Miravel 0-9 ~!", "Miravel 0-9 ~!"},
      {"empty", "", ""},
      {"full-width yen sign", "\xA3\xA4", "\xEF\xBF\xA5"},
      {"0x80 is the euro sign", "\x80", "\xE2\x82\xAC"},
      {"mixed", "a\xC4\xE3-b", "a\xE4\xBD\xA0-b"},
      {"unmapped pair becomes one U+FFFD", "x\xAA\xA1y", "x\xEF\xBF\xBDy"},
      {"lone lead byte at the end", "a\xC4", "a\xEF\xBF\xBD"},
      {"lead byte before a non-trail byte", "\xC4" "1\xC4\xE3", "\xEF\xBF\xBD" "1\xE4\xBD\xA0"},
      {"0xFF stands alone", "\xFF" "a", "\xEF\xBF\xBD" "a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(AnsiToUtf8(Text(c.input))), Hex(c.expected));
  }
}

TEST(Utf8ToAnsi, ConvertsUtf8AndSubstitutesWithoutStopping) {
  const TextCase cases[] = {
      {"full-width yen sign", "\xEF\xBF\xA5", "\xA3\xA4"},
      {"two Chinese characters", "\xE4\xBD\xA0\xE5\xA5\xBD", "\xC4\xE3\xBA\xC3"},
      {"empty", "", ""},
      {"a zero byte ends the text", std::string_view("A\0B", 3), "A"},
      {"euro sign is 0x80", "\xE2\x82\xAC", "\x80"},
      {"emoji becomes one ?", "\xF0\x9F\x98\x80", "?"},
      {"emoji inside text", "a\xF0\x9F\x98\x80\xE4\xBD\xA0", "a?\xC4\xE3"},
      {"character GBK cannot hold (Thai)", "\xE0\xB8\x81z", "?z"},
      {"invalid byte, then text", "a\xFF\xE4\xBD\xA0", "a?\xC4\xE3"},
      {"sequence cut short, then text", "\xE4\xBD" "A", "?A"},
      {"sequence cut short at the end", "A\xE4\xBD", "A?"},
      {"overlong form", "\xC0\xAF" "b", "??b"},
      {"encoded surrogate", "\xED\xA0\x80" "c", "???c"},
      {"stray continuation bytes", "\x80\xBF" "d", "??d"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(Utf8ToAnsi(B(c.input))), Hex(c.expected));
  }
}

// Invalid sequences scattered through a long body do not stop or shorten
// the conversion of what follows them.
TEST(Utf8ToAnsi, LongBodyWithInvalidSequencesConvertsToTheEnd) {
  std::string utf8;
  std::string gbk;
  for (int i = 0; i < 5000; ++i) {
    utf8 += "{\"k\":\"\xE4\xBD\xA0\xE5\xA5\xBD\"}";
    gbk += "{\"k\":\"\xC4\xE3\xBA\xC3\"}";
    if (i % 97 == 0) {
      utf8 += "\xC3(\xF0\x9F\x98\x80";
      gbk += "?(?";
    }
  }
  const Text result = Utf8ToAnsi(B(utf8));
  ASSERT_EQ(result.size(), gbk.size());
  EXPECT_TRUE(result == gbk);
}

struct WideCase {
  const char* name;
  std::string_view text;
  std::optional<int> codePage;
  std::string_view expected;
};

TEST(AnsiToWide, SizesInTheAnsiPageAndEndsWithAZeroUnit) {
  using namespace std::string_view_literals;
  const WideCase cases[] = {
      {"abc in 936", "abc", 936, "a\0b\0c\0\0\0"sv},
      {"abc, default page", "abc", std::nullopt, "a\0b\0c\0\0\0"sv},
      {"empty text: the terminator alone", "", 936, "\0\0"sv},
      {"GBK in 936", "\xC4\xE3\xBA\xC3", 936, "\x60\x4F\x7D\x59\0\0"sv},
      {"GBK in page 0", "\xC4\xE3\xBA\xC3", 0, "\x60\x4F\x7D\x59\0\0"sv},
      // Read as UTF-8 the bytes need fewer units than measured in GBK: the
      // rest of the buffer stays zero.
      {"UTF-8 bytes, default page", "\xE4\xBD\xA0\xE5\xA5\xBD", std::nullopt,
       "\x60\x4F\x7D\x59\0\0\0\0"sv},
      // Read as UTF-8 GBK bytes need more units than measured: the buffer
      // grows so that nothing is lost and the terminator stays.
      {"GBK bytes, default page", "\xC4\xE3\xBA\xC3", std::nullopt,
       "\xFD\xFF\xFD\xFF\xFD\xFF\0\0"sv},
      {"unsupported page", "abc", 1252, ""sv},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(AnsiToWide(Text(c.text), c.codePage)), Hex(c.expected));
  }
}

struct NarrowCase {
  const char* name;
  std::string_view utf16;
  std::optional<int> codePage;
  std::string_view expected;
};

TEST(WideToAnsi, ReadsUpToTheFirstZeroUnit) {
  using namespace std::string_view_literals;
  const NarrowCase cases[] = {
      {"default page is GBK", "\x60\x4F\x7D\x59\0\0"sv, std::nullopt, "\xC4\xE3\xBA\xC3"sv},
      {"to UTF-8", "\x60\x4F\x7D\x59\0\0"sv, 65001, "\xE4\xBD\xA0\xE5\xA5\xBD"sv},
      {"stops at the first zero unit", "a\0\0\0b\0"sv, 0, "a"sv},
      {"zero byte of a unit is not a zero unit", "\0\x4E\0\0"sv, 65001, "\xE4\xB8\x80"sv},
      {"no zero unit: the whole data", "a\0b\0"sv, 936, "ab"sv},
      {"odd last byte is ignored", "a\0b"sv, 936, "a"sv},
      {"empty", ""sv, std::nullopt, ""sv},
      {"emoji to GBK", "\x3D\xD8\x00\xDE\0\0"sv, 936, "?"sv},
      // One "?" measured in GBK, four bytes in UTF-8: more than twice the
      // measured size, so the buffer grows.
      {"emoji to UTF-8", "\x3D\xD8\x00\xDE\0\0"sv, 65001, "\xF0\x9F\x98\x80"sv},
      {"unpaired surrogate to UTF-8", "\x3D\xD8" "a\0\0\0"sv, 65001, "\xEF\xBF\xBD" "a"sv},
      {"unpaired surrogate to GBK", "\x00\xDE" "a\0\0\0"sv, 936, "?a"sv},
      {"unsupported page", "a\0\0\0"sv, 1252, ""sv},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(WideToAnsi(B(c.utf16), c.codePage)), Hex(c.expected));
  }
}

Text ComposedAnsiToUtf8(const Text& text) { return WideToAnsi(AnsiToWide(text, 936), 65001); }

// AnsiToUtf8 converts in one pass; it must give exactly what the UTF-16
// route gives, unmappable bytes, lone lead bytes, 0x80 and 0xFF included.
TEST(CodePages, AnsiToUtf8IsWideToAnsiOfAnsiToWideForEveryOneAndTwoByteText) {
  for (int first = 0; first < 256; ++first) {
    const Text one{static_cast<char>(first)};
    ASSERT_EQ(Hex(AnsiToUtf8(one)), Hex(ComposedAnsiToUtf8(one))) << first;
    for (int second = 0; second < 256; ++second) {
      const Text two{static_cast<char>(first), static_cast<char>(second)};
      ASSERT_EQ(Hex(AnsiToUtf8(two)), Hex(ComposedAnsiToUtf8(two))) << first << ' ' << second;
    }
  }
}

// Random texts long enough to cross the eight-byte steps of the walk, drawn
// mostly from lead, trail and ASCII bytes so that pairs, cut pairs and
// stray bytes all occur, and now and then a zero byte that ends the text.
TEST(CodePages, AnsiToUtf8IsWideToAnsiOfAnsiToWideForRandomTexts) {
  std::mt19937 random(20261211);
  std::uniform_int_distribution<int> kind(0, 9);
  std::uniform_int_distribution<int> anyByte(0, 255);
  std::uniform_int_distribution<int> leadByte(0x81, 0xFE);
  std::uniform_int_distribution<int> trailByte(0x40, 0xFE);
  std::uniform_int_distribution<int> asciiByte(1, 0x7F);
  std::uniform_int_distribution<int> length(0, 80);
  for (int round = 0; round < 20000; ++round) {
    Text text;
    const int size = round % 100 == 0 ? 4000 : length(random);
    for (int i = 0; i < size; ++i) {
      const int k = kind(random);
      const int b = k < 4 ? leadByte(random) : k < 6 ? trailByte(random) : k < 8 ? asciiByte(random) : anyByte(random);
      text += static_cast<char>(b);
    }
    ASSERT_EQ(Hex(AnsiToUtf8(text)), Hex(ComposedAnsiToUtf8(text))) << Hex(text);
  }
}

// Utf8ToAnsi converts in one pass; it must give exactly what the route
// through UTF-16 gives: every ill-formed sequence one U+FFFD in GBK, a
// character beyond U+FFFF (a surrogate pair there) one "?", and the text
// cut at the first zero byte.
TEST(CodePages, Utf8ToAnsiIsTheRouteThroughUtf16ForEveryShortText) {
  const auto check = [](const Bytes& utf8) {
    ASSERT_EQ(Hex(Utf8ToAnsi(utf8)), Hex(code_page::Utf8ToAnsiThroughUtf16(utf8))) << Hex(utf8);
  };
  for (int first = 0; first < 256; ++first) {
    check(Bytes{static_cast<std::uint8_t>(first)});
    for (int second = 0; second < 256; ++second) {
      check(Bytes{static_cast<std::uint8_t>(first), static_cast<std::uint8_t>(second)});
      if (first < 0xE0 || first > 0xEF) continue;
      for (int third = 0; third < 256; ++third) {
        check(Bytes{static_cast<std::uint8_t>(first), static_cast<std::uint8_t>(second), static_cast<std::uint8_t>(third)});
        if (HasFatalFailure()) return;
      }
    }
    if (HasFatalFailure()) return;
  }
}

// Random byte strings long enough to cross the eight-byte ASCII steps, drawn
// mostly from ASCII, lead and continuation bytes, whole characters (Chinese,
// four-byte ones and emoji among them), and in every other text now and
// then a zero byte.
TEST(CodePages, Utf8ToAnsiIsTheRouteThroughUtf16ForRandomTexts) {
  static constexpr std::string_view kPieces[] = {
      "\xE4\xBD\xA0", "\xE5\xA5\xBD", "\xEF\xBF\xA5", "\xE2\x82\xAC", "\xC2\xA7", "\xF0\x9F\x98\x80",
      "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD", "\xF4\x8F\xBF\xBF", "\xF0\xA0\x80\x80", "\xED\xA0\x80",
      "\xE0\x80\xAF", "\xEF\xBF\xBD", "\xE3\x80\x80", "\xE2\x80\x8D"};
  std::mt19937 random(20261211);
  std::uniform_int_distribution<int> kind(0, 19);
  std::uniform_int_distribution<int> anyByte(0, 255);
  std::uniform_int_distribution<int> leadByte(0xC0, 0xF7);
  std::uniform_int_distribution<int> continuationByte(0x80, 0xBF);
  std::uniform_int_distribution<int> asciiByte(1, 0x7F);
  std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1);
  std::uniform_int_distribution<int> length(0, 60);
  for (int round = 0; round < 20000; ++round) {
    Bytes utf8;
    const int size = round % 100 == 0 ? 3000 : length(random);
    for (int i = 0; i < size; ++i) {
      const int k = kind(random);
      if (k < 6) {
        const std::string_view p = kPieces[piece(random)];
        utf8.insert(utf8.end(), p.begin(), p.end());
        continue;
      }
      const int b = k < 10   ? asciiByte(random)
                    : k < 13 ? leadByte(random)
                    : k < 17 ? continuationByte(random)
                    : k < 19 || round % 2 == 0 ? anyByte(random)
                                               : 0;
      utf8.push_back(static_cast<std::uint8_t>(b));
    }
    ASSERT_EQ(Hex(Utf8ToAnsi(utf8)), Hex(code_page::Utf8ToAnsiThroughUtf16(utf8))) << Hex(utf8);
  }
}

bool IsGbkTrail(int b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

// Every two-byte GBK character the converter maps goes to UTF-8 and comes
// back as the same two bytes.
TEST(CodePages, EveryMappedGbkCharacterRoundTripsThroughUtf8) {
  const std::string replacement = "\xEF\xBF\xBD";
  int mapped = 0;
  int unmapped = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (!IsGbkTrail(trail)) continue;
      const Text gbk{static_cast<char>(lead), static_cast<char>(trail)};
      const Text utf8 = AnsiToUtf8(gbk);
      if (utf8 == replacement) {
        ++unmapped;
        continue;
      }
      ++mapped;
      ASSERT_EQ(Hex(Utf8ToAnsi(B(utf8))), Hex(gbk));
    }
  }
  std::printf("GBK two-byte characters mapped and round-tripped: %d (unmapped: %d)\n", mapped, unmapped);
  EXPECT_EQ(mapped + unmapped, 126 * 190);
  EXPECT_GT(mapped, 21000);
}

// The sizes the backend measures are the sizes it writes, for every lead
// byte with every following byte and for every UTF-16 unit.
TEST(CodePageBackend, MeasuringAgreesWithConverting) {
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    for (int next = 0x01; next <= 0xFF; ++next) {
      const char input[] = {static_cast<char>(lead), static_cast<char>(next), 0};
      const int units = code_page::MultiByteToWide(936, input, -1, nullptr, 0);
      Bytes out(2 * static_cast<std::size_t>(units));
      ASSERT_EQ(code_page::MultiByteToWide(936, input, -1, out.data(), units), units) << lead << ' ' << next;
    }
  }
  Bytes all;
  for (unsigned code = 1; code <= 0xFFFF; ++code) {
    all.push_back(static_cast<std::uint8_t>(code & 0xFF));
    all.push_back(static_cast<std::uint8_t>(code >> 8));
  }
  const int units = static_cast<int>(all.size() / 2);
  for (const int page : {936, 65001}) {
    SCOPED_TRACE(page);
    const int size = code_page::WideToMultiByte(page, all.data(), units, nullptr, 0);
    std::string out(static_cast<std::size_t>(size), '\0');
    EXPECT_EQ(code_page::WideToMultiByte(page, all.data(), units, out.data(), size), size);
    EXPECT_EQ(code_page::WideToMultiByte(page, all.data(), units, out.data(), size - 1), 0)
        << "an output one byte short must fail, not truncate";
  }
}

// Texts of every length up to a few words, from bytes chosen to sit on the
// edges of the GBK ranges, so pairs straddle the converter's word steps.
TEST(CodePageBackend, GbkMeasureAgreesWithConvertOnMixedBytes) {
  const unsigned char alphabet[] = {'a', ' ', 0x40, 0x7E, 0x7F, 0x80, 0x81, 0xA1, 0xC4, 0xE3, 0xFE, 0xFF};
  std::mt19937 random(936);
  for (int round = 0; round < 20000; ++round) {
    std::string text(random() % 40, '\0');
    for (char& c : text) c = static_cast<char>(alphabet[random() % sizeof alphabet]);
    int expected = 0;  // characters, by the stepping rule
    for (std::size_t i = 0; i < text.size(); ++expected) {
      const auto b = static_cast<unsigned char>(text[i]);
      const bool pair = i + 1 < text.size() && b >= 0x81 && b <= 0xFE &&
                        IsGbkTrail(static_cast<unsigned char>(text[i + 1]));
      i += pair ? 2 : 1;
    }
    const int length = static_cast<int>(text.size());
    if (length == 0) continue;
    const int units = code_page::MultiByteToWide(936, text.data(), length, nullptr, 0);
    ASSERT_EQ(units, expected) << Hex(text);
    Bytes out(2 * static_cast<std::size_t>(units));
    ASSERT_EQ(code_page::MultiByteToWide(936, text.data(), length, out.data(), units), units) << Hex(text);
  }
}

// The same for UTF-8: well-formed runs of three-byte characters and ASCII
// broken by every kind of ill-formed byte, at every offset.
TEST(CodePageBackend, Utf8MeasureAgreesWithConvertOnMixedBytes) {
  const std::string_view pieces[] = {"a", "bc", "\xE4\xBD\xA0", "\xEF\xBF\xA5", "\xE4", "\xE4\xBD", "\x80",
                                     "\xBF", "\xC2\xA9", "\xC0", "\xE0\xA0\x80", "\xE0\x80", "\xED\xA0\x80",
                                     "\xED\x9F\xBF", "\xF0\x9F\x98\x80", "\xF4\x90\x80\x80", "\xF5", "\xFF"};
  std::mt19937 random(65001);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const int count = static_cast<int>(random() % 24);
    for (int k = 0; k < count; ++k) text += pieces[random() % std::size(pieces)];
    if (text.empty()) continue;
    const int length = static_cast<int>(text.size());
    const int units = code_page::MultiByteToWide(65001, text.data(), length, nullptr, 0);
    Bytes out(2 * text.size());
    ASSERT_EQ(code_page::MultiByteToWide(65001, text.data(), length, out.data(), length), units) << Hex(text);
  }
}

}  // namespace
}  // namespace miravel
