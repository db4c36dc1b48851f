// A build with the wrong execution character set must fail here, loudly: every
// quoted text of the program is code page 936 bytes.
#include <gtest/gtest.h>

#include <string>

TEST(Charset, QuotedTextsAreCodePage936) {
  EXPECT_EQ(std::string("左："), "\xD7\xF3\xA3\xBA");
  EXPECT_EQ(std::string("无图片"), "\xCE\xDE\xCD\xBC\xC6\xAC");
  EXPECT_EQ(std::string(" 顶："), "\x20\xB6\xA5\xA3\xBA");
  EXPECT_EQ(std::string("微信"), "\xCE\xA2\xD0\xC5");
  EXPECT_EQ(std::string("信息："), "\xD0\xC5\xCF\xA2\xA3\xBA");  // the message boxes' caption
  EXPECT_EQ(std::string("快捷回复.txt"), "\xBF\xEC\xBD\xDD\xBB\xD8\xB8\xB4.txt");
}
