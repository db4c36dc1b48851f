// The text, byte and number primitives that every subsystem builds on.
#include "platform/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace tvx {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

struct FindCase {
  const char* name;
  std::string text;
  std::string sought;
  std::int32_t start;
  bool ignoreCase;
  std::int32_t first;  // FindText from start
};

TEST(FindText, Cases) {
  const FindCase cases[] = {
      {"separator", "abc[.*?]def", "[.*?]", 1, false, 4},
      {"first of two", "a[.*?]b[.*?]c", "[.*?]", 1, false, 2},
      {"from start", "abcabc", "abc", 2, false, 4},
      {"start zero counts as one", "abc", "a", 0, false, 1},
      {"start negative counts as one", "abc", "a", kMin, false, 1},
      {"start beyond the end", "abc", "c", 4, false, -1},
      {"start huge", "abc", "c", kMax, false, -1},
      {"empty sought in text", "abc", "", 1, false, 1},
      {"empty sought in empty text", "", "", 1, false, -1},
      {"empty sought past the end", "abc", "", 4, false, -1},
      {"sought longer than text", "ab", "abc", 1, false, -1},
      {"nothing", "abc", "x", 1, false, -1},
      {"case kept", "ABC", "bc", 1, false, -1},
      {"case ignored", "ABC", "bc", 1, true, 2},
      {"case ignored only for ASCII", "\xC1\xE1", "\xC1\xC1", 1, true, -1},
      {"no match on a second byte 0x5D", "\x81]", "]", 1, false, -1},
      {"match after a two-byte character", "\x81]]", "]", 1, false, 3},
      {"two-byte sought", "a\xCE\xA2\xD0\xC5", "\xD0\xC5", 1, false, 4},
      {"lead byte last, sought it", "ab\x81", "\x81", 1, false, 3},
      {"lead byte last ends the search", "a\x81", "b", 1, false, -1},
      {"text ends at its first 0 byte", std::string("ab\0c", 4), "c", 1, false, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignoreCase), c.first) << c.name;
  }
}

TEST(FindLastText, Cases) {
  const FindCase cases[] = {
      {"separator", "abc[.*?]def", "[.*?]", kMax, false, 4},
      {"last of two", "a[.*?]b[.*?]c", "[.*?]", kMax, false, 8},
      {"start one", "abab", "ab", 1, false, -1},
      {"start zero", "abab", "ab", 0, false, -1},
      {"start negative", "abab", "a", kMin, false, -1},
      {"match must end inside the region", "abab", "ab", 4, false, 1},
      {"start length plus one", "abab", "ab", 5, false, 3},
      {"empty sought", "ab", "", 3, false, 1},
      {"empty sought, empty region", "ab", "", 1, false, -1},
      {"empty sought, empty text", "", "", kMax, false, -1},
      {"case ignored", "aBAb", "ab", kMax, true, 3},
      {"no match on a second byte 0x5D", "]\x81]", "]", kMax, false, 1},
      {"lead byte last ends the scan", "a\x81", "a", kMax, false, 1},
      {"nothing", "abc", "x", kMax, false, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindLastText(c.text, c.sought, c.start, c.ignoreCase), c.first) << c.name;
  }
  EXPECT_EQ(FindLastText("a[.*?]b[.*?]c", "[.*?]"), 8);  // a 1, [ 2, b 7, [ 8
  EXPECT_EQ(FindLastText("", "a"), -1);
  EXPECT_EQ(FindLastText("", ""), -1);
  EXPECT_EQ(FindLastText("x", ""), 1);
}

TEST(TextLeftRight, Cases) {
  EXPECT_EQ(TextLeft("abc", 0), "");
  EXPECT_EQ(TextLeft("abc", -5), "");
  EXPECT_EQ(TextLeft("abc", 2), "ab");
  EXPECT_EQ(TextLeft("abc", 9), "abc");
  EXPECT_EQ(TextLeft("abc", kMax), "abc");
  EXPECT_EQ(TextRight("abc", -1), "");
  EXPECT_EQ(TextRight("abc", 0), "");
  EXPECT_EQ(TextRight("abc", 2), "bc");
  EXPECT_EQ(TextRight("abc", kMax), "abc");
  EXPECT_EQ(TextLeft("\xCE\xA2\xD0\xC5", 1), "\xCE");  // bytes, not characters
  EXPECT_EQ(TextLength("\xCE\xA2\xD0\xC5"), 4);
  EXPECT_EQ(TextLength(""), 0);
}

struct SplitCase {
  const char* name;
  std::string text;
  std::string separator;
  std::int32_t limit;
  TextList pieces;
};

TEST(SplitText, Cases) {
  const SplitCase cases[] = {
      {"nothing", "", "\r\n", -1, {}},
      {"one piece", "a", "\r\n", -1, {"a"}},
      {"last separator ends a piece", "a\r\n", "\r\n", -1, {"a"}},
      {"two pieces", "a\r\nb", "\r\n", -1, {"a", "b"}},
      {"empty piece inside", "a\r\n\r\nb", "\r\n", -1, {"a", "", "b"}},
      {"empty piece before the end", "a\r\n\r\n", "\r\n", -1, {"a", ""}},
      {"empty first piece", "\r\na", "\r\n", -1, {"", "a"}},
      {"piece limit stops the scan", "a,b,c", ",", 2, {"a", "b"}},
      {"piece limit reached by the last piece", "a,b,c", ",", 3, {"a", "b", "c"}},
      {"piece limit not reached", "a,b,", ",", 5, {"a", "b"}},
      {"piece limit one", "a,b", ",", 1, {"a"}},
      {"piece limit zero", "a,b", ",", 0, {}},
      {"empty separator", "a,b", "", -1, {"a,b"}},
      {"separator longer than text", "a", "[.*?]", -1, {"a"}},
      {"only the separator", ",", ",", -1, {""}},
      {"separator not found on a second byte", "\x81]a]b", "]", -1, {"\x81]a", "b"}},
      {"lead byte last ends the scan", "a,\x81", ",", -1, {"a", "\x81"}},
      {"record", "hi[.*?]\xCE\xDE\xCD\xBC\xC6\xAC", "[.*?]", -1, {"hi", "\xCE\xDE\xCD\xBC\xC6\xAC"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitText(c.text, c.separator, c.limit), c.pieces) << c.name;
  }
  EXPECT_EQ(SplitText("a,b"), (TextList{"a", "b"}));
}

TEST(BlankText, Cases) {
  EXPECT_EQ(BlankText(0), "");
  EXPECT_EQ(BlankText(-3), "");
  EXPECT_EQ(BlankText(3), "   ");
}

TEST(ToText, Numbers) {
  EXPECT_EQ(ToText(std::int32_t{-3}), "-3");
  EXPECT_EQ(ToText(kMin), "-2147483648");
  EXPECT_EQ(ToText(std::int16_t{-32768}), "-32768");
  EXPECT_EQ(ToText(std::uint8_t{255}), "255");
  EXPECT_EQ(ToText(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
  EXPECT_EQ(ToText(12.0), "12");
  EXPECT_EQ(ToText(100.0), "100");
  EXPECT_EQ(ToText(12.5), "12.5");
  EXPECT_EQ(ToText(1.0 / 3.0), "0.3333333333333");
  EXPECT_EQ(ToText(1e20), "1e+20");
  EXPECT_EQ(ToText(0.1f), "0.1");
  EXPECT_EQ(ToText(1234567.0f), "1.23457e+06");
  EXPECT_EQ(ToText(std::string_view("\xCE\xA2")), "\xCE\xA2");
}

TEST(ToInteger, Texts) {
  const struct {
    std::string text;
    std::int32_t value;
  } cases[] = {
      {" 42abc", 42},
      {"abc", 0},
      {"", 0},
      {"１２", 12},          // full-width digits
      {"－５", -5},          // full-width minus
      {"　7", 7},            // full-width space
      {"\t\r\n +8", 8},
      {"-", 0},
      {"+-1", 0},
      {"1 2", 1},
      {"007", 7},
      {"2147483647", kMax},
      {"2147483648", kMax},  // saturates
      {"99999999999999999999", kMax},
      {"-2147483648", kMin},
      {"-99999999999999999999", kMin},
      {"\x81\xA3\xB1", 0},   // 0xA3 as a second byte is no full-width form
      {"5\xA3", 5},          // lead byte last
      {"\xCE\xA2" "5", 0},   // a Chinese character is no white space
  };
  for (const auto& c : cases) EXPECT_EQ(ToInteger(c.text), c.value) << c.text;
}

TEST(ToInteger, Reals) {
  EXPECT_EQ(ToInteger(3.9), 3);
  EXPECT_EQ(ToInteger(-3.9), -3);
  EXPECT_EQ(ToInteger(1e10), kMax);
  EXPECT_EQ(ToInteger(-1e10), kMin);
  EXPECT_EQ(ToInteger(std::nan("")), 0);
  EXPECT_EQ(ToInteger(std::numeric_limits<double>::infinity()), kMax);
}

TEST(Bytes, Blocks) {
  EXPECT_EQ(ToBytes("ab"), (Bytes{'a', 'b'}));
  EXPECT_TRUE(ToBytes("").empty());
  EXPECT_EQ(BlankBytes(3), (Bytes{0, 0, 0}));
  EXPECT_TRUE(BlankBytes(0).empty());
  EXPECT_TRUE(BlankBytes(-1).empty());
  EXPECT_EQ(BytesLength(Bytes{}), 0);
  EXPECT_EQ(BytesLength(BlankBytes(7)), 7);
  const char raw[] = {'x', 0, 'y'};
  EXPECT_EQ(BytesFromAddress(raw, 3), (Bytes{'x', 0, 'y'}));
  EXPECT_TRUE(BytesFromAddress(raw, 0).empty());
  EXPECT_TRUE(BytesFromAddress(raw, -4).empty());
  EXPECT_TRUE(BytesFromAddress(nullptr, 4).empty());
  EXPECT_EQ(TextFromBytes(Bytes{'a', 0, 'b'}), "a");
  EXPECT_EQ(TextFromBytes(Bytes{'a', 'b'}), "ab");
  EXPECT_EQ(TextFromBytes(Bytes{}), "");
}

TEST(Numbers, BitsAndAbsolute) {
  EXPECT_EQ(BitAnd(0xF0, 0x3C), 0x30);
  EXPECT_EQ(BitAnd(0xFF, 0x3C, 0x0F), 0x0C);
  EXPECT_EQ(BitAnd(-1, kMin), kMin);
  EXPECT_EQ(ShiftLeft(1, 31), kMin);  // into the sign bit
  EXPECT_EQ(ShiftLeft(1, 32), 1);     // count mod 32
  EXPECT_EQ(ShiftLeft(3, 33), 6);
  EXPECT_EQ(ShiftLeft(1, -1), kMin);
  EXPECT_EQ(ShiftLeft(-1, 1), -2);
  EXPECT_EQ(ShiftLeft(0x40000000, 2), 0);
  EXPECT_EQ(AbsoluteValue(-2.5), 2.5);
  EXPECT_EQ(AbsoluteValue(2.5), 2.5);
}

}  // namespace
}  // namespace tvx
