#include <gtest/gtest.h>

#include "text/primitives.h"

namespace miravel {
namespace {

TEST(Bytes, TextAndBytes) {
  EXPECT_EQ(TextToBytes("a\xB0"), (Bytes{'a', 0xB0}));
  EXPECT_EQ(TextToBytes(""), Bytes{});
  EXPECT_EQ(BytesToText(Bytes{'a', 0, 'b'}), "a");
  EXPECT_EQ(BytesToText(Bytes{'a', 'b'}), "ab");
  EXPECT_EQ(BytesToText(Bytes{}), "");
  EXPECT_EQ(BytesLength(Bytes{0, 0, 0}), 3);
}

TEST(Bytes, BlanksAndRepeats) {
  EXPECT_EQ(BlankText(3), "   ");
  EXPECT_EQ(BlankText(0), "");
  EXPECT_EQ(BlankText(-2), "");
  EXPECT_EQ(RepeatText(3, "ab"), "ababab");
  EXPECT_EQ(RepeatText(0, "ab"), "");
  EXPECT_EQ(RepeatText(-1, "ab"), "");
  EXPECT_EQ(BlankBytes(2), (Bytes{0, 0}));
  EXPECT_EQ(BlankBytes(0), Bytes{});
}

TEST(Bytes, Left) {
  const Bytes bytes{1, 0, 3};
  EXPECT_EQ(BytesLeft(bytes, 2), (Bytes{1, 0}));
  EXPECT_EQ(BytesLeft(bytes, 10), bytes);
  EXPECT_EQ(BytesLeft(bytes, 0), Bytes{});
  EXPECT_EQ(BytesLeft(bytes, -1), Bytes{});
}

TEST(Bytes, ConcatAndEquals) {
  EXPECT_EQ(ConcatText({"a", "", "bc"}), "abc");
  EXPECT_EQ(ConcatText({}), "");
  EXPECT_EQ(ConcatBytes({Bytes{1}, Bytes{}, Bytes{0, 2}}), (Bytes{1, 0, 2}));
  EXPECT_EQ(ConcatBytes({Bytes{}, Bytes{}}), Bytes{});
  EXPECT_TRUE(TextEquals("", Text()));
  EXPECT_FALSE(TextEquals("a", "ab"));
  EXPECT_TRUE(BytesEquals(Bytes{}, Bytes{}));
  EXPECT_FALSE(BytesEquals(Bytes{0}, Bytes{}));
  EXPECT_FALSE(BytesEquals(Bytes{1, 2}, Bytes{1, 3}));
}

}  // namespace
}  // namespace miravel
