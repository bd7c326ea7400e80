#include <gtest/gtest.h>

#include "text/primitives.h"

namespace miravel {
namespace {

struct Row {
  const char* name;
  Text input;
  Text expected;
};

TEST(ToLowerCase, Rows) {
  const Row rows[] = {
      {"ASCII letters only", "ABC xyz 1@[", "abc xyz 1@["},
      {"trail byte in A-Z stays", "ABC\xC4\x45", "abc\xC4\x45"},
      {"a letter after a double-byte character", "\xC4\x45" "E", "\xC4\x45" "e"},
      {"lone lead byte at the end stays", "A\xC4", "a\xC4"},
      {"empty", "", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ToLowerCase(row.input), row.expected);
  }
}

TEST(TrimSpaces, Rows) {
  const Row rows[] = {
      {"mixed spaces at both ends", " \xA1\xA1 x y\xA1\xA1 \xA1\xA1", "x y"},
      {"a leading tab is kept", "\tx ", "\tx"},
      {"line ends are not spaces", "x\r\n", "x\r\n"},
      {"spaces only", "  \xA1\xA1 ", ""},
      {"empty", "", ""},
      {"nothing to trim", "x", "x"},
      {"lone lead byte at the end is cut", "x\xA1", "x"},
      {"a run of spaces before a lone lead byte goes too", "x \xB0", "x"},
      {"A1 as a trail byte is no space", "\xB0\xA1\xA1", "\xB0\xA1"},
      {"full-width space after a double-byte character", "\xB0\xA1\xA1\xA1", "\xB0\xA1"},
      {"double-byte character ending in A1 before a space", "\xD6\xA1 ", "\xD6\xA1"},
      {"leading A1 of a character is no space", "\xA1\xB0x", "\xA1\xB0x"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(TrimSpaces(row.input), row.expected);
  }
}

TEST(RemoveAllSpaces, Rows) {
  const Row rows[] = {
      {"both kinds", "x y\xA1\xA1z", "xyz"},
      {"a tab stays", "x\ty z", "x\tyz"},
      {"lone lead byte at the end is dropped", "a \xB0", "a"},
      {"A1 as a trail byte is kept", "\xB0\xA1\xA1\xA1", "\xB0\xA1"},
      {"double-byte characters are copied whole", "\xD6\xD0 \xCE\xC4", "\xD6\xD0\xCE\xC4"},
      {"empty", "", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(RemoveAllSpaces(row.input), row.expected);
  }
}

}  // namespace
}  // namespace miravel
