// The quick-reply file on real disk and the list in a real list view: loading by
// the reading rules, saving by replacing, creating at start-up, and failures.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/wide.h"
#include "replies/list_view.h"
#include "support/temp_folder.h"
#include "replies/quick_replies.h"

namespace tvx {
namespace {

Text Narrow(const std::wstring& wide) { return WideToText(std::wstring_view(wide)); }

bool WriteBytes(const std::wstring& path, std::string_view bytes) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = bytes.empty() ||
                  (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                   written == bytes.size());
  CloseHandle(file);
  return ok;
}

std::optional<std::string> ReadBytes(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(GetFileSize(file, nullptr)), '\0');
  DWORD read = 0;
  if (!bytes.empty()) ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}


// The names in a folder, for "nothing else was left behind".
std::vector<std::wstring> Names(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

// A cell expected to hold kAny matches whatever it holds.
const Text kAny = "\x01any";
struct Cells {
  Text number, text, picture;
  bool operator==(const Cells& other) const {
    const auto same = [](const Text& a, const Text& b) { return a == b || a == kAny || b == kAny; };
    return same(number, other.number) && same(text, other.text) && same(picture, other.picture);
  }
};
void PrintTo(const Cells& c, std::ostream* os) {
  *os << "{" << testing::PrintToString(c.number) << ", " << testing::PrintToString(c.text) << ", "
      << testing::PrintToString(c.picture) << "}";
}

// A list view like 超级列表框1 in a window of its own that is never shown, and a
// fresh folder (with a Chinese name, as the run directory may have) for the file.
class QuickReplyFile : public testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    parent_ = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 400, 400, nullptr, nullptr,
                              nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    list_ = CreateWindowExW(0, WC_LISTVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                            2, 2, 335, 274, parent_, nullptr, nullptr, nullptr);
    ASSERT_NE(list_, nullptr);
    const struct { const wchar_t* title; int width; } columns[] = {
        {L"序号", 40}, {L"内容", 240}, {L"图片", 50}};
    for (int i = 0; i < 3; ++i) {
      LVCOLUMNW column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH;
      column.pszText = const_cast<wchar_t*>(columns[i].title);
      column.cx = columns[i].width;
      SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    static int serial = 0;
    folder_ = std::wstring(temp) + L"快捷回复测试-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(++serial);
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
    file_ = folder_ + L"\\快捷回复.txt";
    path_ = Narrow(file_);
  }
  void TearDown() override {
    if (parent_) DestroyWindow(parent_);
    if (!folder_.empty()) scratch::RemoveTree(folder_);
  }

  ListView List() const { return ListView(list_); }
  std::vector<Cells> Rows() const {
    std::vector<Cells> rows;
    const ListView list = List();
    for (int r = 0; r < list.RowCount(); ++r)
      rows.push_back({list.ItemText(r, 0), list.ItemText(r, 1), list.ItemText(r, 2)});
    return rows;
  }
  void Load() const { LoadQuickRepliesFrom(path_, list_); }
  bool Save() const { return SaveQuickRepliesTo(path_, list_); }
  void Append(std::string_view text, std::string_view picture) const {
    const int row = List().InsertRow(-1);
    List().SetItemText(row, 1, text);
    List().SetItemText(row, 2, picture);
  }

  HWND parent_ = nullptr;
  HWND list_ = nullptr;
  std::wstring folder_, file_;
  Text path_;
};

const Text kNone(kNoPicture);

TEST_F(QuickReplyFile, ListViewOperations) {
  const ListView list = List();
  EXPECT_EQ(list.RowCount(), 0);
  EXPECT_EQ(list.SelectedRow(), -1);
  EXPECT_EQ(list.InsertRow(-1), 0);
  EXPECT_EQ(list.InsertRow(1), 1);   // the row count appends too
  EXPECT_EQ(list.InsertRow(0), 0);   // before the first
  EXPECT_EQ(list.InsertRow(99), 3);
  ASSERT_EQ(list.RowCount(), 4);
  for (int r = 0; r < 4; ++r) EXPECT_TRUE(list.SetItemText(r, 1, ToText(r)));
  EXPECT_TRUE(list.SetItemText(2, 2, "看图"));
  EXPECT_FALSE(list.SetItemText(4, 1, "x"));
  EXPECT_EQ(list.ItemText(2, 2), "看图");
  EXPECT_EQ(list.ItemText(2, 0), "");
  EXPECT_EQ(list.ItemText(4, 1), "");
  EXPECT_EQ(list.ItemText(-1, 1), "");

  EXPECT_TRUE(list.DeleteRow(1));
  EXPECT_FALSE(list.DeleteRow(7));
  ASSERT_EQ(list.RowCount(), 3);
  EXPECT_EQ(list.ItemText(1, 1), "2");
  EXPECT_EQ(list.ItemText(1, 2), "看图");

  list.SetSelectedRow(2);
  EXPECT_EQ(list.SelectedRow(), 2);
  EXPECT_EQ(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 2);
  list.SetSelectedRow(3);  // no such row: nothing happens
  EXPECT_EQ(list.SelectedRow(), 2);
  list.SetSelectedRow(1);
  EXPECT_EQ(list.SelectedRow(), 1);
  EXPECT_EQ(SendMessageW(list_, LVM_GETSELECTEDCOUNT, 0, 0), 1);
  list.SetSelectedRow(-1);
  EXPECT_EQ(list.SelectedRow(), -1);
  list.EnsureVisible(2);

  list.DeleteAllRows();
  EXPECT_EQ(list.RowCount(), 0);
  list.SetSelectedRow(0);
  EXPECT_EQ(list.SelectedRow(), -1);
}

TEST_F(QuickReplyFile, LongTextsComeBackWhole) {
  Text chinese;
  while (chinese.size() < 100000) chinese += "你好";
  Append(chinese, Text(100000, 'p'));
  EXPECT_EQ(List().ItemText(0, 1), chinese);
  EXPECT_EQ(List().ItemText(0, 2), Text(100000, 'p'));
}

TEST_F(QuickReplyFile, LoadFollowsTheReadingRules) {
  struct Case {
    const char* name;
    std::string_view bytes;
    std::vector<Cells> rows;
  } const cases[] = {
      {"two records", "你好[.*?]无图片\r\n看图[.*?]C:\\p\\a.jpg\r\n",
       {{"1", "你好", kNone}, {"2", "看图", "C:\\p\\a.jpg"}}},
      {"last record without CR LF", "你好[.*?]无图片\r\n看图[.*?]C:\\p\\a.jpg",
       {{"1", "你好", kNone}, {"2", "看图", "C:\\p\\a.jpg"}}},
      {"no separator", "hello", {{"1", "", kNone}}},
      {"two separators", "a[.*?]b[.*?]c\r\n", {{"1", "a", "c"}}},
      {"trailing separator", "abc[.*?]\r\n", {{"1", "abc", kNone}}},
      {"empty file", "", {}},
      {"starts with 0x00", std::string_view("\0a[.*?]b\r\n", 10), {}},
      {"0x1A inside", "a[.*?]b\r\nc[.*?]d\x1A" "e\r\nf[.*?]g\r\n", {{"1", "a", "b"}, {"2", "c", "d"}}},
      {"0x00 inside", std::string_view("a[.*?]b\r\nc\0[.*?]d\r\n", 18), {{"1", "a", "b"}, {"2", "", kNone}}},
      // A lead byte takes the 0x1A as its second byte, so it ends nothing.
      // (0xB0 0x1A is no character of the code page: the list shows a stand-in.)
      {"0x1A after a lead byte", "a[.*?]\xB0\x1A\r\nc[.*?]d", {{"1", "a", kAny}, {"2", "c", "d"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Append("left over", "from before");
    ASSERT_TRUE(WriteBytes(file_, c.bytes));
    Load();
    EXPECT_EQ(Rows(), c.rows);
    EXPECT_EQ(List().SelectedRow(), c.rows.empty() ? -1 : 0);
  }
}

TEST_F(QuickReplyFile, MissingFileLoadsAsEmptyList) {
  Append("left over", "from before");
  Load();
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(List().SelectedRow(), -1);
  EXPECT_FALSE(Exists(file_));
}

TEST_F(QuickReplyFile, LoadLetsOthersKeepTheFileOpen) {
  ASSERT_TRUE(WriteBytes(file_, "a[.*?]b\r\n"));
  const HANDLE other = CreateFileW(file_.c_str(), GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  Load();
  CloseHandle(other);
  EXPECT_EQ(Rows(), (std::vector<Cells>{{"1", "a", "b"}}));
}

TEST_F(QuickReplyFile, SaveWritesOneRecordPerRowAndLoadsAgain) {
  const Text example = "你好[.*?]无图片\r\n看图[.*?]C:\\p\\a.jpg\r\n";
  ASSERT_TRUE(WriteBytes(file_, "你好[.*?]无图片\r\n看图[.*?]C:\\p\\a.jpg"));
  Load();
  EXPECT_TRUE(Save());
  EXPECT_EQ(ReadBytes(file_), example);  // the missing CR LF is added

  // A new row, numbered by nobody, with a multi-line text: after the save it is
  // row 3, the first row is selected, and the file holds it as one record.
  Append("第一行\r\n第二行", kNone);
  List().SetSelectedRow(2);
  EXPECT_TRUE(Save());
  EXPECT_EQ(ReadBytes(file_), example + "第一行\n第二行[.*?]无图片\r\n");
  EXPECT_EQ(Rows(), (std::vector<Cells>{{"1", "你好", kNone},
                                        {"2", "看图", "C:\\p\\a.jpg"},
                                        {"3", "第一行\n第二行", kNone}}));
  EXPECT_EQ(List().SelectedRow(), 0);
  EXPECT_EQ(Names(folder_), std::vector<std::wstring>{L"快捷回复.txt"});

  List().DeleteAllRows();
  EXPECT_TRUE(Save());
  EXPECT_EQ(ReadBytes(file_), "");
  EXPECT_EQ(List().SelectedRow(), -1);
}

TEST_F(QuickReplyFile, SaveCreatesAMissingFile) {
  Append("a", "b");
  EXPECT_TRUE(Save());
  EXPECT_EQ(ReadBytes(file_), "a[.*?]b\r\n");
}

// A save that cannot replace the file leaves it as it was, removes its own new
// file and shows what the file holds.
TEST_F(QuickReplyFile, FailedSaveKeepsTheOldFile) {
  const std::string old = "旧的[.*?]无图片\r\n";
  struct Blocker {
    const char* name;
    std::function<std::function<void()>(const std::wstring&)> block;  // gives the undo
  } const blockers[] = {
      {"read-only file",
       [](const std::wstring& file) -> std::function<void()> {
         SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
         return [file] { SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL); };
       }},
      {"file held open without sharing",
       [](const std::wstring& file) -> std::function<void()> {
         const HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
         return [held] { CloseHandle(held); };
       }},
  };
  for (const Blocker& b : blockers) {
    SCOPED_TRACE(b.name);
    ASSERT_TRUE(WriteBytes(file_, old));
    Load();
    Append("新的", kNone);
    const std::function<void()> undo = b.block(file_);
    EXPECT_FALSE(Save());
    // The load after the save shows what it can read: nothing while the file is held.
    EXPECT_LE(Rows().size(), 1u);
    undo();
    EXPECT_EQ(ReadBytes(file_), old);
    EXPECT_EQ(Names(folder_), std::vector<std::wstring>{L"快捷回复.txt"});
    Load();
    EXPECT_EQ(Rows(), (std::vector<Cells>{{"1", "旧的", kNone}}));
  }
}

TEST_F(QuickReplyFile, SaveIntoAMissingFolderFailsAndCreatesNothing) {
  const std::wstring missing = folder_ + L"\\不在";
  Append("a", "b");
  EXPECT_FALSE(SaveQuickRepliesTo(Narrow(missing + L"\\快捷回复.txt"), list_));
  EXPECT_FALSE(Exists(missing));
  EXPECT_TRUE(Rows().empty());
}

TEST_F(QuickReplyFile, EnsureCreatesAnEmptyFileOnlyWhenMissing) {
  const std::wstring deep = folder_ + L"\\子目录\\更深";
  const std::wstring created = deep + L"\\快捷回复.txt";
  EnsureQuickReplyFileAt(Narrow(created));
  EXPECT_EQ(ReadBytes(created), "");

  ASSERT_TRUE(WriteBytes(file_, "a[.*?]b\r\n"));
  EnsureQuickReplyFileAt(path_);
  EXPECT_EQ(ReadBytes(file_), "a[.*?]b\r\n");
}

// Input that no save writes: no crash, no hang, and the rows of the reading rules.
TEST_F(QuickReplyFile, BadInputLoadsTheRowsOfTheReadingRules) {
  constexpr std::size_t kSize = 10u << 20;
  Text records;
  const Text record = Text(1000, 'x') + "[.*?]" + "C:\\p\\a.jpg\r\n";
  while (records.size() + record.size() <= kSize) records += record;
  std::mt19937 random(5);
  Text binary(kSize, ' ');
  for (char& c : binary) c = static_cast<char>(1 + random() % 255);
  for (char& c : binary) if (c == 0x1A) c = '\n';
  Text longLines;
  for (int i = 0; i < 3; ++i) longLines += Text(100000, '\xB0') + "[.*?]" + Text(100000, 'y') + "\r\n";

  struct Case {
    const char* name;
    const Text& content;
    bool validText;  // whether its texts survive the list view unchanged
  } const cases[] = {{"10 MiB of records", records, true},
                     {"10 MiB of binary junk", binary, false},
                     {"lines of 100 000 bytes", longLines, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(WriteBytes(file_, c.content));
    Load();
    const std::vector<QuickReply> expected = ParseQuickReplies(c.content);
    ASSERT_EQ(List().RowCount(), static_cast<int>(expected.size()));
    ASSERT_FALSE(expected.empty());
    const int last = List().RowCount() - 1;
    EXPECT_EQ(List().ItemText(last, 0), ToText(last + 1));
    if (c.validText) {
      for (int r = 0; r <= last; ++r) {
        ASSERT_EQ(List().ItemText(r, 1), expected[r].text) << "row " << r;
        ASSERT_EQ(List().ItemText(r, 2), expected[r].picture) << "row " << r;
      }
    }
    EXPECT_TRUE(Save());
    EXPECT_EQ(List().RowCount(), static_cast<int>(expected.size()));
  }
}

}  // namespace
}  // namespace tvx
