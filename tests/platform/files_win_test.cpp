// File primitives on real files under the temporary folder.
#include "platform/files.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/wide.h"
#include "support/temp_folder.h"

namespace tvx {
namespace {

using scratch::GetFile;
using scratch::PutFile;
using scratch::TempFolder;

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }

TEST(RunDirectory, IsTheExecutablesFolder) {
  const Text dir = RunDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_NE(dir.back(), '\\');
  EXPECT_TRUE(IsExistingDirectory(dir));
  EXPECT_TRUE(FileExists(dir + "/win_tests.exe"));
}

TEST(FileExists, FilesFoldersAndPatterns) {
  TempFolder temp;
  ASSERT_TRUE(PutFile(temp / "快捷回复.txt", "x"));
  EXPECT_TRUE(FileExists(temp / "快捷回复.txt"));
  EXPECT_TRUE(FileExists(temp.path()));
  EXPECT_TRUE(FileExists(temp / "*.txt"));
  EXPECT_FALSE(FileExists(temp / "*.db"));
  EXPECT_FALSE(FileExists(temp / "missing"));
  EXPECT_FALSE(FileExists(""));
}

TEST(FileDelete, OnlyFiles) {
  TempFolder temp;
  ASSERT_TRUE(PutFile(temp / "a", "x"));
  EXPECT_TRUE(FileDelete(temp / "a"));
  EXPECT_FALSE(FileDelete(temp / "a"));
  EXPECT_FALSE(FileDelete(temp.path()));
  EXPECT_FALSE(FileDelete(""));
}

TEST(WholeFiles, WriteAndRead) {
  TempFolder temp;
  const Text path = temp / "图片.bin";
  EXPECT_TRUE(WriteWholeFile(path, B("ab"), Bytes{}, B(std::string("\0\x1A" "c", 3))));
  EXPECT_EQ(GetFile(path), std::string("ab\0\x1A" "c", 5));
  EXPECT_EQ(ReadWholeFile(path), B(std::string("ab\0\x1A" "c", 5)));  // no conversion

  EXPECT_TRUE(WriteWholeFile(path, Bytes{}));  // cut to length 0
  EXPECT_EQ(GetFile(path), "");
  EXPECT_TRUE(ReadWholeFile(path).empty());

  EXPECT_FALSE(WriteWholeFile("", B("x")));
  EXPECT_FALSE(WriteWholeFile(temp.path(), B("x")));  // a folder
  EXPECT_FALSE(WriteWholeFile(temp / "no\\such\\folder.txt", B("x")));
  EXPECT_TRUE(ReadWholeFile("").empty());
  EXPECT_TRUE(ReadWholeFile(temp / "missing").empty());
  EXPECT_TRUE(ReadWholeFile(temp.path()).empty());
}

TEST(WholeFiles, ReadWhileSomeoneWrites) {
  TempFolder temp;
  const Text path = temp / "busy.txt";
  ASSERT_TRUE(PutFile(path, "abc"));
  const FileNumber reader = FileOpen(path, 1, 1);
  ASSERT_NE(reader, 0);
  EXPECT_EQ(ReadWholeFile(path), B("abc"));  // others may read meanwhile
  FileClose(reader);
  const FileNumber writer = FileOpen(path, 3, 1);
  ASSERT_NE(writer, 0);
  EXPECT_TRUE(ReadWholeFile(path).empty());  // a writer is refused to it, so it reads nothing
  EXPECT_FALSE(WriteWholeFile(path, B("x")));
  FileClose(writer);
  EXPECT_EQ(GetFile(path), "abc");
}

TEST(WholeFiles, PathLongerThanMaxPath) {
  TempFolder temp;
  Text deep = temp.path();
  while (deep.size() < 300) deep += "\\0123456789abcdef";
  ASSERT_TRUE(CreateDirectoryChain(deep));
  const Text path = deep + "\\快捷回复.txt";
  EXPECT_TRUE(WriteWholeFile(path, B("long")));
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(ReadWholeFile(path), B("long"));
  const FileNumber f = FileOpen(path, 1);
  EXPECT_EQ(FileReadText(f), "long");
  FileClose(f);
  EXPECT_TRUE(FileDelete(path));
}

TEST(FileOpen, OpenModes) {
  const struct {
    std::int32_t mode;
    bool createsMissing;
    bool cutsExisting;
    bool reads;
    bool writes;
  } cases[] = {
      {1, false, false, true, false}, {2, false, false, false, true}, {3, false, false, true, true},
      {4, true, true, false, true},   {5, true, false, false, true},  {6, true, false, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    TempFolder temp;
    const FileNumber missing = FileOpen(temp / "missing", c.mode);
    EXPECT_EQ(missing != 0, c.createsMissing);
    FileClose(missing);
    EXPECT_EQ(GetFile(temp / "missing"), c.createsMissing ? "" : "<missing>");

    ASSERT_TRUE(PutFile(temp / "f", "abc"));
    const FileNumber f = FileOpen(temp / "f", c.mode);
    ASSERT_NE(f, 0);
    EXPECT_EQ(FileReadText(f, 1), c.reads && !c.cutsExisting ? "a" : "");
    EXPECT_EQ(FileWriteLine(f, "z"), c.writes);
    FileClose(f);
    std::string expected = c.cutsExisting ? "" : "abc";
    if (c.writes) expected.replace(c.reads ? 1 : 0, 3, "z\r\n");
    EXPECT_EQ(GetFile(temp / "f"), expected);
  }
}

TEST(FileOpen, SharingModes) {
  const struct {
    std::int32_t sharing;
    bool othersRead;
    bool othersWrite;
  } cases[] = {{1, true, true}, {2, false, true}, {3, true, false}, {4, false, false}};
  TempFolder temp;
  const Text path = temp / "shared.txt";
  ASSERT_TRUE(PutFile(path, "abc"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sharing);
    const FileNumber first = FileOpen(path, 3, c.sharing);
    ASSERT_NE(first, 0);
    const FileNumber reader = FileOpen(path, 1, 1);
    const FileNumber writer = FileOpen(path, 2, 1);
    EXPECT_EQ(reader != 0, c.othersRead);
    EXPECT_EQ(writer != 0, c.othersWrite);
    FileClose(reader);
    FileClose(writer);
    FileClose(first);
  }
  const FileNumber last = FileOpen(path, 1, 4);  // all closed again: even no sharing works
  EXPECT_NE(last, 0);
  FileClose(last);
}

TEST(FileOpen, BadArguments) {
  TempFolder temp;
  ASSERT_TRUE(PutFile(temp / "f", "abc"));
  const std::pair<std::int32_t, std::int32_t> outside[] = {{0, 1}, {7, 1}, {-1, 1}, {1, 0}, {1, 5}, {1, -3}};
  for (const auto& [mode, sharing] : outside) {
    EXPECT_EQ(FileOpen(temp / "f", mode, sharing), 0) << mode << " " << sharing;
  }
  EXPECT_EQ(FileOpen("", 6), 0);
  EXPECT_EQ(FileOpen(temp.path(), 1), 0);  // a folder
  EXPECT_EQ(FileOpen(temp.path(), 6), 0);
  EXPECT_EQ(GetFile(temp / "f"), "abc");
}

TEST(FileNumbers, ClosedAndUnknownNumbersDoNothing) {
  TempFolder temp;
  ASSERT_TRUE(PutFile(temp / "f", "abc"));
  const FileNumber f = FileOpen(temp / "f", 1);
  ASSERT_GT(f, 0);
  FileClose(f);
  const FileNumber g = FileOpen(temp / "f", 3);
  ASSERT_GT(g, 0);
  EXPECT_NE(g, f);  // a closed number is not handed out again
  for (const FileNumber n : {f, 0, -1, g + 1000}) {
    EXPECT_EQ(FileReadText(n), "") << n;
    EXPECT_EQ(FileReadText(n, 5), "") << n;
    EXPECT_FALSE(FileWriteLine(n, "x")) << n;
    EXPECT_FALSE(FileSeekToEnd(n)) << n;
    FileClose(n);
  }
  EXPECT_EQ(FileReadText(g), "abc");  // untouched by the calls on other numbers
  FileClose(g);
  FileClose(g);
  EXPECT_EQ(GetFile(temp / "f"), "abc");
}

TEST(FileReadText, EndsAtZeroOr1AByte) {
  const struct {
    const char* name;
    std::string bytes;
    std::string text;
    std::string next;  // what the next read gives
  } cases[] = {
      {"plain", "abc", "abc", ""},
      {"0x1A", "ab\x1A" "cd", "ab", ""},
      {"0x00", std::string("ab\0cd", 5), "ab", ""},
      {"0x1A second in a pair", "\x81\x1A" "x", "\x81\x1A" "x", ""},
      {"0x00 second in a pair", std::string("a\x81\0b", 4), "a", ""},
      {"lead byte last", "ab\x81", "ab\x81", ""},
      {"empty", "", "", ""},
      {"record", "hi[.*?]无图片\r\n", "hi[.*?]无图片\r\n", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder temp;
    ASSERT_TRUE(PutFile(temp / "f", c.bytes));
    const FileNumber f = FileOpen(temp / "f", 1);
    ASSERT_NE(f, 0);
    EXPECT_EQ(FileReadText(f), c.text);
    EXPECT_EQ(FileReadText(f), c.next);
    FileClose(f);
  }
}

TEST(FileReadText, PositionAndCount) {
  TempFolder temp;
  ASSERT_TRUE(PutFile(temp / "f", std::string("abcdef\x1Agh", 9)));
  const FileNumber f = FileOpen(temp / "f", 1);
  EXPECT_EQ(FileReadText(f, 0), "");
  EXPECT_EQ(FileReadText(f, -2), "");
  EXPECT_EQ(FileReadText(f, 3), "abc");
  EXPECT_EQ(FileReadText(f, 0x7FFFFFFF), "def");  // stops at 0x1A, position stays on it
  EXPECT_EQ(FileReadText(f, 1), "");
  FileClose(f);

  ASSERT_TRUE(PutFile(temp / "g", std::string("a\x81\0b", 4)));
  const FileNumber g = FileOpen(temp / "g", 1);
  EXPECT_EQ(FileReadText(g), "a");
  EXPECT_EQ(FileReadText(g, 1), "\x81");  // left at the pair's first byte
  FileClose(g);
}

TEST(FileWriteLine, LinesEndWithCrLf) {
  TempFolder temp;
  const Text path = temp / "lines.txt";
  const FileNumber f = FileOpen(path, 4);
  ASSERT_NE(f, 0);
  EXPECT_TRUE(FileWriteLine(f, ""));
  EXPECT_TRUE(FileWriteLine(f, "a", 12, -3, 12.0, 12.5, Text("微信"), std::string_view("v")));
  FileClose(f);
  EXPECT_EQ(GetFile(path), "\r\na\r\n12\r\n-3\r\n12\r\n12.5\r\n微信\r\nv\r\n");

  const FileNumber g = FileOpen(path, 5);
  EXPECT_TRUE(FileSeekToEnd(g));
  EXPECT_TRUE(FileWriteLine(g, std::string("x\0y", 3)));  // a text ends at its 0 byte
  FileClose(g);
  EXPECT_EQ(TextRight(GetFile(path), 6), "v\r\nx\r\n");
}

TEST(FileWriteLine, FailedWriteKeepsPositionAndFile) {
  TempFolder temp;
  ASSERT_TRUE(PutFile(temp / "f", "abcdef"));
  const FileNumber f = FileOpen(temp / "f", 1);  // read only: every write fails
  EXPECT_EQ(FileReadText(f, 2), "ab");
  EXPECT_FALSE(FileWriteLine(f, "zz", 1));
  EXPECT_EQ(FileReadText(f), "cdef");
  FileClose(f);
  EXPECT_EQ(GetFile(temp / "f"), "abcdef");
}

}  // namespace
}  // namespace tvx
