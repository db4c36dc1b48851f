// Wide text and file creation, on real folders under the temporary folder.
#include "platform/wide.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/temp_folder.h"

namespace tvx {
namespace {

using scratch::GetFile;
using scratch::PutFile;
using scratch::TempFolder;

TEST(WideText, Conversions) {
  const Bytes wide = TextToWide("微信");
  ASSERT_EQ(wide.size(), 6u);
  EXPECT_EQ(wide, (Bytes{0xAE, 0x5F, 0xE1, 0x4F, 0, 0}));
  EXPECT_EQ(WideToText(wide), "微信");
  EXPECT_EQ(WideToText(std::wstring_view(L"\u5FAE\u4FE1")), "微信");

  EXPECT_TRUE(TextToWide("").empty());
  EXPECT_EQ(WidePointer(TextToWide("")), nullptr);
  EXPECT_EQ(TextToWide(std::string("ab\0c", 4)), (Bytes{'a', 0, 'b', 0, 0, 0}));
  EXPECT_EQ(WideToText(Bytes{}), "");
  EXPECT_EQ(WideToText(Bytes{0, 0, 'a', 0}), "");
  EXPECT_EQ(WideToText(Bytes{'a', 0, 'b'}), "a");        // odd last byte ignored
  EXPECT_EQ(WideToText(Bytes{'a', 0, 'b', 0}), "ab");    // no NUL unit of its own
  // A lead byte just before the end, and a character code page 936 lacks.
  EXPECT_FALSE(TextToWide("a\x81").empty());
  EXPECT_EQ(WideToText(std::wstring_view(L"x\u00E9y")).front(), 'x');
}

TEST(ParentDirectoryOf, Paths) {
  TempFolder temp;
  EXPECT_EQ(ParentDirectoryOf(temp.path()), temp.path());  // existing folder, unchanged
  EXPECT_EQ(ParentDirectoryOf("C:\\tovanix-none\\b\\c.txt"), "C:\\tovanix-none\\b\\");
  EXPECT_EQ(ParentDirectoryOf("C:\\tovanix-none\\b/c.txt"), "C:\\tovanix-none\\");
  EXPECT_EQ(ParentDirectoryOf("c.txt"), "");
  EXPECT_EQ(ParentDirectoryOf(""), "");
  // 0x95 0x5C is one character: its second byte is no separator.
  EXPECT_EQ(ParentDirectoryOf("a\\b\x95\\c"), "a\\");
}

TEST(CreateDirectoryChain, CreatesEveryMissingFolder) {
  TempFolder temp;
  const Text deep = temp / "x\\快捷\\z\\";
  EXPECT_TRUE(CreateDirectoryChain(deep));
  EXPECT_TRUE(IsExistingDirectory(temp / "x\\快捷\\z"));
  EXPECT_TRUE(CreateDirectoryChain(deep));  // again: already there
  EXPECT_TRUE(CreateDirectoryChain(temp / "y"));
  EXPECT_TRUE(IsExistingDirectory(temp / "y"));

  EXPECT_FALSE(CreateDirectoryChain(""));
  EXPECT_FALSE(CreateDirectoryChain("q"));  // too short: nothing is made
  EXPECT_FALSE(IsExistingDirectory("q"));
  EXPECT_FALSE(IsExistingDirectory(""));

  // Blocked by a file on the way: no folder, no crash.
  ASSERT_TRUE(PutFile(temp / "file", "data"));
  EXPECT_FALSE(CreateDirectoryChain(temp / "file\\sub"));
  EXPECT_EQ(GetFile(temp / "file"), "data");
}

TEST(CreateDirectoryChain, PathsLongerThanMaxPath) {
  TempFolder temp;
  Text deep = temp.path();
  while (deep.size() < 400) deep += "\\abcdefghijklmnop";
  EXPECT_TRUE(CreateDirectoryChain(deep));
  EXPECT_TRUE(IsExistingDirectory(deep));
  EXPECT_EQ(EnsureFile(deep + "\\f.txt", 3), 1);
  EXPECT_EQ(GetFile(deep + "\\f.txt"), std::string(3, '\0'));
}

TEST(EnsureFile, CreatesFileAndFolders) {
  TempFolder temp;
  const Text path = temp / "new\\deep\\快捷回复.txt";
  EXPECT_EQ(EnsureFile(path, 0), 1);
  EXPECT_EQ(GetFile(path), "");
  EXPECT_EQ(EnsureFile(temp / "five.bin", 5), 1);
  EXPECT_EQ(GetFile(temp / "five.bin"), std::string(5, '\0'));
  // The run directory joined with a slash: the folder before the slash exists.
  EXPECT_EQ(EnsureFile(temp.path() + "/slash.txt", 0), 1);
  EXPECT_EQ(GetFile(temp / "slash.txt"), "");
}

TEST(EnsureFile, KeepsAnExistingFile) {
  TempFolder temp;
  ASSERT_TRUE(PutFile(temp / "replies.txt", "a[.*?]无图片\r\n"));
  EXPECT_EQ(EnsureFile(temp / "replies.txt", 0), 1);
  EXPECT_EQ(GetFile(temp / "replies.txt"), "a[.*?]无图片\r\n");
}

TEST(EnsureFile, FailuresLeaveNoFileAndDeleteNothing) {
  TempFolder temp;
  ASSERT_TRUE(PutFile(temp / "file", "data"));
  const std::int32_t blocked = EnsureFile(temp / "file\\sub\\x.txt", 0);
  EXPECT_NE(blocked, 1);
  EXPECT_NE(blocked, 0);
  EXPECT_EQ(GetFile(temp / "file"), "data");

  EXPECT_NE(EnsureFile(temp / "negative.txt", -1), 1);
  EXPECT_FALSE(FileExists(temp / "negative.txt"));

  EXPECT_NE(EnsureFile("", 0), 1);
  EXPECT_NE(EnsureFile(temp.path(), 0), 1);  // a folder
  EXPECT_TRUE(IsExistingDirectory(temp.path()));
}

}  // namespace
}  // namespace tvx
