// Code page 936 <-> UTF-8: the remark database keeps UTF-8, everything else 936.
#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace tvx {
namespace {

// x, U+1F600 (no form in code page 936), y; spelt in bytes since no narrow literal can hold it.
constexpr const char* kEmoji = "x\xF0\x9F\x98\x80y";

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// True when text is well-formed UTF-8 (what SQLite is promised).
bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > text.size()) return false;
    for (std::size_t k = 1; k < n; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += n;
  }
  return true;
}

TEST(CodePage, BothWays) {
  const struct {
    std::string cp936;
    std::string utf8;
  } cases[] = {
      {"", ""},
      {"abc 123\r\n", "abc 123\r\n"},
      {"微信", Utf8(u8"微信")},
      {"\xCE\xA2\xD0\xC5", "\xE5\xBE\xAE\xE4\xBF\xA1"},
      {"左：１２　", Utf8(u8"左：１２　")},
      {"保存失败", Utf8(u8"保存失败")},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Cp936ToUtf8(c.cp936), c.utf8) << c.cp936;
    EXPECT_EQ(Utf8ToCp936(c.utf8), c.cp936) << c.utf8;
  }
}

TEST(CodePage, LongTextsRoundTrip) {
  // Every character of the first level of GB2312 (leads 0xB0..0xD6), repeated past 64 KiB.
  std::string row;
  for (int lead = 0xB0; lead <= 0xD6; ++lead) {
    for (int trail = 0xA1; trail <= 0xFE; ++trail) {
      row += static_cast<char>(lead);
      row += static_cast<char>(trail);
    }
    row += "x";
  }
  std::string text;
  while (text.size() < 70 * 1024) text += row;
  const std::string utf8 = Cp936ToUtf8(text);
  EXPECT_TRUE(IsUtf8(utf8));
  EXPECT_GT(utf8.size(), text.size());
  EXPECT_EQ(Utf8ToCp936(utf8), text);

  const std::string ascii(64 * 1024, 'a');
  EXPECT_EQ(Cp936ToUtf8(ascii), ascii);
  EXPECT_EQ(Utf8ToCp936(ascii), ascii);
}

TEST(CodePage, InvalidBytesAreReplaced) {
  // Cut-off lead byte, a lead byte with an impossible second byte, a lone 0xFF.
  for (const std::string& bad : {std::string("a\x81"), std::string("a\x81\x20z"), std::string("\xFF" "z"),
                                std::string("\x81")}) {
    const std::string utf8 = Cp936ToUtf8(bad);
    EXPECT_TRUE(IsUtf8(utf8)) << bad;
    EXPECT_FALSE(utf8.empty()) << bad;
    if (bad[0] == 'a') {
      EXPECT_EQ(utf8[0], 'a') << bad;
    }
    if (bad.back() == 'z') {
      EXPECT_EQ(utf8.back(), 'z') << bad;
    }
  }
  // Broken UTF-8, and a character code page 936 has no form for (an emoji).
  for (const std::string& bad : {std::string("a\xFF" "b"), std::string("a\xE5\xBE"), std::string("\xC0\xAF"),
                                std::string(kEmoji)}) {
    const Text text = Utf8ToCp936(bad);
    EXPECT_FALSE(text.empty()) << bad;
    EXPECT_EQ(text.find('\0'), std::string::npos);
    EXPECT_NE(text.find('?'), std::string::npos) << bad;
  }
#ifndef _WIN32
  EXPECT_EQ(Cp936ToUtf8("a\x81"), "a\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToCp936("a\xFF" "b"), "a?b");
  EXPECT_EQ(Utf8ToCp936(kEmoji), "x?y");
#endif
}

TEST(CodePage, TextEndsAtItsFirstZeroByte) {
  EXPECT_EQ(Cp936ToUtf8(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(Utf8ToCp936(std::string("ab\0cd", 5)), "ab");
}

}  // namespace
}  // namespace tvx
