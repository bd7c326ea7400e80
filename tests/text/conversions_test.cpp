#include <gtest/gtest.h>

#include <cstdint>

#include "text/conversions.h"

namespace miravel {
namespace {

struct TextRow {
  const char* name;
  Text actual;
  Text expected;
};

TEST(NumberToText, Rows) {
  const TextRow rows[] = {
      {"16-bit", NumberToText(std::int16_t{7}), "7"},
      {"16-bit negative", NumberToText(std::int16_t{-32768}), "-32768"},
      {"32-bit", NumberToText(std::int32_t{-2147483647 - 1}), "-2147483648"},
      {"double with a fraction", NumberToText(1.5), "1.5"},
      {"whole double", NumberToText(100.0), "100"},
      {"13 significant digits", NumberToText(1500000000007.0), "1500000000007"},
      {"double rounds to 13 digits", NumberToText(0.1 + 0.2), "0.3"},
      {"text", NumberToText(Text("12a")), "12a"},
      {"bytes up to the zero byte", NumberToText(Bytes{'4', '2', 0, '7'}), "42"},
  };
  for (const TextRow& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.actual, row.expected);
  }
}

TEST(HexText, Rows) {
  EXPECT_EQ(HexText(10), "A");
  EXPECT_EQ(HexText(255), "FF");
  EXPECT_EQ(HexText(0), "0");
  EXPECT_EQ(HexText(-1), "FFFFFFFF");
}

struct IntegerRow {
  const char* name;
  Text text;
  std::int32_t expected;
};

TEST(TextToInteger, Rows) {
  const IntegerRow rows[] = {
      {"leading spaces, trailing junk", "  42abc", 42},
      {"no digits", "abc", 0},
      {"empty", "", 0},
      {"sign", "-17", -17},
      {"plus sign", "+17", 17},
      {"sign without digits", "-", 0},
      {"full-width digits", "\xA3\xB1\xA3\xB2\xA3\xB3", 123},
      {"full-width sign and space", "\xA1\xA1\xA3\xAD" "5", -5},
      {"tab and line feed are white space", "\t\n9", 9},
      {"largest", "2147483647", 2147483647},
      {"saturates high", "99999999999999999999", 2147483647},
      {"smallest", "-2147483648", -2147483647 - 1},
      {"saturates low", "-2147483649", -2147483647 - 1},
  };
  for (const IntegerRow& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(TextToInteger(row.text), row.expected);
  }
}

TEST(CharFromCode, Rows) {
  EXPECT_EQ(CharFromCode(0), "");
  EXPECT_EQ(CharFromCode(34), "\"");
  EXPECT_EQ(CharFromCode(0x141), "A");
  EXPECT_EQ(CharFromCode(256), "");
  EXPECT_EQ(CharFromCode(0xB0), "\xB0");
}

TEST(Bits, Rows) {
  EXPECT_EQ(BitAnd({0x0F, 0x3C}), 0x0C);
  EXPECT_EQ(BitAnd({-1, 0x70, 0x30}), 0x30);
  EXPECT_EQ(BitOr({0x01, 0x10, 0x100}), 0x111);
  EXPECT_EQ(ShiftRight(-16, 2), -4);
  EXPECT_EQ(ShiftRight(16, 2), 4);
  EXPECT_EQ(ShiftRight(16, 34), 4);  // only the low 5 bits of the count
  EXPECT_EQ(ShiftRight(-1, 31), -1);
}

}  // namespace
}  // namespace miravel
